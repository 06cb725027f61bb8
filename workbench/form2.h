#pragma once

#include "controls/host/formhost.h"
#include "engine/conversion/conversionstate.h"
#include "engine/naming/batchstate.h"

#include <QByteArrayList>
#include <QWidget>
#include <functional>
#include <memory>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace tolvane {

class BatchDriver;
class BatchJob;
class Command;
class DriveListBox;
class FileListBox;
class FolderListBox;
class ListBoxResults;
class ListPreview;
class ProfileChoice;
struct Form2Control;
class MessageBoxes;
class StoredForm;
class TabPlacer;
class text;

// The working form: drive, folder and file lists on the left, the rename and conversion tabs
// and the result list List1 on the right. Every control's objectName is its name on the form.
// The lists start on the working folder; message boxes go to the implementation handed in.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(MessageBoxes &messages, QWidget *parent = nullptr);
    ~Form2() override;

    // The form-level variables.
    const BatchState &batchState() const { return m_batch; }
    const ConversionState &conversionState() const { return m_conversion; }
    // True while a batch moves files (and while its names are still being listed).
    bool batchRunning() const;

    // Ctrl+Z and List1's context menu: undoes the newest batch not undone yet, after a question.
    void undoLastBatch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControl(const Form2Control &control, const StoredForm &stored);
    QTabWidget *createTabs(QWidget *parent);
    void createNavigation();
    template <typename Widget> Widget *put(Widget *widget, const Form2Control &control);
    template <typename Control>
    void createHosted(QWidget *parent, const StoredForm &stored, const Form2Control &control);
    void setTabOrder();
    void connectHandlers();
    void remember() const;

    void Form_Load();
    void Drivestation_Change();
    void lstMap_Change();
    void lstFiles_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void text1_Change();
    void text2_Change();
    void text4_Change();
    void cboProfile_Change();
    void Command4_Click();
    void Command5_Click();

    void refreshPreview();
    // List1 shows the batch the boxes describe now, from the first change on.
    void previewInList();
    void updateListPreview();
    void reportUnreadable(const QByteArray &path, int error);
    void showRenamedTree(const QByteArray &folder);
    // Runs a batch off this thread, then finish() here. The file list is re-read only when a
    // name it shows has come to stand for another file, so that no later click acts on a file
    // it does not show.
    // shown: the names the file list shows, read once per click (a large list is built anew
    // on every read).
    void runBatch(std::shared_ptr<BatchJob> job, QList<QByteArray> shown,
                  std::function<void(const BatchJob &)> finish);
    void createUndo();
    QLineEdit *text1Edit() const;

    MessageBoxes &m_messages;
    FormHost m_host;
    BatchState m_batch;
    ConversionState m_conversion;

    DriveListBox *m_Drivestation = nullptr;
    FolderListBox *m_lstMap = nullptr;
    FileListBox *m_lstFiles = nullptr;
    QListWidget *m_List1 = nullptr;
    QTabWidget *m_SSTab1 = nullptr;
    TabPlacer *m_placer = nullptr;
    QGroupBox *m_Frame1 = nullptr;
    text *m_text1 = nullptr;
    text *m_text2 = nullptr;
    text *m_text3 = nullptr;
    text *m_text4 = nullptr;
    text *m_text5 = nullptr;
    ProfileChoice *m_cboProfile = nullptr;
    Command *m_Command1 = nullptr;
    Command *m_Command2 = nullptr;
    Command *m_Command3 = nullptr;
    Command *m_Command4 = nullptr;
    Command *m_Command5 = nullptr;
    ListBoxResults *m_results = nullptr;
    ListPreview *m_listPreview = nullptr;
    BatchDriver *m_driver = nullptr;

    // text1's selection as it was when text1 lost the focus (the edit field drops it then);
    // "#" from Command3 replaces it as typing would. Length 0: only the caret.
    int m_text1SelectionStart = -1;
    int m_text1SelectionLength = 0;
};

} // namespace tolvane
