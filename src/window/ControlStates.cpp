// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/ControlStates.h"

#include "rules/ControlRules.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pellory {

namespace {

void setEnabled(const std::vector<QWidget*>& controls, bool enabled)
{
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}

} // namespace

ControlStates::ControlStates(FilePane& files, NamingPanel& naming, RunButtons& buttons,
                             RunController& run, Feedback& feedback, QObject* parent)
    : QObject(parent), m_files(files), m_naming(naming), m_buttons(buttons), m_run(run),
      m_feedback(feedback)
{}

void ControlStates::connectHandlers()
{
    connect(&m_files, &FilePane::listChanged, this, &ControlStates::UpdateControls);
    connect(&m_files, &FilePane::specsChanged, this, &ControlStates::followSpecs);
    connect(&m_naming, &NamingPanel::changed, this, &ControlStates::UpdateControls);
    connect(m_naming.RenameChk, &QCheckBox::toggled, this, &ControlStates::RenameChk_Click);
    connect(m_naming.WildCardRen, &QLineEdit::textChanged, this,
            &ControlStates::WildCardRen_Change);
    // Every control is enabled then; this puts back the states the settings call for.
    connect(&m_buttons, &RunButtons::previewLeft, this, &ControlStates::RenameChk_Click);
}

std::vector<QWidget*> ControlStates::namingFields() const
{
    const NamingPanel& n = m_naming;
    return {n.Label7,         n.NumCharKeep, n.Label2,         n.FilePrefix, n.Label13,
            n.DateFormat,     n.Label3,      n.StartingNumber, n.chkTrim,    n.Label5,
            n.NumberIncValue, n.chkAlpha,    n.Label4,         n.FileLeading};
}

std::vector<QWidget*> ControlStates::offForWildcard() const
{
    const FilePane& f = m_files;
    const NamingPanel& n = m_naming;
    std::vector<QWidget*> off{f.Label8,  f.FileSortOrder, f.Label10,   f.SelSteps,
                              f.Label11, n.Label12,       n.CasesList, n.RenameChk};
    for (QWidget* field : namingFields())
        off.push_back(field);
    off.insert(off.end(), {n.Label6, n.NewExt, n.ExtUsed[0], n.ExtUsed[1], n.ExtUsed[2]});
    return off;
}

void ControlStates::UpdateControls()
{
    ControlSnapshot s;
    s.settings = m_naming.settings();
    s.itemCount = m_files.FileList->count();
    s.selectedCount = m_files.FileList->selectedCount();
    s.previewMode = m_run.previewMode();
    s.wildCardRen = m_naming.WildCardRen->text();
    const ControlDecision decision = decideRunButtons(s);
    switch (decision.action) {
    case ControlDecision::Action::Nothing:
        return;
    case ControlDecision::Action::DisableRun:
        setEnabled({m_buttons.ApplyBut, m_buttons.PreviewBut}, false);
        return;
    case ControlDecision::Action::EnableRun:
        m_buttons.ApplyBut->setEnabled(true);
        if (decision.enablePreview)
            m_buttons.PreviewBut->setEnabled(true);
        setEnabled({m_files.SelSteps, m_files.Label10, m_files.Label11}, true);
        return;
    }
}

void ControlStates::RenameChk_Click()
{
    if (!m_run.mayAct(RunController::IfBusy::Ignore))
        return;
    const bool on = m_naming.RenameChk->isChecked();
    setEnabled({m_naming.Label9, m_naming.WildCardRen}, !on);
    setEnabled(namingFields(), on);
    UpdateControls();
}

void ControlStates::followSpecs()
{
    const QString specs = m_files.FileSpecs->text();
    setEnabled({m_naming.WildCardRen, m_naming.Label9},
               !specs.isEmpty() && !specs.contains(QLatin1Char(';')));
}

void ControlStates::WildCardRen_Change()
{
    const bool empty = m_naming.WildCardRen->text().isEmpty();
    m_naming.RenameChk->setEnabled(empty);
    // A wildcard rename acts on the file specification, not on a selection.
    if (!empty)
        m_files.FileList->clearSelectionOnly();
    setEnabled(offForWildcard(), empty);
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
    QLineEdit* specsField = m_files.FileSpecs;
    const QString specs = specsField->text();
    const QString title = tr("Pellory - Wildcard Error");
    const int semicolon = specs.indexOf(QLatin1Char(';'));
    if (semicolon >= 0) {
        m_feedback.message(tr("File Specs cannot include multiple search specs when using "
                              "'Wildcard Rename'"),
                           title, Feedback::Style::Plain);
        setEnabled({m_buttons.PreviewBut, m_buttons.ApplyBut}, false);
        specsField->setFocus(Qt::OtherFocusReason);
        specsField->setSelection(semicolon, specs.size() - semicolon);
    } else if (!specs.contains(QLatin1Char('*')) && !specs.contains(QLatin1Char('?'))) {
        m_feedback.message(tr("File Specs must include wildcards when using 'Wildcard Rename'"),
                           title, Feedback::Style::Plain);
        specsField->setFocus(Qt::OtherFocusReason);
        specsField->selectAll();
    } else {
        m_buttons.PreviewBut->setEnabled(false);
        m_buttons.ApplyBut->setEnabled(true);
    }
}

} // namespace pellory
