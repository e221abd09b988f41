// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Whether a rename run is under way, and what a run keeps while it works: the run state,
// preview mode, the undo history written ahead of every rename and the hourglass. It owns
// no control: the window reads its controls into a walk and shows what comes back. A run
// or an undo lets the event loop run between files, so handlers can run in the middle of
// one; every handler that must not act then asks mayAct() first.

#include "platform/Rename.h"
#include "run/RunHistory.h"
#include "run/RunLoops.h"
#include "run/RunState.h"
#include "run/Undo.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>

namespace pellory {

class BusyPointer;
class Feedback;
class SchemeWalk;
struct WildcardHooks;
struct WildcardPlan;

class RunController : public QObject
{
    Q_OBJECT
public:
    explicit RunController(Feedback& feedback, QObject* parent = nullptr);
    ~RunController() override;

    using IfBusy = pellory::IfBusy;
    // The one re-entrancy guard: true when no run is under way; otherwise answers as asked
    // and returns false.
    bool mayAct(IfBusy answer) const;
    bool busy() const { return m_runState != RunState::Idle; }
    void setRunState(RunState state) { m_runState = state; }
    // Exit pressed during a run: the run stops at its next visit to the event loop.
    void requestCancel() { m_runState = RunState::CancelRequested; }
    bool cancelRequested() const { return m_runState == RunState::CancelRequested; }

    bool previewMode() const { return PreviewMode; }
    void setPreviewMode(bool on) { PreviewMode = on; }

    // The hourglass of the run under way; it goes before any message the run shows, so
    // that the message is read with the default pointer.
    void showBusyPointer();
    void releaseBusyPointer();

    // Start of a run or an undo: the hourglass and Busy. False, after a beep, while another
    // is under way.
    bool begin();
    // The renames to come go into the undo history as one run of `kind` in `folder`.
    // Raises renamesStarting().
    // `plan`: every rename the run sets out to make, written to the disk before the first.
    void record(RunKind kind, const QByteArray& folder, int plannedFiles,
                const RenamePlan& plan = {});
    // End of a run: the default pointer, Idle, and the run's record closed if it is not yet.
    void finish();
    // A run or an undo shows its progress only once it has taken this long.
    static constexpr qint64 kProgressDelayMs = 500;
    // and then changes it at most this often: no one reads a count that changes more than a
    // few times a second, and each change lays the label and the bar out and paints them.
    static constexpr qint64 kProgressEveryMs = 100;
    // How far a long run or undo has got: "Renaming" or "Undoing", files done, in all; a
    // total of 0 when it is over.
    using Progress = std::function<void(const QString& verb, int done, int total)>;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // False, after the message that says why, when the walk must not start: its counter
    // would overflow, or, for the preview, two files would get the same name.
    bool walkMayStart(const SchemeWalk& walk);
    using WalkResult = pellory::WalkResult;
    // Renames the files of the walk in place, in list order, until the first failure
    // (with its message), a cancel or the end. A file whose new name is its old one, byte
    // for byte, is left alone and not recorded.
    WalkResult renameWalk(SchemeWalk& walk, const QByteArray& folder);
    // Lists every name of the walk (pellory::fillPreview) with a visit to the event loop
    // at each of its moments, until the end or a cancel.
    void fillPreview(SchemeWalk& walk, qint32 firstRow, const PreviewRows& append);
    // The renames that give every file `spec` matches in `folder` the name `mask` gives
    // it; a plan that must not run is refused with the wildcard error.
    WildcardPlan planWildcardRename(const QByteArray& folder, const QString& spec,
                                    const QString& mask);
    // Carries the plan out, each rename recorded; a failure is shown as the wildcard error.
    // The files renamed.
    int runWildcardRename(const WildcardPlan& plan, WildcardHooks hooks);

    // What an undo did: nothing at all when refused (the reason given).
    struct UndoResult
    {
        UndoOutcome outcome;
        int total = 0;
        bool stopped = false;
        QString refusal;
    };
    // Puts back the files of the recorded run `run` (as the history summed it up: a run
    // partly undone is tried for its files left), between begin() and finish(), one file
    // at a time with visits to the event loop; Exit stops it between files, leaving the
    // rest for the next try.
    UndoResult undo(const RunRecord& run);

signals:
    // A run or an undo is about to rename files; the list is rebuilt when it ends.
    void renamesStarting();
    // Its renames are over and their record is closed; the list's rebuild comes next.
    void renamesEnded();
    // A run, an undo or a preview's fill is over: the window is idle again.
    void finished();

private:
    // What the run loops ask after every file: whether Exit asked the run to stop.
    std::function<bool()> cancelAsked() const;
    void reportProgress(const QString& verb, int done, int total);

    Feedback& m_feedback;
    RunState m_runState = RunState::Idle;
    bool PreviewMode = false;
    RunRecorder m_recorder; // every step of every rename is recorded here first
    Progress m_progress;
    QElapsedTimer m_started;
    qint64 m_progressShownMs = 0; // since m_started
    std::unique_ptr<BusyPointer> m_runPointer;
};

} // namespace pellory
