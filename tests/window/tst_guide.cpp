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

// "a=1;b=x" as rename settings; later pairs win, so a row's settings follow its table's.
RenameSettings toSettings(const QString& pairs)
{
    QMap<QString, QString> map;
    for (const QString& pair : pairs.split(';', Qt::SkipEmptyParts))
        map.insert(pair.section('=', 0, 0), pair.section('=', 1));
    RenameSettings s;
    s.RenameChk = map.value("rename") == "1";
    s.NumCharKeep = map.value("keep", "0");
    s.FilePrefix = map.value("prefix");
    s.FileLeading = map.value("leading");
    s.chkAlpha = map.value("alpha") == "1";
    s.chkTrim = map.value("trim") == "1";
    s.StartingNumber = s.AlphaNumberText = map.value("start");
    s.NumberIncValue = s.AlphaIncrementText = map.value("inc");
    s.ExtUsed = ExtensionMode(map.value("ext", "1").toInt());
    s.NewExtIndex = map.contains("typed") ? -1 : map.value("newext") == "remove" ? 1 : 0;
    s.NewExtText = map.value("typed");
    s.CasesList = map.value("case", "0").toInt();
    return s;
}

// Calls `addRows` for each table of `kind`; fails the data function when the guide has none.
template <typename AddRows> void tablesOf(const QString& kind, AddRows addRows)
{
    static const Guide guide = readGuide();
    QVERIFY2(guide.error.isEmpty(), qPrintable("the guide cannot be read: " + guide.error));
    int tables = 0;
    for (const GuideTable& table : guide.tables)
        if (table.kind == kind)
            addRows(table, ++tables);
    QVERIFY2(tables > 0, qPrintable("the guide has no table of kind " + kind));
}

} // namespace

class TstGuide : public QObject
{
    Q_OBJECT
private slots:
    void namingExamples_data();
    void namingExamples();
    void rowExamples_data();
    void rowExamples();
};

// A table whose rows carry no settings of their own is one walk with one counter; a row
// with its own settings is a walk of its own.
void TstGuide::namingExamples_data()
{
    QTest::addColumn<QStringList>("oldNames");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("selected"); // "1" for each selected file, "0" otherwise
    QTest::addColumn<QStringList>("expected");
    tablesOf("example", [](const GuideTable& table, int number) {
        QStringList names, expected;
        QString selected;
        for (const GuideRow& row : table.rows) {
            if (!row.settings.isEmpty()) {
                QTest::addRow("table %d %s", number, qPrintable(row.cells.first()))
                    << row.cells.mid(0, 1) << table.settings + ';' + row.settings << "0"
                    << row.cells.mid(row.cells.size() - 1);
                continue;
            }
            names.append(row.cells.first());
            selected += row.cells.contains("selected") ? '1' : '0';
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
    QFETCH(QString, selected);
    QFETCH(QStringList, expected);
    std::vector<bool> flags;
    for (const QChar flag : selected)
        flags.push_back(flag == '1');
    QCOMPARE(composeAll(oldNames, flags, toSettings(settings)).join('|'), expected.join('|'));
}

// Every-n rows: every, of how many, from which item, the positions selected; wildcard rows:
// old name, mask, new name.
void TstGuide::rowExamples_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("cells");
    for (const char* kind : {"every-n", "wildcard"})
        tablesOf(kind, [kind](const GuideTable& table, int) {
            for (const GuideRow& row : table.rows)
                QTest::addRow("%s %s", kind, qPrintable(row.cells.join(' '))) << kind << row.cells;
        });
}

void TstGuide::rowExamples()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, cells);
    if (kind == "wildcard") {
        QCOMPARE(wildcardNewName(cells[0], cells[1]), cells[2]);
        return;
    }
    const qint16 n = selStepsValue(cells[0]);
    const qint32 current = cells[2] == "none" ? -1 : cells[2].toInt() - 1;
    QStringList shown; // positions from 1, as the guide gives them
    for (qint32 item :
         n < 1 ? std::vector<qint32>{} : everyNthItem(cells[1].toInt(), current, n).items)
        shown.append(QString::number(item + 1));
    QCOMPARE(shown.isEmpty() ? QString("none") : shown.join(", "), cells[3]);
}

QTEST_MAIN(TstGuide)
#include "tst_guide.moc"
