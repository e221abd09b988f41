#pragma once
// Settings for table rows as a short line of words, so that a row shows every choice that
// differs from the defaults: "batch keep=3 prefix=x start=01 case=2". Words: batch, alpha,
// trim, remove, keep=, prefix=, leading=, start=, inc=, ext=0|1|2, newext=TEXT, case=0..3.
// With alpha, start= and inc= set the alphabetic pair.

#include "naming/RenameSettings.h"

#include <QHash>
#include <QStringList>

#include <vector>

namespace pellory::test {

inline RenameSettings settingsFrom(const QString& words)
{
    RenameSettings s;
    s.StartingNumber = "001";
    s.NumberIncValue = "1";
    const QHash<QString, QString*> texts{{"keep", &s.NumCharKeep},    {"prefix", &s.FilePrefix},
                                         {"leading", &s.FileLeading}, {"start", &s.StartingNumber},
                                         {"inc", &s.NumberIncValue},  {"newext", &s.NewExtText}};
    for (const QString& word : words.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = word.section(u'=', 0, 0), value = word.section(u'=', 1);
        s.RenameChk |= key == "batch";
        s.chkAlpha |= key == "alpha";
        s.chkTrim |= key == "trim";
        if (texts.contains(key))
            *texts[key] = value;
        if (key == "remove" || key == "newext")
            s.NewExtIndex = key == "remove" ? 1 : -1;
        else if (key == "ext")
            s.ExtUsed = ExtensionMode(value.toInt());
        else if (key == "case")
            s.CasesList = value.toInt();
        else if (!texts.contains(key) && key != "batch" && key != "alpha" && key != "trim")
            qFatal("unknown settings word %s", qPrintable(word));
    }
    if (s.chkAlpha) {
        s.AlphaNumberText = words.contains("start=") ? s.StartingNumber : s.AlphaNumberText;
        s.AlphaIncrementText = words.contains("inc=") ? s.NumberIncValue : s.AlphaIncrementText;
        s.StartingNumber = s.AlphaNumberText;
        s.NumberIncValue = s.AlphaIncrementText;
    }
    return s;
}

// "0110": the second and third items selected.
inline std::vector<bool> selectionFrom(const QString& marks)
{
    std::vector<bool> selected;
    for (QChar c : marks)
        selected.push_back(c == u'1');
    return selected;
}

} // namespace pellory::test
