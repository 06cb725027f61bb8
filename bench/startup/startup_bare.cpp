// The baseline for the start-up benchmark: a bare Qt window of the frame's size, with the
// same TOLVANE_FIRST_PAINT protocol as the program ("exit" or "report" after the first paint).
#include <QApplication>
#include <QTextStream>
#include <QWidget>

namespace {

class BareWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *event) override
    {
        QWidget::paintEvent(event);
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
    BareWindow window;
    window.resize(527, 497);
    window.show();
    return app.exec();
}
