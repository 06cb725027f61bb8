#pragma once

#include <QLineEdit>

namespace tolvane {

// A line edit that shows every typed character to a KeyPress handler before it goes in. The
// handler may replace the character code (a 16-bit code, as the forms expect) or set it to 0
// to discard the key. Input-method commits pass through the same handler, one character at a
// time.
class KeyPressLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit KeyPressLineEdit(QWidget *parent = nullptr);

Q_SIGNALS:
    // Connect directly: the handler's change to KeyAscii is what the field then processes.
    void KeyPress(qint16 &KeyAscii);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    // Each character after the handler has seen it; discarded ones are left out.
    QString filtered(const QString &typed);
};

} // namespace tolvane
