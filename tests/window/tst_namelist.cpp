#include "window/NameListView.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace pellory;

namespace {

QStringList numberedNames(int count)
{
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("IMG_%1.JPG").arg(i, 5, 10, QLatin1Char('0'));
    return names;
}

// The selected rows as the selection model itself reports them, "1,2,5", so that the
// view's kept flags and count are checked against an independent source.
QString selectedRows(const NameListView& view)
{
    QList<int> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QStringList text;
    for (int row : rows)
        text << QString::number(row);
    return text.join(',');
}

QString flaggedRows(const NameListView& view)
{
    QStringList text;
    const std::vector<bool> flags = view.selectionFlags();
    for (size_t row = 0; row < flags.size(); ++row) {
        if (flags[row])
            text << QString::number(row);
    }
    return text.join(',');
}

void verifyKeptState(const NameListView& view, const QString& expected)
{
    QCOMPARE(selectedRows(view), expected);
    QCOMPARE(flaggedRows(view), expected);
    QCOMPARE(view.selectedCount(), int(view.selectionModel()->selectedIndexes().size()));
    QCOMPARE(int(view.selectionFlags().size()), view.count());
}

void clickRow(NameListView& view, int row, Qt::KeyboardModifiers modifiers = {})
{
    const QRect rect = view.visualRect(view.names()->index(row));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, rect.center());
}

} // namespace

class TestNameList : public QObject
{
    Q_OBJECT
private slots:
    void modelChangesInRanges_data();
    void modelChangesInRanges();
    void selectRows_data();
    void selectRows();
    void everySecondOfLargestList();
    void userGestures_data();
    void userGestures();
    void codeChangesRaiseNothing();
    void resetClearsCount();
};

void TestNameList::modelChangesInRanges_data()
{
    QTest::addColumn<QStringList>("steps"); // "append a b", "set x", "clear"
    QTest::addColumn<QString>("emitted");
    QTest::addColumn<QString>("names");

    QTest::newRow("two appends, one insertion each")
        << QStringList{"append a b c", "append d e"} << "insert 0-2|insert 3-4"
        << "a|b|c|d|e";
    QTest::newRow("empty append changes nothing")
        << QStringList{"append a", "append"} << "insert 0-0"
        << "a";
    QTest::newRow("set replaces in one reset")
        << QStringList{"append a b", "set x y z"} << "insert 0-1|reset"
        << "x|y|z";
    QTest::newRow("clear is one reset") << QStringList{"set a b", "clear"} << "reset|reset"
                                        << "";
}

void TestNameList::modelChangesInRanges()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, emitted);
    QFETCH(QString, names);
    NameListModel model;
    QStringList log;
    connect(&model, &QAbstractItemModel::rowsInserted, this,
            [&](const QModelIndex&, int first, int last) {
                log << QString("insert %1-%2").arg(first).arg(last);
            });
    connect(&model, &QAbstractItemModel::modelReset, this, [&] { log << "reset"; });

    for (const QString& step : steps) {
        QStringList words = step.split(' ', Qt::SkipEmptyParts);
        const QString verb = words.takeFirst();
        if (verb == "append")
            model.append(words);
        else if (verb == "set")
            model.setNames(words);
        else
            model.clear();
    }
    QCOMPARE(log.join('|'), emitted);
    QCOMPARE(model.names().join('|'), names);
    QCOMPARE(model.rowCount(), int(model.names().size()));
    if (model.rowCount() > 0) {
        const QModelIndex last = model.index(model.rowCount() - 1);
        QCOMPARE(last.data(Qt::DisplayRole).toString(), names.section('|', -1));
        QCOMPARE(last.data(Qt::AccessibleTextRole).toString(), names.section('|', -1));
        QVERIFY(!last.data(Qt::DecorationRole).isValid());
    }
}

void TestNameList::selectRows_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("already"); // selected before, one row at a time
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("ranges"); // ranges in the one selection applied

    QTest::newRow("consecutive rows merged")
        << 10 << QList<int>{} << QList<int>{1, 2, 3, 7, 8} << "1,2,3,7,8" << 2;
    QTest::newRow("every third") << 8 << QList<int>{} << QList<int>{0, 3, 6} << "0,3,6" << 3;
    QTest::newRow("out of range and repeated rows ignored")
        << 5 << QList<int>{} << QList<int>{-1, 2, 2, 4, 5, 99} << "2,4" << 2;
    QTest::newRow("nothing to select") << 5 << QList<int>{} << QList<int>{} << "" << 0;
    QTest::newRow("adds to the selection")
        << 6 << QList<int>{0, 2} << QList<int>{2, 3} << "0,2,3" << 1;
    QTest::newRow("empty list") << 0 << QList<int>{} << QList<int>{0, 1} << "" << 0;
}

void TestNameList::selectRows()
{
    QFETCH(int, count);
    QFETCH(QList<int>, already);
    QFETCH(QList<int>, rows);
    QFETCH(QString, selected);
    QFETCH(int, ranges);
    NameListView view;
    view.names()->setNames(numberedNames(count));
    for (int row : already)
        view.setRowSelected(row, true);
    QList<int> applied;
    connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [&](const QItemSelection& added) { applied << int(added.size()); });

    view.selectRows(std::vector<qint32>(rows.begin(), rows.end()));
    verifyKeptState(view, selected);
    QVERIFY(applied.size() <= 1); // one select() call at most
    if (ranges > 0) {
        QCOMPARE(applied.size(), 1);
        QVERIFY(applied.first() <= ranges);
    }
}

void TestNameList::everySecondOfLargestList()
{
    const int largest = 32767; // list positions are 16-bit
    NameListView view;
    view.resize(300, 400);
    view.show();
    view.names()->setNames(numberedNames(largest));
    std::vector<qint32> rows;
    for (qint32 row = 0; row < largest; row += 2)
        rows.push_back(row);

    QElapsedTimer timer;
    timer.start();
    view.selectRows(rows);
    const qint64 selectMs = timer.restart();
    const std::vector<bool> flags = view.selectionFlags();
    const qint64 flagsMs = timer.restart();
    view.clearSelectionOnly();
    const qint64 clearMs = timer.elapsed();
    qInfo("32767 rows, every 2nd: select %lld ms, flags %lld ms, clear %lld ms", selectMs, flagsMs,
          clearMs);

    QCOMPARE(std::count(flags.begin(), flags.end(), true), 16384);
    for (qint32 row : {0, 1, 2, 32765, 32766})
        QCOMPARE(bool(flags[size_t(row)]), row % 2 == 0);
    QCOMPARE(view.selectedCount(), 0);
    QVERIFY(!view.isRowSelected(32766));
    view.selectRows(rows);
    QCOMPARE(view.selectedCount(), 16384);
    QCOMPARE(int(view.selectionModel()->selectedIndexes().size()), 16384);
}

void TestNameList::userGestures_data()
{
    // Each step: "click 3", "shift 5" (shift-click), "ctrl 2" (ctrl-click), "key Down",
    // "shiftkey Down", "ctrlkey A".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("edits");

    QTest::newRow("click selects one") << QStringList{"click 2"} << "2" << 1;
    QTest::newRow("click moves the selection") << QStringList{"click 2", "click 5"} << "5" << 2;
    QTest::newRow("shift-click extends a range")
        << QStringList{"click 1", "shift 4"} << "1,2,3,4" << 2;
    QTest::newRow("shift-click back shrinks it")
        << QStringList{"click 1", "shift 4", "shift 2"} << "1,2" << 3;
    QTest::newRow("ctrl-click toggles")
        << QStringList{"click 1", "ctrl 3", "ctrl 6", "ctrl 1"} << "3,6" << 4;
    QTest::newRow("click on the selected row again")
        << QStringList{"click 3", "click 3"} << "3" << 1;
    QTest::newRow("arrow key moves the selection")
        << QStringList{"click 0", "key Down"} << "1" << 2;
    QTest::newRow("shift+arrow extends")
        << QStringList{"click 0", "shiftkey Down", "shiftkey Down"} << "0,1,2" << 3;
    QTest::newRow("ctrl+A selects all")
        << QStringList{"click 0", "ctrlkey A"} << "0,1,2,3,4,5,6,7" << 2;
}

void TestNameList::userGestures()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, selected);
    QFETCH(int, edits);
    NameListView view;
    view.resize(200, 400);
    view.names()->setNames(numberedNames(8));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy spy(&view, &NameListView::selectionEdited);

    for (const QString& step : steps) {
        const QString verb = step.section(' ', 0, 0), arg = step.section(' ', 1);
        const QKeySequence key(arg);
        if (verb == "click")
            clickRow(view, arg.toInt());
        else if (verb == "shift")
            clickRow(view, arg.toInt(), Qt::ShiftModifier);
        else if (verb == "ctrl")
            clickRow(view, arg.toInt(), Qt::ControlModifier);
        else if (verb == "key")
            QTest::keyClick(&view, Qt::Key(key[0].key()));
        else if (verb == "shiftkey")
            QTest::keyClick(&view, Qt::Key(key[0].key()), Qt::ShiftModifier);
        else if (verb == "ctrlkey")
            QTest::keyClick(&view, Qt::Key(key[0].key()), Qt::ControlModifier);
    }
    verifyKeptState(view, selected);
    QCOMPARE(spy.count(), edits);
}

void TestNameList::codeChangesRaiseNothing()
{
    NameListView view;
    view.names()->setNames(numberedNames(10));
    view.show();
    QSignalSpy spy(&view, &NameListView::selectionEdited);

    view.selectRows({1, 3, 5});
    view.setRowSelected(7, true);
    view.setRowSelected(3, false);
    view.setCurrentRow(4);
    verifyKeptState(view, "1,5,7");
    QCOMPARE(view.currentRow(), 4); // the current item is not selected by moving it
    view.clearSelectionOnly();
    verifyKeptState(view, "");
    QCOMPARE(view.currentRow(), 4);
    view.setCurrentRow(-1);
    QCOMPARE(view.currentRow(), -1);
    view.names()->append({"late.jpg"});
    QCOMPARE(spy.count(), 0);
}

void TestNameList::resetClearsCount()
{
    NameListView view;
    view.names()->setNames(numberedNames(6));
    view.selectRows({0, 2, 4});
    view.names()->append({"x", "y"}); // appending keeps the selection where it was
    view.setRowSelected(7, true);
    verifyKeptState(view, "0,2,4,7");

    view.names()->setNames(numberedNames(3));
    verifyKeptState(view, "");
    QCOMPARE(view.selectedCount(), 0);
    view.selectRows({1});
    view.names()->clear();
    verifyKeptState(view, "");
    QCOMPARE(view.currentRow(), -1);
}

QTEST_MAIN(TestNameList)
#include "tst_namelist.moc"
