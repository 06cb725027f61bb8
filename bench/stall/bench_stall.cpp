// The longest time the event loop of the real working form stays away while a pattern is typed
// over a folder of 100,000 files, List1 previewing every new name (each keystroke plans the
// batch anew), and then while its serial rename runs (from the click until List1 shows every
// new name), against the 50 ms a user starts to notice.
#include "bench/benchkit.h"
#include "controls/Command/command.h"
#include "controls/text/text.h"
#include "platform/fontsubstitutes.h"
#include "platform/messageboxes.h"
#include "workbench/form2.h"
#include "workbench/previewmodel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <cstdio>

using namespace tolvane;
using namespace tolvane::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int fileCount = 100000;
// A fast typist: a key every 40 ms, a slip taken back, the pattern the batch then uses.
constexpr int keyInterval = 40;
const QList<QString> keys{u"新"_s, u"名"_s, u"_"_s,  u"2"_s, u"0"_s, u"2"_s,
                          u"6"_s,  u"x"_s,  u"\b"_s, u"_"_s, u"#"_s};

void type(QWidget *edit, const QString &key)
{
    const int code = key == u"\b" ? Qt::Key_Backspace : 0;
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, code ? QString() : key);
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, code ? QString() : key);
    QApplication::sendEvent(edit, &release);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutes();
    const StateHome state;
    QByteArrayList names;
    for (int i = 0; i < fileCount; ++i)
        names.append("photo " + QByteArray::number(i).rightJustified(6, '0') + ".jpg");
    const Folder folder(names);
    QDir::setCurrent(QFile::decodeName(folder.path));

    Quiet messages;
    Form2 form(messages);
    form.show();
    form.findChild<text *>(QStringLiteral("text2"))->setText(QStringLiteral("000001"));
    auto *list1 = form.findChild<QListWidget *>(QStringLiteral("List1"));
    const auto *preview = list1->findChild<QAbstractItemView *>(QStringLiteral("List1Preview"));
    auto *model = qobject_cast<const PreviewModel *>(preview->model());
    QWidget *edit = form.findChild<text *>(QStringLiteral("text1"))->focusProxy();

    QElapsedTimer clock;
    qint64 last = 0, longest = 0, typingLongest = 0;
    qsizetype typed = 0;
    bool clicked = false;
    QString previewed;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
        if (typed < keys.size() && now >= typed * keyInterval) {
            type(edit, keys[typed++]);
        } else if (!clicked && typed == keys.size() && !model->checking()) {
            previewed = model->row(fileCount - 1).to;
            typingLongest = longest;
            clicked = true;
            Q_EMIT form.findChild<Command *>(QStringLiteral("Command1"))->Click();
        } else if (clicked && !form.batchRunning()) {
            app.quit();
        }
    });
    QTimer::singleShot(0, [&] {
        clock.start();
        turn.start(0);
    });
    app.exec();
    if (previewed != u"新名_2026_100000.jpg"_s) {
        std::fprintf(stderr, "the preview's last row is %s\n", qPrintable(previewed));
        return 1;
    }
    if (list1->count() != fileCount) {
        std::fprintf(stderr, "List1 shows %d names, not %d\n", list1->count(), fileCount);
        return 1;
    }
    std::fprintf(stderr, "typing with the preview: longest stall %lld ms\n", typingLongest);
    std::fprintf(stderr, "typing and batch took %.2f s\n", clock.elapsed() / 1000.0);
    std::printf("stall_ratio=%.3f\n", double(longest) / 50.0);
    return 0;
}
