#include "workbench/form2.h"

#include "controls/Command/command.h"
#include "controls/host/storedform.h"
#include "controls/text/text.h"
#include "engine/batch/batchreport.h"
#include "engine/batch/undo.h"
#include "engine/conversion/ftoj.h"
#include "engine/conversion/simplifyrename.h"
#include "engine/naming/basename.h"
#include "engine/naming/serialrename.h"
#include "platform/messageboxes.h"
#include "platform/rawname.h"
#include "platform/systemerror.h"
#include "platform/twips.h"
#include "workbench/batchdriver.h"
#include "workbench/drivelistbox.h"
#include "workbench/filelistbox.h"
#include "workbench/folderlistbox.h"
#include "workbench/foldertreemenu.h"
#include "workbench/form2layout.h"
#include "workbench/formmemory.h"
#include "workbench/listboxresults.h"
#include "workbench/listpreview.h"
#include "workbench/previewmodel.h"
#include "workbench/profilechoice.h"
#include "workbench/tabplacer.h"
#include "workbench/tabstripstyle.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSet>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

namespace tolvane {
namespace {

const QString StoredData = QStringLiteral(":/forms/form2.json");

StoredForm loadStoredForm()
{
    QFile file(StoredData);
    QString error;
    std::optional<StoredForm> stored;
    if (file.open(QIODevice::ReadOnly))
        stored = StoredForm::fromJson(file.readAll(), &error);
    if (!stored) {
        // Without it the controls come up as new instances: usable, in their default looks.
        qWarning("cannot read %s: %s", qPrintable(StoredData), qPrintable(error));
        return {};
    }
    return *stored;
}

QFont formFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    return font;
}

} // namespace

Form2::Form2(MessageBoxes &messages, QWidget *parent) : QWidget(parent), m_messages(messages)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setFont(formFont());
    m_host.setAmbientFont(font());
    resize(485, 439);

    const StoredForm stored = loadStoredForm();
    for (const Form2Control &control : Form2Layout)
        createControl(control, stored);
    m_Command1 = findChild<Command *>(QStringLiteral("Command1"));
    m_Command2 = findChild<Command *>(QStringLiteral("Command2"));
    m_Command3 = findChild<Command *>(QStringLiteral("Command3"));
    m_Command4 = findChild<Command *>(QStringLiteral("Command4"));
    m_Command5 = findChild<Command *>(QStringLiteral("Command5"));
    m_text1 = findChild<text *>(QStringLiteral("text1"));
    m_text2 = findChild<text *>(QStringLiteral("text2"));
    m_text3 = findChild<text *>(QStringLiteral("text3"));
    m_text4 = findChild<text *>(QStringLiteral("text4"));
    m_text5 = findChild<text *>(QStringLiteral("text5"));
    // Readers name each text box by the label beside it.
    for (int i = 1; i <= 5; ++i)
        findChild<QLabel *>(QStringLiteral("Label%1").arg(i))
            ->setBuddy(findChild<text *>(QStringLiteral("text%1").arg(i)));
    m_SSTab1->setCurrentIndex(0);
    setTabOrder();
    createNavigation();

    Form_Load();
    connectHandlers();
    createUndo();
}

Form2::~Form2() = default;

void Form2::createNavigation()
{
    m_results = new ListBoxResults(*m_List1);
    m_listPreview = new ListPreview(*m_List1);
    m_driver = new BatchDriver(*this);
    // The lists come up on the working folder by their own defaults; no handler runs yet but
    // the one that says why a folder cannot be opened.
    connect(m_lstMap, &FolderListBox::unreadable, this, &Form2::reportUnreadable);
    new FolderTreeMenu(*m_lstMap, *m_driver, m_messages, *m_results,
                       {.profile = [this] { return m_conversion.profile; },
                        .refresh = [this](const QByteArray &folder) { showRenamedTree(folder); }});
    m_lstMap->setDrive(m_Drivestation->drive(), m_Drivestation->folder());
    // The choices of the last run, before the first listing so that the folder is read once.
    const FormMemory memory = FormMemory::load();
    m_cboProfile->setCurrentIndex(int(memory.profile));
    m_lstFiles->setArrangement(memory.order, memory.filter);
    m_lstFiles->setPath(m_lstMap->path());
}

void Form2::remember() const
{
    FormMemory{m_cboProfile->profile(), m_lstFiles->order(), m_lstFiles->filter()}.save();
}

void Form2::createControl(const Form2Control &control, const StoredForm &stored)
{
    using enum Form2Control::Kind;
    const QString caption = control.caption.toString();
    if (control.kind == Page) {
        m_SSTab1->addTab(new QWidget, caption);
        return;
    }
    QWidget *parent = control.container == u"Frame1"   ? m_Frame1
                      : control.container == u"SSTab1" ? m_SSTab1->widget(control.page)
                                                       : this;
    switch (control.kind) {
    case DriveList:
        m_Drivestation = put(new DriveListBox(parent), control);
        break;
    case FolderList:
        m_lstMap = put(new FolderListBox(parent), control);
        break;
    case FileList:
        m_lstFiles = put(new FileListBox(parent), control);
        break;
    case List:
        m_List1 = put(new QListWidget(parent), control);
        break;
    case Tabs:
        m_SSTab1 = put(createTabs(parent), control);
        break;
    case Group:
        m_Frame1 = put(new QGroupBox(caption, parent), control);
        break;
    case Label:
        put(new QLabel(caption, parent), control)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        break;
    case Button:
        createHosted<Command>(parent, stored, control);
        break;
    case Box:
        createHosted<text>(parent, stored, control);
        break;
    case Choice:
        m_cboProfile = put(new ProfileChoice(parent), control);
        break;
    case Page:
        break;
    }
}

QTabWidget *Form2::createTabs(QWidget *parent)
{
    auto *tabs = new QTabWidget(parent);
    // A strip low enough that the page starts above Frame1, 24 pixels down. A style
    // of the tab bar's own: a style sheet would cut the pages off from the form's font.
    auto *strip = new TabStripStyle(20);
    strip->setParent(tabs);
    tabs->tabBar()->setStyle(strip);
    m_placer = new TabPlacer(*tabs);
    return tabs;
}

template <typename Widget> Widget *Form2::put(Widget *widget, const Form2Control &control)
{
    widget->setObjectName(control.name.toString());
    widget->setGeometry(twipsToPixels(control.twips));
    // Controls on a tab page are placed relative to the tab control, not to the page.
    if (control.container == u"SSTab1")
        m_placer->place(widget, widget->pos());
    return widget;
}

template <typename Control>
void Form2::createHosted(QWidget *parent, const StoredForm &stored, const Form2Control &control)
{
    const QString name = control.name.toString();
    auto *hosted = createInstance<Control>(parent, m_host, name, stored.find(name));
    // Sized at once, so that the control lays itself out before the form is shown.
    hosted->setGeometryTwips(control.twips);
    put(hosted, control);
}

void Form2::setTabOrder()
{
    QList<const Form2Control *> order;
    for (const Form2Control &control : Form2Layout) {
        if (control.tabIndex >= 0)
            order.append(&control);
    }
    std::sort(order.begin(), order.end(),
              [](const auto *a, const auto *b) { return a->tabIndex < b->tabIndex; });
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(findChild<QWidget *>(order.at(i - 1)->name.toString()),
                             findChild<QWidget *>(order.at(i)->name.toString()));
}

void Form2::connectHandlers()
{
    connect(m_Drivestation, &DriveListBox::Change, this, &Form2::Drivestation_Change);
    connect(m_lstMap, &FolderListBox::Change, this, &Form2::lstMap_Change);
    connect(m_lstFiles, &FileListBox::Click, this, &Form2::lstFiles_Click);
    connect(m_Command1, &Command::Click, this, &Form2::Command1_Click);
    connect(m_Command2, &Command::Click, this, &Form2::Command2_Click);
    connect(m_Command3, &Command::Click, this, &Form2::Command3_Click);
    connect(m_text1, &text::Change, this, &Form2::text1_Change);
    connect(m_text2, &text::Change, this, &Form2::text2_Change);
    connect(m_text4, &text::Change, this, &Form2::text4_Change);
    connect(m_cboProfile, &ProfileChoice::Change, this, &Form2::cboProfile_Change);
    connect(m_cboProfile, &ProfileChoice::Change, this, &Form2::remember);
    connect(m_lstFiles, &FileListBox::Arranged, this, &Form2::remember);
    connect(m_Command4, &Command::Click, this, &Form2::Command4_Click);
    connect(m_Command5, &Command::Click, this, &Form2::Command5_Click);
    // Another folder, order or filter lists other files.
    connect(m_lstFiles->model(), &QAbstractItemModel::modelReset, this, &Form2::updateListPreview);
    connect(m_SSTab1, &QTabWidget::currentChanged, this, &Form2::updateListPreview);
    text1Edit()->installEventFilter(this);
}

void Form2::Form_Load()
{
    m_batch = {};
    m_conversion = {};
    m_conversion.profile = m_cboProfile->profile();
}

void Form2::Drivestation_Change()
{
    if (!m_lstMap->setDrive(m_Drivestation->drive(), m_Drivestation->folder()))
        m_Drivestation->showDriveOf(m_lstMap->path());
}

void Form2::lstMap_Change()
{
    m_Drivestation->rememberFolder(m_lstMap->path());
    m_lstMap->refresh();
    m_lstFiles->setPath(m_lstMap->path());
    m_List1->clear();
    m_Command5->show();
}

void Form2::lstFiles_Click()
{
    const QString base = nameText(baseName(m_lstFiles->selectedName()));
    m_text1->setText(base);
    m_text4->setText(base);
}

void Form2::showRenamedTree(const QByteArray &folder)
{
    // A tree keeps its own folder's name; a path below it may have changed.
    if (m_lstMap->path().startsWith(folder.endsWith('/') ? folder : folder + '/')) {
        m_lstMap->setPath(folder);
        return;
    }
    m_lstMap->refresh();
    m_lstFiles->refresh();
}

void Form2::reportUnreadable(const QByteArray &path, int error)
{
    m_messages.failure(
        QStringLiteral("无法打开文件夹【%1】：%2").arg(displayName(path), systemErrorText(error)));
}

bool Form2::batchRunning() const
{
    return m_driver->busy() || m_results->pending();
}

void Form2::runBatch(std::shared_ptr<BatchJob> job, QList<QByteArray> shown,
                     std::function<void(const BatchJob &)> finish)
{
    m_listPreview->end();
    auto stale = std::make_shared<bool>(false);
    BatchDriver::Work work;
    work.run = [job, stale, shown = std::move(shown)] {
        job->run();
        // A file now named as another entry of the list makes that entry stand for it.
        const QSet<QByteArray> names(shown.cbegin(), shown.cend());
        const std::vector<RenameResult> &results = job->results();
        for (size_t i = 0; i < results.size() && !*stale; ++i)
            *stale = results[i].outcome == RenameResult::Outcome::Done &&
                     names.contains(job->plan().renames[qsizetype(i)].to);
    };
    work.progress = [job] { return std::pair{job->done(), job->total()}; };
    work.cancel = [job] { job->cancel(); };
    work.then = [this, job, stale, finish] {
        finish(*job);
        if (*stale)
            m_lstFiles->refresh();
    };
    m_driver->start(std::move(work));
}

void Form2::Command1_Click()
{
    if (m_driver->busy() || m_lstFiles->arranging())
        return;
    // The entries are taken at the click: exactly what the list shows.
    QList<QByteArray> shown = m_lstFiles->entries();
    std::shared_ptr<BatchJob> job =
        startSerialRename(m_text1->Text().toUtf8(), m_text2->Text(), m_lstMap->path(), shown,
                          *m_results, m_messages, m_batch);
    if (job)
        runBatch(job, std::move(shown), [this](const BatchJob &done) {
            finishSerialRename(done, *m_results, m_messages);
        });
}

void Form2::Command2_Click()
{
    m_text1->setText(QString());
    m_text2->setText(QString());
    m_text3->setText(QString());
}

void Form2::Command3_Click()
{
    QLineEdit *edit = text1Edit();
    m_text1->setFocus();
    if (m_text1SelectionStart >= 0 && !edit->hasSelectedText())
        edit->setSelection(m_text1SelectionStart, m_text1SelectionLength);
    m_text1SelectionStart = -1;
    // A real key press and release, so that KeyPress and Change run as for typing.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_NumberSign, Qt::ShiftModifier, QStringLiteral("#"));
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_NumberSign, Qt::ShiftModifier,
                      QStringLiteral("#"));
    QApplication::sendEvent(edit, &release);
}

void Form2::text1_Change()
{
    m_text1SelectionStart = -1;
    refreshPreview();
}

void Form2::text2_Change()
{
    refreshPreview();
}

void Form2::refreshPreview()
{
    // A new name keeps to its folder: say so while it is typed, not only when it is refused.
    QString preview = m_text1->Text();
    if (preview.contains(QLatin1Char('/')))
        preview = slashInPattern();
    else
        preview.replace(QLatin1Char('#'), m_text2->Text());
    m_text3->setText(preview);
    previewInList();
}

void Form2::previewInList()
{
    m_listPreview->start();
    updateListPreview();
}

void Form2::updateListPreview()
{
    if (!m_listPreview->active())
        return;
    if (m_SSTab1->currentIndex() == 0)
        m_listPreview->model().showSerial(m_lstFiles->path(), m_lstFiles->listing(),
                                          m_text1->Text().toUtf8(), m_text2->Text());
    else
        m_listPreview->model().showConversion(m_lstFiles->path(), m_lstFiles->listing(),
                                              m_conversion.profile);
}

void Form2::text4_Change()
{
    m_text5->setText(simplifiedPreview(m_text4->Text(), m_conversion));
    previewInList();
}

void Form2::cboProfile_Change()
{
    // The preview follows the choice at once, as if text4 had changed.
    m_conversion.profile = m_cboProfile->profile();
    text4_Change();
}

void Form2::Command4_Click()
{
    if (m_driver->busy() || m_lstFiles->arranging())
        return;
    std::shared_ptr<BatchJob> job = startConvertSelected(
        m_lstMap->path(), m_lstFiles->selectedName(), m_text4->Text(), m_messages, m_conversion);
    if (job)
        runBatch(job, m_lstFiles->entries(), [this](const BatchJob &done) {
            finishConversion(done, m_conversion.profile, *m_results, m_messages);
        });
}

void Form2::Command5_Click()
{
    if (m_driver->busy() || m_lstFiles->arranging())
        return;
    bool confirmed = false;
    QList<QByteArray> shown = m_lstFiles->entries();
    std::shared_ptr<BatchJob> job =
        startConvertFolder(m_lstMap->path(), shown, m_messages, m_conversion, &confirmed);
    if (confirmed)
        m_Command5->hide();
    if (job)
        runBatch(job, std::move(shown), [this](const BatchJob &done) {
            finishConversion(done, m_conversion.profile, *m_results, m_messages);
        });
}

void Form2::createUndo()
{
    // Inside a text box Ctrl+Z undoes typing: the edit field takes the key first.
    auto *shortcut = new QShortcut(QKeySequence::Undo, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, &Form2::undoLastBatch);
    m_List1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_List1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(m_List1);
        menu.addAction(QStringLiteral("撤销上一次改名"), this, &Form2::undoLastBatch);
        menu.exec(m_List1->viewport()->mapToGlobal(at));
    });
}

void Form2::undoLastBatch()
{
    if (m_driver->busy())
        return;
    auto undo = std::make_shared<Undo>();
    const auto finished = [this, undo] {
        if (const QString text = BatchReport::notStarted(*undo->job()); !text.isEmpty()) {
            m_messages.failure(text);
            return;
        }
        const QStringList problems = undo->problemLines();
        QString left = undo->leftText();
        if (!undo->error().isEmpty())
            left += QStringLiteral("\n无法在改名记录中记下这次撤销：%1").arg(undo->error());
        if (undo->cancelled())
            m_messages.notice(QStringLiteral("撤销已取消。") + left);
        else if (!problems.isEmpty() || !left.isEmpty())
            m_messages.failure(
                BatchReport::listed(QStringLiteral("下列文件没有恢复原名："), problems) +
                QLatin1Char('\n') + left.trimmed());
        // The lists show the names as they are now.
        m_lstMap->refresh();
        m_lstFiles->refresh();
    };
    const auto ask = [this, undo, finished] {
        if (undo->stage() == Undo::Stage::NothingToUndo) {
            m_messages.notice(QStringLiteral("没有可以撤销的改名。"));
            return;
        }
        if (undo->stage() != Undo::Stage::Ready) {
            m_messages.failure(QStringLiteral("无法撤销：%1").arg(undo->error()));
            return;
        }
        if (!m_messages.askYesNo(QStringLiteral("Tolvane"),
                                 QStringLiteral("撤销上一次改名：文件夹【%1】中的 %2 "
                                                "个文件将恢复原来的名字。")
                                     .arg(displayName(undo->folder()))
                                     .arg(undo->count())))
            return;
        BatchDriver::Work moves;
        moves.run = [undo] { undo->execute(); };
        moves.progress = [undo] { return std::pair{undo->done(), undo->total()}; };
        moves.cancel = [undo] { undo->cancel(); };
        moves.then = finished;
        m_driver->start(std::move(moves));
    };
    BatchDriver::Work find;
    find.run = [undo] { undo->prepare(); };
    find.then = ask;
    m_driver->start(std::move(find));
}

QLineEdit *Form2::text1Edit() const
{
    return qobject_cast<QLineEdit *>(m_text1->focusProxy());
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    // The edit field drops its selection right after this; Command3 types over it later.
    // Leaving with only a caret forgets an older selection, which "#" must not replace.
    QLineEdit *edit = text1Edit();
    if (watched == edit && event->type() == QEvent::FocusOut) {
        m_text1SelectionStart = edit->hasSelectedText() ? edit->selectionStart() : -1;
        m_text1SelectionLength = int(edit->selectedText().size());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tolvane
