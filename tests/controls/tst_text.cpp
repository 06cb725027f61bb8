#include "controls/host/formhost.h"
#include "controls/host/propertybag.h"
#include "controls/text/text.h"
#include "controltestkit.h"

#include <QApplication>
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

    void valueIsTheLeadingNumberUnderAnyLocale()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // "," as decimal point
        text box;
        box.setText(u"12abc"_qs);
        QCOMPARE(box.Value(), 12.0);
        QSignalSpy changes(&box, &text::Change);
        box.setValue(2.5);
        QLocale::setDefault(before);
        QCOMPARE(box.Text(), u"2.5"_qs);
        QCOMPARE(box.Value(), 2.5);
        QCOMPARE(changes.size(), 1);
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
            QCOMPARE(spinOf(*box)->isEnabled(), enabled);
            QCOMPARE(framePixel(*box), enabled ? EnabledFrame : 0xC0C0C0u);
        }
    }

    // Stored data without entries shows "Text1" in the form's font. A stored "Value" travels
    // unchanged; a stored disabled state keeps the enabled look, so that read-only previews stay
    // legible.
    void savesAndLoadsBack()
    {
        text plain;
        const PropertyBag empty;
        placeInstance(plain, m_host, u"text2"_qs, &empty);
        QCOMPARE(plain.Text(), u"Text1"_qs);
        QCOMPARE(plain.Font(), m_host.ambientFont());
        PropertyBag stored;
        stored.write(u"value"_qs, 4.5, 0.0);
        stored.write(u"DECIMAL"_qs, qint16(2), qint16(0));
        text box;
        placeInstance(box, m_host, u"text1"_qs, &stored);
        box.setEnabled(false);
        box.setLocked(true);
        box.setValue(2.5);
        box.setLargeChange(10);
        box.setFont(QFont(u"Tahoma"_qs, 12));
        text loaded;
        const auto [saved, resaved] = saveAndReload(box, m_host, loaded);
        QCOMPARE(saved.value(u"Value").toDouble(), 4.5);
        QCOMPARE(resaved, saved);
        QCOMPARE(framePixel(loaded), EnabledFrame);
        const QPalette look = spinOf(loaded)->palette();
        QCOMPARE(look.color(QPalette::Disabled, QPalette::Text),
                 look.color(QPalette::Active, QPalette::Text));
    }

    void focusGoesToTheField()
    {
        QWidget form;
        auto *box = new text(&form);
        auto *other = new QLineEdit(&form);
        other->move(0, 40);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        other->setFocus();
        box->setFocus();
        QCOMPARE(QApplication::focusWidget(), spinOf(*box));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
        QCOMPARE(box->Text(), u"07"_qs);
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"
