// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/Catalogue.h"

#include "platform/DirectoryScan.h"
#include "platform/FolderFd.h"

#include <QFile>

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

void recordMatches(const FolderListing& listing, const quint32* first, const quint32* last,
                   const ListedFacts* facts, RecordMaker& maker, std::vector<FileRecord>& records)
{
    for (const quint32* at = first; at != last; ++at, ++facts) {
        if (facts->isFile)
            maker.make(listedEntry(listing, *at, *facts), records.emplace_back());
    }
}

// Below this many matches a second thread costs more than it saves.
constexpr std::size_t kSplitAt = 4096;

} // namespace

void ScanFolder(Catalogue& catalogue, const FolderListing& listing, const QString& spec,
                ExtensionMode mode)
{
    const std::vector<quint32> matches = matchingEntries(listing, spec);
    if (matches.empty())
        return;
    const FolderFd folder(AT_FDCWD, listing.folder(), O_PATH | O_DIRECTORY);
    if (folder.fd() < 0)
        return;
    std::vector<FileRecord>& records = catalogue.FileRecords;
    records.reserve(records.size() + matches.size());
    std::vector<ListedFacts> facts(matches.size());
    const quint32* begin = matches.data();
    const quint32* end = begin + matches.size();
    // The stats are most of a rebuild, and each waits on the file system alone: in a big
    // folder the second half is stat'ed on a thread of its own while this one stats the
    // first half and makes its records. That thread allocates nothing, so the records all
    // come from this thread's memory.
    const quint32* middle = end;
    std::thread worker;
    if (matches.size() >= kSplitAt && std::thread::hardware_concurrency() > 1) {
        middle = begin + matches.size() / 2;
        try {
            worker = std::thread(statMatches, folder.fd(), std::cref(listing), middle, end,
                                 facts.data() + (middle - begin));
        } catch (const std::system_error&) {
            middle = end; // no thread to be had: all of it here
        }
    }
    statMatches(folder.fd(), listing, begin, middle, facts.data());
    RecordMaker maker(mode);
    recordMatches(listing, begin, middle, facts.data(), maker, records);
    if (worker.joinable())
        worker.join();
    else
        statMatches(folder.fd(), listing, middle, end, facts.data() + (middle - begin));
    recordMatches(listing, middle, end, facts.data() + (middle - begin), maker, records);
}

void rebuildCatalogue(Catalogue& catalogue, const QByteArray& folder, const QString& specsText,
                      ExtensionMode mode, std::shared_ptr<const FolderListing> listing)
{
    catalogue.clear();
    if (!listing || listing->folder() != folder)
        listing = listFolder(folder);
    if (!listing)
        return;
    for (const QString& spec : distinctFileSpecs(specsText))
        ScanFolder(catalogue, *listing, spec, mode);
}

void rebuildCatalogue(Catalogue& catalogue, const QString& folder, const QString& specsText,
                      ExtensionMode mode)
{
    rebuildCatalogue(catalogue, QFile::encodeName(folder), specsText, mode);
}

} // namespace pellory
