// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "rules/KeyFilters.h"

namespace pellory {

namespace {

constexpr int kEnter = 13;
constexpr int kCaseLower = 1; // "all lower case"
constexpr int kCaseUpper = 2; // "ALL UPPER CASE"
constexpr int kLowerToUpper = 'a' - 'A';

KeyVerdict pass(int key)
{
    return KeyVerdict{key, false, false};
}

KeyVerdict refuse()
{
    return KeyVerdict{0, true, false};
}

// True when `key` is one of the characters from `first` to `last`.
bool inRange(int key, char first, char last)
{
    return key >= first && key <= last;
}

// Editing keys (Backspace, Ctrl+V, ...) arrive below 32; characters outside the 8-bit
// range are not judged, as the filters only know the 8-bit code page.
bool isControlOrWide(int key)
{
    return key < 32 || key > 255;
}

KeyVerdict digitRule(int key)
{
    if (inRange(key, '0', '9') || isControlOrWide(key))
        return pass(key);
    return refuse();
}

} // namespace

// While a run walks the files it yields to the event loop; refusing keys (Backspace
// included) keeps the naming inputs fixed under it.
KeyVerdict FileSpecs_KeyPress(int key, bool busy)
{
    if (busy)
        return refuse();
    if (inRange(key, 'a', 'z'))
        return pass(key - kLowerToUpper);
    if (key == kEnter)
        return KeyVerdict{0, false, true}; // leaving the field applies the new specs at once
    return pass(key);
}

KeyVerdict textFieldKeyPress(int key, bool busy, int caseIndex)
{
    if (busy)
        return refuse();
    if (key == '?' || key == '*')
        return refuse(); // a wildcard in a new name would turn it into a pattern
    if (caseIndex == kCaseLower && inRange(key, 'A', 'Z'))
        return pass(key + kLowerToUpper);
    if (caseIndex == kCaseUpper && inRange(key, 'a', 'z'))
        return pass(key - kLowerToUpper);
    return pass(key);
}

// No busy rule here: the extension box keeps taking input during a run.
KeyVerdict NewExt_KeyPress(int key)
{
    switch (key) {
    case '*':
    case '?':
    case '\\':
    case ';':
    case '/':
    case ',':
        return refuse(); // separators and wildcards cannot be part of an extension
    default:
        return pass(key);
    }
}

KeyVerdict digitFieldKeyPress(int key, bool busy)
{
    if (busy)
        return refuse();
    return digitRule(key);
}

KeyVerdict StartingNumber_KeyPress(int key, bool busy, bool alpha)
{
    if (busy)
        return refuse();
    if (!alpha)
        return digitRule(key);
    // The alphabetic counter takes letters as typed; its case is the user's choice.
    if (inRange(key, 'a', 'z') || inRange(key, 'A', 'Z') || isControlOrWide(key))
        return pass(key);
    return refuse();
}

} // namespace pellory
