// The fast range sorts against the plain partition sort: same records in the same order,
// ties included, for random, ordered and exhaustively enumerated inputs.

#include "PlainSort.h"
#include "catalogue/RangeSort.h"
#include "catalogue/SortOrders.h"

#include <QTest>

#include <algorithm>
#include <random>

using namespace pellory;
using namespace pellory::test;

namespace {

using RangeSortFn = void (*)(Catalogue&, qint32, qint32);
const RangeSortFn kRangeSorts[6] = {SortNameAsc, SortNameDesc, SortExtAsc,
                                    SortExtDesc, SortDateAsc,  SortDateDesc};

// Nearly sorted and sawtooth inputs make the sort skip long stretches of positions after
// it has swapped inside them, which is where a stale index would show.
enum class Shape
{
    Random,
    Ascending,
    Descending,
    NearlySorted,
    Sawtooth
};

// Zero-padded, so that the text order of the keys is their numeric order.
QString keyText(int k)
{
    return QStringLiteral("K%1").arg(k, 5, 10, QLatin1Char('0'));
}

std::vector<int> keyColumn(std::mt19937& rng, int count, int distinct, Shape shape)
{
    std::uniform_int_distribution<int> pick(0, distinct - 1);
    std::vector<int> column;
    for (int k = 0; k < count; ++k)
        column.push_back(pick(rng));
    if (shape == Shape::Ascending)
        std::sort(column.begin(), column.end());
    if (shape == Shape::Descending)
        std::sort(column.begin(), column.end(), std::greater<>());
    if (shape == Shape::NearlySorted) {
        std::sort(column.begin(), column.end());
        for (int swaps = count / 50; swaps > 0; --swaps)
            std::swap(column[rng() % count], column[rng() % count]);
    }
    if (shape == Shape::Sawtooth) {
        const int tooth = std::max(1, count / 7);
        for (int first = 0; first < count; first += tooth)
            std::sort(column.begin() + first, column.begin() + std::min(count, first + tooth));
    }
    return column;
}

// Records whose three keys are drawn independently from `distinct` values; the file
// name is the scan position, so that the order of equal keys shows in the result.
std::vector<FileRecord> makeRecords(std::mt19937& rng, int count, int distinct, Shape shape,
                                    quint64 timeBase)
{
    const std::vector<int> names = keyColumn(rng, count, distinct, shape);
    const std::vector<int> exts = keyColumn(rng, count, distinct, shape);
    const std::vector<int> times = keyColumn(rng, count, distinct, shape);
    std::vector<FileRecord> records(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        records[k].FileName = QString::number(k);
        records[k].NameKey = keyText(names[k]);
        records[k].ExtKey = keyText(exts[k]);
        records[k].WriteTime = timeBase + quint64(times[k]);
    }
    return records;
}

void compareRangeSort(const std::vector<FileRecord>& input, int whichSort, qint32 lo, qint32 hi)
{
    Catalogue fast;
    fast.FileRecords = input;
    kRangeSorts[whichSort](fast, lo, hi);
    std::vector<FileRecord> plain = input;
    plainRangeSort(plain, whichSort, lo, hi);
    QCOMPARE(fileNames(fast.FileRecords).join(','), fileNames(plain).join(','));
}

void compareSortOrder(const std::vector<FileRecord>& input, int order)
{
    Catalogue fast;
    fast.FileRecords = input;
    sortCatalogue(fast, order);
    std::vector<FileRecord> plain = input;
    plainSortFiles(plain, order);
    QCOMPARE(fileNames(fast.FileRecords).join(','), fileNames(plain).join(','));
}

} // namespace

class TestRangeSort : public QObject
{
    Q_OBJECT

private slots:
    void randomInputs_data();
    void randomInputs();
    void indexAnswersEveryStep_data();
    void indexAnswersEveryStep();
    void everySmallInput_data();
    void everySmallInput();
};

void TestRangeSort::randomInputs_data()
{
    QTest::addColumn<int>("minCount");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<int>("distinct");
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<quint64>("timeBase");
    QTest::addColumn<int>("trials");

    const quint64 acrossSignBit = (quint64(1) << 63) - 3;
    QTest::newRow("small, many ties") << 0 << 12 << 3 << Shape::Random << quint64(0) << 400;
    QTest::newRow("small, two keys") << 0 << 40 << 2 << Shape::Random << quint64(0) << 200;
    QTest::newRow("all equal keys") << 150 << 300 << 1 << Shape::Random << quint64(0) << 20;
    QTest::newRow("half duplicates") << 200 << 400 << 200 << Shape::Random << quint64(0) << 40;
    QTest::newRow("mostly distinct") << 0 << 400 << 100000 << Shape::Random << quint64(0) << 20;
    QTest::newRow("ascending with ties")
        << 1000 << 2000 << 700 << Shape::Ascending << quint64(0) << 6;
    QTest::newRow("ascending, few keys") << 750 << 1500 << 5 << Shape::Ascending << quint64(0) << 6;
    QTest::newRow("ascending distinct")
        << 750 << 1500 << 1000000 << Shape::Ascending << quint64(0) << 4;
    QTest::newRow("descending distinct")
        << 750 << 1500 << 1000000 << Shape::Descending << quint64(0) << 4;
    QTest::newRow("descending with ties")
        << 1000 << 2000 << 700 << Shape::Descending << quint64(0) << 6;
    QTest::newRow("descending, few keys")
        << 750 << 1500 << 4 << Shape::Descending << quint64(0) << 6;
    QTest::newRow("nearly sorted with ties")
        << 1000 << 2000 << 600 << Shape::NearlySorted << quint64(0) << 6;
    QTest::newRow("nearly sorted, distinct")
        << 1000 << 2000 << 1000000 << Shape::NearlySorted << quint64(0) << 6;
    QTest::newRow("sawtooth with ties")
        << 1000 << 2000 << 300 << Shape::Sawtooth << quint64(0) << 6;
    QTest::newRow("times across the sign bit")
        << 0 << 60 << 6 << Shape::Random << acrossSignBit << 200;
}

// Every range sort on a random sub-range, and every sort order on the whole catalogue.
void TestRangeSort::randomInputs()
{
    QFETCH(int, minCount);
    QFETCH(int, maxCount);
    QFETCH(int, distinct);
    QFETCH(Shape, shape);
    QFETCH(quint64, timeBase);
    QFETCH(int, trials);

    std::mt19937 rng(20261205u + quint32(maxCount) * 31u + quint32(distinct));
    for (int trial = 0; trial < trials; ++trial) {
        const int count = std::uniform_int_distribution<int>(minCount, maxCount)(rng);
        const auto input = makeRecords(rng, count, distinct, shape, timeBase);
        for (int whichSort = 0; whichSort < 6; ++whichSort) {
            qint32 lo = 1;
            qint32 hi = count;
            if (count > 0 && trial % 2 == 1) {
                lo = std::uniform_int_distribution<qint32>(1, count)(rng);
                hi = std::uniform_int_distribution<qint32>(lo, count)(rng);
            }
            compareRangeSort(input, whichSort, lo, hi);
            if (QTest::currentTestFailed())
                return;
        }
        for (int order = 0; order < 6; ++order) {
            compareSortOrder(input, order);
            if (QTest::currentTestFailed())
                return;
        }
    }
}

void TestRangeSort::indexAnswersEveryStep_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("distinct");
    QTest::addColumn<Shape>("shape");
    QTest::newRow("random, many ties") << 300 << 20 << Shape::Random;
    QTest::newRow("random, two keys") << 300 << 2 << Shape::Random;
    QTest::newRow("all equal") << 200 << 1 << Shape::Random;
    QTest::newRow("ascending with ties") << 600 << 200 << Shape::Ascending;
    QTest::newRow("descending with ties") << 600 << 200 << Shape::Descending;
    QTest::newRow("nearly sorted with ties") << 600 << 250 << Shape::NearlySorted;
    QTest::newRow("sawtooth with ties") << 600 << 100 << Shape::Sawtooth;
}

// The same comparison with walking turned off, so that every stop of every partition
// comes from the index of ranks and every swap must keep it current.
void TestRangeSort::indexAnswersEveryStep()
{
    QFETCH(int, count);
    QFETCH(int, distinct);
    QFETCH(Shape, shape);
    std::mt19937 rng(quint32(count * 7 + distinct));
    for (int trial = 0; trial < 10; ++trial) {
        const std::vector<int> keys = keyColumn(rng, count, distinct, shape);
        std::vector<qint32> ranks(keys.begin(), keys.end());
        std::vector<qint32> items(keys.size());
        std::vector<FileRecord> plain(keys.size());
        for (size_t k = 0; k < keys.size(); ++k) {
            items[k] = qint32(k);
            plain[k].FileName = QString::number(k);
            plain[k].NameKey = keyText(keys[k]);
        }
        partitionSort(ranks, items, PartitionTuning{0, 0});
        plainRangeSort(plain, 0, 1, count);
        QStringList fast;
        for (const qint32 item : items)
            fast.append(QString::number(item));
        QCOMPARE(fast.join(','), fileNames(plain).join(','));
    }
}

void TestRangeSort::everySmallInput_data()
{
    QTest::addColumn<int>("order");
    QTest::newRow("Name (A to Z)") << 0;
    QTest::newRow("Name (Z to A)") << 1;
    QTest::newRow("Ext (A to Z)") << 2;
    QTest::newRow("Ext (Z to A)") << 3;
    QTest::newRow("Date (Old to New)") << 4;
    QTest::newRow("Date (New to Old)") << 5;
}

// Every catalogue of up to six records whose keys come from three values: names from
// "A", "B", "C", extensions and write times from the same digits read differently, so
// that extension runs hold names in every arrangement.
void TestRangeSort::everySmallInput()
{
    QFETCH(int, order);
    for (int count = 0; count <= 6; ++count) {
        int combinations = 1;
        for (int k = 0; k < count; ++k)
            combinations *= 3;
        for (int code = 0; code < combinations; ++code) {
            std::vector<FileRecord> input(static_cast<size_t>(count));
            int digits = code;
            for (int k = 0; k < count; ++k, digits /= 3) {
                const int digit = digits % 3;
                input[k].FileName = QString::number(k);
                input[k].NameKey = QString(QChar(u'A' + digit));
                input[k].ExtKey = QString(QChar(u'A' + (digit + k) % 3));
                input[k].WriteTime = quint64(2 - digit);
            }
            compareSortOrder(input, order);
            if (QTest::currentTestFailed())
                return;
            if (order == 2 || order == 3)
                compareRangeSort(input, order, 1, count);
            if (QTest::currentTestFailed())
                return;
        }
    }
}

QTEST_GUILESS_MAIN(TestRangeSort)
#include "tst_rangesort.moc"
