#pragma once
// Settings for table rows, written as a short line of words so that a row shows every
// choice that differs from the defaults: "batch keep=3 prefix=x start=01 case=2".
// Words: batch, alpha, trim, remove, keep=, prefix=, leading=, start=, inc=, ext=0|1|2,
// newext=TEXT, case=0..3. With alpha, start= and inc= set the alphabetic pair.

#include "naming/RenameSettings.h"

#include <QStringList>

namespace pellory::test {

inline RenameSettings settingsFrom(const QString& words)
{
    RenameSettings s;
    s.StartingNumber = "001";
    s.NumberIncValue = "1";
    const QStringList list = words.split(u' ', Qt::SkipEmptyParts);
    for (const QString& word : list) {
        const QString key = word.section(u'=', 0, 0);
        const QString value = word.section(u'=', 1);
        if (key == "batch")
            s.RenameChk = true;
        else if (key == "alpha")
            s.chkAlpha = true;
        else if (key == "trim")
            s.chkTrim = true;
        else if (key == "remove")
            s.NewExtIndex = 1;
        else if (key == "keep")
            s.NumCharKeep = value;
        else if (key == "prefix")
            s.FilePrefix = value;
        else if (key == "leading")
            s.FileLeading = value;
        else if (key == "start")
            s.StartingNumber = value;
        else if (key == "inc")
            s.NumberIncValue = value;
        else if (key == "ext")
            s.ExtUsed = ExtensionMode(value.toInt());
        else if (key == "newext")
            s.NewExtIndex = -1, s.NewExtText = value;
        else if (key == "case")
            s.CasesList = value.toInt();
        else
            qFatal("unknown settings word %s", qPrintable(word));
    }
    if (s.chkAlpha) {
        if (!words.contains("start="))
            s.StartingNumber = s.AlphaNumberText;
        if (!words.contains("inc="))
            s.NumberIncValue = s.AlphaIncrementText;
        s.AlphaNumberText = s.StartingNumber;
        s.AlphaIncrementText = s.NumberIncValue;
    }
    return s;
}

} // namespace pellory::test
