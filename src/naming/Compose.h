// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Composes the new name of one file from its old name and the naming settings. Touches no
// file and no widget; which files take part is the caller's business (RenameSet.h).

#include "naming/NameCounter.h"
#include "naming/RenameSettings.h"

#include <QString>

namespace pellory {

// Kept characters, prefix, counter, leading text and extension, in that order (batch
// rename on); otherwise the old base with the case style and extension rule applied.
// Advances `counter` when batch rename is on. `counter` may be null when it is off.
QString ComposeNewName(const QString& oldName, const RenameSettings& settings,
                       NameCounter* counter);

} // namespace pellory
