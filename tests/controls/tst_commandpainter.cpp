#include "controls/Command/commandpainter.h"
#include "controls/Command/commandskins.h"
#include "platform/surface.h"

#include <QSet>
#include <QTest>

using namespace tolvane;

namespace {

Surface painted(const CommandSkins &skins, QSize size, ButtonState state, TriFlag buttonDown,
                TriFlag hasFocus)
{
    Surface image(size.width(), size.height());
    CommandPainter(skins).PaintState(image, state, buttonDown, hasFocus);
    return image;
}

// Source index per painted pixel along one axis: three kept at each end, the middle taken in
// order from the skin's middle, every skin index used when growing, none twice when shrinking.
void checkAxis(const QList<int> &source, int skinExtent)
{
    const int n = int(source.size());
    QSet<int> used;
    for (int i = 0; i < n; ++i) {
        if (i < 3 || i >= n - 3) {
            QCOMPARE(source[i], i < 3 ? i : skinExtent - (n - i));
            continue;
        }
        QVERIFY(source[i] >= 3 && source[i] < skinExtent - 3);
        QVERIFY(i == 3 || source[i] >= source[i - 1]);
        used.insert(source[i]);
    }
    QCOMPARE(int(used.size()), std::min(n - 6, skinExtent - 6));
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
        for (const int state : {Normal, Pressed, Hover, Focused}) {
            QTest::addRow("%d frame", state) << state << QPoint(8, 0) << 0x003C74u;
            QTest::addRow("%d top-left", state) << state << QPoint(0, 0) << 0xDDD7C5u;
            QTest::addRow("%d bottom-right", state) << state << QPoint(17, 20) << 0xF9F8F2u;
        }
        QTest::newRow("normal fill") << int(Normal) << QPoint(7, 17) << 0xECEBE6u;
        QTest::newRow("hover ramp") << int(Hover) << QPoint(2, 17) << 0xF8B535u;
        QTest::newRow("focused ring") << int(Focused) << QPoint(7, 19) << 0x6982EEu;
        QTest::newRow("disabled corner") << int(Disabled) << QPoint(17, 20) << 0xFFFFFFu;
        QTest::newRow("disabled frame") << int(Disabled) << QPoint(1, 0) << 0xC9C7BAu;
    }
    void skinsHoldTheListedPixels()
    {
        QFETCH(int, state);
        QFETCH(QPoint, at);
        QFETCH(QRgb, colour);
        const CommandSkins skins;
        QVERIFY(skins.isComplete());
        QCOMPARE(skins.at(ButtonState(state)).pixel(at.x(), at.y()), 0xFF000000 | colour);
    }

    void nineSliceKeepsCornersAndStretchesBands_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("89 x 33") << QSize(89, 33);
        QTest::newRow("17 x 17") << QSize(17, 17);
    }
    void nineSliceKeepsCornersAndStretchesBands()
    {
        QFETCH(QSize, size);
        // Every skin pixel names its own column and row.
        Surface skin(CommandSkins::Width, CommandSkins::Height);
        for (int y = 0; y < skin.height(); ++y)
            for (int x = 0; x < skin.width(); ++x)
                skin.setPixel(x, y, qRgba(x, y, 0, 0xFF));
        const Surface image =
            painted(CommandSkins({skin, skin, skin, skin, skin}), size, Normal, false, false);
        QList<int> columns, rows;
        for (int x = 0; x < size.width(); ++x)
            columns << qRed(image.pixel(x, 0));
        for (int y = 0; y < size.height(); ++y)
            rows << qGreen(image.pixel(0, y));
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                QCOMPARE(image.pixel(x, y), qRgba(columns[x], rows[y], 0, 0xFF));
        checkAxis(columns, CommandSkins::Width);
        QVERIFY(!QTest::currentTestFailed());
        checkAxis(rows, CommandSkins::Height);
    }

    // At 18 x 21 the skin itself is the expected picture; elsewhere the plain paint is.
    void focusRectangleOnlyInItsStates_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<TriFlag>("buttonDown");
        QTest::addColumn<TriFlag>("hasFocus");
        QTest::addColumn<bool>("shown");
        const TriFlag unset;
        QTest::newRow("pressed, held") << int(Pressed) << TriFlag(true) << unset << true;
        QTest::newRow("pressed, not held")
            << int(Pressed) << TriFlag(false) << TriFlag(true) << false;
        QTest::newRow("hover, focus") << int(Hover) << unset << TriFlag(true) << true;
        QTest::newRow("hover, focus unset") << int(Hover) << TriFlag(true) << unset << false;
        QTest::newRow("focused, focus") << int(Focused) << unset << TriFlag(true) << true;
        QTest::newRow("focused, no focus") << int(Focused) << unset << TriFlag(false) << false;
        QTest::newRow("normal") << int(Normal) << TriFlag(true) << TriFlag(true) << false;
        QTest::newRow("disabled") << int(Disabled) << TriFlag(true) << TriFlag(true) << false;
    }
    void focusRectangleOnlyInItsStates()
    {
        QFETCH(int, state);
        QFETCH(TriFlag, buttonDown);
        QFETCH(TriFlag, hasFocus);
        QFETCH(bool, shown);
        const CommandSkins skins;
        const auto s = ButtonState(state);
        for (const QSize size : {QSize(18, 21), QSize(89, 33), QSize(17, 17)}) {
            const Surface plain =
                size == QSize(18, 21) ? skins.at(s) : painted(skins, size, s, false, false);
            Surface image = painted(skins, size, s, buttonDown, hasFocus);
            // A second paint must not cancel the inverted dots.
            CommandPainter(skins).PaintState(image, s, buttonDown, hasFocus);
            const int right = size.width() - 3, bottom = size.height() - 3;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const bool onOutline = x >= 2 && x <= right && y >= 2 && y <= bottom &&
                                           (x == 2 || x == right || y == 2 || y == bottom);
                    const bool dot = shown && onOutline && (x + y) % 2 == 0;
                    QVERIFY2(image.pixel(x, y) == (plain.pixel(x, y) ^ (dot ? 0xFFFFFFu : 0u)),
                             qPrintable(QStringLiteral("%1 x %2 at %3,%4")
                                            .arg(size.width())
                                            .arg(size.height())
                                            .arg(x)
                                            .arg(y)));
                }
            }
        }
    }

    // Below 6 pixels the overlapping corners must still cover everything, within bounds.
    void tinySurfacesAreFullyCovered_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("5 x 5") << QSize(5, 5);
        QTest::newRow("4 x 2") << QSize(4, 2);
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
