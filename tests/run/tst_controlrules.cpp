#include "run/ControlRules.h"

#include <QTest>

using pellory::ControlDecision;
using pellory::ControlSnapshot;

namespace {

// A snapshot from "field=value" words over a scheme that renames two files to IMG_001,
// IMG_002; "norename" clears batch rename; "field=" leaves a field empty.
ControlSnapshot snapshot(const QString& words)
{
    ControlSnapshot s;
    s.itemCount = 2;
    s.renameChk = true;
    s.numCharKeep = "0";
    s.startingNumber = "001";
    s.numberIncValue = "1";
    s.filePrefix = "IMG_";
    for (const QString& word : words.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = word.section(u'=', 0, 0);
        const QString value = word.section(u'=', 1);
        const QHash<QString, QString*> texts{
            {"keep", &s.numCharKeep},  {"start", &s.startingNumber}, {"inc", &s.numberIncValue},
            {"prefix", &s.filePrefix}, {"leading", &s.fileLeading},  {"exttext", &s.newExtText},
            {"wild", &s.wildCardRen}};
        if (texts.contains(name))
            *texts[name] = value;
        else if (name == u"items")
            s.itemCount = value.toInt();
        else if (name == u"sel")
            s.selectedCount = value.toInt();
        else if (name == u"cases")
            s.casesIndex = value.toInt();
        else if (name == u"ext")
            s.newExtIndex = value.toInt();
        else if (name == u"norename")
            s.renameChk = false;
        else if (name == u"trim")
            s.chkTrim = true;
        else if (name == u"alpha")
            s.chkAlpha = true;
        else if (name == u"preview")
            s.previewMode = true;
        else
            qFatal("unknown word %s", qPrintable(word));
    }
    return s;
}

QString describe(const ControlDecision& d)
{
    using Action = ControlDecision::Action;
    if (d.action != Action::EnableRun)
        return d.action == Action::Nothing ? "nothing" : "disable";
    return d.enablePreview ? "apply+preview" : "apply";
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

    auto row = [](const char* name, const char* words, const char* expected) {
        QTest::newRow(name) << QString(words) << QString(expected);
    };
    // clang-format off
    const char* both = "apply+preview";
    row("plain scheme", "", both);
    row("preview mode", "preview", "nothing");

    // The counter's width is the length of its start text.
    row("00, 150 files, none selected", "start=00 items=150 sel=0", "disable");
    row("00, 150 files, one selected", "start=00 items=150 sel=1", "disable");
    row("00, 150 files, trim", "start=00 items=150 trim", both);
    row("00, 150 files, 50 selected", "start=00 items=150 sel=50", both);
    row("00, 100 files ends at 99", "start=00 items=100", both);
    row("00, 101 files ends at 100", "start=00 items=101", "disable");
    row("1 step 5, 3 files ends at 11", "start=1 inc=5 items=3", "disable");
    row("10 down to -10", "start=10 inc=-1 items=21", "disable");
    row("fraction start", "start=1.5 inc=-1.25 items=2", both);
    row("1E+15 is shorter than its digits", "start=999999999999999 items=2", both);
    row("increment 0", "inc=0", "disable");
    row("increment not a number", "inc=x", "disable");

    // The alphabetic counter grows instead of overflowing.
    row("alpha never tested for fit", "alpha start=A items=150", both);

    // Without a counter the scheme needs kept characters and some text.
    row("keep 3, no start, prefix only", "keep=3 start=", both);
    row("keep 3, no start, no text", "keep=3 start= prefix=", "disable");
    row("keep 0, no start", "start=", "disable");
    row("keep not a number counts 0", "keep=x start=", "disable");

    // Batch rename off: only a case style can change the names.
    row("rename off, leave as is, keep ext", "norename items=5", "disable");
    row("rename off, lower case", "norename cases=1", both);
    row("rename off, counter not checked", "norename cases=2 start=0 items=150", both);

    // Extension and wildcard rules stand alone, even with an empty list.
    row("empty list, scheme alone", "items=0", "disable");
    row("empty list, remove ext", "norename items=0 ext=1", both);
    row("empty list, typed ext", "norename items=0 ext=-1 exttext=bak", both);
    row("typed ext box emptied", "norename ext=-1", "disable");
    row("wildcard alone", "norename wild=*.bak", "apply");
    row("wildcard keeps preview untouched", "wild=*.bak", "apply");
    // clang-format on
}

void TestControlRules::decideRunButtons()
{
    QFETCH(QString, words);
    QFETCH(QString, expected);
    QCOMPARE(describe(pellory::decideRunButtons(snapshot(words))), expected);
}

void TestControlRules::printedNumberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("whole") << 149.0 << "149";
    QTest::newRow("negative") << -9.0 << "-9";
    QTest::newRow("fraction") << 1.5 << "1.5";
    QTest::newRow("no zero before point") << 0.25 << ".25";
    QTest::newRow("15 significant digits") << (0.1 + 0.2) << ".3";
    QTest::newRow("1E+15") << 1e15 << "1E+15";
    QTest::newRow("16 digits rounded") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("1E-05") << 0.00001 << "1E-05";
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
