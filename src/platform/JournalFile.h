#pragma once
// The undo journal's file on disk: records appended with one write() each, so that a killed
// process leaves every record it finished; fdatasync as asked, since a flush per record is
// what a power cut needs and costs a disk flush per file. Knows nothing of what the records
// say.

#include <QByteArray>
#include <QString>

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

    // Creates the file (mode 0600), or empties the one there, and keeps it open for appending.
    bool create(const QString& path, JournalSync sync);
    bool append(const QByteArray& bytes);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const QString& error() const { return m_error; } // the system's text of the last failure

private:
    bool fail();
    bool syncDue();

    int m_fd = -1;
    JournalSync m_sync = JournalSync::None;
    qint64 m_lastSyncMs = 0;
    QString m_error;
};

// Puts `from` in the place of `to` in one step, replacing it: only for the journal's own
// files, never for the user's.
bool replaceJournal(const QString& from, const QString& to);
bool removeJournal(const QString& path);

} // namespace pellory
