// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Whether a rename run or preview fill is under way. The run yields to the event loop once
// per file, so every handler that must not act in the middle of one tests this first.

#include <QtGlobal>

namespace pellory {

enum class RunState : qint16
{
    Idle = 0,
    Busy = 1,
    CancelRequested = 2, // Exit was pressed during a run; the run stops at its next yield
};

// What a handler that finds a run under way does: beep, or let the click pass unheard.
enum class IfBusy
{
    Beep,
    Ignore
};

} // namespace pellory
