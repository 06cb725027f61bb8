#include "frame/form1.h"
#include "platform/fontsubstitutes.h"
#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QTextStream>

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
            if (mode == "exit") {
                QCoreApplication::quit();
            } else {
                QTextStream(stdout) << "painted" << Qt::endl;
            }
        },
        Qt::QueuedConnection);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tolvane"));
    tolvane::installFontSubstitutes();

    // Stand-in for the working form until it joins the program.
    auto *working = new QWidget;
    working->setAutoFillBackground(true);
    working->resize(485, 439);

    tolvane::Form1 frame(working);
    tolvane::QtMessageBoxes boxes(nullptr);
    if (!frame.Load(boxes))
        return 1;
    watchFirstPaint(frame);
    frame.show();
    return app.exec();
}
