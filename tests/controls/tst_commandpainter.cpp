#include "controls/Command/commandpainter.h"
#include "controls/Command/commandskins.h"
#include "platform/surface.h"

#include <QSet>
#include <QTest>

using namespace tolvane;

Q_DECLARE_METATYPE(tolvane::ButtonState)

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
void checkAxis(const QList<int> &source, int skin)
{
    const int n = int(source.size());
    const QList<int> middle = source.mid(3, n - 6);
    QCOMPARE(source.first(3), (QList<int>{0, 1, 2}));
    QCOMPARE(source.last(3), (QList<int>{skin - 3, skin - 2, skin - 1}));
    QVERIFY(std::is_sorted(middle.begin(), middle.end()));
    QVERIFY(middle.first() >= 3 && middle.last() <= skin - 4);
    QCOMPARE(int(QSet<int>(middle.begin(), middle.end()).size()), std::min(n - 6, skin - 6));
}

} // namespace

class TestCommandPainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skinsHoldTheListedPixels_data()
    {
        QTest::addColumn<ButtonState>("state");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("pressed frame") << Pressed << QPoint(8, 0) << 0x003C74u;
        QTest::newRow("normal fill") << Normal << QPoint(7, 17) << 0xECEBE6u;
        QTest::newRow("hover ramp") << Hover << QPoint(2, 17) << 0xF8B535u;
        QTest::newRow("focused ring") << Focused << QPoint(7, 19) << 0x6982EEu;
        QTest::newRow("disabled square corner") << Disabled << QPoint(17, 20) << 0xFFFFFFu;
    }
    void skinsHoldTheListedPixels()
    {
        QFETCH(ButtonState, state);
        QFETCH(QPoint, at);
        QVERIFY(CommandSkins().isComplete());
        QTEST(CommandSkins().at(state).pixel(at.x(), at.y()) & 0xFFFFFF, "colour");
    }

    void nineSliceKeepsCornersAndStretchesBands()
    {
        // Every skin pixel names its own column and row.
        Surface skin(CommandSkins::Width, CommandSkins::Height);
        for (int y = 0; y < skin.height(); ++y)
            for (int x = 0; x < skin.width(); ++x)
                skin.setPixel(x, y, qRgba(x, y, 0, 0xFF));
        const CommandSkins skins({skin, skin, skin, skin, skin});
        for (const QSize size : {QSize(89, 33), QSize(17, 17)}) {
            const Surface image = painted(skins, size, Normal, false, false);
            QList<int> columns, rows;
            for (int x = 0; x < size.width(); ++x)
                columns << qRed(image.pixel(x, 0));
            for (int y = 0; y < size.height(); ++y)
                rows << qGreen(image.pixel(0, y));
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    QCOMPARE(image.pixel(x, y), qRgba(columns[x], rows[y], 0, 0xFF));
            checkAxis(columns, CommandSkins::Width);
            if (!QTest::currentTestFailed())
                checkAxis(rows, CommandSkins::Height);
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandPainter)
#include "tst_commandpainter.moc"
