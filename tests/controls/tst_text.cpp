#include "controls/host/formhost.h"
#include "controls/host/propertybag.h"
#include "controls/text/text.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace tolvane;

namespace {

QLineEdit *spinOf(text &box)
{
    return box.findChild<QLineEdit *>(u"TxtSpin"_qs);
}

QRgb framePixel(text &box)
{
    return box.grab().toImage().pixel(0, 0) & 0xFFFFFF;
}

constexpr QRgb EnabledFrame = 0x7F9DB9;

} // namespace

class TestText : public QObject
{
    Q_OBJECT

    FormHost m_host;

private Q_SLOTS:
    void initTestCase() { m_host.setAmbientFont(QFont(u"宋体"_qs, 9)); }

    void keyPressHandlerDecides_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("replacement"); // -1: the handler leaves the code alone
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("changes");
        QTest::newRow("kept") << false << -1 << u"0a"_qs << 1;
        QTest::newRow("discarded") << false << 0 << u"0"_qs << 0;
        QTest::newRow("replaced by a CJK character") << false << 0x6587 << u"0文"_qs << 1;
        QTest::newRow("replaced by a backspace") << false << 8 << QString() << 1;
        QTest::newRow("locked refuses typing") << true << -1 << u"0"_qs << 0;
    }
    void keyPressHandlerDecides()
    {
        QFETCH(bool, locked);
        QFETCH(int, replacement);
        text box;
        box.setLocked(locked);
        QList<int> seen;
        connect(&box, &text::KeyPress, &box, [&](qint16 &KeyAscii) {
            seen.append(KeyAscii);
            if (replacement >= 0)
                KeyAscii = static_cast<qint16>(replacement);
        });
        QSignalSpy changes(&box, &text::Change);
        spinOf(box)->setCursorPosition(1);
        QTest::keyClick(spinOf(box), Qt::Key_A);
        QCOMPARE(seen, QList<int>{'a'});
        QTEST(box.Text(), "result");
        QTEST(int(changes.size()), "changes");
    }

    // A disabled box loaded from a stored form keeps the enabled look, so that read-only
    // previews stay legible.
    void storedDisabledStaysLegible()
    {
        text box;
        placeInstance(box, m_host, u"text1"_qs, nullptr);
        box.setEnabled(false);
        PropertyBag saved;
        box.saveProperties(saved);
        text loaded;
        placeInstance(loaded, m_host, u"text1"_qs, &saved);
        QVERIFY(!loaded.isEnabled());
        QCOMPARE(framePixel(loaded), EnabledFrame);
        const QPalette look = spinOf(loaded)->palette();
        QCOMPARE(look.color(QPalette::Disabled, QPalette::Text),
                 look.color(QPalette::Active, QPalette::Text));
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"
