// Writes check0.png ... check11.png: picture 4 × value + look, for the values unchecked,
// checked and grayed and the looks normal, hover, pressed and disabled.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

namespace {

constexpr int Size = 13;

const QColor Frame(25, 75, 126);
const QColor PaleFrame(205, 205, 189);

QColor blend(const QColor &from, const QColor &to, double t)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t));
}

// Rows 1 to 11 inside the frame, shaded from top to bottom.
void fillInside(QImage &image, const QColor &top, const QColor &bottom)
{
    for (int y = 1; y < Size - 1; ++y) {
        const QRgb rgb = blend(top, bottom, (y - 1) / double(Size - 3)).rgb();
        for (int x = 1; x < Size - 1; ++x)
            image.setPixel(x, y, rgb);
    }
}

void drawFrame(QImage &image, const QColor &color)
{
    for (int i = 0; i < Size; ++i) {
        image.setPixel(i, 0, color.rgb());
        image.setPixel(i, Size - 1, color.rgb());
        image.setPixel(0, i, color.rgb());
        image.setPixel(Size - 1, i, color.rgb());
    }
}

// The hover ring: two pixels just inside the frame, pale yellow at the top to orange below.
void drawRing(QImage &image)
{
    const QColor top(255, 255, 160);
    const QColor bottom(248, 179, 48);
    for (int y = 1; y < Size - 1; ++y) {
        const QRgb rgb = blend(top, bottom, (y - 1) / double(Size - 3)).rgb();
        for (int x = 1; x < Size - 1; ++x) {
            const bool ring = x <= 2 || y <= 2 || x >= Size - 3 || y >= Size - 3;
            if (ring)
                image.setPixel(x, y, rgb);
        }
    }
}

void drawMark(QImage &image, const QColor &color)
{
    static const char *const mark[] = {
        "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
    };
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            if (mark[y][x] == '#')
                image.setPixel(3 + x, 3 + y, color.rgb());
}

void drawSquare(QImage &image, const QColor &color)
{
    for (int y = 3; y < 10; ++y)
        for (int x = 3; x < 10; ++x)
            image.setPixel(x, y, color.rgb());
}

enum Look { Normal, Hover, Pressed, Disabled };

// The empty box of each look; the value's mark goes on top.
QImage box(Look look)
{
    QImage image(Size, Size, QImage::Format_RGB32);
    switch (look) {
    case Normal:
    case Hover:
        fillInside(image, QColor(220, 220, 213), QColor(250, 250, 248));
        break;
    case Pressed:
        fillInside(image, QColor(176, 176, 167), QColor(206, 206, 194));
        break;
    case Disabled:
        fillInside(image, Qt::white, Qt::white);
        break;
    }
    drawFrame(image, look == Disabled ? PaleFrame : Frame);
    if (look == Hover)
        drawRing(image);
    return image;
}

QImage glyph(int value, Look look)
{
    QImage image = box(look);
    if (value == 1) {
        static const QColor marks[] = {QColor(63, 172, 63), QColor(63, 172, 63),
                                       QColor(58, 138, 55), QColor(214, 214, 200)};
        drawMark(image, marks[look]);
    } else if (value == 2) {
        // The grayed hover look is the normal one; the pressed one carries the ring.
        if (look == Hover)
            return glyph(2, Normal);
        if (look == Pressed) {
            image = box(Hover);
            drawSquare(image, QColor(32, 160, 32));
        } else {
            drawSquare(image, look == Disabled ? QColor(207, 207, 191) : QColor(160, 208, 160));
        }
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolvane_checkglyphs <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int value = 0; value < 3; ++value) {
        for (int look = Normal; look <= Disabled; ++look) {
            const int index = 4 * value + look;
            const QString path = out.filePath(QStringLiteral("check%1.png").arg(index));
            if (!glyph(value, Look(look)).save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
