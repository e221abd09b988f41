// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/ControlStates.h"

#include "rules/ControlRules.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/RunController.h"

namespace pellory {

ControlStates::ControlStates(FilePane& files, NamingPanel& naming, RunButtons& buttons,
                             RunController& run, Feedback& feedback, QObject* parent)
    : QObject(parent), m_files(files), m_naming(naming), m_buttons(buttons), m_run(run),
      m_feedback(feedback)
{}

void ControlStates::connectHandlers()
{
    connect(&m_files, &FilePane::listChanged, this, &ControlStates::UpdateControls);
    connect(&m_files, &FilePane::specsChanged, this, &ControlStates::followSpecs);
    connect(&m_naming, &NamingPanel::fieldsChanged, this, &ControlStates::UpdateControls);
    connect(&m_naming, &NamingPanel::batchSwitched, this, &ControlStates::RenameChk_Click);
    connect(&m_naming, &NamingPanel::patternChanged, this, &ControlStates::WildCardRen_Change);
    // Every control is enabled then; this puts back the states the settings call for.
    connect(&m_buttons, &RunButtons::previewLeft, this, &ControlStates::RenameChk_Click);
}

void ControlStates::UpdateControls()
{
    ControlSnapshot snapshot;
    snapshot.settings = m_naming.settings();
    snapshot.itemCount = m_files.listedCount();
    snapshot.selectedCount = m_files.selectedCount();
    snapshot.previewMode = m_run.previewMode();
    snapshot.wildCardRen = m_naming.wildcardPattern();
    const ControlDecision decision = decideRunButtons(snapshot);
    switch (decision.action) {
    case ControlDecision::Action::Nothing:
        return;
    case ControlDecision::Action::DisableRun:
        m_buttons.setApplyEnabled(false);
        m_buttons.setPreviewEnabled(false);
        return;
    case ControlDecision::Action::EnableRun:
        m_buttons.setApplyEnabled(true);
        if (decision.enablePreview)
            m_buttons.setPreviewEnabled(true);
        m_files.setEveryNEnabled(true);
        return;
    }
}

void ControlStates::RenameChk_Click()
{
    if (!m_run.mayAct(RunController::IfBusy::Ignore))
        return;
    const bool on = m_naming.batchOn();
    m_naming.setWildcardEnabled(!on);
    m_naming.setBatchFieldsEnabled(on);
    UpdateControls();
}

void ControlStates::followSpecs()
{
    const QString specs = m_files.specsText();
    m_naming.setWildcardEnabled(!specs.isEmpty() && !specs.contains(QLatin1Char(';')));
}

void ControlStates::WildCardRen_Change()
{
    const bool empty = m_naming.wildcardPattern().isEmpty();
    m_naming.setBatchSwitchEnabled(empty);
    // A wildcard rename acts on the file specification, not on a selection.
    if (!empty)
        m_files.clearSelection();
    // What a wildcard pattern switches off: the sort order and every-N selection, and the
    // case style, the batch switch, the naming fields and the extension choice.
    m_files.setOrderAndStepsEnabled(empty);
    m_naming.setSchemeEnabled(empty);
    if (empty) {
        UpdateControls();
        m_files.SelSteps_Change();
        RenameChk_Click();
        return;
    }
    checkSpecsForWildcard();
}

void ControlStates::checkSpecsForWildcard()
{
    const QString specs = m_files.specsText();
    const QString title = tr("Pellory - Wildcard Error");
    const int semicolon = specs.indexOf(QLatin1Char(';'));
    if (semicolon >= 0) {
        m_feedback.message(tr("File Specs cannot include multiple search specs when using "
                              "'Wildcard Rename'"),
                           title, Feedback::Style::Plain);
        m_buttons.setPreviewEnabled(false);
        m_buttons.setApplyEnabled(false);
        m_files.selectInSpecs(semicolon, int(specs.size()) - semicolon);
    } else if (!specs.contains(QLatin1Char('*')) && !specs.contains(QLatin1Char('?'))) {
        m_feedback.message(tr("File Specs must include wildcards when using 'Wildcard Rename'"),
                           title, Feedback::Style::Plain);
        m_files.selectInSpecs(0, -1);
    } else {
        m_buttons.setPreviewEnabled(false);
        m_buttons.setApplyEnabled(true);
    }
}

} // namespace pellory
