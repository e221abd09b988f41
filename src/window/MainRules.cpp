// The control-state rules: the run buttons are offered only when a run would change
// something, batch renaming and wildcard renaming exclude each other, and Exit closes the
// window when idle or asks a running rename to stop.

#include "run/ControlRules.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pellory {

void Main::UpdateControls()
{
    const NamingPanel& n = *m_naming;
    ControlSnapshot s;
    s.previewMode = m_run->previewMode();
    s.itemCount = m_files->FileList->count();
    s.selectedCount = m_files->FileList->selectedCount();
    s.renameChk = n.RenameChk->isChecked();
    s.numCharKeep = n.NumCharKeep->text();
    s.startingNumber = n.StartingNumber->text();
    s.numberIncValue = n.NumberIncValue->text();
    s.chkAlpha = n.chkAlpha->isChecked();
    s.chkTrim = n.chkTrim->isChecked();
    s.filePrefix = n.FilePrefix->text();
    s.fileLeading = n.FileLeading->text();
    s.casesIndex = n.CasesList->currentIndex();
    s.newExtIndex = n.NewExt->currentIndex();
    s.newExtText = n.NewExt->currentText();
    s.wildCardRen = n.WildCardRen->text();
    const ControlDecision decision = decideRunButtons(s);
    switch (decision.action) {
    case ControlDecision::Action::Nothing:
        return;
    case ControlDecision::Action::DisableRun:
        ApplyBut->setEnabled(false);
        PreviewBut->setEnabled(false);
        return;
    case ControlDecision::Action::EnableRun:
        ApplyBut->setEnabled(true);
        if (decision.enablePreview)
            PreviewBut->setEnabled(true);
        m_files->SelSteps->setEnabled(true);
        m_files->Label10->setEnabled(true);
        m_files->Label11->setEnabled(true);
        return;
    }
}

void Main::setEnabledByTabPosition(int first, int last, bool enabled)
{
    for (int position = first; position <= last; ++position)
        byTabPosition(position)->setEnabled(enabled);
}

void Main::RenameChk_Click()
{
    if (!m_run->mayAct(RunController::IfBusy::Ignore))
        return;
    const bool on = m_naming->RenameChk->isChecked();
    m_naming->Label9->setEnabled(!on);
    m_naming->WildCardRen->setEnabled(!on);
    setEnabledByTabPosition(15, 26, on); // the naming fields and their captions
    UpdateControls();
}

void Main::WildCardRen_Change()
{
    const QString pattern = m_naming->WildCardRen->text();
    const bool empty = pattern.isEmpty();
    m_naming->RenameChk->setEnabled(empty);
    // A wildcard rename acts on the file specification, not on a selection.
    if (!empty)
        m_files->FileList->clearSelectionOnly();
    setEnabledByTabPosition(2, 6, empty);   // sort order and every-N selection
    setEnabledByTabPosition(12, 31, empty); // name format, naming fields, extension
    if (empty) {
        UpdateControls();
        m_files->SelSteps_Change();
        RenameChk_Click();
        return;
    }
    const QString specs = m_files->FileSpecs->text();
    const QString title = QStringLiteral("Pellory - Wilcard Error");
    const int semicolon = specs.indexOf(QLatin1Char(';'));
    if (semicolon >= 0) {
        m_feedback->message(QStringLiteral("File Specs cannot include multiple search specs "
                                           "when using 'Wilcard Rename'"),
                            title, Feedback::kPlain);
        PreviewBut->setEnabled(false);
        ApplyBut->setEnabled(false);
        m_files->FileSpecs->setFocus(Qt::OtherFocusReason);
        m_files->FileSpecs->setSelection(semicolon, specs.size() - semicolon);
    } else if (!specs.contains(QLatin1Char('*')) && !specs.contains(QLatin1Char('?'))) {
        m_feedback->message(
            QStringLiteral("File Specs must include wildcards when using 'Wilcard Rename'"), title,
            Feedback::kPlain);
        m_files->FileSpecs->setFocus(Qt::OtherFocusReason);
        m_files->FileSpecs->selectAll();
    } else {
        PreviewBut->setEnabled(false);
        ApplyBut->setEnabled(true);
    }
}

void Main::ExitBut_Click()
{
    if (m_run->mayAct(RunController::IfBusy::Ignore))
        close(); // through Form_QueryUnload and Form_Unload
    else
        m_run->requestCancel();
}

} // namespace pellory
