#include "controls/host/formhost.h"
#include "controls/host/propertybag.h"
#include "controls/host/storedform.h"
#include "controls/text/text.h"
#include "controls/text/textlayout.h"
#include "platform/fontsubstitutes.h"

#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace tolvane;

namespace {

QFont pointFont(const QString &family, double size)
{
    QFont font(family);
    font.setPointSizeF(size);
    return font;
}

QLineEdit *spinOf(text &box)
{
    return box.findChild<QLineEdit *>(u"TxtSpin"_qs);
}

QRgb framePixel(text &box)
{
    return box.grab().toImage().pixel(0, 0) & 0xFFFFFF;
}

} // namespace

class TestText : public QObject
{
    Q_OBJECT

    FormHost m_host;

private Q_SLOTS:
    void initTestCase()
    {
        installFontSubstitutes();
        m_host.setAmbientFont(pointFont(u"宋体"_qs, 9));
    }

    // The stored names stay; what the field draws with must be an installed font.
    void storedFontNamesResolveToInstalledFonts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("宋体") << u"宋体"_qs << u"WenQuanYi Micro Hei"_qs;
        QTest::newRow("Tahoma") << u"Tahoma"_qs << u"DejaVu Sans"_qs;
    }
    void storedFontNamesResolveToInstalledFonts()
    {
        QFETCH(QString, stored);
        text box;
        box.setFont(pointFont(stored, 9));
        QCOMPARE(box.Font().family(), stored);
        QTEST(QFontInfo(spinOf(box)->font()).family(), "drawn");
    }

    void layoutInTwips_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("spinTop");
        QTest::newRow("too narrow, 8.25 pt") << 300 << 8.25 << 400 << 60;
        QTest::newRow("9 pt") << 2000 << 9.0 << 2000 << 45;
        QTest::newRow("9.5 pt, half to even") << 1000 << 9.5 << 1000 << 30;
        QTest::newRow("10.5 pt, half to even") << 1000 << 10.5 << 1000 << 30;
        QTest::newRow("14 pt, above the top") << 1000 << 14.0 << 1000 << -30;
    }
    void layoutInTwips()
    {
        QFETCH(int, requested);
        QFETCH(double, points);
        QFETCH(int, width);
        const TextLayout layout = TextLayout::arrange(requested, points);
        QCOMPARE(layout.width, width);
        QCOMPARE(layout.height, 330);
        QCOMPARE(layout.spinWidth, width - 111);
        QTEST(layout.spinTop, "spinTop");
        QCOMPARE(layout.spinLeft, 75);
        QCOMPARE(layout.spinHeight, 210);
    }

    void layoutOfTheWidget_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<double>("points");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("spin");
        QTest::newRow("form field")
            << QSize(81, 40) << 8.25 << QSize(81, 22) << QRect(5, 4, 74, 14);
        QTest::newRow("too narrow") << QSize(10, 5) << 9.0 << QSize(27, 22) << QRect(5, 3, 19, 14);
    }
    void layoutOfTheWidget()
    {
        QFETCH(QSize, requested);
        QFETCH(double, points);
        text box;
        box.setFont(pointFont(u"Tahoma"_qs, points));
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

    void valueReadsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::newRow("trailing letters") << u"12abc"_qs << 12.0;
        QTest::newRow("hexadecimal") << u"&H1F"_qs << 31.0;
    }
    void valueReadsTheLeadingNumber()
    {
        QFETCH(QString, typed);
        text box;
        box.setText(typed);
        QTEST(box.Value(), "value");
    }

    void valueWriteReadsBackUnderAnyLocale()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // "," as decimal point
        text box;
        box.setText(u"other"_qs);
        QSignalSpy changes(&box, &text::Change);
        box.setValue(2.5);
        QLocale::setDefault(before);
        QCOMPARE(box.Text(), u"2.5"_qs);
        QCOMPARE(box.Value(), 2.5);
        QCOMPARE(changes.size(), 1);
    }

    void keyPressHandlerDecides_data()
    {
        QTest::addColumn<int>("replacement"); // -1: the handler leaves the code alone
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("changes");
        QTest::newRow("kept") << -1 << u"0a"_qs << 1;
        QTest::newRow("discarded") << 0 << u"0"_qs << 0;
        QTest::newRow("replaced by a CJK character") << 0x6587 << u"0文"_qs << 1;
        QTest::newRow("replaced by a backspace") << 8 << QString() << 1;
    }
    void keyPressHandlerDecides()
    {
        QFETCH(int, replacement);
        text box;
        QList<int> seen;
        connect(&box, &text::KeyPress, &box, [&](qint16 &KeyAscii) {
            seen.append(KeyAscii);
            if (replacement >= 0)
                KeyAscii = static_cast<qint16>(replacement);
        });
        QSignalSpy changes(&box, &text::Change);
        spinOf(box)->setCursorPosition(1);
        QTest::keyClick(spinOf(box), Qt::Key_A, Qt::NoModifier);
        QCOMPARE(seen, QList<int>{'a'});
        QTEST(box.Text(), "result");
        QTEST(int(changes.size()), "changes");
    }

    void lockedRefusesTypingButNotCode()
    {
        text box;
        box.setLocked(true);
        QSignalSpy changes(&box, &text::Change);
        QTest::keyClicks(spinOf(box), u"12"_qs);
        QTest::keyClick(spinOf(box), Qt::Key_Backspace);
        QCOMPARE(box.Text(), u"0"_qs);
        QCOMPARE(changes.size(), 0);
        box.setText(u"5"_qs);
        QCOMPARE(box.Text(), u"5"_qs);
        QCOMPARE(changes.size(), 1);
    }

    void enabledSwitchesFrameAndField()
    {
        text box;
        box.resizeNow({81, 22});
        for (const bool enabled : {false, true}) {
            box.setEnabled(enabled);
            QCOMPARE(spinOf(box)->isEnabled(), enabled);
            QCOMPARE(framePixel(box), enabled ? 0x7F9DB9u : 0xC0C0C0u);
        }
    }

    void storedDisabledKeepsTheEnabledLook()
    {
        PropertyBag stored;
        stored.write(u"Enabled"_qs, false, true);
        text box;
        placeInstance(box, m_host, u"text3"_qs, &stored);
        QVERIFY(!box.isEnabled());
        QCOMPARE(framePixel(box), 0x7F9DB9u);
        const QPalette look = spinOf(box)->palette();
        QCOMPARE(look.color(QPalette::Disabled, QPalette::Text),
                 look.color(QPalette::Active, QPalette::Text));
        box.setText(u"新"_qs); // code can still fill it
        QCOMPARE(box.Text(), u"新"_qs);
    }

    // Setting a property to the value it has still tells the host.
    void settersAlwaysNotify_data()
    {
        QTest::addColumn<QString>("property");
        QTest::newRow("Text") << u"Text"_qs;
        QTest::newRow("Value") << u"Value"_qs;
        QTest::newRow("Font") << u"Font"_qs;
    }
    void settersAlwaysNotify()
    {
        QFETCH(QString, property);
        text box;
        placeInstance(box, m_host, u"text1"_qs, nullptr);
        QSignalSpy spy(&m_host, &FormHost::changed);
        if (property == u"Text")
            box.setText(box.Text());
        else if (property == u"Value")
            box.setValue(box.Value());
        else
            box.setFont(box.Font());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0), (QVariantList{u"text1"_qs, property}));
    }

    // A new instance shows "0" in the design font; stored data without entries shows "Text1"
    // in the form's font. Neither writes more than the extent back.
    void defaultsOfNewAndStoredInstances_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QFont>("font");
        QTest::newRow("new") << false << u"0"_qs << pointFont(u"Tahoma"_qs, 8.25);
        QTest::newRow("stored, no entries") << true << u"Text1"_qs << m_host.ambientFont();
    }
    void defaultsOfNewAndStoredInstances()
    {
        QFETCH(bool, stored);
        text box;
        const PropertyBag empty;
        placeInstance(box, m_host, u"text2"_qs, stored ? &empty : nullptr);
        QTEST(box.Text(), "shown");
        QTEST(box.Font(), "font");
        PropertyBag saved;
        box.saveProperties(saved);
        QStringList expected{u"_extentx"_qs, u"_extenty"_qs};
        if (!stored)
            expected << u"Text"_qs << u"Font"_qs;
        QCOMPARE(saved.names(), expected);
    }

    void savesInOrderAndKeepsTheStoredValue()
    {
        PropertyBag stored;
        stored.write(u"value"_qs, 4.5, 0.0);
        stored.write(u"DECIMAL"_qs, qint16(2), qint16(0));
        text box;
        placeInstance(box, m_host, u"text1"_qs, &stored);
        box.setEnabled(false);
        box.setLocked(true);
        box.setValue(2.5); // shown as text; the stored "Value" travels unchanged
        box.setLargeChange(10);
        box.setFont(pointFont(u"Tahoma"_qs, 12));
        PropertyBag saved;
        box.saveProperties(saved);
        QCOMPARE(saved.names(), (QStringList{u"_extentx"_qs, u"_extenty"_qs, u"Enabled"_qs,
                                             u"Locked"_qs, u"Text"_qs, u"Decimal"_qs,
                                             u"LargeChange"_qs, u"Value"_qs, u"Font"_qs}));
        QCOMPARE(saved.read(u"Value", 0.0), 4.5);
        QCOMPARE(saved.read(u"Decimal", qint16(0)), qint16(2));
        text again;
        placeInstance(again, m_host, u"text1"_qs, &saved);
        QCOMPARE(again.Text(), u"2.5"_qs);
        QVERIFY(again.Locked() && !again.isEnabled());
        QCOMPARE(again.LargeChange(), 10.0);
        QCOMPARE(again.Font().pointSizeF(), 12.0);
        QCOMPARE(spinOf(again)->y(), 0);
    }

    // The working form's own stored data must come back unchanged through a save.
    void formDataSurvivesLoadAndSave_data()
    {
        QTest::addColumn<QString>("instance");
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("text1") << u"text1"_qs << u"宋体"_qs << true;
        QTest::newRow("text3") << u"text3"_qs << u"Tahoma"_qs << false;
    }
    void formDataSurvivesLoadAndSave()
    {
        QFETCH(QString, instance);
        QFile file(u":/forms/form2.json"_qs);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto form = StoredForm::fromJson(file.readAll());
        QVERIFY(form && form->find(instance));
        const PropertyBag &stored = *form->find(instance);
        text first;
        placeInstance(first, m_host, instance, &stored);
        QTEST(first.Font().family(), "family");
        QTEST(first.isEnabled(), "enabled");
        QCOMPARE(first.Text(), stored.read(u"Text", QString()));
        QCOMPARE(first.size(), QSize(stored.extentPixels().width(), 22));
        PropertyBag saved;
        first.saveProperties(saved);
        text second;
        placeInstance(second, m_host, instance, &saved);
        QCOMPARE(second.Text(), first.Text());
        QCOMPARE(second.Font(), first.Font());
        QCOMPARE(second.isEnabled(), first.isEnabled());
        QCOMPARE(second.geometry(), first.geometry());
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

    void disabledFormLeavesTheStoredStateAlone()
    {
        QWidget form;
        auto *box = new text(&form);
        placeInstance(*box, m_host, u"text1"_qs, nullptr);
        form.setEnabled(false);
        QVERIFY(box->Enabled());
        PropertyBag saved;
        box->saveProperties(saved);
        QVERIFY(!saved.contains(u"Enabled"));
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"
