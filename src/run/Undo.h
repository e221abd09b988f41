// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Puts the files of a recorded run back under their old names. The run's renames are taken
// back newest first through the never-replacing rename, so a file whose new name is gone,
// whose old name is taken, or whose name another file carries now is skipped, never
// overwritten. A file already under its old name counts as put back, so an undo that was
// interrupted can be done again. Every rename of the undo is recorded as a run of its own.
// Shows nothing: the caller asks first, lets the event loop run between files and reports.

#include "platform/FolderProbe.h"
#include "run/RunHistory.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace pellory {

class FileRenamer;

struct UndoStep
{
    QByteArray fromRaw; // the name the run gave the file
    QByteArray toRaw;   // the name it had
    quint64 inode = 0;
    // Only planned: the run, cut short, may never have got to it. Taken only when the file
    // the plan names is found under its new name, and passed over in silence otherwise.
    bool planned = false;
};

struct UndoPlan
{
    QString runId;
    QByteArray folder;
    std::vector<UndoStep> steps; // in the order to do them
    QString refusal;             // why nothing can be put back; empty when the undo may go on
    // The files it puts back: a step to one of our temporary names is the first half of a
    // file's way back and is counted at its second; a planned step counts once it is taken.
    int files() const;
    // The steps as the plan the undo's own record begins with.
    RenamePlan asPlan() const;
};

// The undo of `run`: its renames newest first; with `parkedOnly`, only those of files the
// run left parked under one of our temporary names, on their way to a name still taken when
// the run ended. A run that did not end (killed, or cut by a power cut that lost its last
// records) first looks for the files of its plan that no record covers. Refused when the run's
// folder is gone or is no longer the folder the run renamed in (moved or replaced meanwhile), when
// the run is still under way, and when a newer version wrote it. A damaged run gives back only what
// its intact records prove.
UndoPlan planUndo(const RunRecord& run, bool parkedOnly = false);
// The same from a run read for the undo alone: its names move into the plan, and its
// records are freed (tens of thousands of them in a big run).
UndoPlan planUndo(RunRecord&& run, bool parkedOnly = false);

// The next try of a run partly undone: the steps its newest undo, `undo`, left.
UndoPlan planRetry(RunRecord&& run, RunRecord&& undo);

struct UndoOutcome
{
    int restored = 0;    // files under their old names again, those found there included
    QStringList skipped; // "new name -> old name: why", in the order tried
};

// Carries out a plan one file at a time, so that the caller can show progress and stop.
// Each step skipped is recorded in the undo's run as left, so that the next undo of the
// run tries it again.
class Undoer
{
public:
    // `recorder` must be in the undo's run (RunRecorder::beginUndo).
    Undoer(UndoPlan plan, RunRecorder& recorder, FileRenamer& renamer);

    bool atEnd() const { return m_next >= m_plan.steps.size(); }
    void next();
    // The undo stops here: the steps not taken are left for the next try.
    void leaveRest();
    int done() const { return m_filesDone; } // files, as UndoPlan::files() counts them
    int total() const { return m_files; }
    const UndoOutcome& outcome() const { return m_outcome; }

private:
    void take(const UndoStep& step);
    bool alreadyBack(const UndoStep& step);
    void back(const UndoStep& step);
    void skip(const UndoStep& step, const QString& reason);

    UndoPlan m_plan;
    RunRecorder& m_recorder;
    FileRenamer& m_renamer;
    FolderProbe m_probe; // each step looks its names up on disk, just before it is taken
    size_t m_next = 0;
    int m_files = 0;
    int m_filesDone = 0;
    UndoOutcome m_outcome;
};

// A run whose writer died may have left a file parked under one of our temporary names,
// hidden from the user: it goes back to its old name when that is free, recorded as an undo
// of that file alone. The empty file that reserved the name of the rename under way, where
// the file system has no no-replace rename, goes first. The number of files put back.
int putBackParked(const RunRecord& run, FileRenamer& renamer);

} // namespace pellory
