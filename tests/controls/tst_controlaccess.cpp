#include "controls/Command/command.h"
#include "controls/check/check.h"
#include "controls/host/formhost.h"
#include "controls/text/text.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

using namespace tolvane;

namespace {

// The state flags a reader acts on, by name.
QString stateNames(QAccessible::State s)
{
    const std::pair<bool, const char *> flags[] = {
        {bool(s.disabled), "disabled"}, {bool(s.focusable), "focusable"},
        {bool(s.pressed), "pressed"},   {bool(s.checkable), "checkable"},
        {bool(s.checked), "checked"},   {bool(s.checkStateMixed), "mixed"},
        {bool(s.readOnly), "readOnly"}, {bool(s.editable), "editable"}};
    QStringList names;
    for (const auto &[set, name] : flags)
        if (set)
            names << QString::fromLatin1(name);
    return names.join(u' ');
}

// Records the pointer signals and the click, by name, in the order they come.
template <typename Control> void recordClick(Control *control, QStringList &raised)
{
    const auto note = [&raised](const char *name) {
        return [&raised, name] { raised << QString::fromLatin1(name); };
    };
    QObject::connect(control, &Control::MouseMove, control, note("MouseMove"));
    QObject::connect(control, &Control::MouseDown, control, note("MouseDown"));
    QObject::connect(control, &Control::MouseUp, control, note("MouseUp"));
    QObject::connect(control, &Control::Click, control, note("Click"));
}

} // namespace

class TestControlAccess : public QObject
{
    Q_OBJECT

    FormHost m_host;

private Q_SLOTS:
    // Setup: "disable" (the control), "parent" (its form), "lock", "value N". The button's
    // press or the box's toggle is done once; `after` lists the signals it raised, then the
    // states.
    void readerSeesTheControl_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("states");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("after");
        const auto row = [](const char *tag, const char *kind, const char *setup,
                            QAccessible::Role role, const char *name, const char *states,
                            const char *actions, const char *after) {
            QTest::newRow(tag) << QString::fromUtf8(kind) << QString::fromUtf8(setup) << int(role)
                               << QString::fromUtf8(name) << QString::fromUtf8(states)
                               << QString::fromUtf8(actions) << QString::fromUtf8(after);
        };
        const auto Button = QAccessible::PushButton;
        const auto Box = QAccessible::CheckBox;
        const auto Edit = QAccessible::EditableText;
        row("button", "Command", "", Button, "确 定", "focusable", "Press SetFocus",
            "MouseMove MouseDown MouseUp Click / focusable");
        row("button disabled", "Command", "disable", Button, "确 定", "disabled focusable", "",
            " / disabled focusable");
        row("button, form disabled", "Command", "parent", Button, "确 定", "disabled focusable", "",
            " / disabled focusable");
        row("unchecked", "check", "value 0", Box, "全部", "focusable checkable", "Toggle SetFocus",
            "MouseMove MouseDown MouseUp Click / focusable checkable checked");
        row("grayed", "check", "value 2", Box, "全部", "focusable checkable mixed",
            "Toggle SetFocus", "MouseMove MouseDown MouseUp Click / focusable checkable");
        row("check disabled", "check", "value 1,disable", Box, "全部",
            "disabled focusable checkable checked", "", " / disabled focusable checkable checked");
        // A text's `after` is its content read through the reader's text interface.
        row("text", "text", "", Edit, "新文件名：", "focusable editable", "SetFocus", "P#.txt");
        row("text locked", "text", "lock", Edit, "新文件名：", "focusable readOnly", "SetFocus",
            "P#.txt");
        row("text disabled", "text", "disable", Edit, "新文件名：", "disabled focusable readOnly",
            "", "P#.txt");
    }
    void readerSeesTheControl()
    {
        QFETCH(QString, kind);
        QFETCH(QString, setup);
        QFETCH(int, role);
        QWidget form;
        auto *label = new QLabel(u"新文件名："_qs, &form);
        HostedControl *control = nullptr;
        if (kind == u"Command")
            control = new Command(&form);
        else if (kind == u"check")
            control = new check(&form);
        else
            control = new text(&form);
        placeInstance(*control, m_host, kind + u'1', nullptr);
        label->setBuddy(control);
        QStringList raised;
        if (auto *button = qobject_cast<Command *>(control)) {
            button->setCaption(u"确 定"_qs);
            recordClick(button, raised);
        } else if (auto *box = qobject_cast<check *>(control)) {
            box->setCaption(u"全部"_qs);
            recordClick(box, raised);
        }
        for (const QString &step : setup.split(u',', Qt::SkipEmptyParts)) {
            if (step == u"disable")
                control->setEnabled(false);
            else if (step == u"parent")
                form.setEnabled(false);
            else if (step == u"lock")
                static_cast<text *>(control)->setLocked(true);
            else
                static_cast<check *>(control)->setValue(step.section(u' ', 1).toInt());
        }
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QTEST(iface->text(QAccessible::Name), "name");
        QTEST(stateNames(iface->state()), "states");
        QCOMPARE(iface->childCount(), 0); // the parts stay out of a reader's way
        QTEST(iface->actionInterface()->actionNames().join(u' '), "actions");
        if (kind == u"text") {
            static_cast<text *>(control)->setText(u"P#.txt"_qs);
            QAccessibleTextInterface *content = iface->textInterface();
            QVERIFY(content && iface->editableTextInterface());
            QTEST(content->text(0, content->characterCount()), "after");
            return;
        }
        const auto action = kind == u"Command" ? QAccessibleActionInterface::pressAction()
                                               : QAccessibleActionInterface::toggleAction();
        iface->actionInterface()->doAction(action);
        QTEST(raised.join(u' ') + u" / "_qs + stateNames(iface->state()), "after");
    }
};

QTEST_MAIN(TestControlAccess)
#include "tst_controlaccess.moc"
