#include "frame/captiontext.h"
#include "frame/framepainter.h"
#include "frame/skin.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <set>

using namespace tolvane;

namespace {

constexpr QRgb Text = 0xfff80000;
constexpr QRgb Shadow = 0xff408030;
constexpr QRgb IconBlue = 0xff0000c8;

// Every synthetic skin pixel names where it came from: red = slot, green = x, blue = y.
QRgb origin(int slot, int x, int y)
{
    return qRgba(slot, x, y, 255);
}

// A caption whose measured width the test decides: a fixed width per character.
class FixedWidthText : public CaptionText
{
public:
    explicit FixedWidthText(int perCharacter)
        : CaptionText(QGuiApplication::font()), m_perCharacter(perCharacter)
    {}
    QSize measure(const QString &text) const override
    {
        return {m_perCharacter * int(text.toUcs4().size()), 4};
    }

private:
    int m_perCharacter;
};

} // namespace

class TestFramePainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pieces_data();
    void pieces();
    void captionPixels();
    void shortening_data();
    void shortening();
    void degenerateSizes();
    void repaintMatchesFreshPaint();

private:
    QTemporaryDir m_folder;
    Skin m_skin;
    QImage m_icon;
};

void TestFramePainter::initTestCase()
{
    QVERIFY(m_folder.isValid());
    for (int slot = 1; slot <= 12; ++slot) {
        QImage picture;
        if (slot == Skin::StripSlot) {
            picture = QImage(1024, 32, QImage::Format_ARGB32);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 1024; ++x)
                    picture.setPixel(x, y, qRgba((x % 32) * 8, y * 8, (x / 32) * 8, 255));
        } else {
            picture = QImage(slot == 11 ? 124 : Skin::surfaceSize(slot).width(), 38,
                             QImage::Format_ARGB32);
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    picture.setPixel(x, y, origin(slot, x, y));
        }
        QVERIFY(picture.save(m_folder.filePath(QStringLiteral("%1.png").arg(100 + slot))));
    }
    QVERIFY(m_skin.LoadSkin(m_folder.path()));

    // Left half transparent: the mask must leave the skin there.
    m_icon = QImage(48, 48, QImage::Format_ARGB32);
    m_icon.fill(0);
    for (int y = 0; y < 48; ++y)
        for (int x = 24; x < 48; ++x)
            m_icon.setPixel(x, y, qRgb(0, 0, 200));
}

void TestFramePainter::pieces_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("hover");
    for (const QSize size : {QSize(160, 76), QSize(527, 497), QSize(1200, 300)})
        for (int hover = 0; hover <= 3; ++hover)
            QTest::addRow("%dx%d hover %d", size.width(), size.height(), hover) << size << hover;
}

void TestFramePainter::pieces()
{
    QFETCH(QSize, size);
    QFETCH(int, hover);
    const int w = size.width();
    const int h = size.height();
    const FixedWidthText text(7);
    FramePainter painter(m_skin, text);
    painter.setCaption(QStringLiteral("Tolvane"));
    painter.setIcon(m_icon);
    painter.PaintForm(size, qint16(hover));
    QCOMPARE(painter.PaintedState(), hover);

    const Surface &out = painter.image();
    int iconPixels = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = out.pixel(x, y);
            if (p == Text || p == Shadow)
                continue;
            if (p == IconBlue) {
                QVERIFY(x >= 30 && x <= 38 && y >= 17 && y <= 34);
                ++iconPixels;
                continue;
            }
            // Which piece owns (x, y), and its column where the piece is not stretched.
            int slot = 0;
            int sx = -1;
            int sy = y < 38 ? y : y - (h - 38);
            if (y < 38 || y >= h - 38) {
                const bool top = y < 38;
                if (x < 21) {
                    slot = top ? 1 : 7;
                    sx = x;
                } else if (x < w - 117) {
                    slot = top ? 2 : 6;
                } else {
                    slot = top ? 3 : 5;
                    sx = x - (w - 117);
                }
                if (top && hover == 1 && x >= w - 124 && x < w - 7) {
                    slot = 11;
                    sx = x - (w - 124);
                } else if (top && slot == 3 && hover >= 2) {
                    slot = hover == 2 ? 10 : 9;
                }
            } else if (x < 21 || x >= w - 21) {
                slot = x < 21 ? 8 : 4;
                sx = x < 21 ? x : x - (w - 21);
                sy = -1;
            }
            if (slot == 0) {
                if (p != 0)
                    QFAIL(qPrintable(QStringLiteral("interior %1,%2 drawn").arg(x).arg(y)));
                continue;
            }
            if (qRed(p) != slot || (sx >= 0 && qGreen(p) != sx) || (sy >= 0 && qBlue(p) != sy))
                QFAIL(qPrintable(QStringLiteral("(%1,%2) is not from slot %3: %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(slot)
                                     .arg(p, 8, 16)));
        }
    }
    // The caption buttons are drawn last and may cover the icon's right columns.
    const int iconEnd = std::min(39, hover == 1 ? w - 124 : w - 117);
    QCOMPARE(iconPixels, 18 * std::max(0, iconEnd - 30));
}

void TestFramePainter::captionPixels()
{
    const CaptionText text(QGuiApplication::font());
    FramePainter painter(m_skin, text);
    painter.setCaption(QStringLiteral("Tolvane"));
    painter.PaintForm(QSize(527, 497), 0);
    QCOMPARE(painter.TitleText(), QStringLiteral("Tolvane"));

    // The text pixels are exactly the black pixels of the rendered caption, moved to (50, 17).
    std::set<std::pair<int, int>> drawn;
    std::set<std::pair<int, int>> expected;
    const QImage rendered = text.render(painter.TitleText());
    for (int y = 0; y < rendered.height(); ++y)
        for (int x = 0; x < rendered.width(); ++x)
            if ((rendered.pixel(x, y) & 0xffffff) == 0)
                expected.insert({x + 50, y + 17});
    const Surface &out = painter.image();
    for (int y = 0; y < 38; ++y) {
        for (int x = 0; x < 527 - 117; ++x) {
            if (out.pixel(x, y) == Text) {
                drawn.insert({x, y});
                const QRgb below = out.pixel(x + 1, y + 1);
                QVERIFY(below == Text || below == Shadow);
            } else if (out.pixel(x, y) == Shadow) {
                QCOMPARE(out.pixel(x - 1, y - 1), Text);
            }
        }
    }
    QVERIFY(!expected.empty());
    QVERIFY(drawn == expected);
}

void TestFramePainter::shortening_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("title");

    // Seven characters at 10 pixels each measure 70: whole only while W - 170 > 70.
    const QString name = QStringLiteral("Tolvane");
    QTest::newRow("fits") << name << 241 << name;
    QTest::newRow("exactly W - 170 is cut") << name << 240 << QStringLiteral("To．．");
    QTest::newRow("k 6.5 rounds to even") << name << 235 << QStringLiteral("T．．");
    QTest::newRow("k 5.5 rounds to even") << name << 225 << QStringLiteral("T．．");
    QTest::newRow("k 5") << name << 220 << QStringLiteral("T．");
    QTest::newRow("no room at all") << name << 160 << QStringLiteral("T．");
    QTest::newRow("empty caption") << QString() << 160 << QString();
    QTest::newRow("wide script counted by characters")
        << QStringLiteral("批量文件改名器") << 240 << QStringLiteral("批量．．");
    QTest::newRow("characters outside the BMP stay whole")
        << QString::fromUcs4(U"\U00020000\U00020001\U00020002\U00020003\U00020004\U00020005"
                             U"\U00020006")
        << 240 << QString::fromUcs4(U"\U00020000\U00020001．．");
}

void TestFramePainter::shortening()
{
    QFETCH(QString, caption);
    QFETCH(int, width);
    QFETCH(QString, title);
    const FixedWidthText text(10);
    FramePainter painter(m_skin, text);
    painter.setCaption(caption);
    painter.PaintForm(QSize(width, 100), 0);
    QCOMPARE(painter.TitleText(), title);
}

void TestFramePainter::degenerateSizes()
{
    // A minimised window can report sizes below the frame's own pieces.
    const CaptionText text(QGuiApplication::font());
    FramePainter painter(m_skin, text);
    painter.setCaption(QStringLiteral("Tolvane"));
    painter.setIcon(m_icon);
    for (const QSize size : {QSize(100, 30), QSize(0, 0), QSize(10, 200), QSize(160, 76)}) {
        painter.PaintForm(size, 1);
        QCOMPARE(painter.image().width(), size.width());
        const QImage first = painter.image().image();
        painter.PaintForm(size, 1);
        QCOMPARE(painter.image().image(), first);
    }
}

void TestFramePainter::repaintMatchesFreshPaint()
{
    // A repaint at the same size reuses the surface: nothing of the last image may survive.
    const CaptionText text(QGuiApplication::font());
    FramePainter reused(m_skin, text);
    reused.setIcon(m_icon);
    reused.setCaption(QStringLiteral("A much longer caption than the next one"));
    reused.PaintForm(QSize(527, 200), 1);
    reused.setCaption(QStringLiteral("T"));
    reused.PaintForm(QSize(527, 200), 0);

    FramePainter fresh(m_skin, text);
    fresh.setIcon(m_icon);
    fresh.setCaption(QStringLiteral("T"));
    fresh.PaintForm(QSize(527, 200), 0);
    QCOMPARE(reused.image().image(), fresh.image().image());
}

QTEST_MAIN(TestFramePainter)
#include "tst_framepainter.moc"
