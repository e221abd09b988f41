// Preview mode: the list of new names shown over the file list, with every other control
// locked so that the settings cannot change while the user reads it. Nothing on disk
// changes in the mode; leaving it re-derives every enabled state from the settings.

#include "window/Feedback.h"
#include "window/Main.h"
#include "window/NameListView.h"

#include <QFrame>
#include <QPushButton>

namespace pellory {

void Main::PreviewBut_Click()
{
    if (m_runState != RunState::Idle) {
        m_feedback->beep(); // e.g. "Exit Preview" pressed while the preview still fills
        return;
    }
    m_runState = RunState::Busy;
    if (PreviewMode)
        leavePreview();
    else
        enterPreview();
    m_runState = RunState::Idle;
}

void Main::setEveryControlEnabled(bool enabled)
{
    // In the window's own order. The decorative lines have an enabled state here too, so
    // no control needs to be skipped.
    for (QWidget* control : m_tabOrder)
        control->setEnabled(enabled);
    Line1->setEnabled(enabled);
    Line2->setEnabled(enabled);
}

void Main::leavePreview()
{
    setEveryControlEnabled(true);
    PreviewMode = false;
    PreviewBut->setText(QStringLiteral("Previe&w and Check for Errors"));
    PreviewBut->setToolTip(QStringLiteral("Click to preview"));
    FileList->show();
    PreviewList->hide();
    PreviewList->setEnabled(false);
    m_runState = RunState::Idle;
    // Every control is enabled now; this puts back the states the settings call for.
    RenameChk_Click();
}

void Main::enterPreview()
{
    // The run takes this pointer over and restores the default one itself, before any
    // message it shows.
    m_runPointer = std::make_unique<BusyPointer>();
    setEveryControlEnabled(false);
    PreviewMode = true;
    PreviewBut->setEnabled(true);
    PreviewBut->setText(QStringLiteral("E&xit Preview"));
    PreviewBut->setToolTip(QStringLiteral("Click to exit preview mode"));
    PreviewList->names()->clear(); // entering twice lists the names once
    PreviewList->show();
    PreviewList->setEnabled(true);
    FileList->hide();
    m_runState = RunState::Idle;
    ApplyBut_Click();
}

} // namespace pellory
