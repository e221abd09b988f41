// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The new name a wildcard-rename mask gives one old name. Pure string work: it touches no
// file and knows nothing of the folder or the other names of the batch.

#include <QString>

namespace pellory {

// "?" copies one character (never a dot), "*" copies up to the last occurrence of the
// mask's next character, "." skips to after the next dot of the old name, any other
// character overwrites one character (never a dot); the rest of the old name is dropped
// and trailing dots and blanks are removed.
QString wildcardNewName(const QString& oldName, const QString& mask);

} // namespace pellory
