#include "NamingFixture.h"
#include "naming/NameCounter.h"

#include <QRandomGenerator>
#include <QTest>

using namespace pellory;
using pellory::test::settingsFrom;

// The alphabetic unit step taken literally, one step at a time: the reference the
// per-position arithmetic must match for random starts and increments.
static void unitSteps(QString& text, int count)
{
    for (int step = 0; step < count && !text.isEmpty(); ++step) {
        for (qsizetype p = text.size() - 1;; --p) {
            const QChar c = text[p];
            const bool capital = QString(c).toLower() != QString(c);
            if (c.unicode() + 1 <= (capital ? u'Z' : u'z')) {
                text[p] = QChar(char16_t(c.unicode() + 1));
                break;
            }
            text[p] = capital ? u'A' : u'a';
            if (p == 0) {
                text.prepend(text[0]);
                break;
            }
        }
    }
}

class TestCounters : public QObject
{
    Q_OBJECT
private slots:
    void advanceAlphaMatchesUnitSteps();
    void counterSequence_data();
    void counterSequence();
    void decimalFits_data();
    void decimalFits();
};

void TestCounters::advanceAlphaMatchesUnitSteps()
{
    const QString pool = QString::fromUtf8("AZYazy09@[`{~ÉéßΩ_-. Mm");
    QRandomGenerator random(20261205);
    for (int round = 0; round < 3000; ++round) {
        QString fast;
        for (int n = 1 + random.bounded(5); n > 0; --n)
            fast += pool[random.bounded(int(pool.size()))];
        QString slow = fast;
        const int increment = round < 5 ? 999999 - round : random.bounded(-2, 2000);
        AdvanceAlpha(fast, increment);
        unitSteps(slow, increment);
        QVERIFY2(fast == slow, qPrintable(QString("round %1").arg(round)));
    }
}

void TestCounters::counterSequence_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("trim on") << "start=001 inc=1 trim" << "1|2|3";
    QTest::newRow("width 1 keeps last digit") << "start=1 inc=5" << "1|6|1";
    QTest::newRow("0099") << "start=0099 inc=1" << "0099|0100|0101";
    QTest::newRow("negative padded") << "start=-1 inc=1" << "-1|00|01";
    QTest::newRow("counting down") << "start=001 inc=-1" << "001|000|0-1";
    QTest::newRow("empty start") << "start= inc=1" << "||";
    QTest::newRow("empty increment") << "start=001 inc=" << "||";
    QTest::newRow("alpha carry") << "alpha start=az inc=1" << "az|ba|bb";
    QTest::newRow("alpha Ab plus 26") << "alpha start=Ab inc=26" << "Ab|Bb|Cb";
    QTest::newRow("alpha widens, keeping the first case") << "alpha start=zZ inc=1" << "zZ|aaA|aaB";
    QTest::newRow("alpha accented capital overflows") << "alpha start=AÉ inc=1" << "AÉ|BA|BB";
    QTest::newRow("alpha ignores trim") << "alpha start=AA inc=1 trim" << "AA|AB|AC";
    QTest::newRow("alpha pasted increment") << "alpha start=AA inc=x" << "||";
    // clang-format on
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
    // clang-format off
    QTest::newRow("ends on largest") << "start=2147483645 inc=1" << qint64(3) << true;
    QTest::newRow("one past largest") << "start=2147483645 inc=1" << qint64(4) << false;
    QTest::newRow("one below smallest") << "start=-2147483646 inc=-1" << qint64(4) << false;
    QTest::newRow("huge count") << "start=0 inc=2" << (qint64(1) << 62) << false;
    QTest::newRow("no files") << "start=2147483647 inc=5" << qint64(0) << true;
    QTest::newRow("alphabetic") << "alpha inc=2147483647" << qint64(5) << true;
    // clang-format on
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
