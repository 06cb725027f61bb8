// Paints the image button's background (nine-slice plus focus rectangle) at the working form's
// button sizes and compares the time with QPainter drawing the same nine pieces as plain
// source copies without smoothing.
#include "controls/Command/commandpainter.h"
#include "controls/Command/commandskins.h"
#include "controls/Command/nineslice.h"
#include "platform/surface.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tolvane;

namespace {

constexpr int Paints = 20000;
constexpr int Rounds = 5;
const QSize Sizes[] = {QSize(81, 25), QSize(89, 33), QSize(17, 17)};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void paintOurs(const CommandSkins &skins, Surface &image)
{
    CommandPainter(skins).PaintState(image, Focused, false, true);
}

void paintBaseline(const CommandSkins &skins, QImage &image)
{
    static const NineSlice slices(QSize(CommandSkins::Width, CommandSkins::Height),
                                  CommandSkins::SkinBorder);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const NineSlice::Piece &piece : slices.pieces(image.size()))
        p.drawImage(piece.target, skins.at(Focused).image(), piece.source);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.drawRect(2, 2, image.width() - 5, image.height() - 5);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const CommandSkins skins;
    if (!skins.isComplete())
        qFatal("button skins missing");
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (const QSize size : Sizes) {
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            for (int i = 0; i < Paints; ++i)
                paintBaseline(skins, image);
        }
        theirs.push_back(timer.nsecsElapsed());

        timer.restart();
        for (const QSize size : Sizes) {
            Surface image(size.width(), size.height());
            for (int i = 0; i < Paints; ++i)
                paintOurs(skins, image);
        }
        ours.push_back(timer.nsecsElapsed());
    }
    std::printf("commandpaint_ratio=%.3f\n", median(ours) / median(theirs));
    return 0;
}
