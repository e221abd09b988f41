#include "PlainSort.h"
#include "catalogue/SortOrders.h"

#include <QTest>

using namespace pellory;
using namespace pellory::test;

class TestSortOrders : public QObject
{
    Q_OBJECT

private slots:
    void listedOrder_data();
    void listedOrder();
};

void TestSortOrders::listedOrder_data()
{
    QTest::addColumn<QString>("files"); // "name@time|..." in scan order, time 0 if none
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("listed");

    // clang-format off
    QTest::newRow("three equal dates, old to new") << "a@7|b@7|c@7" << 4 << "b|c|a";
    QTest::newRow("four equal dates, new to old") << "a@7|b@7|c@7|d@7" << 5 << "c|d|b|a";
    QTest::newRow("dates 3 1 2, old to new") << "a@3|b@1|c@2" << 4 << "b|c|a";
    QTest::newRow("dates 3 1 2, new to old") << "a@3|b@1|c@2" << 5 << "a|c|b";
    QTest::newRow("dates past the sign bit") << "a@9223372036854775808|b@1" << 4 << "b|a";
    QTest::newRow("ext A to Z, runs by name") << "b.txt|a.TXT|c.doc" << 2 << "c.doc|a.TXT|b.txt";
    QTest::newRow("ext Z to A, runs by name Z to A") << "b.txt|a.TXT|c.doc" << 3 << "b.txt|a.TXT|c.doc";
    QTest::newRow("no extension first in A to Z") << "b.txt|a" << 2 << "a|b.txt";
    QTest::newRow("trailing dot counts as no extension") << "b.txt|a." << 2 << "a.|b.txt";
    QTest::newRow("digits compare as characters") << "9.JPG|10.JPG" << 0 << "10.JPG|9.JPG";
    QTest::newRow("underscore after Z") << "_A.JPG|Z.JPG" << 0 << "Z.JPG|_A.JPG";
    QTest::newRow("file listed twice ends next to itself") << "b.jpg|c.jpg|b.jpg|a.jpg" << 0 << "a.jpg|b.jpg|b.jpg|c.jpg";
    QTest::newRow("case folded for order, kept for display")
        << "b.jpg|a.TXT|C.Gif" << 0 << "a.TXT|b.jpg|C.Gif";
    QTest::newRow("no order chosen keeps scan order") << "b|c|a" << -1 << "b|c|a";
    // The first four characters after a common start decide most comparisons alone.
    QTest::newRow("common start, then a shorter name first") << "DSC0012|DSC001|DSC00123|DSC0011" << 0 << "DSC001|DSC0011|DSC0012|DSC00123";
    QTest::newRow("equal first four after the start") << "IMG_ABCDZ|IMG_ABCDA|IMG_ABCD" << 1 << "IMG_ABCDZ|IMG_ABCDA|IMG_ABCD";
    QTest::newRow("code units past U+8000 after ASCII") << QString::fromUtf8("a\xef\xbd\x81|a\xf0\x9f\x93\xb7|ab") << 0 << QString::fromUtf8("ab|a\xf0\x9f\x93\xb7|a\xef\xbd\x81");
    // clang-format on
}

void TestSortOrders::listedOrder()
{
    QFETCH(QString, files);
    QFETCH(int, order);
    QFETCH(QString, listed);

    Catalogue catalogue;
    for (const QString& file : files.split(u'|'))
        catalogue.FileRecords.push_back(
            makeRecord(file.section(u'@', 0, 0), file.section(u'@', 1).toULongLong()));
    sortCatalogue(catalogue, order);
    QCOMPARE(fileNames(catalogue.FileRecords).join(u'|'), listed);
}

QTEST_GUILESS_MAIN(TestSortOrders)
#include "tst_sortorders.moc"
