#include "tools/iconart/iconartist.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

// Writes icon/tolvane.png (the window's 48-pixel icon) and the desktop's hicolor sizes.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: tolvane_iconart <resources folder>\n";
        return 2;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    QList<QPair<int, QString>> outputs{{48, QStringLiteral("icon/tolvane.png")}};
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        outputs.append(
            {size,
             QStringLiteral("icon/hicolor/%1x%1/apps/io.github.tolvane.Tolvane.png").arg(size)});
    for (const auto &[size, name] : outputs) {
        const QString path = resources.filePath(name);
        if (!QDir().mkpath(QFileInfo(path).path()) ||
            !tolvane::IconArtist(size).image().save(path)) {
            QTextStream(stderr) << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
