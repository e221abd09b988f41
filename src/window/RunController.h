#pragma once
// Whether a rename run is under way, and what a run keeps while it works: the run state,
// preview mode, the undo journal written ahead of every rename and the hourglass. It owns
// no control: the window reads its controls into a walk and shows what comes back. A run
// lets the event loop run between files, so handlers can run in the middle of one; every
// handler that must not act then asks mayAct() first.

#include "platform/Rename.h"
#include "run/RunState.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace pellory {

class BusyPointer;
class Feedback;
class RunJournal;
class SchemeWalk;
struct WildcardHooks;
struct WildcardPlan;

class RunController : public QObject, private FileRenamer
{
    Q_OBJECT
public:
    explicit RunController(Feedback& feedback, QObject* parent = nullptr);
    ~RunController() override;

    enum class IfBusy
    {
        Beep,
        Ignore
    };
    // The one re-entrancy guard: true when no run is under way; otherwise answers as asked
    // and returns false.
    bool mayAct(IfBusy answer) const;
    bool busy() const { return m_runState != RunState::Idle; }
    RunState runState() const { return m_runState; }
    void setRunState(RunState state) { m_runState = state; }
    // Exit pressed during a run: the run stops at its next visit to the event loop.
    void requestCancel() { m_runState = RunState::CancelRequested; }

    bool previewMode() const { return PreviewMode; }
    void setPreviewMode(bool on) { PreviewMode = on; }

    // The hourglass of the run under way; it goes before any message the run shows, so
    // that the message is read with the default pointer.
    void showBusyPointer();
    void releaseBusyPointer();

    // Start of a run: the hourglass, Busy, and the journal ready for the run's renames.
    // False, after a beep, while another run is under way.
    bool begin();
    // End of a run: the default pointer, Idle, and the journal closed as the last run.
    void finish();

    // False, after the message that says why, when the walk must not start: its counter
    // would overflow, or, for the preview, two files would get the same name.
    bool walkMayStart(const SchemeWalk& walk);
    // Renames the files of the walk in place, in list order, until the first failure
    // (with its message), a cancel or the end.
    void renameWalk(SchemeWalk& walk, const QString& folder);
    // Lists every name of the walk; the rows composed between two visits to the event loop
    // go in as one range with the rows to select, so that a long list is laid out once per
    // visit instead of once per row. `firstRow` is the row the first name lands on.
    using PreviewRows = std::function<void(const QStringList& names, std::vector<qint32> selected)>;
    void fillPreview(SchemeWalk& walk, qint32 firstRow, const PreviewRows& append);
    // The renames that give every file `spec` matches in `folder` the name `mask` gives
    // it; a plan that must not run is refused with the wildcard error.
    WildcardPlan planWildcardRename(const QString& folder, const QString& spec,
                                    const QString& mask);
    // Carries the plan out, each rename journaled; a failure is shown as the wildcard error.
    void runWildcardRename(const WildcardPlan& plan, WildcardHooks hooks);

    // Undoes the last run after the user agreed: renames back what it renamed, skipping
    // (and never overwriting) what cannot go back, then `rebuildList` shows the folder.
    void undoLastRun(const std::function<void()>& rebuildList);

private:
    // Every rename of every run passes here, temporary names of a wildcard rename included.
    RenameOutcome rename(const QString& folder, const QByteArray& oldRawName,
                         const QString& newName) override;
    bool confirmUndo(int fileCount, const QString& where, bool interrupted);

    Feedback& m_feedback;
    RunState m_runState = RunState::Idle;
    bool PreviewMode = false;
    std::unique_ptr<RunJournal> m_journal;
    std::unique_ptr<BusyPointer> m_runPointer;
};

} // namespace pellory
