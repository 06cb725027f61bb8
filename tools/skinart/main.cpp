#include "frame/skinartist.h"

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

    const tolvane::SkinArtist artist;
    for (int id = 101; id <= 114; ++id) {
        const QString path = resources.filePath(QStringLiteral("frame/%1.png").arg(id));
        if (!artist.picture(id).save(path)) {
            QTextStream(stderr) << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
