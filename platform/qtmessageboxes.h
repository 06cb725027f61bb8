#pragma once

#include "platform/messageboxes.h"

#include <QPointer>
#include <QWidget>

namespace tolvane {

// The program's message boxes as QMessageBoxes over a parent window, modal to it.
class QtMessageBoxes : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget *parent) : m_parent(parent) {}

    void notice(const QString &text) override;
    void failure(const QString &text) override;
    void fatal(const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace tolvane
