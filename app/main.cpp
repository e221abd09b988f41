#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Pellory");
    QApplication::setApplicationName("Pellory");
    QWidget window;
    window.setWindowTitle("Pellory");
    window.show();
    return app.exec();
}
