#include "run/ControlRules.h"

#include "naming/Numbers.h"

namespace pellory {

namespace {

// True when the naming scheme would change at least one name; on false the caller falls back
// to the extension and wildcard rules on false.
bool schemeChangesNames(const ControlSnapshot& s)
{
    // A run renames every listed file unless two or more are selected.
    const qint32 n = s.selectedCount <= 1 ? s.itemCount : s.selectedCount;

    if (s.renameChk) {
        if (leadingNumber(s.numCharKeep) == 0.0 &&
            (s.startingNumber.isEmpty() || s.numberIncValue.isEmpty()))
            return false;
    } else if (s.casesIndex == 0) {
        return false; // "Leave as is" with no scheme changes nothing
    }

    // The alphabetic counter grows a letter when it runs out, so only the numeric one is
    // checked for fit.
    if (!s.renameChk || s.chkAlpha)
        return true;
    if (s.startingNumber.isEmpty())
        return !s.filePrefix.isEmpty() || !s.fileLeading.isEmpty();

    const double increment = leadingNumber(s.numberIncValue);
    if (increment == 0.0)
        return false; // every file would get the same number
    const double last = leadingNumber(s.startingNumber) + double(n - 1) * increment;
    // The start's text is the counter's width; a last value that needs more digits would
    // break the padding unless the user asked for trimming.
    return s.chkTrim || printedNumberText(last).size() <= s.startingNumber.size();
}

bool extensionOrWildcardChanges(const ControlSnapshot& s)
{
    if (!s.wildCardRen.isEmpty())
        return true;
    return s.newExtIndex != 0 && (s.newExtIndex == 1 || !s.newExtText.isEmpty());
}

} // namespace

ControlDecision decideRunButtons(const ControlSnapshot& s)
{
    ControlDecision decision;
    if (s.previewMode)
        return decision; // the preview owns every enabled state while it is shown

    const bool enable = (s.itemCount > 0 && schemeChangesNames(s)) || extensionOrWildcardChanges(s);
    decision.action =
        enable ? ControlDecision::Action::EnableRun : ControlDecision::Action::DisableRun;
    // A wildcard rename is one shell operation with nothing to list beforehand.
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
