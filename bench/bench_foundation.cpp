// Measures the catalogue and the duplicate check at the design limit against plain
// baselines, and prints one PASS/FAIL row per operation. Arguments pick groups of rows
// ("sorts", "duplicates", "scan"); none runs them all.

#include "BenchTable.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList groups = app.arguments().mid(1);
    auto wanted = [&](const char* group) {
        return groups.isEmpty() || groups.contains(QLatin1String(group));
    };
    pellory::bench::BenchTable table;
    if (wanted("sorts"))
        pellory::bench::benchSorts(table);
    if (wanted("duplicates"))
        pellory::bench::benchDuplicateCheck(table);
    if (wanted("scan"))
        pellory::bench::benchScan(table);
    table.print();
    const bool passed = table.allPassed();
    std::printf("\n%s\n", passed ? "all rows within target" : "some rows over target");
    return passed ? 0 : 1;
}
