// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "naming/CaseStyle.h"

namespace pellory {

namespace {

// Only the ASCII letters count: accented letters, digits and punctuation separate words.
bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isAsciiUpper(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QChar asciiUpper(QChar c)
{
    return isAsciiUpper(c) ? c : QChar(c.unicode() - u'a' + u'A');
}

QChar asciiLower(QChar c)
{
    return isAsciiUpper(c) ? QChar(c.unicode() - u'A' + u'a') : c;
}

} // namespace

QString NormalFormat(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    QString result = text;
    QChar prev; // nothing written yet
    for (qsizetype i = 0; i < end; ++i) {
        QChar c = text[i];
        if (isAsciiLetter(c)) {
            // A short letter group in front of a digit ("mp3") reads as an abbreviation;
            // the test looks at the previous letter as already written, so only groups
            // of two come out in capitals.
            bool beforeDigit = i + 1 < end && isAsciiDigit(text[i + 1]) && isAsciiUpper(prev);
            c = !isAsciiLetter(prev) || beforeDigit ? asciiUpper(c) : asciiLower(c);
            result[i] = c;
        }
        prev = c;
    }
    return result;
}

QString applyCaseStyle(const QString& text, int caseIndex)
{
    switch (CaseStyle(caseIndex)) {
    case CaseStyle::AllLower:
        return text.toLower();
    case CaseStyle::AllUpper:
        return text.toUpper();
    case CaseStyle::NormalFormatted:
        return NormalFormat(text);
    case CaseStyle::LeaveAsIs:
        break;
    }
    return text;
}

} // namespace pellory
