// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/Catalogue.h"

#include "platform/DirectoryScan.h"
#include "platform/FolderFd.h"

#include <QFile>

#include <functional>
#include <system_error>
#include <thread>

namespace pellory {

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
        record.RawName = std::move(entry.rawName);
        record.FileName = std::move(entry.name);
    }

private:
    ExtensionMode m_mode;
    QString m_lastExt;
    QString m_lastExtKey;
};

void statMatches(int folderFd, const FolderListing& listing, const quint32* first,
                 const quint32* last, ListedFacts* facts)
{
    for (const quint32* at = first; at != last; ++at)
        *facts++ = describeListed(folderFd, listing, *at);
}

// Below this many matches a second thread costs more than it saves.
constexpr std::size_t kSplitAt = 4096;

// Stats the matches of `spec`. The stats are most of a rebuild, and each waits on the file
// system alone: in a big folder the second half is stat'ed on a thread of its own while
// this one stats the first half and then hands it to `firstHalf` (the number of matches
// stat'ed) while the other half is still under way. That thread allocates nothing.
void statSpec(int folderFd, const FolderListing& listing, SpecFacts& spec,
              const std::function<void(std::size_t)>& firstHalf)
{
    const std::size_t count = spec.positions.size();
    spec.facts.resize(count);
    const quint32* positions = spec.positions.data();
    ListedFacts* facts = spec.facts.data();
    std::size_t middle = count;
    std::thread worker;
    if (count >= kSplitAt && std::thread::hardware_concurrency() > 1) {
        middle = count / 2;
        try {
            worker = std::thread(statMatches, folderFd, std::cref(listing), positions + middle,
                                 positions + count, facts + middle);
        } catch (const std::system_error&) {
            middle = count; // no thread to be had: all of it here
        }
    }
    statMatches(folderFd, listing, positions, positions + middle, facts);
    firstHalf(middle);
    if (worker.joinable())
        worker.join();
}

void recordMatches(const FolderListing& listing, const SpecFacts& spec, std::size_t from,
                   std::size_t to, RecordMaker& maker, std::vector<FileRecord>& records)
{
    for (std::size_t k = from; k < to; ++k) {
        if (spec.facts[k].isFile)
            maker.make(listedEntry(listing, spec.positions[k], spec.facts[k]),
                       records.emplace_back());
    }
}

std::shared_ptr<const FolderListing> listingOf(const QByteArray& folder,
                                               const std::shared_ptr<const FolderListing>& listing)
{
    return listing && listing->folder() == folder ? listing : listFolder(folder);
}

} // namespace

void ScanFolder(Catalogue& catalogue, const FolderListing& listing, const QString& spec,
                ExtensionMode mode)
{
    SpecFacts matches{matchingEntries(listing, spec), {}};
    const FolderFd folder(AT_FDCWD, listing.folder(), O_PATH | O_DIRECTORY);
    if (matches.positions.empty() || folder.fd() < 0)
        return;
    std::vector<FileRecord>& records = catalogue.FileRecords;
    records.reserve(records.size() + matches.positions.size());
    RecordMaker maker(mode);
    // The first half's records are made while the second half is stat'ed.
    std::size_t recorded = 0;
    statSpec(folder.fd(), listing, matches, [&](std::size_t stated) {
        recordMatches(listing, matches, 0, stated, maker, records);
        recorded = stated;
    });
    recordMatches(listing, matches, recorded, matches.positions.size(), maker, records);
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

FolderFacts readFolderFacts(const QByteArray& folder, const QString& specsText,
                            const std::shared_ptr<const FolderListing>& listing)
{
    FolderFacts read{folder, specsText, listingOf(folder, listing), {}};
    const FolderFd opened(AT_FDCWD, folder, O_PATH | O_DIRECTORY);
    if (!read.listing || opened.fd() < 0)
        return read;
    for (const QString& spec : distinctFileSpecs(specsText)) {
        SpecFacts& matches = read.specs.emplace_back();
        matches.positions = matchingEntries(*read.listing, spec);
        statSpec(opened.fd(), *read.listing, matches, [](std::size_t) {});
    }
    return read;
}

void rebuildCatalogue(Catalogue& catalogue, const FolderFacts& read, ExtensionMode mode)
{
    catalogue.clear();
    for (const SpecFacts& spec : read.specs) {
        catalogue.FileRecords.reserve(catalogue.FileRecords.size() + spec.positions.size());
        RecordMaker maker(mode);
        recordMatches(*read.listing, spec, 0, spec.positions.size(), maker, catalogue.FileRecords);
    }
}

void rebuildCatalogue(Catalogue& catalogue, const QString& folder, const QString& specsText,
                      ExtensionMode mode)
{
    rebuildCatalogue(catalogue, QFile::encodeName(folder), specsText, mode);
}

} // namespace pellory
