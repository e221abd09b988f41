// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The catalogue: one record for every listed file of the current folder, in list order.
// Built by a scan of the folder, reordered by the sort orders, never edited in place.
// Knows nothing of widgets; the window copies FileName of each record into its list.

#include "camera/CaptureTime.h"
#include "naming/Extension.h"
#include "platform/DirectoryScan.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

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
    quint64 Device = 0; // with Inode, Size and WriteTime: the file whose capture time is read
    qint64 Size = 0;
    CaptureTime Taken;      // the capture time, once read (source None: the file has none)
    bool TakenRead = false; // false: not read yet, Taken means nothing
};

// The date the file's name takes when the names carry one: the capture time's wall clock
// once it is read and the file has one, else the modification time in the computer's time
// zone.
QDateTime nameDate(const FileRecord& record);

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

} // namespace pellory
