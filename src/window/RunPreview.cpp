// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Preview mode: the list of new names shown over the file list, with every other control
// locked so that the settings cannot change while the user reads it. Nothing on disk
// changes in the mode; leaving it re-derives every enabled state from the settings.

#include "window/FilePane.h"
#include "window/RunButtons.h"
#include "window/RunController.h"

#include <QPushButton>

namespace pellory {

void RunButtons::PreviewBut_Click()
{
    // E.g. "Exit Preview" pressed while the preview still fills.
    if (!m_run.mayAct(RunController::IfBusy::Beep))
        return;
    m_run.setRunState(RunState::Busy);
    if (m_run.previewMode())
        leavePreview();
    else
        enterPreview();
    m_run.setRunState(RunState::Idle);
}

void RunButtons::setEveryControlEnabled(bool enabled)
{
    for (QWidget* control : m_everyControl)
        control->setEnabled(enabled);
}

void RunButtons::leavePreview()
{
    setEveryControlEnabled(true);
    m_run.setPreviewMode(false);
    PreviewBut->setText(tr("Previe&w and Check for Errors"));
    PreviewBut->setToolTip(tr("Click to preview"));
    m_files.showFileList();
    m_run.setRunState(RunState::Idle);
    emit previewLeft();
}

void RunButtons::enterPreview()
{
    // The run takes this pointer over and restores the default one itself, before any
    // message it shows.
    m_run.showBusyPointer();
    setEveryControlEnabled(false);
    m_run.setPreviewMode(true);
    PreviewBut->setEnabled(true);
    PreviewBut->setText(tr("E&xit Preview"));
    PreviewBut->setToolTip(tr("Click to exit preview mode"));
    m_files.showPreviewList();
    m_run.setRunState(RunState::Idle);
    ApplyBut_Click();
}

} // namespace pellory
