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

    void layoutOfTheWidget_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<double>("points");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("spin");
        QTest::newRow("form field")
            << QSize(81, 40) << 8.25 << QSize(81, 22) << QRect(5, 4, 74, 14);
        QTest::newRow("too narrow") << QSize(10, 5) << 9.0 << QSize(27, 22) << QRect(5, 3, 19, 14);
        QTest::newRow("10.5 pt, half to even")
            << QSize(81, 22) << 10.5 << QSize(81, 22) << QRect(5, 2, 74, 14);
        QTest::newRow("14 pt, above the top")
            << QSize(81, 22) << 14.0 << QSize(81, 22) << QRect(5, -2, 74, 14);
    }
    void layoutOfTheWidget()
    {
        QFETCH(QSize, requested);
        QFETCH(double, points);
        text box;
        QFont font(u"Tahoma"_qs);
        font.setPointSizeF(points);
        box.setFont(font);
        box.resizeNow(requested);
        // A nested resize must not leave a second, different arrangement behind.
        for (const bool shown : {false, true}) {
            if (shown) {
                box.show();
                QVERIFY(QTest::qWaitForWindowExposed(&box));
            }
            QTEST(box.size(), "size");
            QTEST(spinOf(box)->geometry(), "spin");
            QCOMPARE(box.findChild<QWidget *>(u"ShapeBorder"_qs)->geometry(), box.rect());
        }
    }

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

    // Also when the form around it is what changes.
    void enabledSwitchesFrameAndField()
    {
        QWidget form;
        auto *box = new text(&form);
        box->resizeNow({81, 22});
        for (const bool enabled : {false, true}) {
            form.setEnabled(enabled);
            QCOMPARE(framePixel(*box), enabled ? EnabledFrame : 0xC0C0C0u);
        }
    }

    // A stored "Value" travels unchanged; a stored disabled state keeps the enabled look, so
    // that read-only previews stay legible.
    void savesAndLoadsBack()
    {
        PropertyBag stored;
        stored.write(u"value"_qs, 4.5, 0.0);
        text box;
        placeInstance(box, m_host, u"text1"_qs, &stored);
        box.setEnabled(false);
        box.setLocked(true);
        box.setFont(QFont(u"Tahoma"_qs, 12));
        PropertyBag saved, resaved;
        box.saveProperties(saved);
        text loaded;
        placeInstance(loaded, m_host, u"text1"_qs, &saved);
        loaded.saveProperties(resaved);
        QCOMPARE(saved.toJson().value(u"Value").toDouble(), 4.5);
        QCOMPARE(resaved.toJson(), saved.toJson());
        QCOMPARE(framePixel(loaded), EnabledFrame);
        const QPalette look = spinOf(loaded)->palette();
        QCOMPARE(look.color(QPalette::Disabled, QPalette::Text),
                 look.color(QPalette::Active, QPalette::Text));
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"
