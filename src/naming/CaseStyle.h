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

// The text of the prefix or leading field after the user picks a style (list index;
// 0 and anything outside 1..3 leave it unchanged).
QString applyCaseStyleToField(const QString& text, int caseIndex);

} // namespace pellory
