// The worked examples of the user guide, held against the naming engine, the every-n-th
// selection and the wildcard rename: a guide that promises a name the program does not
// give fails here.

#include "GuideReader.h"

#include "catalogue/EveryN.h"
#include "naming/Compose.h"
#include "run/WildcardRename.h"

#include <QTest>

using namespace pellory;
using namespace pellory::testing;

namespace {

RenameSettings toSettings(const QMap<QString, QString>& map)
{
    RenameSettings s;
    s.RenameChk = map.value("rename") == "1";
    s.NumCharKeep = map.value("keep", "0");
    s.FilePrefix = map.value("prefix");
    s.FileLeading = map.value("leading");
    s.chkAlpha = map.value("alpha") == "1";
    s.chkTrim = map.value("trim") == "1";
    s.StartingNumber = map.value("start");
    s.NumberIncValue = map.value("inc");
    if (s.chkAlpha) {
        s.AlphaNumberText = s.StartingNumber;
        s.AlphaIncrementText = s.NumberIncValue;
    }
    s.ExtUsed = ExtensionMode(map.value("ext", "1").toInt());
    s.NewExtIndex = map.contains("typed") ? -1 : map.value("newext") == "remove" ? 1 : 0;
    s.NewExtText = map.value("typed");
    s.CasesList = map.value("case", "0").toInt();
    return s;
}

// Adds one row per table of `kind`; fails the data function when the guide has none.
template <typename AddRows> void tablesOf(const QString& kind, AddRows addRows)
{
    static const Guide guide = readGuide();
    if (!guide.wellFormed)
        QFAIL(qPrintable("the guide cannot be read: " + guide.error));
    int tables = 0;
    for (const GuideTable& table : guide.tables)
        if (table.kind == kind)
            addRows(table, ++tables);
    if (tables == 0)
        QFAIL(qPrintable("the guide has no table of kind " + kind));
}

} // namespace

class TstGuide : public QObject
{
    Q_OBJECT
private slots:
    void namingExamples_data();
    void namingExamples();
    void everyNthExamples_data();
    void everyNthExamples();
    void wildcardExamples_data();
    void wildcardExamples();
};

// A table whose rows carry no settings of their own is one walk with one counter; a row
// with its own settings is a walk of its own.
void TstGuide::namingExamples_data()
{
    QTest::addColumn<QStringList>("oldNames");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("expected");
    tablesOf("example", [](const GuideTable& table, int number) {
        QStringList names, selected, expected;
        for (const GuideRow& row : table.rows) {
            if (!row.settings.isEmpty()) {
                QTest::addRow("table %d %s", number, qPrintable(row.cells.first()))
                    << QStringList{row.cells.first()} << table.settings + ';' + row.settings
                    << QStringList{""} << QStringList{row.cells.last()};
                continue;
            }
            names.append(row.cells.first());
            selected.append(row.cells.mid(1, row.cells.size() - 2).contains("selected") ? "1" : "");
            expected.append(row.cells.last());
        }
        if (!names.isEmpty())
            QTest::addRow("table %d walk from %s", number, qPrintable(names.first()))
                << names << table.settings << selected << expected;
    });
}

void TstGuide::namingExamples()
{
    QFETCH(QStringList, oldNames);
    QFETCH(QString, settings);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, expected);
    std::vector<bool> flags;
    for (const QString& flag : selected)
        flags.push_back(!flag.isEmpty());
    const QStringList names = composeAll(oldNames, flags, toSettings(settingsMap(settings, {})));
    QCOMPARE(names.join('|'), expected.join('|'));
}

void TstGuide::everyNthExamples_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("expected");
    tablesOf("every-n", [](const GuideTable& table, int) {
        for (const GuideRow& row : table.rows)
            QTest::addRow("every %s of %s from %s", qPrintable(row.cells[0]),
                          qPrintable(row.cells[1]), qPrintable(row.cells[2]))
                << row.cells[0] << row.cells[1].toInt() << row.cells[2] << row.cells[3];
    });
}

void TstGuide::everyNthExamples()
{
    QFETCH(QString, steps);
    QFETCH(int, count);
    QFETCH(QString, clicked);
    QFETCH(QString, expected);
    const qint16 n = selStepsValue(steps);
    QStringList shown; // positions from 1, as the guide gives them
    if (n >= 1)
        for (qint32 item :
             everyNthItem(count, clicked == "none" ? -1 : clicked.toInt() - 1, n).items)
            shown.append(QString::number(item + 1));
    QCOMPARE(shown.isEmpty() ? QString("none") : shown.join(", "), expected);
}

void TstGuide::wildcardExamples_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");
    tablesOf("wildcard", [](const GuideTable& table, int) {
        for (const GuideRow& row : table.rows)
            QTest::addRow("%s with %s", qPrintable(row.cells[0]), qPrintable(row.cells[1]))
                << row.cells[0] << row.cells[1] << row.cells[2];
    });
}

void TstGuide::wildcardExamples()
{
    QFETCH(QString, oldName);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(wildcardNewName(oldName, mask), expected);
}

QTEST_MAIN(TstGuide)
#include "tst_guide.moc"
