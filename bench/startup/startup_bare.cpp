// The baseline for the start-up benchmark: the floor for any program drawing Chinese. A bare
// Qt window of the frame's size showing one line of the form's text in the form's font (宋体,
// substituted as the program does), with the same TOLVANE_FIRST_PAINT protocol as the program
// ("exit" or "report" after the first paint).
#include "platform/fontsubstitutes.h"

#include <QApplication>
#include <QPainter>
#include <QTextStream>
#include <QWidget>

namespace {

class BareWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QFont font(QStringLiteral("宋体"));
        font.setPointSizeF(9);
        painter.setFont(font);
        painter.drawText(8, 24, QStringLiteral("设置文件名格式"));
        if (m_painted)
            return;
        m_painted = true;
        const QByteArray mode = qgetenv("TOLVANE_FIRST_PAINT");
        QMetaObject::invokeMethod(
            qApp,
            [mode] {
                if (mode == "exit")
                    QCoreApplication::quit();
                else if (mode == "report")
                    QTextStream(stdout) << "painted" << Qt::endl;
            },
            Qt::QueuedConnection);
    }

private:
    bool m_painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tolvane::installFontSubstitutes();
    BareWindow window;
    window.resize(527, 497);
    window.show();
    return app.exec();
}
