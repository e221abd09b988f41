// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The program's texts in the user's language. They are written in English, which needs no
// translation; another language needs the program's own translation, built into the
// program, and Qt's, installed with Qt, for the buttons of its standard dialogs.

namespace pellory {

// Installs both translations for the user's locale into the running application, each one
// that is found. Call it before any window or text is made: a text takes its translation
// when it is made. True when the program's own translation was found.
bool installTranslations();

} // namespace pellory
