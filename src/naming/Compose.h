// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Composes the new name of one file from its old name and the naming settings. Touches no
// file and no widget; which files take part is the caller's business (RenameSet.h).

#include "naming/NameCounter.h"
#include "naming/RenameSettings.h"

#include <QDateTime>
#include <QString>

namespace pellory {

// The forms of the file's date in a new name, by their index in the settings.
enum class DateForm
{
    None = 0,
    Dashed = 1,      // 2026-05-14
    Compact = 2,     // 20260514
    WithSeconds = 3, // 2026-05-14_15-30-02, the hours counted to 24
};

// True when a walk with these settings writes a date into the names: batch rename on and a
// format chosen. Only then does a walk need each file's date.
bool namesUseDate(const RenameSettings& settings);

// `date`'s day (and time) in the form of `format`, read as the date-time's own wall
// clock; empty for no format, an unknown one, or no date.
QString dateText(const QDateTime& date, int format);

// Kept characters, prefix, the date followed by "_", counter, leading text and extension,
// in that order (batch rename on); otherwise the old base with the case style and
// extension rule applied. The date part is left out, "_" and all, when the settings choose
// no date or `date` has none. Advances `counter` when batch rename is on. `counter` may
// be null when it is off.
QString ComposeNewName(const QString& oldName, const RenameSettings& settings, NameCounter* counter,
                       const QDateTime& date = {});

} // namespace pellory
