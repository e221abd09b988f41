// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// When Apply and Preview are enabled, and the printed number text whose width decides
// whether a decimal counter fits its field.

#include "rules/ControlRules.h"

#include <QTest>

using pellory::ControlDecision;
using pellory::ControlSnapshot;

namespace {

// A snapshot from "field=value" and flag words ("trim", "rename=0") over a scheme that
// renames two files to IMG_001, IMG_002; "field=" leaves a field empty.
ControlSnapshot snapshot(const QString& words)
{
    ControlSnapshot s;
    pellory::RenameSettings& r = s.settings;
    const QHash<QString, QString*> texts{{"keep", &r.NumCharKeep},   {"start", &r.StartingNumber},
                                         {"inc", &r.NumberIncValue}, {"prefix", &r.FilePrefix},
                                         {"exttext", &r.NewExtText}, {"wild", &s.wildCardRen}};
    const QHash<QString, int*> numbers{{"items", &s.itemCount},
                                       {"sel", &s.selectedCount},
                                       {"cases", &r.CasesList},
                                       {"ext", &r.NewExtIndex},
                                       {"date", &r.DateFormat}};
    const QHash<QString, bool*> flags{{"preview", &s.previewMode},
                                      {"trim", &r.chkTrim},
                                      {"alpha", &r.chkAlpha},
                                      {"rename", &r.RenameChk}};
    for (const QString& word : ("items=2 rename keep=0 start=001 inc=1 prefix=IMG_ " + words)
                                   .split(u' ', Qt::SkipEmptyParts)) {
        const QString name = word.section(u'=', 0, 0), value = word.section(u'=', 1);
        if (texts.contains(name))
            *texts[name] = value;
        else if (numbers.contains(name))
            *numbers[name] = value.toInt();
        else
            *flags.value(name) = value != "0";
    }
    return s;
}

} // namespace

class TestControlRules : public QObject
{
    Q_OBJECT

private slots:
    void decideRunButtons_data();
    void decideRunButtons();
    void printedNumberText_data();
    void printedNumberText();
};

void TestControlRules::decideRunButtons_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* words, const char* expected) {
        QTest::newRow(name) << QString(words) << QString(expected);
    };
    const char* both = "apply+preview";
    // clang-format off
    row("preview mode", "preview", "nothing");
    row("00, 150 files, one selected", "start=00 items=150 sel=1", "disable");
    row("00, 150 files, trim", "start=00 items=150 trim", both);
    row("00, 150 files, 50 selected", "start=00 items=150 sel=50", both);
    row("00, 100 files ends at 99", "start=00 items=100", both);
    row("10 down to -10", "start=10 inc=-1 items=21", "disable");
    row("increment 0", "inc=0", "disable");
    row("alpha never tested for fit", "alpha start=A items=150", both);
    row("keep 3, no start, prefix only", "keep=3 start=", both);
    row("keep 3, no start, no text", "keep=3 start= prefix=", "disable");
    row("keep 3, no start, a date only", "keep=3 start= prefix= date=1", both);
    row("keep 0, no start", "start=", "disable");
    row("rename off, leave as is", "rename=0 items=5", "disable");
    row("rename off, lower case", "rename=0 cases=1 start=0 items=150", both);
    row("empty list, scheme alone", "items=0", "disable");
    row("empty list, remove ext", "rename=0 items=0 ext=1", both);
    row("empty list, typed ext", "rename=0 items=0 ext=-1 exttext=bak", both);
    row("typed ext box emptied", "rename=0 ext=-1", "disable");
    row("wildcard alone", "rename=0 wild=*.bak", "apply");
    row("wildcard keeps preview untouched", "wild=*.bak", "apply");
    // clang-format on
}

void TestControlRules::decideRunButtons()
{
    QFETCH(QString, words);
    QFETCH(QString, expected);
    const ControlDecision d = pellory::decideRunButtons(snapshot(words));
    using Action = ControlDecision::Action;
    const QString shown = d.action == Action::Nothing      ? "nothing"
                          : d.action == Action::DisableRun ? "disable"
                          : d.enablePreview                ? "apply+preview"
                                                           : "apply";
    QCOMPARE(shown, expected);
}

void TestControlRules::printedNumberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("negative fraction") << -0.25 << "-.25";
    QTest::newRow("15 significant digits") << (0.1 + 0.2) << ".3";
    QTest::newRow("1E+15") << 1e15 << "1E+15";
    QTest::newRow("16 digits rounded") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("1E-05") << 0.00001 << "1E-05";
    QTest::newRow("negative zero") << -0.0 << "0";
    // clang-format on
}

void TestControlRules::printedNumberText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(pellory::printedNumberText(value), expected);
}

QTEST_APPLESS_MAIN(TestControlRules)
#include "tst_controlrules.moc"
