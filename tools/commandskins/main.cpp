// Draws the five 18 x 21 image-button skins (index = button state) and writes them as PNGs.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTextStream>
#include <array>
#include <cmath>

namespace {

constexpr int Width = 18;
constexpr int Height = 21;
constexpr int FirstFillRow = 3;
constexpr int LastFillRow = 17;

QRgb mix(QRgb a, QRgb b, double t)
{
    const auto channel = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return qRgb(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)),
                channel(qBlue(a), qBlue(b)));
}

// A colour that runs from top to bottom over the rows of the side bands.
struct Ramp
{
    QRgb top;
    QRgb bottom;
    QRgb at(int y) const
    {
        return mix(top, bottom, double(y - FirstFillRow) / (LastFillRow - FirstFillRow));
    }
};

struct Skin
{
    QString file;
    QRgb frame;
    std::array<QRgb, 2> topRing;    // rows 1, 2
    std::array<Ramp, 2> leftRing;   // columns 1, 2
    std::array<Ramp, 2> rightRing;  // columns 15, 16
    std::array<QRgb, 2> bottomRing; // rows 18, 19
    Ramp fill;                      // rows 3 to 16
    QRgb fillLast;                  // row 17
    int shadedColumn;               // fill column drawn a little darker, -1 for none
    bool rounded;
    double diagonalBlend; // how far the corner pixel nearest the frame leans to the ring
    double edgeBlend;     // the same for the two pixels beside it
    std::array<QRgb, 2> topLeftBlend; // hand-tuned inner top-left pixels, 0 to compute them
};

const Ramp NormalFill{0xFCFCFB, 0xF0F0EA};
const Ramp PressedFill{0xE5E4DD, 0xE0E0D7};
const Ramp Flat{0xF5F4EA, 0xF5F4EA};
const Ramp BlueRing{0xBAD3F5, 0x89ADE4};
constexpr QRgb Navy = 0x003C74;

// clang-format off
const std::array<Skin, 5> Skins{{
    {QStringLiteral("normal.png"), Navy, {0xFFFFFF, 0xFEFEFE}, {NormalFill, NormalFill},
     {Ramp{0xFBFBFA, 0xE4E2DA}, Ramp{0xF6F4F2, 0xE0DED4}}, {0xE1DED5, 0xD6D0C5}, NormalFill,
     0xECEBE6, 14, true, 0.33, 0.75, {0x557DA2, 0xC0CFDD}},
    {QStringLiteral("pressed.png"), Navy, {0xD1CCC1, 0xDCD8CF},
     {Ramp{0xD8D4CB, 0xD8D4CB}, Ramp{0xDDDAD1, 0xDDDAD1}}, {PressedFill, PressedFill},
     {0xEAEAE4, 0xF2F1EE}, PressedFill, 0xE2E2DA, 3, true, 0.33, 0.75, {0, 0}},
    {QStringLiteral("disabled.png"), 0xC9C7BA, {0xF5F4EA, 0xF5F4EA}, {Flat, Flat}, {Flat, Flat},
     {0xF5F4EA, 0xF5F4EA}, Flat, 0xF5F4EA, -1, false, 1.0, 1.0, {0, 0}},
    {QStringLiteral("hover.png"), Navy, {0xFFF0CF, 0xFDD889},
     {Ramp{0xFEDF9A, 0xF9B435}, Ramp{0xFCD279, 0xF8B535}},
     {Ramp{0xFEDF9A, 0xF9B435}, Ramp{0xFCD279, 0xF8B535}}, {0xF8B330, 0xE59700}, NormalFill,
     0xECEBE6, 14, true, 0.5, 0.95, {0x8D9EA1, 0xEFE8D2}},
    {QStringLiteral("focused.png"), Navy, {0xCEE7FF, 0xBCD4F6}, {BlueRing, BlueRing},
     {BlueRing, BlueRing}, {0x89ADE4, 0x6982EE}, NormalFill, 0xECEBE6, 14, true, 0.15, 1.0,
     {0x274D85, 0xCEE7FF}},
}};
// clang-format on

// The anti-aliased frame corners: the corner pixel itself, then its two neighbours along the
// horizontal edge and its two neighbours along the vertical edge.
struct FrameCorner
{
    int x, y;
    QRgb corner;
    std::array<QRgb, 2> alongRow;
    std::array<QRgb, 2> alongColumn;
};
const std::array<FrameCorner, 4> RoundCorners{{
    {0, 0, 0xDDD7C5, {0x65869F, 0x225583}, {0x65869F, 0x225583}},
    {17, 0, 0xE1DCCA, {0x577C99, 0x154C7D}, {0x6586A0, 0x225583}},
    {0, 20, 0xECEAD9, {0x6A8BA3, 0x225583}, {0x567B99, 0x154C7D}},
    {17, 20, 0xF9F8F2, {0x6184A0, 0x154C7D}, {0x5E829E, 0x154C7D}},
}};

void set(QImage &image, int x, int y, QRgb colour)
{
    image.setPixel(x, y, 0xFF000000 | colour);
}

void drawBody(QImage &image, const Skin &skin)
{
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            set(image, x, y, skin.frame);
    for (int x = 3; x <= 14; ++x) {
        set(image, x, 1, skin.topRing[0]);
        set(image, x, 2, skin.topRing[1]);
        set(image, x, 18, skin.bottomRing[0]);
        set(image, x, 19, skin.bottomRing[1]);
    }
    for (int y = FirstFillRow; y <= LastFillRow; ++y) {
        set(image, 1, y, skin.leftRing[0].at(y));
        set(image, 2, y, skin.leftRing[1].at(y));
        set(image, 15, y, skin.rightRing[0].at(y));
        set(image, 16, y, skin.rightRing[1].at(y));
        const int fillRows = LastFillRow - FirstFillRow;
        for (int x = 3; x <= 14; ++x) {
            QRgb colour = y == LastFillRow ? skin.fillLast
                                           : mix(skin.fill.top, skin.fill.bottom,
                                                 double(y - FirstFillRow) / (fillRows - 1));
            if (x == skin.shadedColumn)
                colour = mix(colour, 0x000000, 0.025);
            set(image, x, y, colour);
        }
    }
}

// The inner 2 x 2 pixels of each corner lead from the frame into the two rings that meet there.
void drawCornerBlends(QImage &image, const Skin &skin)
{
    for (const FrameCorner &c : RoundCorners) {
        const int sx = c.x == 0 ? 1 : -1;
        const int sy = c.y == 0 ? 1 : -1;
        const bool top = c.y == 0;
        const int endRow = top ? FirstFillRow : LastFillRow;
        const QRgb rowOuter = top ? skin.topRing[0] : skin.bottomRing[1];
        const QRgb rowInner = top ? skin.topRing[1] : skin.bottomRing[0];
        const auto &ring = c.x == 0 ? skin.leftRing : skin.rightRing;
        const QRgb columnOuter = ring[c.x == 0 ? 0 : 1].at(endRow);
        const QRgb columnInner = ring[c.x == 0 ? 1 : 0].at(endRow);
        set(image, c.x + sx, c.y + sy,
            mix(skin.frame, mix(rowOuter, columnOuter, 0.5), skin.diagonalBlend));
        set(image, c.x + 2 * sx, c.y + sy, mix(skin.frame, rowOuter, skin.edgeBlend));
        set(image, c.x + sx, c.y + 2 * sy, mix(skin.frame, columnOuter, skin.edgeBlend));
        set(image, c.x + 2 * sx, c.y + 2 * sy, mix(rowInner, columnInner, 0.5));
    }
    if (skin.topLeftBlend[0] != 0) {
        set(image, 1, 1, skin.topLeftBlend[0]);
        set(image, 2, 1, skin.topLeftBlend[1]);
        set(image, 1, 2, skin.topLeftBlend[1]);
    }
}

void drawFrameCorners(QImage &image, const Skin &skin)
{
    for (const FrameCorner &c : RoundCorners) {
        if (!skin.rounded) {
            set(image, c.x, c.y, 0xFFFFFF);
            continue;
        }
        const int sx = c.x == 0 ? 1 : -1;
        const int sy = c.y == 0 ? 1 : -1;
        set(image, c.x, c.y, c.corner);
        for (int i = 0; i < 2; ++i) {
            set(image, c.x + (i + 1) * sx, c.y, c.alongRow[i]);
            set(image, c.x, c.y + (i + 1) * sy, c.alongColumn[i]);
        }
    }
}

QImage drawSkin(const Skin &skin)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    drawBody(image, skin);
    drawCornerBlends(image, skin);
    drawFrameCorners(image, skin);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: tolvane_commandskins <output folder>\n";
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << '\n';
        return 1;
    }
    for (const Skin &skin : Skins) {
        const QString path = out.filePath(skin.file);
        if (!drawSkin(skin).save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
