// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The extension rules: which part of a name is its extension, and what a new-extension
// choice makes of it. Pure functions of their arguments.

#include <QString>

namespace pellory {

enum class ExtensionMode
{
    UseFirstOccurrence = 0,
    UseLastOccurrence = 1,
    DoNotUseExtension = 2,
};

// The extension without its dot, as a view into `name`: after the first "." (mode 0) or
// the last "." (modes 1 and 2); empty when the name has no "." or nothing follows the
// chosen one.
QStringView fileExtView(QStringView name, ExtensionMode mode);

// The new extension for the current extension `ext` and the new text (empty for
// "Remove ext").
QString ApplyNewExt(const QString& newText, const QString& ext, ExtensionMode mode);

} // namespace pellory
