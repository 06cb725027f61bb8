#include "controls/text/keypresslineedit.h"

#include <QKeyEvent>

namespace tolvane {

namespace {

// A replaced code must act as the key it names, not as the key that was pressed.
Qt::Key keyForCode(char16_t code)
{
    switch (code) {
    case 8:
        return Qt::Key_Backspace;
    case 9:
        return Qt::Key_Tab;
    case 13:
        return Qt::Key_Return;
    case 27:
        return Qt::Key_Escape;
    default:
        return Qt::Key_unknown;
    }
}

} // namespace

KeyPressLineEdit::KeyPressLineEdit(QWidget *parent) : QLineEdit(parent) {}

QString KeyPressLineEdit::filtered(const QString &typed)
{
    QString result;
    for (const QChar c : typed) {
        auto KeyAscii = static_cast<qint16>(c.unicode());
        Q_EMIT KeyPress(KeyAscii);
        if (KeyAscii != 0)
            result.append(QChar(static_cast<char16_t>(KeyAscii)));
    }
    return result;
}

void KeyPressLineEdit::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (typed.isEmpty()) {
        QLineEdit::keyPressEvent(event); // arrows, Home, Delete: not characters
        return;
    }
    const QString kept = filtered(typed);
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (kept.isEmpty())
        return;
    const Qt::Key key = kept.size() == 1 ? keyForCode(kept.at(0).unicode()) : Qt::Key_unknown;
    QKeyEvent replaced(event->type(), key, Qt::NoModifier, kept, event->isAutoRepeat());
    QLineEdit::keyPressEvent(&replaced);
}

void KeyPressLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString committed = event->commitString();
    if (committed.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent replaced(event->preeditString(), event->attributes());
    replaced.setCommitString(filtered(committed), event->replacementStart(),
                             event->replacementLength());
    QLineEdit::inputMethodEvent(&replaced);
}

} // namespace tolvane
