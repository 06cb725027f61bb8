#include "frame/form1.h"
#include "platform/fontsubstitutes.h"
#include "platform/qtmessageboxes.h"
#include "platform/qttranslations.h"
#include "workbench/form2.h"

#include <QApplication>
#include <QTextStream>
#include <memory>

namespace {

// For the start-up benchmark: TOLVANE_FIRST_PAINT=exit quits once the first frame has been
// painted, =report prints "painted" then and keeps running.
void watchFirstPaint(tolvane::Form1 &frame)
{
    const QByteArray mode = qgetenv("TOLVANE_FIRST_PAINT");
    if (mode != "exit" && mode != "report")
        return;
    auto *connection = new QMetaObject::Connection;
    *connection = QObject::connect(
        &frame, &tolvane::Form1::framePainted, &frame,
        [mode, connection] {
            QObject::disconnect(*connection);
            delete connection;
            if (mode == "exit")
                QCoreApplication::quit();
            else
                QTextStream(stdout) << "painted" << Qt::endl;
        },
        Qt::QueuedConnection);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    // No display name: Qt would append it to every window title, message boxes included.
    tolvane::installQtTranslations(app);
    tolvane::installFontSubstitutes();

    // The message boxes belong over the frame, and the working form needs them as it loads.
    std::unique_ptr<tolvane::QtMessageBoxes> boxes;
    tolvane::Form1 frame([&boxes] { return new tolvane::Form2(*boxes); });
    boxes = std::make_unique<tolvane::QtMessageBoxes>(&frame);
    if (!frame.Load(*boxes))
        return 1;
    watchFirstPaint(frame);
    frame.show();
    return app.exec();
}
