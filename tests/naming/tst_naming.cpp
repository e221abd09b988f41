// The counters, the composed names and the duplicate check. Settings are
// written as a short line of words, so that a row shows every choice that differs from the
// defaults: "batch keep=3 prefix=x start=01 case=2". Words: batch, alpha, trim, remove,
// keep=, prefix=, leading=, start=, inc=, ext=0|1|2, newext=TEXT, case=0..3.

#include "naming/DuplicateCheck.h"
#include "naming/NameCounter.h"

#include <QRandomGenerator>
#include <QTest>

using namespace pellory;

namespace {

RenameSettings settingsFrom(const QString& words)
{
    RenameSettings s;
    const bool alpha = words.contains("alpha");
    s.StartingNumber = alpha ? "AAA" : "001";
    s.NumberIncValue = "1";
    const QHash<QString, QString*> texts{{"keep", &s.NumCharKeep},    {"prefix", &s.FilePrefix},
                                         {"leading", &s.FileLeading}, {"start", &s.StartingNumber},
                                         {"inc", &s.NumberIncValue},  {"newext", &s.NewExtText}};
    const QHash<QString, bool*> flags{
        {"batch", &s.RenameChk}, {"alpha", &s.chkAlpha}, {"trim", &s.chkTrim}};
    for (const QString& word : words.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = word.section(u'=', 0, 0), value = word.section(u'=', 1);
        if (texts.contains(key))
            *texts[key] = value;
        else if (flags.contains(key))
            *flags[key] = true;
        else if (key == "ext")
            s.ExtUsed = ExtensionMode(value.toInt());
        else if (key == "case")
            s.CasesList = value.toInt();
        else if (key != "remove")
            qFatal("unknown settings word %s", qPrintable(word));
        if (key == "remove" || key == "newext")
            s.NewExtIndex = key == "remove" ? 1 : -1;
    }
    if (alpha) { // the window hands the alphabetic pair over in the counter fields
        s.AlphaNumberText = s.StartingNumber;
        s.AlphaIncrementText = s.NumberIncValue;
    }
    return s;
}

// "0110": the second and third items selected.
std::vector<bool> selectionFrom(const QString& marks)
{
    std::vector<bool> selected;
    for (QChar c : marks)
        selected.push_back(c == u'1');
    return selected;
}

// The alphabetic unit step taken literally, once per unit: the reference the per-position
// arithmetic must match for random starts and increments.
QString unitSteps(QString text, int count)
{
    for (int step = 0; step < count && !text.isEmpty(); ++step) {
        for (qsizetype p = text.size() - 1; p >= 0; --p) {
            const bool capital = text[p].toLower() != text[p];
            if (text[p] < QChar(capital ? u'Z' : u'z')) {
                text[p] = QChar(char16_t(text[p].unicode() + 1));
                break;
            }
            text[p] = capital ? u'A' : u'a';
            if (p == 0)
                text.prepend(text[0]);
        }
    }
    return text;
}

// Quadratic reference for the duplicate check: every new name against every later item's
// old and new name, letter case ignored.
bool quadraticCheck(const QStringList& names, const std::vector<bool>& selected,
                    const RenameSettings& settings)
{
    const QStringList newNames = composeAll(names, selected, settings);
    for (qsizetype i = 0; i < names.size(); ++i)
        for (qsizetype j = i + 1; j < names.size(); ++j)
            if (newNames[i].toUpper() == names[j].toUpper() ||
                newNames[i].toUpper() == newNames[j].toUpper())
                return true;
    return false;
}

} // namespace

class TestNaming : public QObject
{
    Q_OBJECT
private slots:
    void advanceAlphaMatchesUnitSteps();
    void decimalFits_data();
    void decimalFits();
    void walk_data();
    void walk();
    void duplicatesMatchQuadraticCheck();
    void duplicatesPast16BitPositions();
};

void TestNaming::advanceAlphaMatchesUnitSteps()
{
    const QString pool = QString::fromUtf8("AZYazy09@[`{~ÉéßΩ_-. Mm");
    QRandomGenerator random(20261205);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int n = 1 + random.bounded(5); n > 0; --n)
            text += pool[random.bounded(int(pool.size()))];
        const int increment = round < 5 ? 999999 - round : random.bounded(-2, 2000);
        QString fast = text;
        AdvanceAlpha(fast, increment);
        QVERIFY2(fast == unitSteps(text, increment),
                 qPrintable(text + " + " + QString::number(increment)));
    }
}

void TestNaming::decimalFits_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<bool>("fits");
    // clang-format off
    QTest::newRow("ends on largest") << "start=2147483645 inc=1" << qint64(3) << true;
    QTest::newRow("one past largest") << "start=2147483645 inc=1" << qint64(4) << false;
    QTest::newRow("one below smallest") << "start=-2147483646 inc=-1" << qint64(4) << false;
    QTest::newRow("huge count") << "start=0 inc=2" << (qint64(1) << 62) << false;
    QTest::newRow("no files") << "start=2147483647 inc=5" << qint64(0) << true;
    QTest::newRow("alphabetic") << "alpha inc=2147483647" << qint64(5) << true;
    // clang-format on
}

void TestNaming::decimalFits()
{
    QFETCH(QString, settings);
    QFETCH(qint64, count);
    QFETCH(bool, fits);
    QCOMPARE(decimalCounterFits(settingsFrom("batch " + settings), count), fits);
}

// One walk: the composed names of the rename set, the others kept, and whether the check
// before it finds two files that would share a name.
void TestNaming::walk_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("duplicates");
    // clang-format off
    QTest::newRow("mode 1 typed .bak") << "report.txt" << "" << "ext=1 newext=.bak" << "report..bak" << false;
    QTest::newRow("mode 2 remove") << "report.txt" << "" << "ext=2 remove" << "report.txt" << false;
    QTest::newRow("mode 2 tar.gz .bak") << "archive.tar.gz" << "" << "ext=2 newext=.bak" << "archive.tar.gz.bak" << false;
    QTest::newRow("mode 0 tar.gz typed") << "archive.tar.gz" << "" << "ext=0 newext=zip" << "archive.zip.gz" << false;
    QTest::newRow("mode 0 tar.gz remove") << "archive.tar.gz" << "" << "ext=0 remove" << "archive.gz" << false;
    QTest::newRow("mode 1 tar.gz remove") << "archive.tar.gz" << "" << "ext=1 remove" << "archive.tar" << false;
    QTest::newRow("no dot typed mode 2") << "README" << "" << "ext=2 newext=txt" << "README.txt" << false;
    QTest::newRow("no dot remove") << "README" << "" << "ext=0 remove" << "README" << false;
    QTest::newRow("trailing dot stays in base") << "notes." << "" << "ext=1 newext=md" << "notes..md" << false;
    QTest::newRow("leading dot empty base") << ".profile" << "" << "ext=1 newext=rc" << ".rc" << false;
    QTest::newRow("typed ext keeps its case") << "IMG.JPG" << "" << "ext=1 newext=jpg" << "IMG.jpg" << false;
    QTest::newRow("all lower") << "IMG_0001.JPG" << "" << "case=1" << "img_0001.jpg" << false;
    QTest::newRow("normal formatted") << "my summer trip.JPEG" << "" << "case=3" << "My Summer Trip.jpeg" << false;
    QTest::newRow("upper, kept chars") << "holiday.jpg" << "" << "batch case=2 keep=3 prefix=x start=01" << "HOLx01.JPG" << false;
    QTest::newRow("all parts in order") << "abc.txt" << "" << "batch keep=2 prefix=P start=7 leading=L" << "abP7L.txt" << false;
    QTest::newRow("keep 2.5 rounds to 2") << "abcd" << "" << "batch keep=2.5 start=1" << "ab1" << false;
    QTest::newRow("keep huge") << "abc" << "" << "batch keep=99999999999 start=1" << "abc1" << false;
    QTest::newRow("keep pasted text") << "abc" << "" << "batch keep=x2 start=1" << "1" << false;
    QTest::newRow("no counter text") << "abc.txt" << "" << "batch keep=1 start= prefix=p" << "ap.txt" << false;
    QTest::newRow("keep 3.5 rounds to 4") << "abcde" << "" << "batch keep=3.5 start=1" << "abcd1" << false;
    QTest::newRow("keep 1e3: no exponent") << "abc" << "" << "batch keep=1e3 start=1" << "a1" << false;
    QTest::newRow("keep 4-1: a sign ends the number") << "abcde" << "" << "batch keep=4-1 start=1" << "abcd1" << false;
    QTest::newRow("keep -3x keeps nothing") << "abc" << "" << "batch keep=-3x start=1" << "1" << false;
    QTest::newRow("start one past the largest number") << "a|b" << "" << "batch start=2147483648" << "|" << true;
    QTest::newRow("start in non-ASCII digits") << "a|b" << "" << "batch start=\u0663" << "|" << true;
    QTest::newRow("start a sign alone") << "a|b" << "" << "batch start=-" << "|" << true;
    QTest::newRow("start with a plus sign") << "a|b" << "" << "batch start=+5" << "05|06" << false;
    QTest::newRow("normal: underscore separates") << "HELLO_WORLD" << "" << "case=3" << "Hello_World" << false;
    QTest::newRow("normal: three letters before digit") << "abc1" << "" << "case=3" << "Abc1" << false;
    QTest::newRow("normal: two letters before digit 9") << "ab9" << "" << "case=3" << "AB9" << false;
    QTest::newRow("normal: digit first") << "2nd try" << "" << "case=3" << "2Nd Try" << false;
    QTest::newRow("normal: outer blanks kept") << "  ab cd " << "" << "case=3" << "  Ab Cd " << false;
    QTest::newRow("normal: blanks only") << "   " << "" << "case=3" << "   " << false;
    QTest::newRow("normal: accented capital alone") << "É" << "" << "case=3" << "É" << false;
    QTest::newRow("normal: accent separates words") << "xÉy" << "" << "case=3" << "XÉY" << false;
    QTest::newRow("normal: last letter has no next") << "aB" << "" << "case=3" << "Ab" << false;
    QTest::newRow("two selected of four") << "a.jpg|b.jpg|c.jpg|d.jpg" << "0101" << "batch start=1" << "a.jpg|1.jpg|c.jpg|2.jpg" << false;
    QTest::newRow("one selected renames all") << "a|b|c" << "010" << "batch alpha start=x" << "x|y|z" << false;
    QTest::newRow("trim on") << "a|b|c" << "" << "batch start=001 trim" << "1|2|3" << false;
    QTest::newRow("width 1 keeps last digit") << "a|b|c" << "" << "batch start=1 inc=5" << "1|6|1" << true;
    QTest::newRow("0099") << "a|b|c" << "" << "batch start=0099" << "0099|0100|0101" << false;
    QTest::newRow("negative padded") << "a|b|c" << "" << "batch start=-1" << "-1|00|01" << false;
    QTest::newRow("counting down") << "a|b|c" << "" << "batch start=001 inc=-1" << "001|000|0-1" << false;
    QTest::newRow("empty start") << "a|b|c" << "" << "batch start=" << "||" << true;
    QTest::newRow("empty increment") << "a|b|c" << "" << "batch inc=" << "||" << true;
    QTest::newRow("alpha widens, keeping the first case") << "a|b|c" << "" << "batch alpha start=zZ" << "zZ|aaA|aaB" << false;
    QTest::newRow("alpha ignores trim") << "a|b|c" << "" << "batch alpha start=AA trim" << "AA|AB|AC" << false;
    QTest::newRow("alpha pasted increment") << "a|b|c" << "" << "batch alpha inc=x" << "||" << true;
    QTest::newRow("one file") << "a.txt" << "0" << "batch alpha inc=0" << "AAA.txt" << false;
    QTest::newRow("alpha increment 0") << "a.txt|b.txt" << "00" << "batch alpha inc=0" << "AAA.txt|AAA.txt" << true;
    QTest::newRow("own old name ignored") << "a.txt|b.txt" << "00" << "case=2" << "A.TXT|B.TXT" << false;
    QTest::newRow("takes later file's name") << "a.jpg|A.GIF" << "00" << "newext=gif" << "a.gif|A.gif" << true;
    QTest::newRow("takes earlier file's name") << "a.gif|a.jpg" << "00" << "newext=gif" << "a.gif|a.gif" << true;
    QTest::newRow("two of five, clash with kept") << "x|y|1|z|w" << "10010" << "batch start=1" << "1|y|1|2|w" << true;
    QTest::newRow("one selected composes all") << "x|y" << "01" << "batch alpha inc=0" << "AAA|AAA" << true;
    QTest::newRow("file listed twice") << "a.txt|a.txt" << "00" << "" << "a.txt|a.txt" << true;
    // clang-format on
}

void TestNaming::walk()
{
    QFETCH(QString, names);
    QFETCH(QString, selected);
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    QFETCH(bool, duplicates);
    const RenameSettings s = settingsFrom(settings);
    QCOMPARE(composeAll(names.split(u'|'), selectionFrom(selected), s).join(u'|'), expected);
    QCOMPARE(WouldProduceDuplicates(names.split(u'|'), selectionFrom(selected), s), duplicates);
}

void TestNaming::duplicatesMatchQuadraticCheck()
{
    // One word from each group, "" when a group may be left out.
    // clang-format off
    const QList<QStringList> groups{
        {"", "batch"}, {"", "trim"}, {"keep=0", "keep=1", "keep=3", "keep=9"},
        {"prefix=", "prefix=a", "prefix=IMG_"}, {"leading=", "leading=b", "leading=.TXT"},
        {"ext=0", "ext=1", "ext=2"}, {"case=0", "case=1", "case=2", "case=3"},
        {"newext=txt", "newext=GIF", "newext=.gz", "remove", "newext=", "", ""},
        {"alpha start=A", "alpha start=z", "alpha start=Zz", "alpha start=", "start=1", "start=01", "start=9", "start="},
        {"inc=0", "inc=1", "inc=2", "inc=-1"}};
    const QStringList pool = QString("a.txt A.TXT a.gif b.txt a a. ab B a.tar.gz A.TAR 1.txt 01 "
                                     "2.TXT a1.txt IMG_1 b.gif .txt z.gz Ab aa").split(' ');
    // clang-format on
    QRandomGenerator random(424242);
    const int rounds = 5000;
    int found = 0;
    for (int round = 0; round < rounds; ++round) {
        QStringList names, words;
        std::vector<bool> selected;
        for (int n = 1 + random.bounded(6); n > 0; --n) {
            names << pool[random.bounded(int(pool.size()))];
            selected.push_back(random.bounded(3) == 0);
        }
        for (const QStringList& group : groups)
            words << group[random.bounded(int(group.size()))];
        const RenameSettings settings = settingsFrom(words.join(u' '));
        int yields = 0;
        const bool fast = WouldProduceDuplicates(names, selected, settings, [&] { ++yields; });
        QVERIFY2(fast == quadraticCheck(names, selected, settings),
                 qPrintable(names.join(u'|') + " with " + words.join(u' ')));
        QVERIFY(fast ? yields <= names.size() : yields == names.size());
        found += fast;
    }
    // Both answers must be well represented, or the comparison proves little.
    QVERIFY(found > rounds / 5 && found < rounds * 4 / 5);
}

void TestNaming::duplicatesPast16BitPositions()
{
    QStringList names;
    for (int i = 0; i < 40000; ++i)
        names << QString("DSC%1.JPG").arg(i, 5, 10, QChar(u'0'));
    const std::vector<bool> none(names.size(), false);
    const RenameSettings settings = settingsFrom("batch prefix=IMG_ start=00000");
    QVERIFY(!WouldProduceDuplicates(names, none, settings));
    names[39999] = "img_00000.jpg"; // the first file's new name, carried by the last
    QVERIFY(WouldProduceDuplicates(names, none, settings));
}

QTEST_APPLESS_MAIN(TestNaming)
#include "tst_naming.moc"
