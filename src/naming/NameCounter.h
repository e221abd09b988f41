// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The running counter of one walk: decimal (padded or trimmed) or alphabetic.
// Lives for one walk; never writes back to the settings.

#include "naming/RenameSettings.h"

#include <QString>
#include <QtGlobal>

namespace pellory {

// Adds `increment` unit steps to an alphabetic counter text in place. Each position
// counts in its own alphabet ("A".."Z" for a capital, "a".."z" otherwise) and carries to
// the left; when every position overflows the text widens by one position that takes
// the case of the first ("Z" -> "AA", "zz" -> "aaa"). An increment of 0 or less leaves
// the text as it is, and so does an empty text. Cost does not grow with the increment.
void AdvanceAlpha(QString& text, qint32 increment);

class NameCounter
{
public:
    // Set-up at the start of a walk. A decimal start or increment that is not a plain
    // 32-bit decimal number, or an empty alphabetic start, gives a counter without
    // text: every file then gets an empty counter text.
    explicit NameCounter(const RenameSettings& settings);

    // The text for this file; then the counter moves on by the increment.
    QString next();

private:
    bool m_alpha = false;
    bool m_valid = false;
    qint64 m_value = 0;
    qint64 m_increment = 0;
    int m_width = 0;
    bool m_trim = false;
    QString m_text;
};

// False when a decimal walk over `renameSetCount` files would carry the counter past
// the 32-bit signed range (the walk is then refused before it starts). Always true for
// the alphabetic counter, a counter without text, or batch rename off.
bool decimalCounterFits(const RenameSettings& settings, qint64 renameSetCount);

} // namespace pellory
