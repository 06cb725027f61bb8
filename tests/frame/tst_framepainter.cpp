#include "frame/captiontext.h"
#include "frame/framepainter.h"
#include "frame/skin.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace tolvane;

namespace {

constexpr QRgb Text = 0xfff80000;
constexpr QRgb Shadow = 0xff408030;
constexpr QRgb IconBlue = 0xff0000c8;

// The skin piece owning (x, y), its column and row there (-1 where stretched); 0: interior.
struct Owner
{
    int slot = 0, sx = -1, sy = -1;
};

Owner owner(int x, int y, int w, int h, int hover)
{
    if (y >= 38 && y < h - 38)
        return x < 21 ? Owner{8, x, -1} : x >= w - 21 ? Owner{4, x - (w - 21), -1} : Owner{};
    const bool top = y < 38;
    const int sy = top ? y : y - (h - 38);
    if (top && hover == 1 && x >= w - 124 && x < w - 7)
        return {11, x - (w - 124), sy};
    if (x >= w - 117)
        return {top ? (hover == 2 ? 10 : hover == 3 ? 9 : 3) : 5, x - (w - 117), sy};
    return x < 21 ? Owner{top ? 1 : 7, x, sy} : Owner{top ? 2 : 6, -1, sy};
}

// A caption measured at 10 pixels a character, so that the test decides where it is cut.
class FixedWidthText : public CaptionText
{
public:
    FixedWidthText() : CaptionText(QGuiApplication::font()) {}
    QSize measure(const QString &text) const override
    {
        return {10 * int(text.toUcs4().size()), CaptionText::measure(text).height()};
    }
};

} // namespace

class TestFramePainter : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    Skin m_skin; // every pixel names where it came from: red = slot, green = x, blue = y
    QImage m_icon;

private Q_SLOTS:
    void initTestCase()
    {
        for (int slot = 1; slot <= 12; ++slot) {
            const QSize size = slot == 11 ? QSize(124, 38) : Skin::surfaceSize(slot);
            QImage picture(size, QImage::Format_ARGB32);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    picture.setPixel(x, y,
                                     slot == Skin::StripSlot
                                         ? qRgba((x % 32) * 8, y * 8, (x / 32) * 8, 255)
                                         : qRgba(slot, x, y, 255));
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

    void programSkin()
    {
        // Its strip follows the rule; its lit corners differ from the plain one only around
        // their own button (111 starts 7 columns further left).
        Skin skin;
        QVERIFY(skin.LoadSkin());
        QCOMPARE(skin.slot(12).image(), m_skin.slot(12).image());
        const QImage plain(QStringLiteral(":/frame/103.png"));
        const int lit[][3] = {{109, 41, 99}, {110, 15, 60}, {111, 0, 76}};
        for (const auto &[id, from, to] : lit) {
            const QImage shown = QImage(QStringLiteral(":/frame/%1.png").arg(id))
                                     .copy(id == 111 ? 7 : 0, 0, 117, 38);
            QVERIFY(shown != plain && shown.copy(0, 0, from, 38) == plain.copy(0, 0, from, 38) &&
                    shown.copy(to + 1, 0, 116 - to, 38) == plain.copy(to + 1, 0, 116 - to, 38));
        }
    }

    void paint_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("hover");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        const QString name = QStringLiteral("Tolvane");
        for (int hover = 0; hover <= 3; ++hover) {
            QTest::addRow("160x76 hover %d", hover)
                << QSize(160, 76) << hover << name << QStringLiteral("T．");
            QTest::addRow("527x497 hover %d", hover) << QSize(527, 497) << hover << name << name;
        }
        // Seven characters measure 70: whole only while W - 170 > 70.
        const auto row = [](const char *tag, int width, const QString &caption,
                            const char16_t *title) {
            QTest::newRow(tag) << QSize(width, 76) << 0 << caption << QString::fromUtf16(title);
        };
        row("fits", 241, name, u"Tolvane");
        row("exactly W - 170 is cut", 240, name, u"To．．");
        row("k 6.5 rounds to even", 235, name, u"T．．");
        row("k 5", 220, name, u"T．");
        row("empty caption", 220, QString(), u"");
        row("wide script counted by characters", 240, QStringLiteral("批量文件改名器"),
            u"批量．．");
        row("characters outside the BMP stay whole", 240,
            QString::fromUcs4(U"\U00020000\U00020001\U00020002\U00020003\U00020004\U00020005"
                              U"\U00020006"),
            u"\U00020000\U00020001．．");
    }

    void paint()
    {
        QFETCH(QSize, size);
        QFETCH(int, hover);
        QFETCH(QString, caption);
        QFETCH(QString, title);
        const FixedWidthText text;
        FramePainter painter(m_skin, text);
        painter.setIcon(m_icon);
        // A repaint at the same size reuses the surface: nothing of the last image may survive.
        painter.setCaption(QStringLiteral("A much longer caption than the next one"));
        painter.PaintForm(size, qint16((hover + 1) % 4));
        painter.setCaption(caption);
        painter.PaintForm(size, qint16(hover));
        QCOMPARE(painter.PaintedState(), hover);
        QCOMPARE(painter.TitleText(), title);

        // Every pixel is its skin piece's, but in the title bar left of the buttons (drawn last):
        // the caption from (50, 17) in its colour, each of its pixels shadowed one pixel
        // down-right unless another covers the shadow; the icon's blue at (30..38, 17..34).
        const QImage &image = painter.image().image();
        const int w = size.width();
        const int buttons = hover == 1 ? w - 124 : w - 117;
        int textPixels = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb p = image.pixel(x, y);
                const Owner o = owner(x, y, w, size.height(), hover);
                bool good = o.slot ? qRed(p) == o.slot && (o.sx < 0 || qGreen(p) == o.sx) &&
                                         (o.sy < 0 || qBlue(p) == o.sy) && qAlpha(p) == 255
                                   : p == 0;
                const bool caption = y >= 17 && y < 38 && x >= 50 && x < buttons;
                if (caption && p == Text) {
                    const QRgb below = image.pixel(x + 1, y + 1);
                    good = y + 1 == 38 || x + 1 == buttons || below == Text || below == Shadow;
                    ++textPixels;
                } else if (caption && p == Shadow) {
                    good = image.pixel(x - 1, y - 1) == Text;
                } else if (x >= 30 && x <= 38 && y >= 17 && y <= 34 && x < buttons) {
                    good = p == IconBlue;
                }
                if (!good)
                    QFAIL(qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(p, 8, 16)));
            }
        }
        QCOMPARE(textPixels > 0, w > 160 && !title.isEmpty());
    }

    void degenerateSizes()
    {
        // A minimised window reports sizes below the frame's own pieces: nothing may fail.
        const FixedWidthText text;
        FramePainter painter(m_skin, text);
        painter.setCaption(QStringLiteral("Tolvane"));
        for (const QSize size : {QSize(100, 30), QSize(0, 0), QSize(10, 200)}) {
            painter.PaintForm(size, 1);
            QCOMPARE(painter.image().image().size(), size);
        }
    }
};

QTEST_MAIN(TestFramePainter)
#include "tst_framepainter.moc"
