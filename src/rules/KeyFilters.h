// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The keystroke filters of the window's input fields, as pure functions of the typed
// character code and the little state they look at. Only typed characters pass through
// them; pasted text never does.

namespace pellory {

struct KeyVerdict
{
    int key = 0; // the character to insert; 0 swallows the keystroke
    bool beep = false;
    bool focusFileList = false; // Enter in the specification field
};

// `key` is the typed character's code (Latin-1 / UTF-16 code unit; control characters
// below 32, such as 8 for Backspace, 13 for Enter and 22 for Ctrl+V). `busy` is true
// while a run is under way.
KeyVerdict FileSpecs_KeyPress(int key, bool busy);
KeyVerdict textFieldKeyPress(int key, bool busy, int caseIndex); // FilePrefix, FileLeading
KeyVerdict NewExt_KeyPress(int key);
KeyVerdict digitFieldKeyPress(int key, bool busy); // NumCharKeep, NumberIncValue
KeyVerdict StartingNumber_KeyPress(int key, bool busy, bool alpha);

} // namespace pellory
