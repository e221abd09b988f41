// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Every naming input, as read from the window's controls at the start of one walk.

#include "naming/Extension.h"

#include <QString>

namespace pellory {

struct RenameSettings
{
    bool RenameChk = false;    // "Enable Batch Rename"
    QString NumCharKeep = "0"; // characters kept from the left, as typed
    QString FilePrefix;
    QString FileLeading;
    bool chkAlpha = false;
    bool chkTrim = false;
    QString StartingNumber; // the field as shown (decimal or alphabetic start)
    QString NumberIncValue; // the field as shown
    QString AlphaNumberText = "AAA";
    QString AlphaIncrementText = "1";
    ExtensionMode ExtUsed = ExtensionMode::UseLastOccurrence;
    int NewExtIndex = 0; // 0 "Keep as is", 1 "Remove ext", -1 typed text
    QString NewExtText;  // the typed text when NewExtIndex is -1
    int CasesList = 0;   // CaseStyle index; -1 when nothing is chosen
    int DateFormat = 0;  // the file's date in the name: 0 none, else a DateForm (Compose.h)
};

} // namespace pellory
