// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The loops of a run, file by file: a scheme's walk planned and carried out, a walk listed
// for a preview, and an undo. Every RunYield interval a loop hands its caller a moment
// (to show progress and let the window work), and after every file it asks whether to
// stop. They show nothing and own no record: the caller begins the run's record before a
// loop and closes it after.

#include "platform/Rename.h"
#include "run/RunHistory.h"
#include "run/SchemeWalk.h"
#include "run/Undo.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace pellory {

struct RunHooks
{
    // The moment the caller gets every RunYield interval, with the files done so far (for
    // a preview, the rows listed).
    std::function<void(int done)> yield;
    // Asked after every file: true stops the loop there. None: the loop runs to its end.
    std::function<bool()> cancelled;
};

// Every rename the walk sets out to make, composed on a copy of it as the run will compose
// them, up to the first name no file can have: the run stops there before any system call.
// Nothing cancels it.
RenamePlan planOf(const SchemeWalk& walk, const RunHooks& hooks);

// What a walk that renames did.
struct WalkResult
{
    int renamed = 0;    // files that got a new name, their companions not counted
    int takingPart = 0; // files the walk set out to rename
    bool stopped = false;
    bool failed = false;
};
// The file a walk could not rename, and why.
struct RenameFailure
{
    QString oldName;
    QString newName;
    QString description;
};
// Renames the files of the walk in place through `renamer`, each step told to `recorder`
// first, in list order, until the first failure, a cancel or the end; a file's companions
// right after it, and one that cannot follow its file stops the run as the file would.
// Files renamed before a failure stay renamed. A file whose new name is its old one, byte
// for byte, is left alone. `result.takingPart`, the caller's, is left as it is.
std::optional<RenameFailure> walkRenames(SchemeWalk& walk, const QByteArray& folder,
                                         FileRenamer& renamer, RenameObserver* recorder,
                                         const RunHooks& hooks, WalkResult& result);

// Rows of a preview composed between two of the caller's moments: their new and old names
// and the rows among them to select.
using PreviewRows = std::function<void(const QStringList& names, const QStringList& olds,
                                       const std::vector<qint32>& selected)>;
// Lists every name of the walk, each file's companions on rows right under it, handing
// the rows over at each moment and at the end, so that a long list is laid out once per
// visit to the event loop instead of once per row. `firstRow` is the row the first name lands on.
void fillPreview(SchemeWalk& walk, qint32 firstRow, const PreviewRows& append,
                 const RunHooks& hooks);

// Takes the undo's steps to its end or to a cancel, and leaves the steps not taken for
// the next try. True when it stopped before the end.
bool undoSteps(Undoer& undoer, const RunHooks& hooks);

} // namespace pellory
