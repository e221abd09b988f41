#pragma once
// The write-ahead journal of a rename run and the undo of the last run. Before each rename
// the run appends the folder, the old name's exact bytes and the new name's; a finished run
// marks its journal finished and keeps it as the last run, an interrupted one stays the last
// run as it is. Undo renames back in reverse order through the never-replacing rename, so it
// skips, and never overwrites, a file whose new name is gone or whose old name is taken.
// Touches no widget; the journal is written only while a run renames.

#include "platform/JournalFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace pellory {

class FileRenamer;

// $XDG_STATE_HOME/Pellory, or ~/.local/state/Pellory when the variable is unset or relative.
QString journalFolder();

struct JournalEntry
{
    QString folder;
    QByteArray oldRaw;
    QByteArray newRaw;
    bool operator==(const JournalEntry&) const = default;
};

// The journal holds one record a line: "R folder old new" with every field
// percent-escaped, so that any bytes survive; "X" takes back the record before it (that
// rename failed); "E" ends a run.

struct JournalRun
{
    std::vector<JournalEntry> renames; // in the order done
    bool finished = false;
    QString path; // the journal file read
};

// Reads a journal's text; a last line cut short by a crash is left out, as is everything
// after a line that is not a record.
JournalRun parseJournal(const QByteArray& text);

// Writes the journal of one run. Nothing is written until the run's first rename, so that a
// run that renames nothing leaves the last run's journal as it was.
class RunJournal
{
public:
    explicit RunJournal(QString folder, JournalSync sync = JournalSync::None);

    void begin();
    // Appends the record of a rename about to happen; false (with error()) when it cannot be
    // written, and then the rename must not happen.
    bool record(const QString& folder, const QByteArray& oldRaw, const QByteArray& newRaw);
    void renameFailed(); // the rename just recorded did not happen
    void finish();       // the run ended: its journal becomes the last run
    const QString& error() const { return m_file.error(); }

private:
    QString m_folder;
    JournalSync m_sync;
    JournalFile m_file;
    bool m_inRun = false;
    QString m_lastFolder; // a run renames in one folder: its field is escaped once
    QByteArray m_lastFolderField;
};

// The last run: an interrupted one if there is one, else the last finished one.
std::optional<JournalRun> readLastRun(const QString& folder);
// After an undo: the run is gone, so that it cannot be undone twice.
void forgetLastRun(const QString& folder);

struct UndoOutcome
{
    int restored = 0;
    QStringList skipped; // "new name -> old name: why", in the order tried
};

// The renames that undo a run, in the order to do them: the run's in reverse, without the
// interrupted run's last one when it never happened (new name absent, old name present).
std::vector<JournalEntry> undoSteps(const JournalRun& run);
// Renames each step's new name back to its old one; a step that fails is skipped.
UndoOutcome undoRun(const std::vector<JournalEntry>& steps, FileRenamer& renamer);

} // namespace pellory
