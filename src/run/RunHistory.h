// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The undo history: every run that renamed something, written ahead of each rename into a
// file of its own, so that a crash or a kill loses none of it and two windows never write
// into the same file. The history is only ever added to: a run's file is made when its
// first rename is about to happen, a run that renamed nothing leaves no file, and the oldest
// runs go only once there are more than 100 and they are over 30 days old. An undo is a run
// of its own that names the run it undoes. Touches no widget and renames nothing.
//
// A run's file, one record a line, every name percent-escaped so that any bytes survive:
//   pellory-run 3          the format (2: the same without P, S and a second number in E)
//   K scheme|wildcard|undo the kind of run
//   T 1733456789123        when it started, ms since 1970 (UTC); shown, never used to order
//   F folder 2049 131075   the folder's bytes, device and inode
//   N 40                   the files it set out to rename
//   U <run> [parked]       an undo: the run it undoes (only its parked files)
//   P old new 131099       the plan: every rename the run sets out to make, with the inode
//                          the list showed (the device is the folder's); all of them are on
//                          the disk before the first rename, so that a power cut leaves
//                          what the run may have done
//   R old new 131099       a rename about to happen, with the inode of the entry it moves,
//                          looked up by name just before it (0: unknown)
//   F folder 2049 131080   the renames from here on happen in a folder of that identity
//   X                      the rename just recorded did not happen
//   S new old 131099       an undo: a step it left, to be tried again by the next undo
//   E 40 [2]               the run ended, having renamed 40 files (an undo: leaving 2)
//   A 40                   a run whose writer died, seen and dismissed by the user
// Runs are ordered by the sequence number that starts their file's name (older files,
// named by their start's millisecond, come before every numbered one).

#include "platform/JournalFile.h"
#include "platform/Rename.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace pellory {

// $XDG_STATE_HOME/Pellory/history, or ~/.local/state/Pellory/history when the variable is
// unset or relative.
QString historyFolder();

enum class RunKind
{
    Scheme,
    Wildcard,
    Undo,
};

struct RenameRecord
{
    QByteArray oldRaw;
    QByteArray newRaw;
    quint64 inode = 0; // 0 when the file's identity is not known
    bool operator==(const RenameRecord&) const = default;
};
using RenamePlan = std::vector<RenameRecord>;

struct RunRecord
{
    enum class State
    {
        Finished,    // ended under the program's control, failures and stops included
        Running,     // its writer is alive: a run under way in this or another window
        Interrupted, // its writer died before the end
        Dismissed,   // interrupted, and the user has seen it
    };
    QString id; // the file's name, in the order the runs started
    RunKind kind = RunKind::Scheme;
    qint64 startedMs = 0;
    QByteArray folder; // the exact bytes of the folder's path
    quint64 folderDevice = 0, folderInode = 0;
    int plannedFiles = 0;
    QString undoes;            // the run an undo undoes
    bool undoesParked = false; // only the files that run left parked
    State state = State::Finished;
    bool damaged = false; // a record that does not read exactly; what follows is not trusted
    bool newer = false;   // written by a newer version: shown, never acted on
    bool undone = false;  // its newest finished undo put every file back
    // An undo: the files it left, to be tried again. A run: the files its newest finished
    // undo left (partly undone), kept as that undo's leftSteps, in the undo `leftBy`.
    int filesLeft = 0;
    QString leftBy;
    int endCount = -1; // the files its end line says it renamed; -1: no end line read
    std::vector<RenameRecord> leftSteps; // an undo's steps left, each "from" then "to"
    int renameCount = 0;                 // renames done
    // Files renamed: a rename to one of our temporary names is the first half of a file's
    // two-step rename and is counted at its second half. The end line holds this count.
    int fileCount = 0;
    bool lastCounted = false;          // whether a following "X" takes a file back off the count
    std::vector<RenameRecord> renames; // in the order done; a summary keeps the first few
    RenamePlan plan;                   // the renames planned ahead; a summary keeps a few
    int planCount = 0;                 // the renames planned, as far as read
};

// Reads a run's text; a last line that a kill cut short is left out. `whole` false: the text
// is the file's beginning only, and renameCount comes from the end line when there is one.
RunRecord parseRun(const QByteArray& text, bool whole = true, const QByteArray& tail = {});

// Writes one run's file. Not thread-safe; one writer per window. As the observer of a
// rename, it records each step the rename takes on disk, with the identity of what it moves.
class RunRecorder final : public RenameObserver
{
public:
    explicit RunRecorder(QString folder = historyFolder(), JournalSync sync = JournalSync::None);

    // A new run. With a plan, the run's file is made at once and the plan written and
    // flushed to the disk, with the folder that holds the file: the one flush a run costs
    // that a power cut needs. Without one, nothing is written until the first rename. A
    // file that cannot be written fails that first rename's record (error()).
    void begin(RunKind kind, const QByteArray& folder, int plannedFiles,
               const RenamePlan& plan = {});
    // The undo of `target`: its file is made at once, so that a second window sees it. False
    // (with error()) when another window is undoing that run now, or the file cannot be made.
    bool beginUndo(const QString& target, const QByteArray& folder, int plannedFiles,
                   bool parkedOnly = false, const RenamePlan& plan = {});
    // Records a rename about to happen; false (with error()) when it cannot be written, and
    // then the rename must not happen.
    bool record(QByteArrayView oldRaw, QByteArrayView newRaw, quint64 inode);
    void renameFailed(); // the rename just recorded did not happen
    // An undo leaves a step (from the run's new name to its old), to be tried again.
    void leave(QByteArrayView from, QByteArrayView to, quint64 inode);
    bool beforeStep(QByteArrayView from, QByteArrayView to, const FileIdentity& file,
                    const FileIdentity& folder) override;
    void stepFailed() override { renameFailed(); }
    QString refusal() const override;
    // The run ended. A run that renamed nothing leaves no file behind.
    void finish();
    bool inRun() const { return m_inRun; }
    int renamesDone() const { return m_done; }
    const QString& error() const { return m_error.isEmpty() ? m_file.error() : m_error; }

private:
    bool folderReady();                // false, with error(), where the history must not be written
    bool open(qsizetype expected = 0); // makes the run's file and writes its head
    bool writePlan(const RenamePlan& plan);
    QByteArray head() const;
    QByteArray folderLine() const;
    void appendRecord(char tag, QByteArrayView oldRaw, QByteArrayView newRaw, quint64 inode);

    QString m_folder;
    JournalSync m_sync;
    JournalFile m_file;
    bool m_inRun = false;
    RunKind m_kind = RunKind::Scheme;
    QByteArray m_runFolder;
    FileIdentity m_folderIdentity; // as last recorded
    int m_planned = 0;
    bool m_openFailed = false; // the file of a planned run could not be made
    QString m_undoes;
    bool m_parkedOnly = false;
    int m_done = 0;
    int m_files = 0; // as RunRecord::fileCount
    int m_left = 0;  // as RunRecord::filesLeft
    bool m_lastCounted = false;
    QByteArray m_line; // the record being written
    QString m_error;
};

// The history as read now: every run, newest first, each with its first few renames.
class RunHistory
{
public:
    static constexpr int kRenamesShown = 5;
    // Every run, or, for the undo of the newest run, the runs down to the first that
    // newestToUndo() can give: an undo is always newer than the run it undoes, so the runs
    // read by then tell which are undone.
    enum class Reach
    {
        Everything,
        NewestToUndo,
    };
    static RunHistory read(const QString& folder = historyFolder(),
                           Reach reach = Reach::Everything);

    const std::vector<RunRecord>& runs() const { return m_runs; }
    // The run Ctrl+Alt+Z undoes: the newest one that renamed, is not an undo, is not undone
    // (a run partly undone is, to try its files left again) and is not under way. Nullptr
    // when there is none.
    const RunRecord* newestToUndo() const;
    // The runs to undo, newest first, so that the folder is as it was before `id`: `id` and
    // every newer run in its folder (the same device and inode, whatever the path) that is
    // not undone yet.
    std::vector<const RunRecord*> undoBackTo(const QString& id) const;
    // The newest run whose writer died and that the user has not dismissed, when it is not
    // undone yet (an undo: when the run it undoes is not); nullptr when there is none.
    const RunRecord* interrupted() const;

private:
    bool undoable(const RunRecord& run) const;
    std::vector<RunRecord> m_runs;
};

// The whole run, every rename of it; a run that cannot be read comes back damaged and empty.
RunRecord readRun(const QString& id, const QString& folder = historyFolder());
// Marks an interrupted run as seen, so that the next start does not report it again.
bool dismissRun(const QString& id, const QString& folder = historyFolder());

} // namespace pellory
