#include "platform/qtmessageboxes.h"

#include <QMessageBox>

namespace tolvane {
namespace {

int show(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    // Transient for the window and modal to it alone, so that compositors put it over the
    // window, on Wayland too.
    QMessageBox box(icon, title, text, buttons, parent);
    box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

QString applicationTitle()
{
    return QStringLiteral("Tolvane");
}

} // namespace

void QtMessageBoxes::notice(const QString &text)
{
    show(m_parent, QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessageBoxes::failure(const QString &text)
{
    show(m_parent, QMessageBox::Warning, applicationTitle(), text, QMessageBox::Ok,
         QMessageBox::Ok);
}

void QtMessageBoxes::fatal(const QString &text)
{
    show(m_parent, QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok,
         QMessageBox::Ok);
}

bool QtMessageBoxes::askYesNo(const QString &title, const QString &text)
{
    return show(m_parent, QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::Yes) == QMessageBox::Yes;
}

} // namespace tolvane
