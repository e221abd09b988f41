// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Renames every file of a folder that a specification matches to the name a target mask
// gives it: plans the whole batch first, renames nothing when the plan has a conflict,
// then renames one by one without ever replacing an entry. Shows nothing itself: the
// caller turns progress and messages into dialogs.

#include "platform/DirectoryScan.h"
#include "platform/Rename.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace pellory {

// One rename of the plan. A file that has to step aside for a cycle takes two: one to a
// temporary name and, later, one from it to its new name.
struct WildcardStep
{
    qint32 file = 0;           // the file's place in the plan's files
    qint32 temporary = -1;     // the temporary name the step goes to or comes from, or -1
    bool finishesFile = false; // the file has its new name after this step
    quint64 inode = 0;         // the file's, as the scan found it
};

// One file of a plan, and the names it has before and after.
struct PlannedFile
{
    QByteArray oldRaw; // the exact bytes readdir gave
    QByteArray newRaw; // the bytes the rename gives
    quint64 inode = 0; // as the scan found it
};

struct WildcardPlan
{
    QByteArray folder;              // where the files are: the exact bytes of the folder's path
    std::vector<PlannedFile> files; // the files that get a new name, in name order
    std::vector<WildcardStep> steps;
    int fileCount = 0; // files that get a new name
    QString refusal;   // non-empty when the batch must not run; names the first conflict
    std::vector<QByteArray> temporaries; // the names that open cycles

    const QByteArray&
    fromRaw(const WildcardStep& step) const;                 // the entry's name when the step runs
    const QByteArray& toRaw(const WildcardStep& step) const; // its name after the step
    QString fileName(const WildcardStep& step) const;        // before the batch, for messages
    QString newName(const WildcardStep& step) const;         // after the batch
};

struct NamedFile
{
    DirEntry entry;
    QString newName;
};

// Plans the renames of `files`, entries of `folder`, to the names they carry. Files whose
// new name is their old name are left out. Refuses the batch, in name order of the files,
// at the first new name that is not a valid name, that two files would get, or that an
// entry not renamed away already has. Otherwise orders the steps so that none needs a
// name still taken, opening cycles through a temporary name in the folder. `yield` runs
// between files in the longer passes, for a caller that lets the event loop run.
WildcardPlan planRenames(
    const QByteArray& folder, const std::vector<NamedFile>& files,
    const std::function<void()>& yield = [] {});

// Lists the files that `spec` matches in `folder` once, and plans their renames. A
// specification or a mask that names a folder (specNamesFolder) refuses the batch.
WildcardPlan planWildcardRename(
    const QByteArray& folder, const QString& spec, const QString& mask,
    const std::function<void()>& yield = [] {});

struct WildcardHooks
{
    std::function<void(int done, int total)> progress; // after every file that is done
    std::function<bool()> cancelRequested;             // asked between files
    // The observer of the renames a step of the plan takes (temporary names included, and
    // the step back of a cycle that failed), asked before each, so that every name a file
    // passes through is recorded ahead and the undo can find it. Nullptr: none.
    std::function<RenameObserver*(const WildcardStep& step)> observer;
    FileRenamer* renamer = nullptr; // currentRenamer() when null
};

struct WildcardOutcome
{
    bool ok = false;        // every planned file has its new name
    bool cancelled = false; // stopped between files on request
    int filesDone = 0;
    QString message; // the refusal or the failure; empty on success and on cancel
};

// Carries out a plan; a refused plan renames nothing. Stops at the first failure.
WildcardOutcome runWildcardRename(const WildcardPlan& plan, const WildcardHooks& hooks = {});

} // namespace pellory
