// The sort orders on listed cases, and the fast range sorts held against the partition sort
// written out plainly, whose placement of equal keys decides the counter each file gets.

#include "catalogue/RangeSort.h"
#include "catalogue/SortOrders.h"
#include "platform/FileTime.h"

#include <QTest>

#include <numeric>
#include <random>

using namespace pellory;

namespace {

// The partition sort step by step, recursion and all, on records lo..hi (from 1), in sort
// order `which` (0 name ascending ... 5 date descending). Quadratic on ordered input.
void plainRangeSort(std::vector<FileRecord>& records, int which, qint32 lo, qint32 hi)
{
    if (lo >= hi)
        return;
    const FileRecord pivot = records[hi - 1];
    const auto vsPivot = [&](qint32 at) { // -1: before the pivot in the sort's direction
        const FileRecord& r = records[at - 1];
        const int c = which < 2   ? QString::compare(r.NameKey, pivot.NameKey)
                      : which < 4 ? QString::compare(r.ExtKey, pivot.ExtKey)
                                  : CompareFileTime(r.WriteTime, pivot.WriteTime);
        return ((c > 0) - (c < 0)) * (which % 2 ? -1 : 1);
    };
    qint32 i = lo - 1, j = hi;
    for (;;) {
        do {
            ++i;
        } while (vsPivot(i) < 0 && i < j);
        do {
            --j;
        } while (vsPivot(j) > 0 && j > i);
        if (j <= i)
            break;
        std::swap(records[i - 1], records[j - 1]);
    }
    if (i != hi)
        std::swap(records[i - 1], records[hi - 1]);
    plainRangeSort(records, which, lo, i - 1);
    plainRangeSort(records, which, i + 1, hi);
}

// The whole catalogue: the extension orders then sort each run of equal extensions by name.
void plainSortFiles(std::vector<FileRecord>& records, int order)
{
    const auto count = qint32(records.size());
    plainRangeSort(records, order, 1, count);
    for (qint32 start = 1, p = 2; (order == 2 || order == 3) && p <= count + 1; ++p) {
        if (p <= count && records[p - 1].ExtKey == records[start - 1].ExtKey)
            continue;
        plainRangeSort(records, order - 2, start, p - 1);
        start = p;
    }
}

QString fileNames(const std::vector<FileRecord>& records)
{
    QStringList names;
    for (const FileRecord& record : records)
        names.append(record.FileName);
    return names.join(u'|');
}

// Random keys, each tooth of count / teeth keys sorted (teeth 0: none), then some random
// swaps. Nearly sorted and sawtooth inputs make the sort skip long stretches of positions
// after it has swapped inside them, which is where a stale index would show.
std::vector<int> keyColumn(std::mt19937& rng, int count, int distinct, int teeth, int swaps)
{
    std::vector<int> column(static_cast<size_t>(count));
    for (int& key : column)
        key = std::uniform_int_distribution<int>(0, distinct - 1)(rng);
    const int tooth = std::max(1, count / std::max(1, teeth));
    for (int first = 0; teeth && first < count; first += tooth)
        std::sort(column.begin() + first, column.begin() + std::min(count, first + tooth));
    for (int n = count * swaps / 100; n > 0; --n)
        std::swap(column[rng() % count], column[rng() % count]);
    return column;
}

} // namespace

class TestSortOrders : public QObject
{
    Q_OBJECT

private slots:
    void listedOrder_data();
    void listedOrder();
    void randomInputs_data();
    void randomInputs();
};

void TestSortOrders::listedOrder_data()
{
    QTest::addColumn<QString>("files"); // "name@time|..." in scan order, time 0 if none
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("listed");

    // clang-format off
    QTest::newRow("three equal dates, old to new") << "a@7|b@7|c@7" << 4 << "b|c|a";
    QTest::newRow("four equal dates, new to old") << "a@7|b@7|c@7|d@7" << 5 << "c|d|b|a";
    QTest::newRow("dates past the sign bit") << "a@9223372036854775808|b@1" << 4 << "b|a";
    QTest::newRow("ext A to Z, runs by name") << "b.txt|a.TXT|c.doc" << 2 << "c.doc|a.TXT|b.txt";
    QTest::newRow("trailing dot counts as no extension") << "b.txt|a." << 2 << "a.|b.txt";
    QTest::newRow("digits compare as characters") << "9.JPG|10.JPG" << 0 << "10.JPG|9.JPG";
    QTest::newRow("underscore after Z") << "_A.JPG|Z.JPG" << 0 << "Z.JPG|_A.JPG";
    QTest::newRow("case folded for order, kept for display")
        << "b.jpg|a.TXT|C.Gif" << 0 << "a.TXT|b.jpg|C.Gif";
    QTest::newRow("no order chosen keeps scan order") << "b|c|a" << -1 << "b|c|a";
    // The first characters after a common start decide most comparisons alone.
    QTest::newRow("common start, then a shorter name first") << "DSC0012|DSC001|DSC00123|DSC0011" << 0 << "DSC001|DSC0011|DSC0012|DSC00123";
    QTest::newRow("a start shared by some names only") << "IMG_ABCDZ|IMG_B|IMG_ABCDA|IMG_ABCD" << 1 << "IMG_B|IMG_ABCDZ|IMG_ABCDA|IMG_ABCD";
    QTest::newRow("equal first eight, the rest decides") << "A123456789Z|A123456789B|B" << 0 << "A123456789B|A123456789Z|B";
    QTest::newRow("code units past U+8000 after ASCII") << QString::fromUtf8("a\xef\xbd\x81|a\xf0\x9f\x93\xb7|ab") << 0 << QString::fromUtf8("ab|a\xf0\x9f\x93\xb7|a\xef\xbd\x81");
    // clang-format on
}

void TestSortOrders::listedOrder()
{
    QFETCH(QString, files);
    QFETCH(int, order);
    QFETCH(QString, listed);
    Catalogue catalogue;
    for (const QString& file : files.split(u'|')) {
        const QString name = file.section(u'@', 0, 0);
        catalogue.FileRecords.push_back(
            {name.toUpper(), name,
             fileExtView(name, ExtensionMode::UseLastOccurrence).toString().toUpper(),
             file.section(u'@', 1).toULongLong(), name.toUtf8()});
    }
    sortCatalogue(catalogue, order);
    QCOMPARE(fileNames(catalogue.FileRecords), listed);
}

void TestSortOrders::randomInputs_data()
{
    QTest::addColumn<int>("minCount");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<int>("distinct");
    QTest::addColumn<int>("teeth");
    QTest::addColumn<int>("swaps"); // per hundred keys
    QTest::addColumn<int>("trials");
    // clang-format off
    QTest::newRow("small, many ties") << 0 << 12 << 3 << 0 << 0 << 1000;
    QTest::newRow("all equal keys") << 150 << 300 << 1 << 0 << 0 << 20;
    QTest::newRow("mostly distinct") << 0 << 400 << 100000 << 0 << 0 << 20;
    QTest::newRow("ascending with ties") << 1000 << 2000 << 700 << 1 << 0 << 6;
    QTest::newRow("nearly sorted with ties") << 1000 << 2000 << 600 << 1 << 2 << 6;
    QTest::newRow("sawtooth with ties") << 1000 << 2000 << 300 << 7 << 0 << 6;
    QTest::newRow("40000 records, past 16-bit positions") << 40000 << 40000 << 9000 << 0 << 0 << 1;
    // clang-format on
}

// Every sort order on the whole catalogue, and the name order once more from the index of ranks
// alone (walking turned off, so that every swap must keep the index current). The file name is the
// scan position, so that the order of equal keys shows in the result.
void TestSortOrders::randomInputs()
{
    QFETCH(int, minCount);
    QFETCH(int, maxCount);
    QFETCH(int, distinct);
    QFETCH(int, teeth);
    QFETCH(int, swaps);
    QFETCH(int, trials);
    std::mt19937 rng(20261205u + quint32(maxCount) * 31u + quint32(distinct));
    for (int trial = 0; trial < trials && !QTest::currentTestFailed(); ++trial) {
        const int count = std::uniform_int_distribution<int>(minCount, maxCount)(rng);
        std::vector<int> columns[3];
        for (auto& column : columns)
            column = keyColumn(rng, count, distinct, teeth, swaps);
        std::vector<FileRecord> input(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k) {
            input[k].FileName = QString::number(k);
            // Zero-padded, so that the text order of the keys is their numeric order.
            input[k].NameKey = QString::asprintf("K%07d", columns[0][k]);
            input[k].ExtKey = QString::asprintf("K%07d", columns[1][k]);
            input[k].WriteTime = quint64(columns[2][k]);
        }
        for (int order = 0; order < 6; ++order) {
            Catalogue fast;
            fast.FileRecords = input;
            sortCatalogue(fast, order);
            std::vector<FileRecord> plain = input;
            plainSortFiles(plain, order);
            QCOMPARE(fileNames(fast.FileRecords), fileNames(plain));
        }
        std::vector<qint32> ranks(columns[0].begin(), columns[0].end()), items(size_t(count), 0);
        std::iota(items.begin(), items.end(), 0);
        partitionSort(ranks, items, PartitionTuning{0, 0, 0});
        plainRangeSort(input, 0, 1, count);
        QStringList indexOrder;
        for (const qint32 item : items)
            indexOrder.append(QString::number(item));
        QCOMPARE(indexOrder.join(u'|'), fileNames(input));
    }
}

QTEST_GUILESS_MAIN(TestSortOrders)
#include "tst_sortorders.moc"
