#include "NamingFixture.h"
#include "naming/NameCounter.h"

#include <QRandomGenerator>
#include <QTest>

using namespace pellory;
using pellory::test::settingsFrom;

namespace {

// The alphabetic unit step taken literally, one step at a time, as the reference the
// per-position arithmetic must match.
void unitSteps(QString& text, int count)
{
    for (int step = 0; step < count && !text.isEmpty(); ++step) {
        qsizetype p = text.size() - 1;
        for (;;) {
            QChar c = text[p];
            bool capital = QString(c).toLower() != QString(c);
            if (c.unicode() + 1 <= (capital ? u'Z' : u'z')) {
                text[p] = QChar(char16_t(c.unicode() + 1));
                break;
            }
            text[p] = capital ? u'A' : u'a';
            if (--p < 0) {
                text.prepend(text[0]);
                break;
            }
        }
    }
}

QString randomText(QRandomGenerator& random)
{
    static const QString pool = QString::fromUtf8("AZYazy09@[`{~ÉéßΩ_-. Mm");
    QString text;
    for (int n = 1 + random.bounded(5); n > 0; --n)
        text += pool[random.bounded(int(pool.size()))];
    return text;
}

void alphaRow(const char* name, const QString& text, int increment, const QString& expected)
{
    QTest::newRow(name) << text << increment << expected;
}

void sequenceRow(const char* name, const QString& settings, const QString& expected)
{
    QTest::newRow(name) << settings << expected;
}

void fitsRow(const char* name, const QString& settings, qint64 count, bool fits)
{
    QTest::newRow(name) << settings << count << fits;
}

} // namespace

class TestCounters : public QObject
{
    Q_OBJECT
private slots:
    void advanceAlpha_data();
    void advanceAlpha();
    void advanceAlphaMatchesUnitSteps();
    void counterSequence_data();
    void counterSequence();
    void decimalFits_data();
    void decimalFits();
};

void TestCounters::advanceAlpha_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("increment");
    QTest::addColumn<QString>("expected");
    alphaRow("AAA plus 1", "AAA", 1, "AAB");
    alphaRow("carry AAZ", "AAZ", 1, "ABA");
    alphaRow("carry AZZ", "AZZ", 1, "BAA");
    alphaRow("mixed Az", "Az", 1, "Ba");
    alphaRow("mixed aZ", "aZ", 1, "bA");
    alphaRow("AAY plus 3", "AAY", 3, "ABB");
    alphaRow("Ab plus 26", "Ab", 26, "Bb");
    alphaRow("az plus 1", "az", 1, "ba");
    alphaRow("widen Z", "Z", 1, "AA");
    alphaRow("widen ZZ", "ZZ", 1, "AAA");
    alphaRow("widen zz", "zz", 1, "aaa");
    alphaRow("widen keeps first case", "zZ", 1, "aaA");
    alphaRow("widen twice", "Z", 1 + 26 * 26, "AAA");
    alphaRow("digit counts as small", "A9", 1, "A:");
    alphaRow("small below A turns capital", "@", 1, "A");
    alphaRow("digit reaches capital cycle", "9", 8 + 26, "AA");
    alphaRow("between Z and a", "[", 6, "a");
    alphaRow("past z overflows", "x{", 1, "ya");
    alphaRow("accented capital overflows", QString::fromUtf8("AÉ"), 1, "BA");
    alphaRow("accented small overflows", QString::fromUtf8("é"), 1, "aa");
    alphaRow("zero increment", "ABC", 0, "ABC");
    alphaRow("negative increment", "ABC", -5, "ABC");
    alphaRow("empty text", "", 3, "");
    alphaRow("largest field increment", "AAA", 999999, "BDXHN");
}

void TestCounters::advanceAlpha()
{
    QFETCH(QString, text);
    QFETCH(int, increment);
    QFETCH(QString, expected);
    AdvanceAlpha(text, increment);
    QCOMPARE(text, expected);
}

void TestCounters::advanceAlphaMatchesUnitSteps()
{
    QRandomGenerator random(20261205);
    for (int round = 0; round < 3000; ++round) {
        const QString start = randomText(random);
        const int increment = round < 5 ? 999999 - round : random.bounded(-2, 2000);
        QString fast = start;
        QString slow = start;
        AdvanceAlpha(fast, increment);
        unitSteps(slow, increment);
        QVERIFY2(
            fast == slow,
            qPrintable(QString("%1 + %2: %3 vs %4").arg(start).arg(increment).arg(fast, slow)));
    }
}

void TestCounters::counterSequence_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expected");
    sequenceRow("padded", "start=001 inc=1", "001|002|003");
    sequenceRow("trim on", "start=001 inc=1 trim", "1|2|3");
    sequenceRow("width 1 keeps last digit", "start=1 inc=5", "1|6|1");
    sequenceRow("0099", "start=0099 inc=1", "0099|0100|0101");
    sequenceRow("1000 in width 3", "start=998 inc=1", "998|999|000");
    sequenceRow("negative padded", "start=-1 inc=1", "-1|00|01");
    sequenceRow("counting down", "start=001 inc=-1", "001|000|0-1");
    sequenceRow("negative trimmed", "start=1 inc=-1 trim", "1|0|-1");
    sequenceRow("empty start", "start= inc=1", "||");
    sequenceRow("pasted start", "start=1a inc=1", "||");
    sequenceRow("empty increment", "start=001 inc=", "||");
    sequenceRow("alpha", "alpha start=AAA inc=1", "AAA|AAB|AAC");
    sequenceRow("alpha carry", "alpha start=az inc=1", "az|ba|bb");
    sequenceRow("alpha Ab by 26", "alpha start=Ab inc=26", "Ab|Bb|Cb");
    sequenceRow("alpha increment 0", "alpha start=AAA inc=0", "AAA|AAA|AAA");
    sequenceRow("alpha ignores trim", "alpha start=AA inc=1 trim", "AA|AB|AC");
    sequenceRow("alpha empty start", "alpha start= inc=1", "||");
    sequenceRow("alpha pasted increment", "alpha start=AA inc=x", "||");
}

void TestCounters::counterSequence()
{
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    NameCounter counter(settingsFrom("batch " + settings));
    QStringList texts;
    for (int i = 0; i < 3; ++i)
        texts << counter.next();
    QCOMPARE(texts.join(u'|'), expected);
    QCOMPARE(counter.hasText(), !expected.startsWith(u'|'));
}

void TestCounters::decimalFits_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<bool>("fits");
    fitsRow("ends on largest", "start=2147483645 inc=1", 3, true);
    fitsRow("one past largest", "start=2147483645 inc=1", 4, false);
    fitsRow("ends on smallest", "start=-2147483646 inc=-1", 3, true);
    fitsRow("one below smallest", "start=-2147483646 inc=-1", 4, false);
    fitsRow("large step twice", "start=0 inc=2147483647", 2, true);
    fitsRow("large step three times", "start=0 inc=2147483647", 3, false);
    fitsRow("single file at largest", "start=2147483647 inc=1", 1, true);
    fitsRow("huge count", "start=0 inc=2", qint64(1) << 62, false);
    fitsRow("no files", "start=2147483647 inc=5", 0, true);
    fitsRow("no counter text", "start=x inc=1", 5, true);
    fitsRow("alphabetic", "alpha inc=2147483647", 5, true);
}

void TestCounters::decimalFits()
{
    QFETCH(QString, settings);
    QFETCH(qint64, count);
    QFETCH(bool, fits);
    QCOMPARE(decimalCounterFits(settingsFrom("batch " + settings), count), fits);
}

QTEST_APPLESS_MAIN(TestCounters)
#include "tst_counters.moc"
