// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Apply and Exit: the scheme run that walks the catalogue in list order and renames each
// file in place (or lists its new name in the preview), and the wildcard rename of every
// file the specification matches.

#include "window/RunButtons.h"

#include "naming/Compose.h"
#include "run/RunYield.h"
#include "run/SchemeWalk.h"
#include "run/WildcardRename.h"
#include "window/Controls.h"
#include "window/FilePane.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>

namespace pellory {

namespace {

// What a run that renames did, for the status line.
QString runNote(int renamed, int total, bool stopped)
{
    if (stopped)
        return RunButtons::tr("Stopped after %1 of %2 files.").arg(renamed).arg(total);
    if (renamed == 0)
        return RunButtons::tr("Every file already has its new name: nothing was renamed.");
    return (renamed == 1 ? RunButtons::tr("1 file renamed.")
                         : RunButtons::tr("%1 files renamed.").arg(renamed)) +
           RunButtons::tr(" Ctrl+Alt+Z undoes it.");
}

} // namespace

RunButtons::RunButtons(QWidget* window, FilePane& files, NamingPanel& naming, RunController& run)
    : QObject(window), m_window(window), m_files(files), m_naming(naming), m_run(run)
{
    PreviewBut = makeControl<QPushButton>(window, "PreviewBut");
    ApplyBut = makeControl<QPushButton>(window, "ApplyBut");
    ExitBut = makeControl<QPushButton>(window, "ExitBut");
    setTexts(staticMetaObject,
             {
                 {PreviewBut, QT_TR_NOOP("Previe&w and Check for Errors"),
                  QT_TR_NOOP("Click to preview"), nullptr},
                 {ApplyBut, QT_TR_NOOP("&Apply"), QT_TR_NOOP("Click to apply"), nullptr},
                 {ExitBut, QT_TR_NOOP("Exi&t"), QT_TR_NOOP("Click to exit"), nullptr},
             });
    PreviewBut->setEnabled(false);
    ApplyBut->setEnabled(false);
    for (QPushButton* button : {PreviewBut, ApplyBut, ExitBut}) {
        button->setAutoDefault(false); // Enter presses no button
        button->setDefault(false);
    }
}

void RunButtons::connectHandlers()
{
    connect(PreviewBut, &QPushButton::clicked, this, &RunButtons::PreviewBut_Click);
    connect(ApplyBut, &QPushButton::clicked, this, &RunButtons::ApplyBut_Click);
    connect(ExitBut, &QPushButton::clicked, this, &RunButtons::ExitBut_Click);
}

void RunButtons::ExitBut_Click()
{
    if (m_run.mayAct(RunController::IfBusy::Ignore))
        m_window->close(); // through Form_QueryUnload and Form_Unload
    else
        m_run.requestCancel();
}

void RunButtons::setApplyEnabled(bool enabled)
{
    ApplyBut->setEnabled(enabled);
}

void RunButtons::setPreviewEnabled(bool enabled)
{
    PreviewBut->setEnabled(enabled);
}

void RunButtons::pressExit()
{
    ExitBut->click();
}

void RunButtons::lockForRun(bool locked)
{
    m_naming.lockForRun(locked);
    m_files.lockForRun(locked);
}

void RunButtons::ApplyBut_Click()
{
    if (!m_run.begin())
        return;
    lockForRun(true);
    if (!m_naming.wildcardPattern().isEmpty())
        wildcardRename();
    else
        schemeRun();
}

void RunButtons::schemeRun()
{
    const QString note = walkScheme();
    finishSchemeRun(note); // the walk has let go of the catalogue, so the rebuild copies nothing
}

QString RunButtons::walkScheme()
{
    // One reading of the settings and of the selection serves the whole walk; names that
    // carry a date wait for the listed files' capture times first. Companions are looked
    // for in the folder as it is now, not as the list last read it.
    const RenameSettings settings = m_naming.settings();
    if (namesUseDate(settings) && !m_files.awaitCaptureTimes())
        return m_run.cancelRequested() ? QString()
                                       : tr("The capture times sorted the list anew: "
                                            "check the selection, then try again.");
    SchemeWalk walk(m_files.catalogueForWalk(), m_files.selectionFlags(), settings,
                    m_files.companionListing(true));
    if (!m_run.walkMayStart(walk))
        return {};
    if (!m_run.previewMode()) {
        const RunController::WalkResult result = m_run.renameWalk(walk, m_files.folderPath());
        return runNote(result.renamed, result.takingPart, result.stopped || result.failed);
    }
    m_files.previewNames(walk);
    return {};
}

void RunButtons::finishSchemeRun(const QString& note)
{
    const bool preview = m_run.previewMode();
    if (!preview)
        m_files.DirList_Change(); // the list shows what is on disk, whether all went well or not
    m_run.releaseBusyPointer();
    if (preview)
        m_files.unlockPreviewList();
    else
        lockForRun(false);
    m_run.finish();
    reselectAfterRebuild();
    if (!note.isEmpty())
        emit runEnded(note);
}

void RunButtons::reselectAfterRebuild()
{
    // The rebuild at the end of a run asks for the every-N selection while the run is still
    // busy, when the selection is locked; the walk is over now, so it is applied here.
    if (!m_run.previewMode())
        m_files.SelSteps_Change();
}

void RunButtons::wildcardRename()
{
    // The plan is gone before the list is rebuilt, so the two are never held at once.
    finishWildcardRename(planAndRunWildcard());
}

QString RunButtons::planAndRunWildcard()
{
    // The files the list shows: text in the specifications field that was never entered
    // and left has listed nothing.
    const WildcardPlan plan = m_run.planWildcardRename(m_files.folderPath(), m_files.listedSpecs(),
                                                       m_naming.wildcardPattern());
    if (!plan.refusal.isEmpty())
        return {};
    QProgressDialog progress(tr("Renaming files..."), tr("Cancel"), 0, plan.fileCount, m_window);
    progress.setWindowTitle(QStringLiteral("Pellory"));
    progress.setWindowModality(Qt::WindowModal); // its updates then visit the event loop
    progress.setMinimumDuration(int(RunController::kProgressDelayMs));
    WildcardHooks hooks;
    // The dialog lays its label out anew at every change and visits the event loop only
    // once it shows, so it is updated only when the event loop is due to run anyway.
    RunYield yield;
    hooks.progress = [&progress, &yield](int done, int total) {
        if (done < total && !yield.due())
            return;
        progress.setLabelText(tr("%1 of %2 files renamed").arg(done).arg(total));
        progress.setValue(done);
        QCoreApplication::processEvents();
    };
    hooks.cancelRequested = [&progress] { return progress.wasCanceled(); };
    const int renamed = m_run.runWildcardRename(plan, hooks);
    return runNote(renamed, plan.fileCount, renamed < plan.fileCount);
}

void RunButtons::finishWildcardRename(const QString& note)
{
    m_files.unlockAfterWildcard();
    // The pattern of the new names becomes the specification, so the rebuilt list shows the
    // renamed files. Clearing the pattern raises its change handler while the run is still
    // busy, which re-enables the naming controls.
    m_files.setSpecs(m_naming.wildcardPattern());
    m_naming.clearWildcardPattern();
    m_files.DirList_Change();
    m_run.finish();
    reselectAfterRebuild();
    if (!note.isEmpty())
        emit runEnded(note);
}

} // namespace pellory
