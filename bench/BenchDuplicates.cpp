// The duplicate check over a full list against composing the same names alone: the
// check may cost a small multiple of the composition, never a pass per pair of files.

#include "BenchTable.h"

#include "naming/Compose.h"
#include "naming/DuplicateCheck.h"

#include <cstdio>

namespace pellory::bench {

void benchDuplicateCheck(BenchTable& table)
{
    QStringList names;
    for (int k = 0; k < kDesignLimit; ++k)
        names << QStringLiteral("DSC%1.JPG").arg(k, 5, 10, QLatin1Char('0'));
    const std::vector<bool> selected(names.size(), false);

    RenameSettings settings;
    settings.RenameChk = true;
    settings.FilePrefix = QStringLiteral("IMG_");
    settings.StartingNumber = QStringLiteral("00001");
    settings.NumberIncValue = QStringLiteral("1");
    settings.CasesList = 1; // all lower case

    bool duplicates = true;
    const double ms =
        medianMs(5, {}, [&] { duplicates = WouldProduceDuplicates(names, selected, settings); });
    if (duplicates)
        std::printf("  unexpected: the duplicate check found duplicates\n");

    QStringList composed;
    const double composeMs = medianMs(
        5, [&] { composed.clear(); },
        [&] {
            NameCounter counter(settings);
            for (const QString& name : names)
                composed << ComposeNewName(name, settings, &counter);
        });
    table.add(QStringLiteral("duplicate check"), ms, composeMs, 3);
}

} // namespace pellory::bench
