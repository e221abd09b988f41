#include "NamingFixture.h"
#include "naming/Compose.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using namespace pellory;
using namespace pellory::test;

// Quadratic reference for the fast check: every new name against every later item's old
// and new name, letter case ignored.
static bool quadraticCheck(const QStringList& names, const std::vector<bool>& selected,
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
    QTest::newRow("one file") << "a.txt" << "0" << "batch alpha inc=0" << false;
    QTest::newRow("alpha increment 0") << "a.txt|b.txt" << "00" << "batch alpha inc=0" << true;
    QTest::newRow("own old name ignored") << "a.txt|b.txt" << "00" << "case=2" << false;
    QTest::newRow("takes later file's name") << "a.jpg|A.GIF" << "00" << "newext=gif" << true;
    QTest::newRow("takes earlier file's name") << "a.gif|a.jpg" << "00" << "newext=gif" << true;
    QTest::newRow("two of five, clash with kept") << "x|y|1|z|w" << "10010" << "batch start=1" << true;
    QTest::newRow("one selected composes all") << "x|y" << "01" << "batch alpha inc=0" << true;
    QTest::newRow("file listed twice") << "a.txt|a.txt" << "00" << "" << true;
    // clang-format on
}

void TestDuplicates::listedCases()
{
    QFETCH(QString, names);
    QFETCH(QString, selected);
    QFETCH(QString, settings);
    QFETCH(bool, duplicates);
    QCOMPARE(WouldProduceDuplicates(names.split(u'|', Qt::SkipEmptyParts), selectionFrom(selected),
                                    settingsFrom(settings)),
             duplicates);
}

void TestDuplicates::matchesQuadraticCheck()
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

void TestDuplicates::largeList()
{
    QStringList names;
    for (int i = 0; i < 40000; ++i) // past 16-bit positions
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
