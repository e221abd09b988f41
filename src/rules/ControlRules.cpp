// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "rules/ControlRules.h"

#include "naming/Compose.h"
#include "naming/Numbers.h"

namespace pellory {

namespace {

// True when the naming scheme would change at least one name of `n` files. When it would
// not, an extension change or a wildcard pattern may still make a run worth starting.
bool schemeChangesNames(const RenameSettings& s, qint32 n)
{
    if (s.RenameChk) {
        if (leadingNumber(s.NumCharKeep) == 0.0 &&
            (s.StartingNumber.isEmpty() || s.NumberIncValue.isEmpty()))
            return false;
    } else if (s.CasesList == 0) {
        return false; // "Leave as is" with no scheme changes nothing
    }

    // The alphabetic counter grows a letter when it runs out, so only the numeric one is
    // checked for fit.
    if (!s.RenameChk || s.chkAlpha)
        return true;
    if (s.StartingNumber.isEmpty())
        return !s.FilePrefix.isEmpty() || !s.FileLeading.isEmpty() || namesUseDate(s);

    const double increment = leadingNumber(s.NumberIncValue);
    if (increment == 0.0)
        return false; // every file would get the same number
    const double last = leadingNumber(s.StartingNumber) + double(n - 1) * increment;
    // The start's text is the counter's width; a last value that needs more digits would
    // break the padding unless the user asked for trimming.
    return s.chkTrim || printedNumberText(last).size() <= s.StartingNumber.size();
}

bool extensionOrWildcardChanges(const ControlSnapshot& s)
{
    if (!s.wildCardRen.isEmpty())
        return true;
    const int ext = s.settings.NewExtIndex;
    return ext != 0 && (ext == 1 || !s.settings.NewExtText.isEmpty());
}

} // namespace

ControlDecision decideRunButtons(const ControlSnapshot& s)
{
    ControlDecision decision;
    if (s.previewMode)
        return decision; // the preview owns every enabled state while it is shown

    // A run renames every listed file unless two or more are selected.
    const qint32 n = s.selectedCount <= 1 ? s.itemCount : s.selectedCount;
    const bool enable =
        (s.itemCount > 0 && schemeChangesNames(s.settings, n)) || extensionOrWildcardChanges(s);
    decision.action =
        enable ? ControlDecision::Action::EnableRun : ControlDecision::Action::DisableRun;
    // The preview lists the names a scheme gives; a wildcard pattern has no preview.
    decision.enablePreview = enable && s.wildCardRen.isEmpty();
    return decision;
}

QString printedNumberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // also for -0, which prints without a sign
    QString text = QString::number(value, 'G', 15);
    // The print form drops the zero before the decimal point: ".5", "-.25".
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

} // namespace pellory
