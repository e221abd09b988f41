#include "MainFixture.h"
#include "window/NameListView.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace pellory;
using pellory::testing::numberedNames;

namespace {

template <typename Test> QString rowsWhere(int count, Test test)
{
    QStringList rows;
    for (int row = 0; row < count; ++row) {
        if (test(row))
            rows << QString::number(row);
    }
    return rows.join(',');
}

// Checks the view's kept flags and count against the selection model's own answer.
void verifyKeptState(const NameListView& view, const QString& expected)
{
    const QItemSelectionModel* model = view.selectionModel();
    const std::vector<bool> flags = view.selectionFlags();
    QCOMPARE(int(flags.size()), view.count());
    QCOMPARE(rowsWhere(view.count(), [&](int r) { return model->isRowSelected(r); }), expected);
    QCOMPARE(rowsWhere(view.count(), [&](int r) { return bool(flags[size_t(r)]); }), expected);
    QCOMPARE(rowsWhere(view.count(), [&](int r) { return view.isRowSelected(r); }), expected);
    QCOMPARE(view.selectedCount(), int(model->selectedIndexes().size()));
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
    void everySecondOfLargestList();
    void userGestures_data();
    void userGestures();
    void codeChanges_data();
    void codeChanges();
};

void TestNameList::modelChangesInRanges_data()
{
    QTest::addColumn<QStringList>("steps"); // "append a b", "set x", "clear"
    QTest::addColumn<QString>("emitted");
    QTest::addColumn<QString>("names");
    // clang-format off
    QTest::newRow("appends, one insertion each, none if empty") << QStringList{"append a b c", "append", "append d e"} << "insert 0-2|insert 3-4" << "a|b|c|d|e";
    QTest::newRow("set replaces in one reset") << QStringList{"append a b", "set x y z"} << "insert 0-1|reset" << "x|y|z";
    QTest::newRow("clear is one reset") << QStringList{"set a b", "clear"} << "reset|reset" << "";
    // clang-format on
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
    if (model.rowCount() > 0)
        QCOMPARE(model.index(model.rowCount() - 1).data().toString(), names.section('|', -1));
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
    view.clearSelectionOnly();
    qInfo("32767 rows, every 2nd: select %lld ms, deselect %lld ms", selectMs, timer.elapsed());
    QCOMPARE(view.selectedCount(), 0);
    view.selectRows(rows);
    QCOMPARE(view.selectedCount(), 16384);
    QCOMPARE(int(view.selectionModel()->selectedIndexes().size()), 16384);
    QVERIFY(view.isRowSelected(32766) && !view.isRowSelected(32765));
}

void TestNameList::userGestures_data()
{
    // Steps: "click 3" or "key Down", either after "shift+" or "ctrl+".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("edits");
    // clang-format off
    QTest::newRow("click moves the selection") << QStringList{"click 2", "click 5"} << "5" << 2;
    QTest::newRow("shift-click extends, back shrinks") << QStringList{"click 1", "shift+click 4", "shift+click 2"} << "1,2" << 3;
    QTest::newRow("ctrl-click toggles") << QStringList{"click 1", "ctrl+click 3", "ctrl+click 6", "ctrl+click 1"} << "3,6" << 4;
    QTest::newRow("click on the selected row again") << QStringList{"click 3", "click 3"} << "3" << 1;
    QTest::newRow("arrow, then shift+arrow extends") << QStringList{"click 0", "key Down", "shift+key Down"} << "1,2" << 3;
    QTest::newRow("ctrl+A selects all") << QStringList{"click 0", "ctrl+key A"} << "0,1,2,3,4,5,6,7" << 2;
    // clang-format on
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
        const Qt::KeyboardModifiers mods = verb.startsWith("shift+")  ? Qt::ShiftModifier
                                           : verb.startsWith("ctrl+") ? Qt::ControlModifier
                                                                      : Qt::NoModifier;
        if (verb.endsWith("click"))
            clickRow(view, arg.toInt(), mods);
        else
            QTest::keyClick(&view, Qt::Key(QKeySequence(arg)[0].key()), mods);
    }
    verifyKeptState(view, selected);
    QCOMPARE(spy.count(), edits);
}

void TestNameList::codeChanges_data()
{
    // Steps on six names: "select 1 3" (selectRows), "on 7" and "off 3" (setRowSelected),
    // "current 4", "deselect" (clearSelectionOnly), "append 2" or "set 3" names, "empty".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("ranges"); // in the selection model when only selectRows ran; else -1
    // clang-format off
    QTest::newRow("consecutive rows merged") << QStringList{"select 1 2 3 4 5"} << "1,2,3,4,5" << -1 << 1;
    QTest::newRow("out of range and repeated rows ignored") << QStringList{"select -1 0 2 2 3 6 99"} << "0,2,3" << -1 << 2;
    QTest::newRow("adds to the selection") << QStringList{"on 0", "select 0 1 4"} << "0,1,4" << -1 << -1;
    QTest::newRow("select, toggle, move the current item") << QStringList{"select 1 3 5", "on 2", "off 3", "current 4"} << "1,2,5" << 4 << -1;
    QTest::newRow("deselecting keeps the current item") << QStringList{"select 1 2", "current 2", "deselect"} << "" << 2 << 0;
    QTest::newRow("appending keeps the selection") << QStringList{"select 0 2 4", "append 2", "on 7"} << "0,2,4,7" << -1 << -1;
    QTest::newRow("new names clear the count") << QStringList{"select 0 2", "set 3"} << "" << -1 << 0;
    QTest::newRow("emptying clears the count") << QStringList{"on 1", "empty"} << "" << -1 << 0;
    // clang-format on
}

void TestNameList::codeChanges()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, selected);
    QFETCH(int, current);
    QFETCH(int, ranges);
    NameListView view;
    view.names()->setNames(numberedNames(6));
    view.show();
    QSignalSpy edits(&view, &NameListView::selectionEdited);

    for (const QString& step : steps) {
        QStringList args = step.split(' ');
        const QString verb = args.takeFirst();
        std::vector<qint32> rows;
        for (const QString& arg : args)
            rows.push_back(arg.toInt());
        if (verb == "select") {
            QSignalSpy applied(view.selectionModel(), &QItemSelectionModel::selectionChanged);
            view.selectRows(rows);
            QVERIFY(applied.count() <= 1); // one select() call, however many rows
        } else if (verb == "on" || verb == "off")
            view.setRowSelected(rows[0], verb == "on");
        else if (verb == "current")
            view.setCurrentRow(rows[0]);
        else if (verb == "deselect")
            view.clearSelectionOnly();
        else if (verb == "append")
            view.names()->append(numberedNames(rows[0]));
        else if (verb == "set")
            view.names()->setNames(numberedNames(rows[0]));
        else if (verb == "empty")
            view.names()->clear();
    }
    verifyKeptState(view, selected);
    QCOMPARE(view.currentRow(), current);
    if (ranges >= 0)
        QCOMPARE(int(view.selectionModel()->selection().size()), ranges);
    QCOMPARE(edits.count(), 0);
}

QTEST_MAIN(TestNameList)
#include "tst_namelist.moc"
