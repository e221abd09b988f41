// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/Catalogue.h"

#include "platform/DirectoryScan.h"
#include "platform/FolderFd.h"

#include <chrono>
#include <functional>
#include <iterator>
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

// Below this many matches a second thread costs more than it saves.
constexpr std::size_t kSplitAt = 4096;

// `stated`, when given, counts the matches stat'ed, every few hundred and at the end.
void statMatches(int folderFd, const FolderListing& listing, const quint32* first,
                 const quint32* last, ListedFacts* facts, std::atomic<std::size_t>* stated)
{
    std::size_t done = 0;
    for (const quint32* at = first; at != last; ++at) {
        *facts++ = describeListed(folderFd, listing, *at);
        if (stated && (++done & 255) == 0)
            stated->store(done, std::memory_order_release);
    }
    if (stated)
        stated->store(std::size_t(last - first), std::memory_order_release);
}

// Whether the matches of one specification are stat'ed on two threads, and where the second
// thread's half begins.
std::size_t middleOf(std::size_t count)
{
    return count >= kSplitAt && std::thread::hardware_concurrency() > 1 ? count / 2 : count;
}

// Stats the matches of `spec`, `spec.middle` set. The stats are most of a rebuild, and each
// waits on the file system alone: in a big folder the second half is stat'ed on a thread of
// its own while this one stats the first half and then hands it to `firstHalf` (the number
// of matches stat'ed) while the other half is still under way. That thread allocates
// nothing. `stated`, when given, counts each half's stats (two counts).
void statSpec(int folderFd, const FolderListing& listing, SpecFacts& spec,
              std::atomic<std::size_t>* stated, const std::function<void(std::size_t)>& firstHalf)
{
    const std::size_t count = spec.positions.size(), middle = spec.middle;
    const quint32* positions = spec.positions.data();
    ListedFacts* facts = spec.facts.data();
    std::atomic<std::size_t>* statedLater = stated ? stated + 1 : nullptr;
    std::thread worker;
    if (middle < count) {
        try {
            worker = std::thread(statMatches, folderFd, std::cref(listing), positions + middle,
                                 positions + count, facts + middle, statedLater);
        } catch (const std::system_error&) {
            // No thread to be had: the second half is stat'ed here too.
        }
    }
    statMatches(folderFd, listing, positions, positions + middle, facts, stated);
    firstHalf(middle);
    if (worker.joinable())
        worker.join();
    else
        statMatches(folderFd, listing, positions + middle, positions + count, facts + middle,
                    statedLater);
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
    matches.facts.resize(matches.positions.size());
    matches.middle = middleOf(matches.positions.size());
    std::vector<FileRecord>& records = catalogue.FileRecords;
    records.reserve(records.size() + matches.positions.size());
    RecordMaker maker(mode);
    // The first half's records are made while the second half is stat'ed.
    std::size_t recorded = 0;
    statSpec(folder.fd(), listing, matches, nullptr, [&](std::size_t stated) {
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

FolderFacts matchFolderFacts(const QByteArray& folder, const QString& specsText,
                             const std::shared_ptr<const FolderListing>& listing)
{
    FolderFacts read{folder, specsText, listingOf(folder, listing), {}, {}};
    if (read.listing) {
        for (const QString& spec : distinctFileSpecs(specsText)) {
            SpecFacts& matches = read.specs.emplace_back();
            matches.positions = matchingEntries(*read.listing, spec);
            matches.facts.resize(matches.positions.size());
            matches.middle = middleOf(matches.positions.size());
        }
    }
    read.stated = std::make_unique<std::atomic<std::size_t>[]>(2 * read.specs.size());
    return read;
}

void statFolderFacts(FolderFacts& read)
{
    // In a folder gone meanwhile every stat fails: no match is a file.
    const FolderFd opened(AT_FDCWD, read.folder, O_PATH | O_DIRECTORY);
    for (std::size_t k = 0; k < read.specs.size(); ++k)
        statSpec(opened.fd(), *read.listing, read.specs[k], &read.stated[2 * k],
                 [](std::size_t) {});
}

bool rebuildCatalogue(Catalogue& catalogue, const FolderFacts& read, ExtensionMode mode,
                      int stallMs)
{
    catalogue.clear();
    std::vector<FileRecord>& records = catalogue.FileRecords;
    for (std::size_t k = 0; k < read.specs.size(); ++k) {
        const SpecFacts& spec = read.specs[k];
        const std::size_t count = spec.positions.size(), middle = spec.middle;
        records.reserve(records.size() + count);
        // The second half's records wait in a list of their own and follow the first's, in
        // the order a rebuild makes them.
        std::vector<FileRecord> second;
        second.reserve(count - middle);
        RecordMaker firstMaker(mode), secondMaker(mode);
        std::size_t first = 0, later = 0; // records made of each half
        auto lastNews = std::chrono::steady_clock::now();
        while (first < middle || later < count - middle) {
            const std::size_t stated = read.stated[2 * k].load(std::memory_order_acquire);
            const std::size_t statedLater = read.stated[2 * k + 1].load(std::memory_order_acquire);
            if (stated == first && statedLater == later) {
                if (std::chrono::steady_clock::now() - lastNews >
                    std::chrono::milliseconds(stallMs)) {
                    catalogue.clear();
                    return false;
                }
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                continue;
            }
            lastNews = std::chrono::steady_clock::now();
            recordMatches(*read.listing, spec, first, stated, firstMaker, records);
            recordMatches(*read.listing, spec, middle + later, middle + statedLater, secondMaker,
                          second);
            first = stated;
            later = statedLater;
        }
        records.insert(records.end(), std::make_move_iterator(second.begin()),
                       std::make_move_iterator(second.end()));
    }
    return true;
}

} // namespace pellory
