#include "frame/formlayout.h"

#include <algorithm>

namespace tolvane {

namespace {

// Two columns: the drive, folder and file lists on the left; the tabs over the result list on
// the right. The file and result lists share the bottom row.
const QString Drives = QStringLiteral("Drivestation");
const QString Folders = QStringLiteral("lstMap");
const QString Files = QStringLiteral("lstFiles");
const QString Tabs = QStringLiteral("SSTab1");
const QString Results = QStringLiteral("List1");

} // namespace

FormLayout::FormLayout(QSize natural, QHash<QString, QRect> controls, int listMinimum)
    : m_natural(natural), m_controls(std::move(controls)), m_listMinimum(listMinimum)
{}

const QStringList &FormLayout::names()
{
    static const QStringList all{Drives, Folders, Files, Tabs, Results};
    return all;
}

QSize FormLayout::minimum() const
{
    // The bottom lists give up height down to a few rows each.
    int spare = -1;
    for (const QString &list : {Files, Results}) {
        if (m_controls.contains(list)) {
            const int give = std::max(m_controls[list].height() - m_listMinimum, 0);
            spare = spare < 0 ? give : std::min(spare, give);
        }
    }
    return {m_natural.width(), m_natural.height() - std::max(spare, 0)};
}

QHash<QString, QRect> FormLayout::at(QSize size) const
{
    const QSize smallest = minimum();
    const int dx = std::max(size.width(), smallest.width()) - m_natural.width();
    const int dy = std::max(size.height(), smallest.height()) - m_natural.height();
    const int left = dx / 2; // the rest goes to the right-hand column
    QHash<QString, QRect> placed = m_controls;
    const auto change = [&](const QString &name, int x, int width, int height) {
        if (placed.contains(name))
            placed[name].adjust(x, 0, x + width, height);
    };
    change(Drives, 0, left, 0);
    change(Folders, 0, left, 0);
    change(Files, 0, left, dy);
    change(Tabs, left, 0, 0);
    change(Results, left, dx - left, dy);
    return placed;
}

} // namespace tolvane
