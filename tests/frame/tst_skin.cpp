#include "frame/skin.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tolvane;

namespace {

// Whether two surfaces differ anywhere in columns [from, to] (a's columns; b shifted by dx).
bool differs(const Surface &a, const Surface &b, int from, int to, int dx = 0)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = from; x <= to; ++x)
            if (a.pixel(x, y) != b.pixel(x + dx, y))
                return true;
    return false;
}

} // namespace

class TestSkin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_skin.LoadSkin()); }
    void slots_data();
    void slots();
    void strip();
    void litVariants_data();
    void litVariants();
    void outlineAndShadow_data();
    void outlineAndShadow();
    void missingPicture();

private:
    Skin m_skin;
};

void TestSkin::slots_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");
    QTest::newRow("1") << 1 << 101 << QSize(21, 38);
    QTest::newRow("3") << 3 << 103 << QSize(117, 38);
    QTest::newRow("8") << 8 << 108 << QSize(21, 38);
    QTest::newRow("10") << 10 << 110 << QSize(117, 38);
    QTest::newRow("11 is cut to 117") << 11 << 111 << QSize(117, 38);
    QTest::newRow("12") << 12 << 112 << QSize(1024, 32);
}

void TestSkin::slots()
{
    QFETCH(int, slot);
    QFETCH(int, id);
    QFETCH(QSize, size);
    QCOMPARE(Skin::resourceId(slot), id);
    const Surface &surface = m_skin.slot(slot);
    QCOMPARE(QSize(surface.width(), surface.height()), size);
    // Each surface holds its picture at natural size, cut at the surface's edge.
    const Surface picture(QImage(QStringLiteral(":/frame/%1.png").arg(id)));
    QVERIFY(!picture.isNull());
    QVERIFY(!differs(surface, picture, 0, size.width() - 1));
}

void TestSkin::strip()
{
    const Surface &strip = m_skin.slot(Skin::StripSlot);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 1024; ++x)
            if (strip.pixel(x, y) != qRgba((x % 32) * 8, y * 8, (x / 32) * 8, 255))
                QFAIL(qPrintable(QStringLiteral("strip pixel %1,%2").arg(x).arg(y)));
    QCOMPARE(Skin::stripPosition(0, 0, 0), QPoint(0, 0));
    QCOMPARE(Skin::stripPosition(255, 255, 255), QPoint(1023, 31));
    QCOMPARE(m_skin.stripPixel(255, 255, 255), qRgb(248, 248, 248));
    QCOMPARE(Skin::stripPosition(64, 128, 48), QPoint(200, 16));
    QCOMPARE(m_skin.stripPixel(255, 0, 0), qRgb(248, 0, 0));
    QCOMPARE(m_skin.stripPixel(71, 135, 55), qRgb(64, 128, 48));
}

void TestSkin::litVariants_data()
{
    // The lit pictures may differ from the plain corner only around their own button.
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("close") << 9 << 41 << 99;
    QTest::newRow("maximise") << 10 << 15 << 60;
    QTest::newRow("minimise") << 11 << 0 << 76;
}

void TestSkin::litVariants()
{
    QFETCH(int, slot);
    QFETCH(int, from);
    QFETCH(int, to);
    const Surface &plain = m_skin.slot(3);
    // Slot 11's picture starts 7 columns left of the plain corner: compare the whole picture.
    const Surface lit(QImage(QStringLiteral(":/frame/%1.png").arg(100 + slot)));
    const int dx = slot == 11 ? 7 : 0;
    QVERIFY(differs(plain, lit, from, to, dx));
    QVERIFY(!differs(plain, lit, 0, from - 1, dx));
    QVERIFY(!differs(plain, lit, to + 1, 116, dx));
}

void TestSkin::outlineAndShadow_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("horizontal"); // the outline is a row (else a column)
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("towardsEdge"); // +1 or -1
    QTest::newRow("top") << 2 << true << 11 << -1;
    QTest::newRow("bottom") << 6 << true << 25 << 1;
    QTest::newRow("left") << 8 << false << 13 << -1;
    QTest::newRow("right") << 4 << false << 7 << 1;
}

void TestSkin::outlineAndShadow()
{
    QFETCH(int, slot);
    QFETCH(bool, horizontal);
    QFETCH(int, line);
    QFETCH(int, towardsEdge);
    const Surface &piece = m_skin.slot(slot);
    const auto alphaAt = [&](int across, int along) {
        return horizontal ? qAlpha(piece.pixel(along, across)) : qAlpha(piece.pixel(across, along));
    };
    const int length = horizontal ? piece.width() : piece.height();
    const int depth = horizontal ? piece.height() : piece.width();
    for (int along = 0; along < length; ++along) {
        QCOMPARE(alphaAt(line, along), 0x80);
        // Soft shadow outside: below the outline's alpha and never rising towards the edge.
        int previous = 0x80;
        for (int at = line + towardsEdge; at >= 0 && at < depth; at += towardsEdge) {
            QVERIFY(alphaAt(at, along) < previous || alphaAt(at, along) == 0);
            previous = alphaAt(at, along);
        }
        // Inside: partly transparent glass.
        QVERIFY(alphaAt(line - towardsEdge * 3, along) > 0x80);
        QVERIFY(alphaAt(line - towardsEdge * 3, along) < 0xff);
    }
    if (slot == 6)
        for (int y = 0; y < 18; ++y)
            QCOMPARE(alphaAt(y, 10), 0);
}

void TestSkin::missingPicture()
{
    // A picture that is gone leaves a transparent slot of the right size, not a crash.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (int id = 101; id <= 112; ++id)
        if (id != 105)
            QVERIFY(QFile::copy(QStringLiteral(":/frame/%1.png").arg(id),
                                folder.filePath(QStringLiteral("%1.png").arg(id))));
    Skin skin;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("105.png")));
    QVERIFY(!skin.LoadSkin(folder.path()));
    QCOMPARE(skin.slot(5).width(), 117);
    QVERIFY(!differs(skin.slot(5), Surface(117, 38), 0, 116));
    QVERIFY(!differs(skin.slot(3), m_skin.slot(3), 0, 116));
}

QTEST_MAIN(TestSkin)
#include "tst_skin.moc"
