// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Where the user guide lives. It is installed with the program under
// <prefix>/share/doc/pellory, and a build folder carries a copy at the same place below
// its top, so the program finds its guide whether it runs installed or from a build.

#include <QString>

namespace pellory {

// The guide's path below a prefix (or below the top of a build folder).
inline constexpr const char* kGuideBelowPrefix = "share/doc/pellory/pellory-guide.html";

// The guide beside the program in `programDir`: looked for under the folder above it and
// under up to two further ancestors (a test runs one or two folders deeper in a build).
// Empty when there is none.
QString findUserGuide(const QString& programDir);

// Where the guide belongs for the program in `programDir`, for the message shown when it
// is missing.
QString expectedUserGuide(const QString& programDir);

} // namespace pellory
