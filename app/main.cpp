// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

#include "window/Main.h"
#include "window/Translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Pellory");
    QApplication::setApplicationName("Pellory");
    // Wayland compositors match the window to the desktop entry, and so to its icon, by it.
    QApplication::setDesktopFileName("io.github.pellory.Pellory");
    pellory::installTranslations(); // before any text is made
    pellory::Main window;           // loads the window and restores the stored settings
    window.show();
    return app.exec();
}
