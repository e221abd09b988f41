// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The four letter-case styles and the "Normal Formatted" transformation.

#include <QString>

namespace pellory {

enum class CaseStyle
{
    LeaveAsIs = 0,
    AllLower = 1,
    AllUpper = 2,
    NormalFormatted = 3,
};

// Capitalises the first ASCII letter of every word, lower-cases the rest, and writes a
// two-letter group in front of a digit in capitals ("mp3 player" -> "MP3 Player").
// Same length as the argument; trailing blanks kept.
QString NormalFormat(const QString& text);

// The text in the style of list index `caseIndex`; 0 and anything outside 1..3 leave it
// unchanged. Picking a style converts the prefix and leading fields with it once; a walk
// converts each old name's base with it, and its extension in the style extensionStyle()
// gives.
QString applyCaseStyle(const QString& text, int caseIndex);

// The style of an extension under the style of its name: the same, except that under
// "Normal Formatted" an extension is written in lower case (".JPEG" -> ".jpeg").
inline int extensionStyle(int caseIndex)
{
    return CaseStyle(caseIndex) == CaseStyle::NormalFormatted ? int(CaseStyle::AllLower)
                                                              : caseIndex;
}

} // namespace pellory
