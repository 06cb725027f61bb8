#include "tools/skinart/skinartist.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: tolvane_skinart <resources folder>\n";
        return 2;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    if (!resources.mkpath(QStringLiteral("frame")))
        return 1;

    // One set for each screen density the frame picks from; the colour strip only once.
    const tolvane::SkinArtist artist;
    for (const double scale : {1.0, 1.5, 2.0, 3.0}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
        for (int id = 101; id <= 114; ++id) {
            if (id == 112 && scale != 1)
                continue;
            const QString path =
                resources.filePath(QStringLiteral("frame/%1%2.png").arg(id).arg(suffix));
            if (!artist.picture(id, scale).save(path)) {
                QTextStream(stderr) << "cannot write " << path << '\n';
                return 1;
            }
        }
    }
    return 0;
}
