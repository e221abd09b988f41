// The rename run behind Apply and Preview: a scheme run that walks the catalogue in list
// order and renames each file in place (or lists its new name in the preview), and the
// wildcard rename of every file the specification matches. Both let the event loop run
// every few milliseconds as they go, so Exit can ask a scheme run to stop after the file in
// progress.

#include "platform/Rename.h"
#include "run/SchemeWalk.h"
#include "run/UndoJournal.h"
#include "run/WildcardRename.h"
#include "window/DriveSelector.h"
#include "window/Feedback.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/RunYield.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>

namespace pellory {

namespace {

// Hands the renames of a wildcard rename back to the window, so that they pass through the
// same place as those of a scheme run.
class ForwardingRenamer final : public FileRenamer
{
public:
    using Rename = std::function<RenameOutcome(const QString&, const QByteArray&, const QString&)>;
    explicit ForwardingRenamer(Rename rename) : m_rename(std::move(rename)) {}
    RenameOutcome rename(const QByteArray& folder, const QByteArray& oldRawName,
                         const QString& newName, RenameObserver* = nullptr) override
    {
        return m_rename(QFile::decodeName(folder), oldRawName, newName);
    }

private:
    Rename m_rename;
};

} // namespace

void Main::ApplyBut_Click()
{
    if (m_runState != RunState::Idle) {
        m_feedback->beep(); // clicked while a run yields to the event loop
        return;
    }
    m_runPointer = std::make_unique<BusyPointer>();
    m_runState = RunState::Busy;
    m_journal->begin();
    for (QWidget* control : std::initializer_list<QWidget*>{CasesList, RenameChk, PreviewList,
                                                            FileList, DriveList, DirList})
        control->setEnabled(false);
    if (!WildCardRen->text().isEmpty())
        wildcardRename();
    else
        schemeRun();
}

RenameSettings Main::renameSettings() const
{
    RenameSettings s;
    s.RenameChk = RenameChk->isChecked();
    s.NumCharKeep = NumCharKeep->text();
    s.FilePrefix = FilePrefix->text();
    s.FileLeading = FileLeading->text();
    s.chkAlpha = chkAlpha->isChecked();
    s.chkTrim = chkTrim->isChecked();
    s.StartingNumber = StartingNumber->text();
    s.NumberIncValue = NumberIncValue->text();
    s.AlphaNumberText = AlphaNumberText;
    s.AlphaIncrementText = AlphaIncrementText;
    s.ExtUsed = ExtensionMode(extensionMode());
    s.NewExtIndex = NewExt->currentIndex();
    s.NewExtText = NewExt->currentText();
    s.CasesList = CasesList->currentIndex();
    return s;
}

void Main::schemeRun()
{
    walkScheme();
    finishSchemeRun(); // the walk has let go of the catalogue, so the rebuild copies nothing
}

void Main::walkScheme()
{
    // One reading of the settings and of the selection serves the whole walk.
    SchemeWalk walk(m_catalogue, FileList->selectionFlags(), renameSettings());
    const QString errorTitle = QStringLiteral("Pellory - Error");
    if (!walk.counterFits()) {
        m_runPointer.reset();
        m_feedback->message(counterOverflowMessage(), errorTitle, Feedback::kWarning);
    } else if (PreviewMode && walk.wouldProduceDuplicates(RunYield())) {
        m_runPointer.reset();
        m_feedback->message(QStringLiteral("These settings will produce duplicate file names!!!"),
                            errorTitle, Feedback::kWarning);
    } else if (PreviewMode) {
        fillPreview(walk);
    } else {
        renameWalk(walk);
    }
}

void Main::fillPreview(SchemeWalk& walk)
{
    QStringList rows;
    std::vector<qint32> selectedRows;
    qint32 nextRow = PreviewList->count();
    const auto flush = [&] {
        PreviewList->names()->append(rows);
        PreviewList->selectRows(selectedRows);
        rows.clear();
        selectedRows.clear();
    };
    // The rows composed since the last visit to the event loop go in as one range, so that
    // a long list is laid out once per visit instead of once per row.
    RunYield yield;
    while (!walk.atEnd()) {
        const SchemeWalk::Step step = walk.next();
        rows.append(step.name);
        if (step.selected)
            selectedRows.push_back(nextRow);
        ++nextRow;
        if (yield.due()) {
            flush();
            QCoreApplication::processEvents();
        }
        if (m_runState == RunState::CancelRequested)
            break;
    }
    flush();
}

void Main::renameWalk(SchemeWalk& walk)
{
    const QString folder = DirList->path();
    RunYield yield;
    while (!walk.atEnd()) {
        const SchemeWalk::Step step = walk.next();
        if (step.takesPart) {
            const RenameOutcome outcome = renameFile(folder, step.record->RawName, step.name);
            if (!outcome.ok) {
                m_feedback->message(QStringLiteral("An error occured renaming the file : ") +
                                        step.name + QStringLiteral("\r\r") + outcome.description,
                                    QStringLiteral("Pellory"), Feedback::kPlain);
                return; // files renamed before stay renamed; no later file is tried
            }
        }
        if (yieldAndTestCancel(yield))
            return;
    }
}

bool Main::yieldAndTestCancel(RunYield& yield)
{
    yield();
    return m_runState == RunState::CancelRequested;
}

RenameOutcome Main::renameFile(const QString& folder, const QByteArray& oldRawName,
                               const QString& newName)
{
    return journaledRename(folder, oldRawName, newName);
}

void Main::finishSchemeRun()
{
    if (!PreviewMode)
        DirList_Change(); // the list shows what is on disk, whether all went well or not
    m_runPointer.reset();
    if (PreviewMode) {
        PreviewList->setEnabled(true);
    } else {
        for (QWidget* control : std::initializer_list<QWidget*>{CasesList, RenameChk, PreviewList,
                                                                FileList, DriveList, DirList})
            control->setEnabled(true);
    }
    m_runState = RunState::Idle;
    m_journal->finish();
    reselectAfterRebuild();
}

void Main::reselectAfterRebuild()
{
    // The rebuild at the end of a run asks for the every-N selection while the run is still
    // busy, when the selection is locked; the walk is over now, so it is applied here.
    if (!PreviewMode)
        SelSteps_Change();
}

void Main::wildcardRename()
{
    const QString title = QStringLiteral("Pellory - Wilcard Error");
    const WildcardPlan plan =
        planWildcardRename(DirList->path(), FileSpecs->text(), WildCardRen->text(), RunYield());
    if (!plan.refusal.isEmpty()) {
        m_feedback->message(plan.refusal, title, Feedback::kPlain);
    } else {
        const WildcardOutcome outcome = runWildcardPlan(plan);
        if (!outcome.message.isEmpty())
            m_feedback->message(outcome.message, title, Feedback::kPlain);
    }
    finishWildcardRename();
}

WildcardOutcome Main::runWildcardPlan(const WildcardPlan& plan)
{
    QProgressDialog progress(QStringLiteral("Renaming files..."), QStringLiteral("Cancel"), 0,
                             plan.fileCount, this);
    progress.setWindowTitle(QStringLiteral("Pellory"));
    progress.setWindowModality(Qt::WindowModal); // its value updates then visit the event loop
    progress.setMinimumDuration(kProgressDelayMs);
    ForwardingRenamer renamer(
        [this](const QString& folder, const QByteArray& oldRaw, const QString& newName) {
            return renameFile(folder, oldRaw, newName);
        });
    WildcardHooks hooks;
    hooks.renamer = &renamer;
    // The dialog lays its label out anew at every change and visits the event loop only once
    // it shows, so it is updated only when the event loop is due to run anyway.
    RunYield yield;
    hooks.progress = [&progress, &yield](int done, int total) {
        if (done < total && !yield.due())
            return;
        progress.setLabelText(QStringLiteral("%1 of %2 files renamed").arg(done).arg(total));
        progress.setValue(done);
        QCoreApplication::processEvents();
    };
    hooks.cancelRequested = [&progress] { return progress.wasCanceled(); };
    return runWildcardRename(plan, hooks);
}

void Main::finishWildcardRename()
{
    FileList->setEnabled(true);
    DriveList->setEnabled(true);
    DirList->setEnabled(true);
    // The pattern of the new names becomes the specification, so the rebuilt list shows the
    // renamed files. Clearing the pattern raises its change handler while the run is still
    // busy, which re-enables the naming controls.
    FileSpecs->setText(WildCardRen->text());
    WildCardRen->setText(QString());
    DirList_Change();
    m_runPointer.reset();
    m_runState = RunState::Idle;
    m_journal->finish();
    reselectAfterRebuild();
}

} // namespace pellory
