#include <QApplication>
#include <QIcon>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/tolvane.png")));

    // Stand-in window until the skinned frame carries the working form.
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tolvane"));
    window.resize(527, 497);
    window.show();
    return app.exec();
}
