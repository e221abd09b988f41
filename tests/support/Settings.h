// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Naming settings written as a short line of words, so that a table row shows every choice
// that differs from the defaults: "batch keep=3 prefix=x start=01 case=2". Words: batch,
// alpha, trim, remove, keep=, prefix=, leading=, start=, inc=, ext=0|1|2, newext=TEXT,
// case=0..3, date=0..3; "start=" leaves the start empty. The counter fields start as "001" and "1"
// ("AAA" and "1" with alpha), which the window hands over as the alphabetic pair too.

#include "naming/RenameSettings.h"

#include <QHash>
#include <QStringList>

namespace pellory::testing {

inline RenameSettings settingsFrom(const QString& words)
{
    RenameSettings s;
    const QStringList list = words.split(u' ', Qt::SkipEmptyParts);
    s.chkAlpha = list.contains(u"alpha");
    s.StartingNumber = s.chkAlpha ? "AAA" : "001";
    s.NumberIncValue = "1";
    const QHash<QString, QString*> texts{{"keep", &s.NumCharKeep},    {"prefix", &s.FilePrefix},
                                         {"leading", &s.FileLeading}, {"start", &s.StartingNumber},
                                         {"inc", &s.NumberIncValue},  {"newext", &s.NewExtText}};
    for (const QString& word : list) {
        const QString key = word.section(u'=', 0, 0), value = word.section(u'=', 1);
        if (texts.contains(key))
            *texts[key] = value;
        else if (key == "batch" || key == "trim")
            (key == "batch" ? s.RenameChk : s.chkTrim) = true;
        else if (key == "ext")
            s.ExtUsed = ExtensionMode(value.toInt());
        else if (key == "case" || key == "date")
            (key == "case" ? s.CasesList : s.DateFormat) = value.toInt();
        else if (key != "remove" && key != "alpha")
            qFatal("unknown settings word %s", qPrintable(word));
        if (key == "remove" || key == "newext")
            s.NewExtIndex = key == "remove" ? 1 : -1;
    }
    if (s.chkAlpha) {
        s.AlphaNumberText = s.StartingNumber;
        s.AlphaIncrementText = s.NumberIncValue;
    }
    return s;
}

} // namespace pellory::testing
