#include "catalogue/EveryN.h"

#include <QTest>

using namespace pellory;

class TestEveryN : public QObject
{
    Q_OBJECT

private slots:
    void selection_data();
    void selection();
};

void TestEveryN::selection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("itemCount");
    QTest::addColumn<int>("currentItem");
    QTest::addColumn<QString>("selected"); // "none" when the step is below 1: only deselect
    QTest::addColumn<int>("currentAfter");
    // clang-format off
    QTest::newRow("2 on 7, no current") << "2" << 7 << -1 << "0,2,4,6" << 0;
    QTest::newRow("3 from current 4 of 10") << "3" << 10 << 4 << "4,7" << 4;
    QTest::newRow("1 from current 5 of 8") << "1" << 8 << 5 << "5,6,7" << 5;
    QTest::newRow("2.5 rounds down to even 2") << "2.5" << 7 << -1 << "0,2,4,6" << 0;
    QTest::newRow("3.5 rounds up to even 4") << "3.5" << 10 << -1 << "0,4,8" << 0;
    QTest::newRow("5 on an empty list") << "5" << 0 << -1 << "" << -1;
    QTest::newRow("step past the end") << "999" << 4 << 1 << "1" << 1;
    QTest::newRow("current past the end") << "2" << 3 << 5 << "" << -1;
    QTest::newRow("digits then letters") << "2x" << 5 << -1 << "0,2,4" << 0;
    QTest::newRow("beyond 16-bit positions") << "999" << 40000 << 39000 << "39000,39999" << 39000;
    QTest::newRow("empty") << "" << 7 << 2 << "none" << -1;
    QTest::newRow("0.5 rounds to even 0") << "0.5" << 7 << -1 << "none" << -1;
    // clang-format on
}

void TestEveryN::selection()
{
    QFETCH(QString, text);
    QFETCH(int, itemCount);
    QFETCH(int, currentItem);
    QFETCH(QString, selected);
    QFETCH(int, currentAfter);
    const qint16 n = selStepsValue(text);
    QCOMPARE(n < 1, selected == "none");
    if (n < 1)
        return;
    const EveryNSelection selection = everyNthItem(itemCount, currentItem, n);
    QStringList items;
    for (const qint32 item : selection.items)
        items.append(QString::number(item));
    QCOMPARE(items.join(u','), selected);
    QCOMPARE(selection.currentItem, currentAfter);
}

QTEST_GUILESS_MAIN(TestEveryN)
#include "tst_everyn.moc"
