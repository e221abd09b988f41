// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The undo history's files on disk. A run's records are copied into a shared mapping of its
// own file: the bytes are in the kernel's page cache as soon as they are copied, so a killed
// process leaves every record it finished, and a record costs a copy instead of a system
// call, which takes as long as half a rename. The mapping runs ahead of the records in space
// reserved on the disk, so a full disk fails an append, not a later copy; the file is cut
// back to its records when it is closed, and a reader of a file still open sees zero bytes
// after the last record. Flushed to the disk as asked, since a flush per record is what a
// power cut needs and costs a disk flush per file.
// A file being written is locked (flock) for as long as it is open, so another process can
// tell a run under way in another window from one whose writer died: the kernel drops the
// lock with the process. Only regular files are ever read, without blocking, so a FIFO or a
// device under a history name cannot hang the program. Knows nothing of what records say.

#include <QByteArray>
#include <QString>

#include <initializer_list>

namespace pellory {

enum class JournalSync
{
    None,        // survives the death of the process, not a power cut
    EverySecond, // fdatasync when a second has passed since the last: a power cut loses
                 // about the last second of records
    EachRecord   // fdatasync after every record
};

class JournalFile
{
public:
    JournalFile() = default;
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    // Creates a new file (mode 0600) that must not exist yet, locks it and keeps it open for
    // appending. False, with error(), when it exists or cannot be made; nothing is left then.
    // `expected`: the bytes the records are thought to take, which the first reservation
    // holds (0: unknown, a small reservation that grows).
    bool create(const QString& path, JournalSync sync, qsizetype expected = 0);
    bool append(const QByteArray& bytes);
    // The last record: it may take the little room every reservation keeps back, so that a
    // file whose records filled the disk can still be closed properly.
    bool appendLast(const QByteArray& bytes);
    // The parts one after the other, copied straight into the file: a record per rename is
    // not first assembled in a buffer of its own.
    bool append(std::initializer_list<QByteArrayView> parts);
    // Flushes the records to the disk now (fdatasync), and the folder that holds the file
    // (fsync), so that a power cut keeps the file and every record written so far.
    bool syncNow();
    void close();
    // Closes the file and removes it: a run that renamed nothing leaves no trace.
    void discard();
    bool isOpen() const { return m_fd >= 0; }
    const QString& error() const { return m_error; } // the system's text of the last failure

private:
    bool fail();
    bool syncDue();
    bool appendParts(std::initializer_list<QByteArrayView> parts, qsizetype keptBack);
    bool reserve(qsizetype size); // makes the mapping hold at least `size` bytes
    void moveWindow();            // to the megabyte the next record is copied into
    void unmap();

    int m_fd = -1;
    QByteArray m_path;
    char* m_map = nullptr;
    qsizetype m_mapped = 0;   // bytes mapped and reserved on the disk
    qsizetype m_used = 0;     // bytes of records
    qsizetype m_released = 0; // the pages before it are let go of
    qsizetype m_first = 0;    // the first reservation
    JournalSync m_sync = JournalSync::None;
    qint64 m_lastSyncMs = 0;
    QString m_error;
};

// A journal file as read back: its bytes up to the last record (the zeros of a writer's
// reservation cut off), and whether a live process still holds it.
struct JournalFileText
{
    bool ok = false;     // a regular file that could be read
    bool locked = false; // a process has it open for writing
    QByteArray text;     // the records, or their first `headLimit` bytes
    QByteArray tail;     // the last bytes of the records, at most about a line's worth
    bool whole = false;  // text holds every record
};
// `headLimit` < 0 reads every record; otherwise text stops after that many bytes and tail
// still shows how the records end, so that a long run's summary reads two small pieces.
JournalFileText readJournalFile(const QString& path, qsizetype headLimit = -1);

// Appends to a file no process is writing: its reservation's zeros are cut off first. False
// when it is locked, not a regular file, or cannot be written.
bool appendToJournalFile(const QString& path, const QByteArray& bytes);

// The file names of a folder that end in `suffix`, regular files or not; empty when the
// folder cannot be read.
QStringList journalFileNames(const QString& folder, const char* suffix);
bool removeJournal(const QString& path);

// Makes the history's folder (mode 0700, its parents as usual) unless it is there. Empty
// when it is a folder of the user's own; otherwise what was found there and what to do:
// a link, a file, another user's folder or one that cannot be made is never written into.
QString prepareJournalFolder(const QString& folder);

// Holds an exclusive lock on a folder's lock file while it lives, so that two processes
// deciding about the same history take turns. Waits for the other process.
class HistoryLock
{
public:
    explicit HistoryLock(const QString& folder);
    ~HistoryLock();
    HistoryLock(const HistoryLock&) = delete;
    HistoryLock& operator=(const HistoryLock&) = delete;

private:
    int m_fd;
};

} // namespace pellory
