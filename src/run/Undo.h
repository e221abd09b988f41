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

#include <functional>
#include <memory>
#include <vector>

namespace pellory {

class FileRenamer;

struct UndoStep
{
    QByteArray fromRaw; // the name the run gave the file
    QByteArray toRaw;   // the name it had
    quint64 inode = 0;
};

struct UndoPlan
{
    QString runId;
    QByteArray folder;
    std::vector<UndoStep> steps; // in the order to do them
    QString refusal;             // why nothing can be put back; empty when the undo may go on
    // The files it puts back: a step to one of our temporary names is the first half of a
    // file's way back and is counted at its second.
    int files() const;
};

// The undo of `run`: its renames newest first; with `parkedOnly`, only those of files the
// run left parked under one of our temporary names, on their way to a name still taken when
// the run ended. Refused when the run's folder is gone or is no longer the folder
// the run renamed in (moved or replaced meanwhile), when the run is still under way, and when
// a newer version wrote it. A damaged run gives back only what its intact records prove.
UndoPlan planUndo(const RunRecord& run, bool parkedOnly = false);
// The same from a run read for the undo alone: its names move into the plan, and its
// records are freed (tens of thousands of them in a big run).
UndoPlan planUndo(RunRecord&& run, bool parkedOnly = false);

struct UndoOutcome
{
    int restored = 0;    // files under their old names again, those found there included
    QStringList skipped; // "new name -> old name: why", in the order tried
};

// Carries out a plan one file at a time, so that the caller can show progress and stop.
class Undoer
{
public:
    // `recorder` must be in the undo's run (RunRecorder::beginUndo). `between` runs while
    // the folder is listed, as between files, for a caller that lets the event loop run.
    // `probe`, when given, is of the plan's folder, its listing perhaps under way.
    Undoer(UndoPlan plan, RunRecorder& recorder, FileRenamer& renamer,
           const std::function<void()>& between = {}, std::unique_ptr<FolderProbe> probe = {});
    ~Undoer();

    bool atEnd() const { return m_next >= m_plan.steps.size(); }
    void next();
    int done() const { return m_filesDone; } // files, as UndoPlan::files() counts them
    int total() const { return m_files; }
    const UndoOutcome& outcome() const { return m_outcome; }

private:
    struct Places // of a step's two names in the probe's listing (FolderProbe::placeOf)
    {
        qint32 from = -1, to = -1;
    };
    // False, with nothing done, when `final` is not set and the listing's answer led to
    // anything but a rename that worked.
    bool take(const UndoStep& step, Places places, bool final);
    bool alreadyBack(const UndoStep& step, Places places);
    void back(const UndoStep& step);
    void skip(const UndoStep& step, const QString& reason);

    UndoPlan m_plan;
    RunRecorder& m_recorder;
    FileRenamer& m_renamer;
    std::unique_ptr<FolderProbe> m_probe;
    std::vector<Places> m_places; // each step's, where the probe has a listing
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
