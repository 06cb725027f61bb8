// The control gallery: every custom control in every state. With "--screenshot <file>" it
// renders itself without showing a window, saves the picture and exits.

#include "platform/fontsubstitutes.h"
#include "tools/gallery/gallerywindow.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>
#include <cstring>

int main(int argc, char **argv)
{
    // A screenshot needs no display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0 &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tolvane::installFontSubstitutes();

    tolvane::GalleryWindow window;
    const QStringList args = app.arguments();
    const qsizetype flag = args.indexOf(QStringLiteral("--screenshot"));
    if (flag < 0) {
        window.show();
        return app.exec();
    }
    QTextStream err(stderr);
    if (flag + 1 >= args.size()) {
        err << "usage: tolvane_gallery [--screenshot <file>]\n";
        return 2;
    }
    window.resize(window.sizeHint()); // adjustSize() would stop at the screen size
    if (!window.grab().save(args.at(flag + 1))) {
        err << "cannot write " << args.at(flag + 1) << '\n';
        return 1;
    }
    return 0;
}
