// The rename run behind Apply and Preview: a scheme run that walks the catalogue in list
// order and renames each file in place (or lists its new name in the preview), and the
// wildcard rename of every file the specification matches. The run controller does the
// run's own work; this reads the controls into it and shows what comes back.

#include "run/SchemeWalk.h"
#include "run/WildcardRename.h"
#include "window/DriveSelector.h"
#include "window/FilePane.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"
#include "window/RunYield.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressDialog>

namespace pellory {

void Main::ApplyBut_Click()
{
    if (!m_run->begin())
        return;
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_naming->CasesList, m_naming->RenameChk, m_files->PreviewList, m_files->FileList,
             m_files->DriveList, m_files->DirList})
        control->setEnabled(false);
    if (!m_naming->WildCardRen->text().isEmpty())
        wildcardRename();
    else
        schemeRun();
}

void Main::schemeRun()
{
    walkScheme();
    finishSchemeRun(); // the walk has let go of the catalogue, so the rebuild copies nothing
}

void Main::walkScheme()
{
    // One reading of the settings and of the selection serves the whole walk.
    SchemeWalk walk(m_files->catalogueForWalk(), m_files->FileList->selectionFlags(),
                    m_naming->settings());
    if (!m_run->walkMayStart(walk))
        return;
    if (!m_run->previewMode()) {
        m_run->renameWalk(walk, m_files->DirList->path());
        return;
    }
    m_run->fillPreview(walk, m_files->PreviewList->count(),
                       [this](const QStringList& names, std::vector<qint32> selected) {
                           m_files->PreviewList->names()->append(names);
                           m_files->PreviewList->selectRows(selected);
                       });
}

void Main::finishSchemeRun()
{
    const bool preview = m_run->previewMode();
    if (!preview)
        m_files->DirList_Change(); // the list shows what is on disk, whether all went well or not
    m_run->releaseBusyPointer();
    if (preview) {
        m_files->PreviewList->setEnabled(true);
    } else {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 m_naming->CasesList, m_naming->RenameChk, m_files->PreviewList, m_files->FileList,
                 m_files->DriveList, m_files->DirList})
            control->setEnabled(true);
    }
    m_run->finish();
    reselectAfterRebuild();
}

void Main::reselectAfterRebuild()
{
    // The rebuild at the end of a run asks for the every-N selection while the run is still
    // busy, when the selection is locked; the walk is over now, so it is applied here.
    if (!m_run->previewMode())
        m_files->SelSteps_Change();
}

void Main::wildcardRename()
{
    const WildcardPlan plan = m_run->planWildcardRename(
        m_files->DirList->path(), m_files->FileSpecs->text(), m_naming->WildCardRen->text());
    if (plan.refusal.isEmpty()) {
        QProgressDialog progress(QStringLiteral("Renaming files..."), QStringLiteral("Cancel"), 0,
                                 plan.fileCount, this);
        progress.setWindowTitle(QStringLiteral("Pellory"));
        progress.setWindowModality(Qt::WindowModal); // its updates then visit the event loop
        progress.setMinimumDuration(kProgressDelayMs);
        WildcardHooks hooks;
        // The dialog lays its label out anew at every change and visits the event loop only
        // once it shows, so it is updated only when the event loop is due to run anyway.
        RunYield yield;
        hooks.progress = [&progress, &yield](int done, int total) {
            if (done < total && !yield.due())
                return;
            progress.setLabelText(QStringLiteral("%1 of %2 files renamed").arg(done).arg(total));
            progress.setValue(done);
            QCoreApplication::processEvents();
        };
        hooks.cancelRequested = [&progress] { return progress.wasCanceled(); };
        m_run->runWildcardRename(plan, hooks);
    }
    finishWildcardRename();
}

void Main::finishWildcardRename()
{
    m_files->FileList->setEnabled(true);
    m_files->DriveList->setEnabled(true);
    m_files->DirList->setEnabled(true);
    // The pattern of the new names becomes the specification, so the rebuilt list shows the
    // renamed files. Clearing the pattern raises its change handler while the run is still
    // busy, which re-enables the naming controls.
    m_files->FileSpecs->setText(m_naming->WildCardRen->text());
    m_naming->WildCardRen->setText(QString());
    m_files->DirList_Change();
    m_run->finish();
    reselectAfterRebuild();
}

} // namespace pellory
