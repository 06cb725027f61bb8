#include "tools/gallery/gallerywindow.h"

#include "controls/Command/command.h"
#include "controls/Command/commandpainter.h"
#include "controls/Command/commandskins.h"
#include "controls/check/check.h"
#include "controls/text/text.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <array>

namespace tolvane {

namespace {

const std::array<QString, ButtonStateCount> StateNames{
    QStringLiteral("Normal"), QStringLiteral("Pressed"), QStringLiteral("Disabled"),
    QStringLiteral("Hover"), QStringLiteral("Focused")};

QLabel *pictureLabel(const QImage &image)
{
    auto *label = new QLabel;
    label->setPixmap(QPixmap::fromImage(image));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QImage paintedSkin(const CommandSkins &skins, QSize size, ButtonState state, bool focusRect)
{
    Surface image(size.width(), size.height());
    CommandPainter(skins).PaintState(image, state, false, false);
    if (focusRect)
        CommandPainter::DrawFocus(image);
    return image.image();
}

void send(QWidget *target, QEvent &&event)
{
    QCoreApplication::sendEvent(target, &event);
}

// The live states are reached the way input reaches them, without touching the pointer: a
// release of any button always lands in Hover and starts no pointer poll.
enum class Drive { None, Hover, FocusedHover, Focused, Pressed, Disabled };

void drive(Command *c, Drive how)
{
    const QPointF p(2, 2);
    const auto mouse = [&](QEvent::Type type, Qt::MouseButton button) {
        send(c,
             QMouseEvent(type, p, c->mapToGlobal(p), button,
                         type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier));
    };
    switch (how) {
    case Drive::None:
        break;
    case Drive::FocusedHover:
        send(c, QFocusEvent(QEvent::FocusIn));
        [[fallthrough]];
    case Drive::Hover:
        mouse(QEvent::MouseButtonRelease, Qt::RightButton);
        break;
    case Drive::Focused:
        send(c, QFocusEvent(QEvent::FocusIn));
        break;
    case Drive::Pressed:
        mouse(QEvent::MouseButtonPress, Qt::LeftButton);
        break;
    case Drive::Disabled:
        c->setEnabled(false);
        break;
    }
}

} // namespace

GalleryWindow::GalleryWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Tolvane controls"));
    setAutoFillBackground(true);
    m_host.setAmbientFont(QFont(QStringLiteral("宋体"), 9));
    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    int row = 0;
    addPainterSection(grid, row);
    addCommandSection(grid, row);
    addTextAndCheckSection(grid, row);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(grid->columnCount(), 1);
}

void GalleryWindow::addHeading(QGridLayout *grid, int &row, const QString &text)
{
    auto *label = new QLabel(text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    grid->addWidget(label, row++, 0, 1, -1);
}

void GalleryWindow::addPainterSection(QGridLayout *grid, int &row)
{
    addHeading(grid, row, QStringLiteral("Command skins as painted (plain, with focus rectangle)"));
    const CommandSkins skins;
    const std::array<QSize, 3> sizes{QSize(18, 21), QSize(89, 33), QSize(17, 17)};
    for (int s = 0; s < ButtonStateCount; ++s) {
        const auto state = ButtonState(s);
        grid->addWidget(new QLabel(StateNames[s]), row, 0);
        int column = 1;
        for (const QSize size : sizes)
            for (const bool focusRect : {false, true})
                grid->addWidget(pictureLabel(paintedSkin(skins, size, state, focusRect)), row,
                                column++);
        // Four times larger, to judge the corner pixels.
        grid->addWidget(pictureLabel(skins.at(state).image().scaled(72, 84)), row, column);
        ++row;
    }
}

void GalleryWindow::place(QGridLayout *grid, int row, int column, HostedControl *control,
                          QSize size)
{
    // Each control sits in a holder of its size, so that the layout never moves or resizes
    // the control itself: a resize would refresh it and undo the state it was driven into.
    auto *holder = new QWidget;
    holder->setFixedSize(size);
    control->setParent(holder);
    control->resizeNow(size);
    grid->addWidget(holder, row, column, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
}

Command *GalleryWindow::makeCommand(QGridLayout *grid, int row, int column, QSize size,
                                    const QString &caption, int iconAlign)
{
    auto *c = createInstance<Command>(nullptr, m_host,
                                      QStringLiteral("Command%1").arg(++m_instances), nullptr);
    place(grid, row, column, c, size);
    c->setCaption(caption);
    if (iconAlign != 0) {
        c->setIconAlign(iconAlign);
        c->setIcon(QImage(QStringLiteral(":/icon/tolvane.png"))
                       .scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return c;
}

void GalleryWindow::addCommandSection(QGridLayout *grid, int &row)
{
    addHeading(grid, row, QStringLiteral("Command, live: no icon, icon left, icon right, tiny"));
    const std::array<std::pair<QString, Drive>, 6> states{{
        {QStringLiteral("Normal"), Drive::None},
        {QStringLiteral("Hover"), Drive::Hover},
        {QStringLiteral("Hover + focus"), Drive::FocusedHover},
        {QStringLiteral("Focused"), Drive::Focused},
        {QStringLiteral("Pressed"), Drive::Pressed},
        {QStringLiteral("Disabled"), Drive::Disabled},
    }};
    for (const auto &[name, how] : states) {
        grid->addWidget(new QLabel(name), row, 0);
        drive(makeCommand(grid, row, 1, QSize(81, 25), QStringLiteral("确 定"), 0), how);
        drive(makeCommand(grid, row, 3, QSize(89, 33), QStringLiteral("转换选定"), 1), how);
        drive(makeCommand(grid, row, 5, QSize(89, 33), QStringLiteral("全部转换"), 2), how);
        drive(makeCommand(grid, row, 7, QSize(17, 17), QStringLiteral("#"), 0), how);
        ++row;
    }
}

void GalleryWindow::addTextAndCheckSection(QGridLayout *grid, int &row)
{
    addHeading(grid, row,
               QStringLiteral("text: enabled, locked, disabled; check: 0, 1, 2, disabled"));
    const std::array<std::pair<bool, bool>, 3> texts{{{true, false}, {true, true}, {false, false}}};
    int column = 1;
    for (const auto &[enabled, locked] : texts) {
        auto *t =
            createInstance<text>(nullptr, m_host, QStringLiteral("text%1").arg(column), nullptr);
        t->setText(QStringLiteral("文件##"));
        t->setLocked(locked);
        t->setEnabled(enabled);
        place(grid, row, column, t, QSize(113, 22));
        column += 2;
    }
    ++row;
    column = 1;
    for (const qint32 value : {0, 1, 2, -1}) {
        auto *c =
            createInstance<check>(nullptr, m_host, QStringLiteral("check%1").arg(column), nullptr);
        c->setValue(value < 0 ? 1 : value);
        if (value < 0)
            c->setEnabled(false);
        place(grid, row, column, c, QSize(75, 17));
        column += 2;
    }
    ++row;
}

} // namespace tolvane
