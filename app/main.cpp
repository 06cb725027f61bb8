#include "app/commandline.h"
#include "app/launchrequest.h"
#include "app/startfolder.h"
#include "frame/form1.h"
#include "platform/fontsubstitutes.h"
#include "platform/freedmemory.h"
#include "platform/qtmessageboxes.h"
#include "platform/qttranslations.h"
#include "platform/quitsignal.h"
#include "workbench/form2.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Runs once, after the first frame has been painted.
void afterFirstPaint(tolvane::Form1 &frame, std::function<void()> run)
{
    auto *connection = new QMetaObject::Connection;
    *connection = QObject::connect(
        &frame, &tolvane::Form1::framePainted, &frame,
        [run = std::move(run), connection] {
            QObject::disconnect(*connection);
            delete connection;
            run();
        },
        Qt::QueuedConnection);
}

// For the start-up benchmark: TOLVANE_FIRST_PAINT=exit quits once the first frame has been
// painted, =report prints "painted" then and keeps running.
void watchFirstPaint(tolvane::Form1 &frame)
{
    const QByteArray mode = qgetenv("TOLVANE_FIRST_PAINT");
    if (mode == "exit")
        afterFirstPaint(frame, [] { QCoreApplication::quit(); });
    else if (mode == "report")
        afterFirstPaint(frame, [] { QTextStream(stdout) << "painted" << Qt::endl; });
}

// Arguments the window does not take: no display is needed or opened.
int runCommandLine(int argc, char *argv[])
{
    // Only the program's name: the arguments are read as bytes, and a pattern or folder named
    // like one of Qt's own options must reach the command line.
    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return tolvane::runCommandLine(arguments);
}

int runWindow(char *argv[], const QByteArray &folder)
{
    // Before the working form loads: its lists start on the working folder.
    const QString folderProblem = folder.isEmpty() ? QString() : tolvane::enterStartFolder(folder);

    // Only the program's name: Qt would read a folder named like one of its options ("-reverse").
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tolvane.Tolvane"));
    // No display name: Qt would append it to every window title, message boxes included.
    tolvane::installQtTranslations(app);
    tolvane::installFontSubstitutes();

    // The message boxes belong over the frame, and the working form needs them as it loads.
    std::unique_ptr<tolvane::QtMessageBoxes> boxes;
    tolvane::Form1 frame([&boxes] { return new tolvane::Form2(*boxes); });
    boxes = std::make_unique<tolvane::QtMessageBoxes>(&frame);
    if (!frame.Load(*boxes))
        return 1;
    // Loading frees much (the skin's sources, the first listing's scratch) that the C library
    // would keep for later; an idle window gives it back.
    afterFirstPaint(frame, [] { tolvane::returnFreedMemory(); });
    watchFirstPaint(frame);
    // A quit signal leaves the event loops; the working form then cancels its batch, which
    // stops after the move in hand, and waits for it.
    std::unique_ptr<QSocketNotifier> quit;
    if (tolvane::QuitSignal::descriptor() >= 0) {
        quit = std::make_unique<QSocketNotifier>(tolvane::QuitSignal::descriptor(),
                                                 QSocketNotifier::Read);
        QObject::connect(quit.get(), &QSocketNotifier::activated, &app,
                         [] { QCoreApplication::exit(1); });
    }
    frame.show();
    if (!folderProblem.isEmpty())
        QTimer::singleShot(0, &frame, [&boxes, folderProblem] { boxes->failure(folderProblem); });
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    tolvane::QuitSignal::install();
    const tolvane::LaunchRequest request = tolvane::readLaunchRequest(argc, argv);
    const int status = request.mode == tolvane::LaunchRequest::CommandLine
                           ? runCommandLine(argc, argv)
                           : runWindow(argv, request.folder);
    tolvane::QuitSignal::endIfReceived();
    return status;
}
