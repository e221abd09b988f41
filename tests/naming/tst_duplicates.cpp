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

// Quadratic reference for the fast check: each composed name against every later
// item, then a sorted pass for repeats.
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

// One word from each group, "" when a group may be left out.
RenameSettings randomSettings(QRandomGenerator& random)
{
    // clang-format off
    static const QList<QStringList> groups{
        {"", "batch"}, {"", "trim"},
        {"keep=0", "keep=1", "keep=3", "keep=9"},
        {"prefix=", "prefix=a", "prefix=IMG_"},
        {"leading=", "leading=b", "leading=.TXT"},
        {"ext=0", "ext=1", "ext=2"},
        {"case=0", "case=1", "case=2", "case=3"},
        {"newext=txt", "newext=GIF", "newext=.gz", "remove", "newext=", "", ""},
        {"alpha start=A", "alpha start=z", "alpha start=Zz", "alpha start=", "start=1", "start=01", "start=9", "start="},
        {"inc=0", "inc=1", "inc=2", "inc=-1"}};
    // clang-format on
    QStringList words;
    for (const QStringList& group : groups)
        words << group[random.bounded(int(group.size()))];
    return settingsFrom(words.join(u' '));
}

QStringList randomNames(QRandomGenerator& random)
{
    static const QStringList pool = QString("a.txt A.TXT a.gif b.txt a a. ab B a.tar.gz A.TAR "
                                            "1.txt 01 2.TXT a1.txt IMG_1 b.gif .txt z.gz Ab aa")
                                        .split(' ');
    QStringList names;
    for (int n = 1 + random.bounded(6); n > 0; --n)
        names << pool[random.bounded(int(pool.size()))];
    return names;
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
    // clang-format off
    QTest::newRow("empty list") << "" << "" << "batch" << false;
    QTest::newRow("one file") << "a.txt" << "0" << "batch alpha inc=0" << false;
    QTest::newRow("alpha increment 0") << "a.txt|b.txt" << "00" << "batch alpha inc=0" << true;
    QTest::newRow("own old name ignored") << "a.txt|b.txt" << "00" << "case=2" << false;
    QTest::newRow("takes later file's name") << "a.jpg|A.GIF" << "00" << "newext=gif" << true;
    QTest::newRow("takes earlier file's name") << "a.gif|a.jpg" << "00" << "newext=gif" << true;
    QTest::newRow("two of five, clash with kept") << "x|y|1|z|w" << "10010" << "batch start=1" << true;
    QTest::newRow("two of five, no clash") << "x|y|5|z|w" << "10010" << "batch start=1" << false;
    QTest::newRow("one selected composes all") << "x|y" << "01" << "batch alpha inc=0" << true;
    QTest::newRow("file listed twice") << "a.txt|a.txt" << "00" << "" << true;
    QTest::newRow("no counter, same kept") << "ab|ac" << "00" << "batch start= keep=1" << true;
    // clang-format on
}

void TestDuplicates::listedCases()
{
    QFETCH(QString, names);
    QFETCH(QString, selected);
    QFETCH(QString, settings);
    QFETCH(bool, duplicates);
    std::vector<bool> flags;
    for (QChar c : selected)
        flags.push_back(c == u'1');
    const QStringList list = names.split(u'|', Qt::SkipEmptyParts);
    QCOMPARE(WouldProduceDuplicates(list, flags, settingsFrom(settings)), duplicates);
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
    QStringList names;
    for (int i = 0; i < 40000; ++i)
        names << QString("DSC%1.JPG").arg(i, 5, 10, QChar(u'0'));
    const std::vector<bool> none(names.size(), false);
    const RenameSettings settings = settingsFrom("batch prefix=IMG_ start=00000");
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!WouldProduceDuplicates(names, none, settings));
    qInfo("40000 names checked in %lld ms", qint64(timer.elapsed())); // past 16-bit positions
    names[39999] = "img_00000.jpg"; // the first file's new name, still carried last
    QVERIFY(WouldProduceDuplicates(names, none, settings));
}

QTEST_APPLESS_MAIN(TestDuplicates)
#include "tst_duplicates.moc"
