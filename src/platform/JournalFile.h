#pragma once
// The undo journal's file on disk. Records are copied into a shared mapping of the file:
// the bytes are in the kernel's page cache as soon as they are copied, so a killed process
// leaves every record it finished, and a record costs a copy instead of a system call,
// which took as long as half a rename. The mapping runs ahead of the records in space
// reserved on the disk, so a full disk fails an append, not a later copy; the file is cut
// back to its records when it is closed, and a reader of a file still open sees zero bytes
// after the last record. Flushed to the disk as asked, since a flush per record is what a
// power cut needs and costs a disk flush per file. Knows nothing of what the records say.

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

    // Creates the file (mode 0600), in place of the one there, and keeps it open for
    // appending. The one there is unlinked, not emptied: another window may still be
    // writing to it through its mapping.
    bool create(const QString& path, JournalSync sync);
    bool append(const QByteArray& bytes);
    // The parts one after the other, copied straight into the file: a record per rename is
    // not first assembled in a buffer of its own.
    bool append(std::initializer_list<QByteArrayView> parts);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const QString& error() const { return m_error; } // the system's text of the last failure

private:
    bool fail();
    bool syncDue();
    bool reserve(qsizetype size); // makes the mapping hold at least `size` bytes
    void unmap();

    int m_fd = -1;
    char* m_map = nullptr;
    qsizetype m_mapped = 0; // bytes mapped and reserved on the disk
    qsizetype m_used = 0;   // bytes of records
    JournalSync m_sync = JournalSync::None;
    qint64 m_lastSyncMs = 0;
    QString m_error;
};

// Puts `from` in the place of `to` in one step, replacing it: only for the journal's own
// files, never for the user's.
bool replaceJournal(const QString& from, const QString& to);
bool removeJournal(const QString& path);

} // namespace pellory
