#include "run/ControlRules.h"

#include <QTest>

using pellory::ControlDecision;
using pellory::ControlSnapshot;

Q_DECLARE_METATYPE(pellory::ControlSnapshot)

namespace {

// A scheme that renames two files to IMG_001, IMG_002: the usual starting point.
ControlSnapshot scheme()
{
    ControlSnapshot s;
    s.itemCount = 2;
    s.renameChk = true;
    s.numCharKeep = QStringLiteral("0");
    s.startingNumber = QStringLiteral("001");
    s.numberIncValue = QStringLiteral("1");
    s.filePrefix = QStringLiteral("IMG_");
    return s;
}

// Nothing chosen that could change a name.
ControlSnapshot idle(qint32 items)
{
    ControlSnapshot s;
    s.itemCount = items;
    return s;
}

ControlSnapshot counter(const char* start, const char* increment, qint32 items, qint32 selected)
{
    ControlSnapshot s = scheme();
    s.startingNumber = QString::fromLatin1(start);
    s.numberIncValue = QString::fromLatin1(increment);
    s.itemCount = items;
    s.selectedCount = selected;
    return s;
}

template <typename Change> ControlSnapshot with(ControlSnapshot s, Change change)
{
    change(s);
    return s;
}

QString describe(const ControlDecision& d)
{
    switch (d.action) {
    case ControlDecision::Action::Nothing:
        return QStringLiteral("nothing");
    case ControlDecision::Action::DisableRun:
        return QStringLiteral("disable");
    case ControlDecision::Action::EnableRun:
        return d.enablePreview ? QStringLiteral("apply+preview") : QStringLiteral("apply");
    }
    return QStringLiteral("?");
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
    QTest::addColumn<ControlSnapshot>("snapshot");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* name, const ControlSnapshot& s, const char* expected) {
        QTest::newRow(name) << s << QString::fromLatin1(expected);
    };
    row("plain scheme", scheme(), "apply+preview");
    row("preview mode", with(scheme(), [](auto& s) { s.previewMode = true; }), "nothing");
    row("preview mode, nothing to do", with(idle(0), [](auto& s) { s.previewMode = true; }),
        "nothing");

    // The counter's width is the length of its start text.
    row("00, 150 files, none selected", counter("00", "1", 150, 0), "disable");
    row("00, 150 files, one selected", counter("00", "1", 150, 1), "disable");
    row("00, 150 files, trim", with(counter("00", "1", 150, 0), [](auto& s) { s.chkTrim = true; }),
        "apply+preview");
    row("00, 150 files, 50 selected", counter("00", "1", 150, 50), "apply+preview");
    row("00, 150 files, 2 selected", counter("00", "1", 150, 2), "apply+preview");
    row("00, 100 files ends at 99", counter("00", "1", 100, 0), "apply+preview");
    row("00, 101 files ends at 100", counter("00", "1", 101, 0), "disable");
    row("1, step 5, 2 files ends at 6", counter("1", "5", 2, 0), "apply+preview");
    row("1, step 5, 3 files ends at 11", counter("1", "5", 3, 0), "disable");
    row("10 counting down to 0", counter("10", "-1", 11, 0), "apply+preview");
    row("10 counting down to -9", counter("10", "-1", 20, 0), "apply+preview");
    row("10 counting down to -10", counter("10", "-1", 21, 0), "disable");
    row("1E+15 is shorter than its digits", counter("999999999999999", "1", 2, 0), "apply+preview");
    row("increment 0", counter("001", "0", 2, 0), "disable");
    row("increment 00", counter("001", "00", 2, 0), "disable");
    row("increment not a number", counter("001", "x", 2, 0), "disable");
    row("increment 0 with keep 2",
        with(counter("001", "0", 2, 0), [](auto& s) { s.numCharKeep = QStringLiteral("2"); }),
        "disable");
    row("increment empty with keep 2",
        with(counter("001", "", 2, 0), [](auto& s) { s.numCharKeep = QStringLiteral("2"); }),
        "disable");

    // The alphabetic counter grows instead of overflowing.
    row("alpha never tested for fit",
        with(counter("A", "1", 150, 0), [](auto& s) { s.chkAlpha = true; }), "apply+preview");
    row("alpha with increment 0",
        with(counter("AAA", "0", 2, 0), [](auto& s) { s.chkAlpha = true; }), "apply+preview");

    // Without a counter the scheme needs kept characters and some text.
    row("keep 3, no start, prefix only",
        with(counter("", "1", 2, 0), [](auto& s) { s.numCharKeep = QStringLiteral("3"); }),
        "apply+preview");
    row("keep 3, no start, leading only",
        with(counter("", "1", 2, 0),
             [](auto& s) {
                 s.numCharKeep = QStringLiteral("3");
                 s.filePrefix.clear();
                 s.fileLeading = QStringLiteral("_x");
             }),
        "apply+preview");
    row("keep 3, no start, no text",
        with(counter("", "1", 2, 0),
             [](auto& s) {
                 s.numCharKeep = QStringLiteral("3");
                 s.filePrefix.clear();
             }),
        "disable");
    row("keep 0, no start, prefix", counter("", "1", 2, 0), "disable");
    row("keep 0, no increment", counter("001", "", 2, 0), "disable");
    row("keep not a number counts 0",
        with(counter("", "1", 2, 0), [](auto& s) { s.numCharKeep = QStringLiteral("x"); }),
        "disable");
    row("keep empty counts 0", with(counter("", "1", 2, 0), [](auto& s) { s.numCharKeep.clear(); }),
        "disable");

    // Batch rename off: only a case style can change the names.
    row("rename off, leave as is, keep ext", idle(5), "disable");
    row("rename off, lower case", with(idle(5), [](auto& s) { s.casesIndex = 1; }),
        "apply+preview");
    row("rename off, no case chosen", with(idle(5), [](auto& s) { s.casesIndex = -1; }),
        "apply+preview");
    row("rename off, counter would overflow",
        with(counter("0", "1", 150, 0),
             [](auto& s) {
                 s.renameChk = false;
                 s.casesIndex = 2;
             }),
        "apply+preview");

    // Extension and wildcard rules stand alone, even with an empty list.
    row("empty list, scheme alone", with(scheme(), [](auto& s) { s.itemCount = 0; }), "disable");
    row("empty list, remove ext", with(idle(0), [](auto& s) { s.newExtIndex = 1; }),
        "apply+preview");
    row("empty list, typed ext",
        with(idle(0),
             [](auto& s) {
                 s.newExtIndex = -1;
                 s.newExtText = QStringLiteral("bak");
             }),
        "apply+preview");
    row("typed ext box emptied", with(idle(3), [](auto& s) { s.newExtIndex = -1; }), "disable");
    row("keep as is shows its text",
        with(idle(3), [](auto& s) { s.newExtText = QStringLiteral("Keep as is"); }), "disable");
    row("wildcard alone", with(idle(3), [](auto& s) { s.wildCardRen = QStringLiteral("*.bak"); }),
        "apply");
    row("wildcard keeps preview untouched",
        with(scheme(), [](auto& s) { s.wildCardRen = QStringLiteral("*.bak"); }), "apply");
    row("wildcard, empty list", with(idle(0), [](auto& s) { s.wildCardRen = QStringLiteral("?"); }),
        "apply");
}

void TestControlRules::decideRunButtons()
{
    QFETCH(ControlSnapshot, snapshot);
    QFETCH(QString, expected);
    QCOMPARE(describe(pellory::decideRunButtons(snapshot)), expected);
}

void TestControlRules::printedNumberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole") << 149.0 << "149";
    QTest::newRow("negative") << -9.0 << "-9";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fraction") << 1.5 << "1.5";
    QTest::newRow("no zero before point") << 0.25 << ".25";
    QTest::newRow("negative, no zero before point") << -0.25 << "-.25";
    QTest::newRow("15 significant digits") << (0.1 + 0.2) << ".3";
    QTest::newRow("large whole") << 32865866233.0 << "32865866233";
    QTest::newRow("15 digits") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1E+15") << 1e15 << "1E+15";
    QTest::newRow("16 digits rounded") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("1E-04 still plain") << 0.0001 << ".0001";
    QTest::newRow("1E-05") << 0.00001 << "1E-05";
}

void TestControlRules::printedNumberText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(pellory::printedNumberText(value), expected);
}

QTEST_APPLESS_MAIN(TestControlRules)
#include "tst_controlrules.moc"
