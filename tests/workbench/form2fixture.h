#pragma once

#include "controls/Command/command.h"
#include "controls/text/text.h"
#include "support/fakemessageboxes.h"
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
    TestDir dir;
    FakeMessageBoxes boxes;
    Form2 form{boxes};

    template <typename T> T *get(const char *name) const
    {
        T *widget = form.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    text *box(const char *name) const { return get<text>(name); }
    FileListBox *files() const { return get<FileListBox>("lstFiles"); }
    FolderListBox *folders() const { return get<FolderListBox>("lstMap"); }
    QStringList results() const
    {
        QStringList items;
        const QListWidget *list = get<QListWidget>("List1");
        for (int i = 0; i < list->count(); ++i)
            items.append(list->item(i)->text());
        return items;
    }

    void showForm()
    {
        if (!form.isVisible()) {
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
        }
    }
    // Opens the test folder as the user would reach it in the folder list.
    void openFolder() { QVERIFY(folders()->setPath(dir.nativePath())); }
    // A mouse click on the row that shows name.
    void clickFile(const QString &name)
    {
        const int row = int(files()->displayNames().indexOf(name));
        QVERIFY2(row >= 0, qPrintable(name));
        FileListBox *view = files();
        showForm();
        view->scrollTo(view->model()->index(row, 0));
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void click(const char *command) { QTest::mouseClick(get<Command>(command), Qt::LeftButton); }
    // Types the pattern and start number and clicks "确 定".
    void runBatch(const QString &pattern, const QString &start)
    {
        box("text1")->setText(pattern);
        box("text2")->setText(start);
        click("Command1");
    }
};

} // namespace tolvane::test
