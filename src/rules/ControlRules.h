// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Decides which run buttons the window may offer, from a snapshot of what it shows. Pure:
// the window reads its controls into the snapshot and applies the decision.

#include "naming/RenameSettings.h"

#include <QString>
#include <QtGlobal>

namespace pellory {

struct ControlSnapshot
{
    RenameSettings settings;  // the naming inputs, read as a run reads them
    qint32 itemCount = 0;     // items of the file list
    qint32 selectedCount = 0; // selected items of the file list
    bool previewMode = false;
    QString wildCardRen; // the wildcard pattern
};

struct ControlDecision
{
    enum class Action
    {
        Nothing,    // preview mode: every state stays as it is
        DisableRun, // disable ApplyBut and PreviewBut
        EnableRun,  // enable ApplyBut (and PreviewBut when enablePreview), SelSteps and its labels
    };
    Action action = Action::Nothing;
    bool enablePreview = false; // only with EnableRun; false leaves PreviewBut as it is
};

// The control-state update: Apply is offered when the scheme would change at least one
// name, or an extension change is chosen, or a wildcard pattern is given; Preview
// additionally needs the wildcard field empty.
ControlDecision decideRunButtons(const ControlSnapshot& s);

// The last counter value as text, for the fit test: up to 15 significant digits, no sign
// for zero, no "0" before the decimal point (".5"), and the exponent form ("1E+15",
// "1E-05") from 1E+15 up and below 1E-04. Only its length counts: it is compared with the
// width the user gave the counter by typing its start.
QString printedNumberText(double value);

} // namespace pellory
