#include "frame/captiontext.h"
#include "frame/framepainter.h"
#include "frame/skin.h"

#include <QGuiApplication>
#include <QTest>

using namespace tolvane;

namespace {

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

    Skin m_skin;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_skin.LoadSkin()); }

    void title_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        // Seven characters measure 70: whole only while W - 170 > 70.
        const auto row = [](const char *tag, int width, const QString &caption,
                            const char16_t *title) {
            QTest::newRow(tag) << width << caption << QString::fromUtf16(title);
        };
        const QString name = QStringLiteral("Tolvane");
        row("fits", 241, name, u"Tolvane");
        row("exactly W - 170 is cut", 240, name, u"To．．");
        row("k 6.5 rounds to even", 235, name, u"T．．");
        row("smallest frame", 160, name, u"T．");
        row("characters outside the BMP stay whole", 240,
            QString::fromUcs4(U"\U00020000\U00020001\U00020002\U00020003\U00020004\U00020005"
                              U"\U00020006"),
            u"\U00020000\U00020001．．");
    }
    void title()
    {
        QFETCH(int, width);
        QFETCH(QString, caption);
        const FixedWidthText text;
        FramePainter painter(m_skin, text);
        painter.setCaption(caption);
        painter.PaintForm(QSize(width, 76), 0);
        QTEST(painter.TitleText(), "title");
    }

    // A corner piece lies whole where it belongs, from the pictures drawn for the screen's
    // density; filling its area, the frame leaves the shadow outside, and maximised it shows
    // "restore".
    void corners_data()
    {
        using Placement = FramePainter::Placement;
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<Placement>("placement");
        QTest::newRow("1x") << 1.0 << Placement::Floating;
        QTest::newRow("1.5x") << 1.5 << Placement::Floating;
        QTest::newRow("2x") << 2.0 << Placement::Floating;
        QTest::newRow("3x") << 3.0 << Placement::Floating;
        QTest::newRow("2x maximised") << 2.0 << Placement::Maximised;
        QTest::newRow("1x tiled") << 1.0 << Placement::Tiled;
    }
    void corners()
    {
        QFETCH(qreal, scale);
        QFETCH(FramePainter::Placement, placement);
        Skin skin;
        QVERIFY(skin.LoadSkin(QStringLiteral(":/frame"), scale));
        const FixedWidthText text;
        FramePainter painter(skin, text);
        painter.PaintForm(QSize(400, 300), 0, scale, placement);
        const QImage image = painter.image().image();
        const bool fills = placement != FramePainter::Placement::Floating;
        const bool restore = placement == FramePainter::Placement::Maximised;
        const QMargins out = fills ? FramePainter::shadow() : QMargins();
        const QPoint at = (QPointF(400 + out.right() - 117, -out.top()) * scale).toPoint();
        // Filling its area, the shadow is cut off; the restore face lies over the maximise one.
        const QImage piece = skin.slot(restore ? Skin::RestoreSlot : 3).image();
        const QPoint face = restore ? (QPointF(24, 12) * scale).toPoint() : QPoint();
        const QRect shown = QRect(at + face, piece.size()).intersected(image.rect());
        QCOMPARE(image.copy(shown), piece.copy(shown.translated(-(at + face))));
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
