#include "controls/Command/command.h"
#include "controls/check/check.h"
#include "controls/text/text.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestControlAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Setup: "disable" (the control) or "parent" (its form). The button is pressed once through
    // its action; `after` lists what it raised and the states then. A text's `after` is its
    // content read through the text interface.
    void readerSeesTheControl_data()
    {
        for (const char *column : {"kind", "setup", "name", "states", "actions", "after"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char *kind, const char *setup, const char *name,
                            const char *states, const char *actions, const char *after) {
            QTestData &data = QTest::addRow("%s %s", kind, setup);
            for (const char *value : {kind, setup, name, states, actions, after})
                data << QString::fromUtf8(value);
        };
        row("Command", "", "确 定", "focusable", "Press SetFocus", "Click / focusable");
        row("Command", "parent", "确 定", "disabled focusable", "", "/ disabled focusable");
        row("check", "0", "全部", "focusable checkable", "Toggle SetFocus",
            "Click / focusable checkable checked");
        row("check", "2", "全部", "focusable checkable mixed", "Toggle SetFocus",
            "Click / focusable checkable");
        row("text", "", "新文件名：", "focusable editable", "SetFocus", "P#.txt");
        row("text", "disable", "新文件名：", "disabled focusable readOnly", "", "P#.txt");
    }
    void readerSeesTheControl()
    {
        QFETCH(QString, kind);
        QFETCH(QString, setup);
        QWidget form;
        HostedControl *control = nullptr;
        QStringList raised;
        if (kind == u"Command") {
            auto *button = new Command(&form);
            button->setCaption(u"确 定"_s);
            connect(button, &Command::Click, this, [&raised] { raised << u"Click"_s; });
            control = button;
        } else if (kind == u"check") {
            auto *box = new check(&form);
            box->setCaption(u"全部"_s);
            box->setValue(setup.toInt());
            connect(box, &check::Click, this, [&raised] { raised << u"Click"_s; });
            control = box;
        } else {
            control = new text(&form);
        }
        (new QLabel(u"新文件名："_s, &form))->setBuddy(control);
        control->setEnabled(setup != u"disable");
        form.setEnabled(setup != u"parent");

        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        QCOMPARE(iface->role(), kind == u"Command" ? QAccessible::PushButton
                                : kind == u"check" ? QAccessible::CheckBox
                                                   : QAccessible::EditableText);
        QTEST(iface->text(QAccessible::Name), "name");
        const auto states = [iface] {
            const QAccessible::State s = iface->state();
            QStringList set;
            for (const auto &[on, name] : {std::pair{s.disabled, "disabled"},
                                           {s.focusable, "focusable"},
                                           {s.checkable, "checkable"},
                                           {s.checked, "checked"},
                                           {s.checkStateMixed, "mixed"},
                                           {s.readOnly, "readOnly"},
                                           {s.editable, "editable"}})
                if (on)
                    set << QLatin1String(name);
            return set.join(u' ');
        };
        QTEST(states(), "states");
        QCOMPARE(iface->childCount(), 0); // the parts stay out of a reader's way
        QTEST(iface->actionInterface()->actionNames().join(u' '), "actions");
        if (QAccessibleTextInterface *content = iface->textInterface()) {
            QVERIFY(iface->editableTextInterface());
            static_cast<text *>(control)->setText(u"P#.txt"_s);
            raised << content->text(0, content->characterCount());
        } else {
            iface->actionInterface()->doAction(kind == u"check"
                                                   ? QAccessibleActionInterface::toggleAction()
                                                   : QAccessibleActionInterface::pressAction());
            raised << u"/"_s << states();
        }
        QTEST(raised.join(u' '), "after");
    }
};

QTEST_MAIN(TestControlAccess)
#include "tst_controlaccess.moc"
