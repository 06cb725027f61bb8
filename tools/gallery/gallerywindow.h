#pragma once

#include "controls/host/formhost.h"

#include <QWidget>

class QGridLayout;

namespace tolvane {

class Command;
class HostedControl;

// Every custom control in every state it can show: the image button's painted skins at
// several sizes, live image buttons driven into each state, then the text and check controls.
class GalleryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit GalleryWindow(QWidget *parent = nullptr);

private:
    void addPainterSection(QGridLayout *grid, int &row);
    void addCommandSection(QGridLayout *grid, int &row);
    void addTextAndCheckSection(QGridLayout *grid, int &row);
    void addHeading(QGridLayout *grid, int &row, const QString &text);
    void place(QGridLayout *grid, int row, int column, HostedControl *control, QSize size);
    Command *makeCommand(QGridLayout *grid, int row, int column, QSize size, const QString &caption,
                         int iconAlign);

    FormHost m_host;
    int m_instances = 0;
};

} // namespace tolvane
