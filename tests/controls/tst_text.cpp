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
#include <functional>

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
    return box.findChild<QLineEdit *>(QStringLiteral("TxtSpin"));
}

QWidget *borderOf(text &box)
{
    return box.findChild<QWidget *>(QStringLiteral("ShapeBorder"));
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
        m_host.setAmbientFont(pointFont(QStringLiteral("宋体"), 9));
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
        QTest::addColumn<int>("spinWidth");
        QTest::addColumn<int>("spinTop");
        QTest::newRow("too narrow") << 300 << 8.25 << 400 << 289 << 60;
        QTest::newRow("narrowest") << 400 << 8.25 << 400 << 289 << 60;
        QTest::newRow("wide") << 2000 << 8.25 << 2000 << 1889 << 60;
        QTest::newRow("8 pt") << 1000 << 8.0 << 1000 << 889 << 60;
        QTest::newRow("9 pt") << 1000 << 9.0 << 1000 << 889 << 45;
        QTest::newRow("9.5 pt, half to even") << 1000 << 9.5 << 1000 << 889 << 30;
        QTest::newRow("10.5 pt, half to even") << 1000 << 10.5 << 1000 << 889 << 30;
        QTest::newRow("12 pt") << 1000 << 12.0 << 1000 << 889 << 0;
        QTest::newRow("14 pt, above the top") << 1000 << 14.0 << 1000 << 889 << -30;
    }
    void layoutInTwips()
    {
        QFETCH(int, requested);
        QFETCH(double, points);
        const TextLayout layout = TextLayout::arrange(requested, points);
        QTEST(layout.width, "width");
        QCOMPARE(layout.height, 330);
        QTEST(layout.spinWidth, "spinWidth");
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
        box.setFont(pointFont(QStringLiteral("Tahoma"), points));
        box.resizeNow(requested);
        QTEST(box.size(), "size");
        QTEST(spinOf(box)->geometry(), "spin");
        QCOMPARE(borderOf(box)->geometry(), QRect(QPoint(0, 0), box.size()));
        // A nested resize must not leave a second, different arrangement behind.
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTEST(box.size(), "size");
        QTEST(spinOf(box)->geometry(), "spin");
    }

    void valueReadsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::newRow("trailing letters") << u"12abc"_qs << 12.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("letters only") << u"abc"_qs << 0.0;
        QTest::newRow("hexadecimal") << u"&H1F"_qs << 31.0;
        QTest::newRow("blank inside") << u"1 000"_qs << 1000.0;
        QTest::newRow("comma is no separator") << u"1,000"_qs << 1.0;
        QTest::newRow("fraction") << u"3.5"_qs << 3.5;
        QTest::newRow("C hex is not read") << u"0x10"_qs << 0.0;
    }
    void valueReadsTheLeadingNumber()
    {
        QFETCH(QString, typed);
        text box;
        box.setText(typed);
        QTEST(box.Value(), "value");
    }

    void valueWriteReadsBackUnderAnyLocale_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fraction") << 2.5 << u"2.5"_qs;
        QTest::newRow("whole") << 3.0 << u"3"_qs;
        QTest::newRow("negative") << -7.25 << u"-7.25"_qs;
        QTest::newRow("large") << 1234567.0 << u"1234567"_qs;
    }
    void valueWriteReadsBackUnderAnyLocale()
    {
        QFETCH(double, value);
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // "," as decimal point
        text box;
        box.setText(u"other"_qs);
        QSignalSpy changes(&box, &text::Change);
        box.setValue(value);
        QLocale::setDefault(before);
        QTEST(box.Text(), "shown");
        QCOMPARE(box.Value(), value);
        QCOMPARE(changes.size(), 1);
    }

    void keyPressHandlerDecides_data()
    {
        QTest::addColumn<int>("replacement"); // -1: the handler leaves the code alone
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("changes");
        QTest::newRow("kept") << -1 << u"0a"_qs << 1;
        QTest::newRow("discarded") << 0 << u"0"_qs << 0;
        QTest::newRow("replaced") << int('#') << u"0#"_qs << 1;
        QTest::newRow("replaced by a backspace") << 8 << QString() << 1;
        QTest::newRow("replaced by a CJK character") << 0x6587 << u"0文"_qs << 1;
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
        QCOMPARE(framePixel(box), 0x7F9DB9u);
        box.setEnabled(false);
        QVERIFY(!spinOf(box)->isEnabled());
        QCOMPARE(framePixel(box), 0xC0C0C0u);
        box.setEnabled(true);
        QVERIFY(spinOf(box)->isEnabled());
        QCOMPARE(framePixel(box), 0x7F9DB9u);
    }

    void storedDisabledKeepsTheEnabledLook()
    {
        PropertyBag stored;
        stored.write(u"Enabled"_qs, false, true);
        stored.write(u"Text"_qs, u"预览"_qs, u"Text1"_qs);
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

    void settersAlwaysNotify_data()
    {
        QTest::addColumn<std::function<void(text &)>>("set");
        QTest::addColumn<QString>("property");
        QTest::newRow("same text")
            << std::function([](text &b) { b.setText(u"0"_qs); }) << u"Text"_qs;
        QTest::newRow("same value") << std::function([](text &b) { b.setValue(0); }) << u"Value"_qs;
        QTest::newRow("enabled") << std::function([](text &b) { b.setEnabled(true); })
                                 << u"Enabled"_qs;
        QTest::newRow("font") << std::function([](text &b) { b.setFont(b.Font()); }) << u"Font"_qs;
    }
    void settersAlwaysNotify()
    {
        QFETCH(std::function<void(text &)>, set);
        QFETCH(QString, property);
        text box;
        placeInstance(box, m_host, u"text1"_qs, nullptr);
        QSignalSpy spy(&m_host, &FormHost::changed);
        set(box);
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
        QVERIFY(box.isEnabled() && !box.Locked());
        QCOMPARE(box.LargeChange(), 1.0);
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
        QCOMPARE(saved.read(u"Text", QString()), u"2.5"_qs);
        QCOMPARE(saved.read(u"Value", 0.0), 4.5);
        QCOMPARE(saved.read(u"Decimal", qint16(0)), qint16(2));

        text again;
        placeInstance(again, m_host, u"text1"_qs, &saved);
        QCOMPARE(again.Text(), u"2.5"_qs);
        QVERIFY(again.Locked());
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
        for (const char *name : {"text1", "text2", "text3", "text4", "text5"}) {
            const QString instance = QString::fromLatin1(name);
            const bool song = instance == u"text1";
            const bool preview = instance == u"text3" || instance == u"text5";
            QTest::newRow(name) << instance << (song ? u"宋体"_qs : u"Tahoma"_qs) << !preview;
        }
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

    void hWndIsTheControlsOwnWindow()
    {
        text box;
        QVERIFY(box.hWnd() != spinOf(box)->winId());
    }
};

QTEST_MAIN(TestText)
#include "tst_text.moc"
