#pragma once

#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>

namespace tolvane {

// Lays the working form out for a size other than the one it was drawn for: the lists take
// the space added or given up, down to a few rows; everything else keeps its size and moves
// with the column it stands in. Nothing is made narrower than drawn.
class FormLayout
{
public:
    // The form's drawn size, the drawn place of each control this layout moves, and the
    // smallest height a list keeps.
    FormLayout(QSize natural, QHash<QString, QRect> controls, int listMinimum);

    // The smallest form with every control whole and usable.
    QSize minimum() const;
    // Every control's place in a form of `size` (at least minimum()).
    QHash<QString, QRect> at(QSize size) const;

    // The controls this layout moves, by name.
    static const QStringList &names();

private:
    QSize m_natural;
    QHash<QString, QRect> m_controls;
    int m_listMinimum;
};

} // namespace tolvane
