// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The catalogue: one record for every listed file of the current folder, in list order.
// Built by a scan of the folder, reordered by the sort orders, never edited in place.
// Knows nothing of widgets; the window copies FileName of each record into its list.

#include "naming/Extension.h"
#include "platform/DirectoryScan.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace pellory {

struct FileRecord
{
    QString NameKey;  // FileName in upper case
    QString FileName; // as the folder reports it, decoded for display
    QString ExtKey;   // FileName's extension under the mode of the scan, upper case
    quint64 WriteTime = 0;
    QByteArray RawName; // the exact bytes of the name on disk
    quint64 Inode = 0;  // the entry's inode when it was listed, which a run records so that
                        // an undo can tell this file from another that took its name since
};

class Catalogue
{
public:
    // Records 1..FileCount() live at FileRecords[0..FileCount()-1].
    std::vector<FileRecord> FileRecords;

    qint32 FileCount() const { return static_cast<qint32>(FileRecords.size()); }
    void clear() { FileRecords.clear(); }
    const FileRecord& record(qint32 position) const { return FileRecords[position - 1]; }
};

// The distinct specifications of the specification text, in the order they stand:
// split at ";", untrimmed, the empty one included, repeats of an identical one dropped.
// An empty text gives one empty specification.
QStringList distinctFileSpecs(const QString& specsText);

// Appends a record for each file of the listed folder that matches `spec`.
void ScanFolder(Catalogue& catalogue, const FolderListing& listing, const QString& spec,
                ExtensionMode mode);

// Empties the catalogue and scans once per distinct specification (no sorting). `listing`,
// when it is of `folder`, is a reading of the folder made a moment ago (the look that
// opened it): the folder is then not read again, only its matching files stat'ed.
void rebuildCatalogue(Catalogue& catalogue, const QByteArray& folder, const QString& specsText,
                      ExtensionMode mode, std::shared_ptr<const FolderListing> listing = {});

// What a rebuild learns from the folder before it makes a record: the listing, and for
// each distinct specification the matching entries and what their stats told. It is
// published once the matches are known, its stats still to come: they are made on two
// threads of their own (statFolderFacts), while the thread that keeps the records makes
// them as the stats come in, so that their memory comes from that thread's.
struct SpecFacts
{
    std::vector<quint32> positions; // in the listing
    std::vector<ListedFacts> facts;
    std::size_t middle = 0; // where the second thread's half of the stats begins
};
struct FolderFacts
{
    QByteArray folder;
    QString specsText;
    std::shared_ptr<const FolderListing> listing; // null: the folder could not be read
    std::vector<SpecFacts> specs;
    // For specification k, the matches stat'ed so far from the start of each half: at 2k
    // from 0, at 2k + 1 from its middle. Written as the stats are made, read by the maker
    // of the records; a count covers the facts before it.
    std::unique_ptr<std::atomic<std::size_t>[]> stated;
};
// The listing and each specification's matches, their stats not made yet.
FolderFacts matchFolderFacts(const QByteArray& folder, const QString& specsText,
                             const std::shared_ptr<const FolderListing>& listing = {});
// Makes the stats of `read` on this thread and a second one, counting them as they go.
void statFolderFacts(FolderFacts& read);
// The records of `read`, as rebuildCatalogue() makes them from the folder, made as its
// stats come in on other threads. False, the catalogue empty, when none has come for
// `stallMs`: a mount that hangs.
bool rebuildCatalogue(Catalogue& catalogue, const FolderFacts& read, ExtensionMode mode,
                      int stallMs);

} // namespace pellory
