// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/Catalogue.h"

#include "platform/DirectoryScan.h"
#include "platform/FolderFd.h"

namespace pellory {

namespace {

// WriteTime counts 100-nanosecond ticks from 1 January 1601; the epoch is 1970.
constexpr qint64 kTicksPerMs = 10000;
constexpr qint64 kMsFrom1601To1970 = 11644473600000LL;

} // namespace

QDateTime nameDate(const FileRecord& record)
{
    if (record.TakenRead && record.Taken.isValid())
        return record.Taken.wallClock();
    return QDateTime::fromMSecsSinceEpoch(qint64(record.WriteTime / kTicksPerMs) -
                                          kMsFrom1601To1970);
}

QStringList distinctFileSpecs(const QString& specsText)
{
    QStringList specs;
    qsizetype start = 0;
    // The body runs at least once, so an empty text still yields the empty specification,
    // and a trailing ";" adds nothing because the loop ends when start passes the text.
    do {
        qsizetype separator = specsText.indexOf(QLatin1Char(';'), start);
        if (separator < 0)
            separator = specsText.size();
        const QString spec = specsText.mid(start, separator - start);
        if (!specs.contains(spec, Qt::CaseSensitive))
            specs.append(spec);
        start = separator + 1;
    } while (start < specsText.size());
    return specs;
}

namespace {

// Files of a folder mostly share one extension: its key is made once and shared while it
// repeats.
class RecordMaker
{
public:
    explicit RecordMaker(ExtensionMode mode) : m_mode(mode) {}

    void make(DirEntry&& entry, FileRecord& record)
    {
        record.NameKey = entry.name.toUpper();
        const QStringView ext = fileExtView(entry.name, m_mode);
        if (ext != m_lastExt) {
            m_lastExt = ext.toString();
            m_lastExtKey = m_lastExt.toUpper();
        }
        record.ExtKey = m_lastExtKey;
        record.WriteTime = entry.writeTime;
        record.Inode = entry.inode;
        record.Device = entry.device;
        record.Size = entry.size;
        record.RawName = std::move(entry.rawName);
        record.FileName = std::move(entry.name);
    }

private:
    ExtensionMode m_mode;
    QString m_lastExt;
    QString m_lastExtKey;
};

std::shared_ptr<const FolderListing> listingOf(const QByteArray& folder,
                                               const std::shared_ptr<const FolderListing>& listing)
{
    return listing && listing->folder() == folder ? listing : listFolder(folder);
}

} // namespace

void ScanFolder(Catalogue& catalogue, const FolderListing& listing, const QString& spec,
                ExtensionMode mode)
{
    const std::vector<quint32> positions = matchingEntries(listing, spec);
    const FolderFd folder(AT_FDCWD, listing.folder(), O_PATH | O_DIRECTORY);
    if (positions.empty() || folder.fd() < 0)
        return;
    std::vector<FileRecord>& records = catalogue.FileRecords;
    records.reserve(records.size() + positions.size());
    RecordMaker maker(mode);
    for (const quint32 position : positions) {
        const ListedStat facts = describeListed(folder.fd(), listing, position);
        if (facts.isFile)
            maker.make(listedEntry(listing, position, facts), records.emplace_back());
    }
}

void rebuildCatalogue(Catalogue& catalogue, const QByteArray& folder, const QString& specsText,
                      ExtensionMode mode, std::shared_ptr<const FolderListing> listing)
{
    catalogue.clear();
    listing = listingOf(folder, listing);
    if (!listing)
        return;
    for (const QString& spec : distinctFileSpecs(specsText))
        ScanFolder(catalogue, *listing, spec, mode);
}

} // namespace pellory
