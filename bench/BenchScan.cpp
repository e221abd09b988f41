// The rebuild of a catalogue from a folder at the design limit against a bare readdir +
// fstatat loop over the same folder. The folder lives on tmpfs where there is one, so
// that the disk does not decide the result.

#include "BenchTable.h"

#include "catalogue/Catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellory::bench {

namespace {

QString scratchParent()
{
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        return QStringLiteral("/dev/shm");
    return QDir::tempPath();
}

bool makeFiles(const QString& folder)
{
    for (int k = 0; k < kDesignLimit; ++k) {
        QFile file(folder + QStringLiteral("/DSC%1.JPG").arg(k, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

// What any listing has to do at least: read every entry and ask for its type and time.
qint64 bareScan(const QByteArray& folder)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return -1;
    qint64 files = 0;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            ++files;
    }
    ::closedir(dir);
    return files;
}

} // namespace

void benchScan(BenchTable& table)
{
    QTemporaryDir scratch(scratchParent() + QStringLiteral("/pellory-bench-XXXXXX"));
    if (!scratch.isValid() || !makeFiles(scratch.path())) {
        std::printf("  scan: could not make the scratch folder; row skipped\n");
        return;
    }
    Catalogue catalogue;
    const double ms = medianMs(5, {}, [&] {
        rebuildCatalogue(catalogue, scratch.path(), QStringLiteral("*.*"),
                         ExtensionMode::UseLastOccurrence);
    });
    qint64 files = 0;
    const QByteArray path = QFile::encodeName(scratch.path());
    const double bareMs = medianMs(5, {}, [&] { files = bareScan(path); });
    if (catalogue.FileCount() != kDesignLimit || files != kDesignLimit)
        std::printf("  scan: listed %d records, bare loop %lld files\n", catalogue.FileCount(),
                    static_cast<long long>(files));
    table.add(QStringLiteral("scan \"*.*\""), ms, bareMs, 3);
}

} // namespace pellory::bench
