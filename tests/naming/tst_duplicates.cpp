#include "NamingFixture.h"
#include "naming/Compose.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <optional>

using namespace pellory;
using pellory::test::settingsFrom;

namespace {

std::vector<bool> flagsFrom(const QString& selected)
{
    std::vector<bool> flags;
    for (QChar c : selected)
        flags.push_back(c == u'1');
    return flags;
}

// The check as first written: every composed name against every later item, then a
// sorted pass for repeats. Quadratic; the reference for the fast check.
bool quadraticCheck(const QStringList& names, const std::vector<bool>& selected,
                    const RenameSettings& settings)
{
    const qsizetype count = names.size();
    const int selectedCount = int(std::count(selected.begin(), selected.end(), true));
    std::optional<NameCounter> counter;
    if (settings.RenameChk)
        counter.emplace(settings);
    QStringList newNames(count);
    for (qsizetype i = 0; i < count; ++i) {
        newNames[i] =
            IsInRenameSet(selected[i], selectedCount)
                ? ComposeNewName(names[i], settings, counter ? &*counter : nullptr).toUpper()
                : names[i].toUpper();
        for (qsizetype j = i + 1; j < count; ++j)
            if (names[j].toUpper() == newNames[i])
                return true;
    }
    std::sort(newNames.begin(), newNames.end());
    for (qsizetype k = 0; k + 1 < count; ++k)
        if (newNames[k] == newNames[k + 1])
            return true;
    return false;
}

template <typename T> T pick(QRandomGenerator& random, std::initializer_list<T> choices)
{
    return choices.begin()[random.bounded(int(choices.size()))];
}

RenameSettings randomSettings(QRandomGenerator& random)
{
    QStringList words;
    auto maybe = [&](const char* word) {
        if (random.bounded(2))
            words << word;
    };
    maybe("batch");
    maybe("trim");
    words << pick(random, {"keep=0", "keep=1", "keep=3", "keep=9"});
    words << pick(random, {"prefix=", "prefix=a", "prefix=IMG_"});
    words << pick(random, {"leading=", "leading=b", "leading=.TXT"});
    words << pick(random, {"ext=0", "ext=1", "ext=2"});
    words << pick(random, {"case=0", "case=1", "case=2", "case=3"});
    words << pick(random, {"newext=txt", "newext=GIF", "newext=.gz", "remove", "newext="});
    if (random.bounded(3) == 0)
        words.removeLast(); // "Keep as is"
    if (random.bounded(2))
        words << "alpha" << pick(random, {"start=A", "start=z", "start=Zz", "start="})
              << pick(random, {"inc=0", "inc=1", "inc=2"});
    else
        words << pick(random, {"start=1", "start=01", "start=9", "start="})
              << pick(random, {"inc=0", "inc=1", "inc=-1"});
    return settingsFrom(words.join(u' '));
}

QStringList randomNames(QRandomGenerator& random)
{
    static const QStringList pool = {"a.txt", "A.TXT",    "a.gif", "b.txt", "a",  "a.",    "ab",
                                     "B",     "a.tar.gz", "A.TAR", "1.txt", "01", "2.TXT", "a1.txt",
                                     "IMG_1", "b.gif",    ".txt",  "z.gz",  "Ab", "aa"};
    QStringList names;
    for (int n = 1 + random.bounded(6); n > 0; --n)
        names << pool[random.bounded(int(pool.size()))];
    return names;
}

void checkRow(const char* name, const QString& names, const QString& selected,
              const QString& settings, bool duplicates)
{
    QTest::newRow(name) << names << selected << settings << duplicates;
}

} // namespace

class TestDuplicates : public QObject
{
    Q_OBJECT
private slots:
    void listedCases_data();
    void listedCases();
    void matchesQuadraticCheck();
    void largeList();
};

void TestDuplicates::listedCases_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("duplicates");
    checkRow("empty list", "", "", "batch", false);
    checkRow("one file", "a.txt", "0", "batch alpha inc=0", false);
    checkRow("alpha increment 0", "a.txt|b.txt", "00", "batch alpha inc=0", true);
    checkRow("own old name ignored", "a.txt|b.txt", "00", "case=2", false);
    checkRow("takes later file's name", "a.jpg|a.gif", "00", "ext=1 newext=gif", true);
    checkRow("takes earlier file's name", "a.gif|a.jpg", "00", "ext=1 newext=gif", true);
    checkRow("later name in other case", "a.jpg|A.GIF", "00", "newext=gif", true);
    checkRow("two of five, clash with kept", "x|y|1|z|w", "10010", "batch start=1", true);
    checkRow("two of five, no clash", "x|y|5|z|w", "10010", "batch start=1", false);
    checkRow("one selected composes all", "x|y", "01", "batch alpha inc=0", true);
    checkRow("file listed twice", "a.txt|a.txt", "00", "", true);
    checkRow("differ only in case", "a.txt|A.TXT", "00", "case=1", true);
    checkRow("distinct counters", "a|b|c", "000", "batch", false);
    checkRow("no counter text", "a|b", "00", "batch start= keep=1", false);
    checkRow("no counter, same kept", "ab|ac", "00", "batch start= keep=1", true);
}

void TestDuplicates::listedCases()
{
    QFETCH(QString, names);
    QFETCH(QString, selected);
    QFETCH(QString, settings);
    QFETCH(bool, duplicates);
    const QStringList list = names.split(u'|', Qt::SkipEmptyParts);
    QCOMPARE(WouldProduceDuplicates(list, flagsFrom(selected), settingsFrom(settings)), duplicates);
}

void TestDuplicates::matchesQuadraticCheck()
{
    QRandomGenerator random(424242);
    int found = 0;
    const int rounds = 5000;
    for (int round = 0; round < rounds; ++round) {
        const QStringList names = randomNames(random);
        std::vector<bool> selected;
        for (qsizetype i = 0; i < names.size(); ++i)
            selected.push_back(random.bounded(3) == 0);
        const RenameSettings settings = randomSettings(random);
        int yields = 0;
        const bool fast = WouldProduceDuplicates(names, selected, settings, [&] { ++yields; });
        const bool expected = quadraticCheck(names, selected, settings);
        QVERIFY2(fast == expected, qPrintable(names.join(u'|')));
        QVERIFY(yields <= names.size());
        if (!fast)
            QCOMPARE(yields, names.size());
        found += fast;
    }
    // Both answers must be well represented, or the comparison proves little.
    QVERIFY(found > rounds / 5);
    QVERIFY(found < rounds * 4 / 5);
}

void TestDuplicates::largeList()
{
    // Past the old 16-bit limit on list positions.
    QStringList names;
    for (int i = 0; i < 40000; ++i)
        names << QString("DSC%1.JPG").arg(i, 5, 10, QChar(u'0'));
    const std::vector<bool> none(names.size(), false);
    const RenameSettings settings = settingsFrom("batch prefix=IMG_ start=00000");
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!WouldProduceDuplicates(names, none, settings));
    qInfo("40000 names checked in %lld ms", qint64(timer.elapsed()));
    names[39999] = "img_00000.jpg"; // the first file's new name, still carried last
    QVERIFY(WouldProduceDuplicates(names, none, settings));
}

QTEST_APPLESS_MAIN(TestDuplicates)
#include "tst_duplicates.moc"
