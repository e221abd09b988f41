#pragma once
// Decides which run buttons the window may offer, from a snapshot of its controls. Pure:
// the window reads its controls into the snapshot and applies the decision.

#include <QString>
#include <QtGlobal>

namespace pellory {

struct ControlSnapshot
{
    bool previewMode = false;
    qint32 itemCount = 0;     // items of the file list
    qint32 selectedCount = 0; // selected items of the file list
    bool renameChk = false;
    QString numCharKeep;
    QString startingNumber;
    QString numberIncValue;
    bool chkAlpha = false;
    bool chkTrim = false;
    QString filePrefix;
    QString fileLeading;
    int casesIndex = 0;  // -1 when nothing is chosen
    int newExtIndex = 0; // 0 "Keep as is", 1 "Remove ext", -1 typed text
    QString newExtText;  // the editable box's current text
    QString wildCardRen;
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

// The last counter value as text for the fit test, in the classic BASIC print form without
// its leading blank: up to 15 significant digits, no "0" before the decimal point, and the
// exponent form ("1E+15", "1E-05") from 1E+15 up and below 1E-04. Only its length counts:
// it is compared with the width the user gave the counter by typing its start.
QString printedNumberText(double value);

} // namespace pellory
