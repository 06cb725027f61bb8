#include "controls/Command/commandpainter.h"
#include "controls/Command/commandskins.h"
#include "platform/surface.h"

#include <QTest>
#include <set>

using namespace tolvane;

namespace {

constexpr QRgb Opaque = 0xFF000000;

// A skin whose every pixel names its own column and row, so a painted pixel tells where it
// was copied from.
Surface coordinateSkin()
{
    Surface s(CommandSkins::Width, CommandSkins::Height);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            s.setPixel(x, y, qRgba(x, y, 0, 0xFF));
    return s;
}

CommandSkins coordinateSkins()
{
    const Surface s = coordinateSkin();
    return CommandSkins({s, s, s, s, s});
}

Surface painted(const CommandSkins &skins, QSize size, ButtonState state, TriFlag buttonDown,
                TriFlag hasFocus)
{
    Surface image(size.width(), size.height());
    CommandPainter(skins).PaintState(image, state, buttonDown, hasFocus);
    return image;
}

bool onFocusOutline(int x, int y, QSize size)
{
    const int right = size.width() - 3;
    const int bottom = size.height() - 3;
    const bool inside = x >= 2 && x <= right && y >= 2 && y <= bottom;
    return inside && (x == 2 || x == right || y == 2 || y == bottom);
}

// Whether a painted pixel's source index along one axis is where the nine-slice puts it: the
// first and last 3 keep their offset from their own edge; the middle maps into the skin's
// middle, the same way in every band (the first mapping seen is kept in middle).
bool sourceFits(int i, int extent, int skinExtent, int source, std::vector<int> &middle)
{
    if (i < 3)
        return source == i;
    if (i >= extent - 3)
        return source == skinExtent - (extent - i);
    if (source < 3 || source >= skinExtent - 3)
        return false;
    if (middle[i] < 0)
        middle[i] = source;
    return middle[i] == source;
}

} // namespace

class TestCommandPainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skinsHoldTheListedPixels_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("colour");
        const QList<std::pair<const char *, int>> rounded{
            {"normal", Normal}, {"pressed", Pressed}, {"hover", Hover}, {"focused", Focused}};
        for (const auto &[name, state] : rounded) {
            const auto row = [&](const char *what, QPoint at, QRgb colour) {
                QTest::addRow("%s %s", name, what) << state << at << colour;
            };
            row("frame", QPoint(8, 0), 0x003C74);
            row("top-left corner", QPoint(0, 0), 0xDDD7C5);
            row("top-left down side", QPoint(0, 2), 0x225583);
            row("top-right along top", QPoint(16, 0), 0x577C99);
            row("top-right down side", QPoint(17, 1), 0x6586A0);
            row("bottom-left up side", QPoint(0, 18), 0x154C7D);
            row("bottom-right along bottom", QPoint(16, 20), 0x6184A0);
            row("bottom-right corner", QPoint(17, 20), 0xF9F8F2);
        }
        const auto row = [](const char *what, int state, QPoint at, QRgb colour) {
            QTest::addRow("%s", what) << state << at << colour;
        };
        row("normal fill last row", Normal, QPoint(7, 17), 0xECEBE6);
        row("normal corner blend", Normal, QPoint(1, 1), 0x557DA2);
        row("hover side ramp bottom", Hover, QPoint(2, 17), 0xF8B535);
        row("focused bottom ring", Focused, QPoint(7, 19), 0x6982EE);
        row("disabled square corner", Disabled, QPoint(17, 20), 0xFFFFFF);
        row("disabled frame beside corner", Disabled, QPoint(1, 0), 0xC9C7BA);
        row("disabled inner corner", Disabled, QPoint(1, 1), 0xF5F4EA);
    }

    void skinsHoldTheListedPixels()
    {
        QFETCH(int, state);
        QFETCH(QPoint, at);
        QFETCH(QRgb, colour);
        const CommandSkins skins;
        QVERIFY(skins.isComplete());
        QCOMPARE(skins.at(ButtonState(state)).pixel(at.x(), at.y()), Opaque | colour);
    }

    void skinSizeCopiesThePictureExactly_data()
    {
        QTest::addColumn<int>("state");
        for (int state = 0; state < ButtonStateCount; ++state)
            QTest::addRow("state %d", state) << state;
    }

    void skinSizeCopiesThePictureExactly()
    {
        QFETCH(int, state);
        const CommandSkins skins;
        const auto s = ButtonState(state);
        const Surface image =
            painted(skins, QSize(CommandSkins::Width, CommandSkins::Height), s, false, false);
        QCOMPARE(image.image(), skins.at(s).image());
    }

    void nineSliceKeepsCornersAndStretchesBands_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("skin size") << QSize(18, 21);
        QTest::newRow("89 x 33") << QSize(89, 33);
        QTest::newRow("17 x 17, smaller than the skin") << QSize(17, 17);
        QTest::newRow("wide and flat") << QSize(120, 7);
    }

    void nineSliceKeepsCornersAndStretchesBands()
    {
        QFETCH(QSize, size);
        const Surface image = painted(coordinateSkins(), size, Normal, false, false);
        const int w = size.width();
        const int h = size.height();
        std::vector<int> columnSource(w, -1), rowSource(h, -1);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb p = image.pixel(x, y);
                QCOMPARE(qAlpha(p), 0xFF);
                QVERIFY2(sourceFits(x, w, 18, qRed(p), columnSource) &&
                             sourceFits(y, h, 21, qGreen(p), rowSource),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
        const auto checkMiddle = [](const std::vector<int> &sources, int skinMiddle) {
            std::set<int> used;
            for (std::size_t i = 3; i + 3 < sources.size(); ++i) {
                if (i > 3)
                    QVERIFY(sources[i] >= sources[i - 1]);
                used.insert(sources[i]);
            }
            const int middle = int(sources.size()) - 6;
            // Growing uses every middle column of the skin; shrinking drops some, none twice.
            QCOMPARE(int(used.size()), std::min(middle, skinMiddle));
        };
        checkMiddle(columnSource, 12);
        checkMiddle(rowSource, 15);
    }

    void focusRectangleOnlyInItsStates_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<TriFlag>("buttonDown");
        QTest::addColumn<TriFlag>("hasFocus");
        QTest::addColumn<bool>("shown");
        const TriFlag unset;
        QTest::newRow("pressed and held, no focus")
            << int(Pressed) << TriFlag(true) << unset << true;
        QTest::newRow("pressed, not held")
            << int(Pressed) << TriFlag(false) << TriFlag(true) << false;
        QTest::newRow("hover with focus") << int(Hover) << unset << TriFlag(true) << true;
        QTest::newRow("hover, focus unset") << int(Hover) << unset << unset << false;
        QTest::newRow("hover, focus lost")
            << int(Hover) << TriFlag(false) << TriFlag(false) << false;
        QTest::newRow("focused with focus")
            << int(Focused) << TriFlag(true) << TriFlag(true) << true;
        QTest::newRow("focused without focus") << int(Focused) << unset << TriFlag(false) << false;
        QTest::newRow("normal never") << int(Normal) << TriFlag(true) << TriFlag(true) << false;
        QTest::newRow("disabled never") << int(Disabled) << TriFlag(true) << TriFlag(true) << false;
    }

    void focusRectangleOnlyInItsStates()
    {
        QFETCH(int, state);
        QFETCH(TriFlag, buttonDown);
        QFETCH(TriFlag, hasFocus);
        QFETCH(bool, shown);
        const CommandSkins skins;
        for (const QSize size : {QSize(89, 33), QSize(17, 17), QSize(18, 21)}) {
            const auto s = ButtonState(state);
            const Surface plain = painted(skins, size, s, false, false);
            Surface image = painted(skins, size, s, buttonDown, hasFocus);
            // A second paint over the first must not cancel the inverted dots.
            CommandPainter(skins).PaintState(image, s, buttonDown, hasFocus);
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const QRgb before = plain.pixel(x, y);
                    const bool dot = shown && onFocusOutline(x, y, size) && (x + y) % 2 == 0;
                    const QRgb expected = dot ? (before ^ 0x00FFFFFF) : before;
                    QVERIFY2(image.pixel(x, y) == expected,
                             qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
                }
            }
        }
    }

    // Below 6 pixels the bands have no room; the overlapping corners must still cover the
    // whole image, without reading or writing outside it.
    void tinySurfacesAreFullyCovered_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("5 x 5") << QSize(5, 5);
        QTest::newRow("4 x 2") << QSize(4, 2);
        QTest::newRow("1 x 1") << QSize(1, 1);
        QTest::newRow("empty") << QSize(0, 0);
    }

    void tinySurfacesAreFullyCovered()
    {
        QFETCH(QSize, size);
        const Surface image = painted(CommandSkins(), size, Focused, true, true);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(qAlpha(image.pixel(x, y)), 0xFF);
    }
};

QTEST_GUILESS_MAIN(TestCommandPainter)
#include "tst_commandpainter.moc"
