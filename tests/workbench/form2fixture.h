#pragma once

#include "controls/Command/command.h"
#include "controls/text/text.h"
#include "platform/rawname.h"
#include "support/fakemessageboxes.h"
#include "support/statehome.h"
#include "support/testdir.h"
#include "workbench/filelistbox.h"
#include "workbench/folderlistbox.h"
#include "workbench/form2.h"

#include <QListWidget>
#include <QTest>

namespace tolvane::test {

// A working form over a real temporary folder, with message boxes recorded.
struct Form2Fixture
{
    StateHome state;
    TestDir dir;
    FakeMessageBoxes boxes;
    Form2 form{boxes};

    template <typename T = QWidget> T *get(const char *name) const
    {
        T *widget = form.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    text *box(const char *name) const { return get<text>(name); }
    FileListBox *files() const { return get<FileListBox>("lstFiles"); }
    FolderListBox *folders() const { return get<FolderListBox>("lstMap"); }
    QListWidget *list1() const { return get<QListWidget>("List1"); }
    QStringList results() const
    {
        QStringList items;
        for (int i = 0; i < list1()->count(); ++i)
            items.append(list1()->item(i)->text());
        return items;
    }

    void showForm()
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    // Creates the files and opens the folder as the user would reach it in the folder list.
    void openFolder(const QList<QByteArray> &files = {})
    {
        for (const QByteArray &name : files)
            dir.createFile(name);
        QVERIFY(folders()->setPath(dir.nativePath()));
    }
    // A mouse click on the row that shows the file.
    void clickFile(const QByteArray &name)
    {
        FileListBox *view = files();
        const int row = int(view->displayNames().indexOf(displayName(name)));
        QVERIFY2(row >= 0, name.constData());
        showForm();
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
    // A click, and the batch it may start run to its end.
    void click(const char *command)
    {
        QTest::mouseClick(get<Command>(command), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!form.batchRunning(), 20000);
    }
};

} // namespace tolvane::test
