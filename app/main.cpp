#include <QApplication>

#ifdef PELLORY_HAS_WINDOW
#include "window/Main.h"
#endif

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Pellory");
    QApplication::setApplicationName("Pellory");
    // Wayland compositors match the window to the desktop entry, and so to its icon, by it.
    QApplication::setDesktopFileName("io.github.pellory.Pellory");
#ifdef PELLORY_HAS_WINDOW
    pellory::Main window; // loads the window and restores the stored settings
#else
    QWidget window;
    window.setWindowTitle("Pellory");
#endif
    window.show();
    return app.exec();
}
