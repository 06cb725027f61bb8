// Composing a full-HD frame against clearing a buffer of the same size: the frame's border,
// caption and buttons should cost little beyond the clear every repaint needs anyway.
#include "frame/captiontext.h"
#include "frame/framepainter.h"
#include "frame/skin.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

double timeOf(const std::function<void()> &work, int calls)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        work();
    return double(timer.nsecsElapsed());
}

// Batches of the two alternate, so that a busy machine slows both alike; the median of the
// per-batch ratios is the figure.
double medianRatio(const std::function<void()> &work, const std::function<void()> &baseline)
{
    std::vector<double> ratios;
    for (int batch = 0; batch < 21; ++batch) {
        const double base = timeOf(baseline, 20);
        ratios.push_back(timeOf(work, 20) / base);
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    tolvane::Skin skin;
    if (!skin.LoadSkin())
        return 1;
    const tolvane::CaptionText text(QGuiApplication::font());
    tolvane::FramePainter painter(skin, text);
    painter.setCaption(QStringLiteral("Tolvane"));
    painter.setIcon(QImage(QStringLiteral(":/icon/tolvane.png")));
    const QSize size(1920, 1080);
    tolvane::Surface buffer(size.width(), size.height());

    qint16 hover = 0;
    const auto paint = [&] { painter.PaintForm(size, hover = qint16((hover + 1) % 4)); };
    const auto clear = [&] { buffer.fill(0); };
    paint(); // warm the glyph cache and the composition surface
    clear();

    QTextStream(stdout) << "paint_ratio=" << QString::number(medianRatio(paint, clear), 'f', 3)
                        << Qt::endl;
    return 0;
}
