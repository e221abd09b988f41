// The lists' own bookkeeping: the selected count and flags kept from the selection's changes
// must agree with the selection model after user gestures and calls from code, and only a
// user gesture that changed the selection raises the Click event.

#include "MainFixture.h"
#include "window/NameListView.h"

#include <QSignalSpy>

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

} // namespace

class TestNameList : public QObject
{
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
};

void TestNameList::steps_data()
{
    // On eight names, as a user: "click 3", "key Down", either after "shift+" or "ctrl+".
    // From code: "select 1 3" (selectRows),
    // "current 4", "deselect" (clearSelectionOnly), "append 2" or "set 3" names.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("edits");
    // clang-format off
    QTest::newRow("click moves the selection") << QStringList{"click 2", "click 5"} << "5" << 5 << 2;
    QTest::newRow("shift-click extends, back shrinks") << QStringList{"click 1", "shift+click 4", "shift+click 2"} << "1,2" << 2 << 3;
    QTest::newRow("ctrl-click toggles") << QStringList{"click 1", "ctrl+click 3", "ctrl+click 6", "ctrl+click 1"} << "3,6" << 1 << 4;
    QTest::newRow("click on the selected row again") << QStringList{"click 3", "click 3"} << "3" << 3 << 1;
    QTest::newRow("arrow, then shift+arrow extends") << QStringList{"click 0", "key Down", "shift+key Down"} << "1,2" << 2 << 3;
    QTest::newRow("out of range and repeated rows ignored") << QStringList{"select -1 0 2 2 3 8 99"} << "0,2,3" << -1 << 0;
    QTest::newRow("adds to the selection") << QStringList{"select 0", "select 0 1 4"} << "0,1,4" << -1 << 0;
    QTest::newRow("select, toggle, move the current item") << QStringList{"select 1 5", "select 2", "current 4"} << "1,2,5" << 4 << 0;
    QTest::newRow("deselecting keeps the current item") << QStringList{"select 1 2", "current 2", "deselect"} << "" << 2 << 0;
    QTest::newRow("appending keeps the selection") << QStringList{"select 0 2 4", "append 2", "select 9"} << "0,2,4,9" << -1 << 0;
    QTest::newRow("new names clear the count") << QStringList{"select 0 2", "set 3"} << "" << -1 << 0;
    // clang-format on
}

void TestNameList::steps()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, selected);
    QFETCH(int, current);
    QFETCH(int, edits);
    NameListView view;
    view.resize(200, 400);
    view.names()->setNames(numberedNames(8));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentRow(-1); // taking the focus made the first row current
    QSignalSpy spy(&view, &NameListView::selectionEdited);

    for (const QString& step : steps) {
        QStringList args = step.split(' ');
        const QString verb = args.takeFirst();
        const Qt::KeyboardModifiers mods = verb.startsWith("shift+")  ? Qt::ShiftModifier
                                           : verb.startsWith("ctrl+") ? Qt::ControlModifier
                                                                      : Qt::NoModifier;
        std::vector<qint32> rows;
        for (const QString& arg : args)
            rows.push_back(arg.toInt());
        if (verb.endsWith("click")) {
            const QRect rect = view.visualRect(view.names()->index(rows[0]));
            QTest::mouseClick(view.viewport(), Qt::LeftButton, mods, rect.center());
        } else if (verb.endsWith("key")) {
            QTest::keyClick(&view, Qt::Key(QKeySequence(args[0])[0].key()), mods);
        } else if (verb == "select") {
            view.selectRows(rows);
        } else if (verb == "current") {
            view.setCurrentRow(rows[0]);
        } else if (verb == "deselect") {
            view.clearSelectionOnly();
        } else if (verb == "append") {
            view.names()->append(numberedNames(rows[0]));
        } else {
            view.names()->setNames(numberedNames(rows[0]));
        }
    }
    // The kept flags, the view's answer and the count against the selection model's own.
    const QItemSelectionModel* model = view.selectionModel();
    const std::vector<bool> flags = view.selectionFlags();
    QCOMPARE(int(flags.size()), view.count());
    QCOMPARE(rowsWhere(view.count(), [&](int r) { return model->isRowSelected(r); }), selected);
    QCOMPARE(rowsWhere(view.count(), [&](int r) { return bool(flags[size_t(r)]); }), selected);
    QCOMPARE(rowsWhere(view.count(), [&](int r) { return view.isRowSelected(r); }), selected);
    QCOMPARE(view.selectedCount(), int(model->selectedIndexes().size()));
    QCOMPARE(view.currentRow(), current);
    QCOMPARE(spy.count(), edits);
}

QTEST_MAIN(TestNameList)
#include "tst_namelist.moc"
