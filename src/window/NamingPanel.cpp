// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The naming fields' handlers: each change keeps the counter texts current and has the run
// buttons decided anew; "Alpha" swaps the counter pair shown, a case style converts the
// texts typed so far.

#include "window/NamingPanel.h"

#include "naming/CaseStyle.h"
#include "naming/Compose.h"
#include "rules/KeyFilters.h"
#include "window/KeystrokeFilter.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace pellory {

void NamingPanel::connectHandlers()
{
    // These signals fire for values set from code too: start-up and several handlers rely on
    // a value set from code raising its control's handler at once.
    connect(CasesList, &QComboBox::currentIndexChanged, this, &NamingPanel::CasesList_Click);
    connect(chkAlpha, &QCheckBox::toggled, this, &NamingPanel::chkAlpha_Click);
    connect(chkTrim, &QCheckBox::toggled, this, &NamingPanel::chkTrim_Click);
    connect(FilePrefix, &QLineEdit::textChanged, this, &NamingPanel::FilePrefix_Change);
    connect(FileLeading, &QLineEdit::textChanged, this, &NamingPanel::FileLeading_Change);
    connect(NumCharKeep, &QLineEdit::textChanged, this, &NamingPanel::NumCharKeep_Change);
    connect(StartingNumber, &QLineEdit::textChanged, this, &NamingPanel::StartingNumber_Change);
    connect(NumberIncValue, &QLineEdit::textChanged, this, &NamingPanel::NumberIncValue_Change);
    connect(NewExt, &QComboBox::editTextChanged, this, &NamingPanel::NewExt_Change);
    connect(NewExt, &QComboBox::currentIndexChanged, this, &NamingPanel::NewExt_Click);
    connect(DateFormat, &QComboBox::currentIndexChanged, this, &NamingPanel::DateFormat_Click);
    for (QRadioButton* option : ExtUsed)
        connect(option, &QRadioButton::toggled, this, &NamingPanel::focusSelectedOption);
    focusSelectedOption();
}

void NamingPanel::focusSelectedOption()
{
    // The arrow keys move within the group.
    for (QRadioButton* option : ExtUsed)
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

ExtensionMode NamingPanel::extensionMode() const
{
    for (int i = 0; i < int(ExtUsed.size()); ++i) {
        if (ExtUsed[i]->isChecked())
            return ExtensionMode(i);
    }
    return ExtensionMode::UseLastOccurrence;
}

RenameSettings NamingPanel::settings() const
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
    s.AlphaNumberText = m_counters.AlphaNumberText;
    s.AlphaIncrementText = m_counters.AlphaIncrementText;
    s.ExtUsed = extensionMode();
    s.NewExtIndex = NewExt->currentIndex();
    s.NewExtText = NewExt->currentText();
    s.CasesList = CasesList->currentIndex();
    s.DateFormat = DateFormat->currentIndex();
    return s;
}

bool NamingPanel::namesUseDate() const
{
    return pellory::namesUseDate(settings());
}

bool NamingPanel::batchOn() const
{
    return RenameChk->isChecked();
}

QString NamingPanel::wildcardPattern() const
{
    return WildCardRen->text();
}

void NamingPanel::clearWildcardPattern()
{
    WildCardRen->setText(QString());
}

void NamingPanel::fieldChanged()
{
    emit changed();
    emit fieldsChanged();
}

void NamingPanel::guardKeystrokes(KeystrokeFilter& keys)
{
    RunController* run = &m_run;
    const QComboBox* cases = CasesList;
    const QCheckBox* alpha = chkAlpha;
    const auto text = [run, cases](int key) {
        return textFieldKeyPress(key, run->busy(), cases->currentIndex());
    };
    const auto digits = [run](int key) { return digitFieldKeyPress(key, run->busy()); };
    keys.guard(FilePrefix, text);
    keys.guard(FileLeading, text);
    keys.guard(NewExt, NewExt_KeyPress);
    keys.guard(NumCharKeep, digits);
    keys.guard(NumberIncValue, digits);
    keys.guard(StartingNumber, [run, alpha](int key) {
        return StartingNumber_KeyPress(key, run->busy(), alpha->isChecked());
    });
}

std::vector<QWidget*> NamingPanel::batchFields() const
{
    return {Label7,         NumCharKeep, Label2, FilePrefix,     Label13,  DateFormat, Label3,
            StartingNumber, chkTrim,     Label5, NumberIncValue, chkAlpha, Label4,     FileLeading};
}

void NamingPanel::setWildcardEnabled(bool enabled)
{
    Label9->setEnabled(enabled);
    WildCardRen->setEnabled(enabled);
}

void NamingPanel::setBatchFieldsEnabled(bool enabled)
{
    for (QWidget* field : batchFields())
        field->setEnabled(enabled);
}

void NamingPanel::setBatchSwitchEnabled(bool enabled)
{
    RenameChk->setEnabled(enabled);
}

void NamingPanel::setSchemeEnabled(bool enabled)
{
    Label12->setEnabled(enabled);
    CasesList->setEnabled(enabled);
    RenameChk->setEnabled(enabled);
    setBatchFieldsEnabled(enabled);
    Label6->setEnabled(enabled);
    NewExt->setEnabled(enabled);
    for (QRadioButton* option : ExtUsed)
        option->setEnabled(enabled);
}

void NamingPanel::lockForRun(bool locked)
{
    CasesList->setEnabled(!locked);
    RenameChk->setEnabled(!locked);
}

void NamingPanel::chooseFirstNewExtension()
{
    NewExt->setCurrentIndex(0);
}

void NamingPanel::FilePrefix_Change()
{
    fieldChanged();
}

void NamingPanel::FileLeading_Change()
{
    fieldChanged();
}

void NamingPanel::NumCharKeep_Change()
{
    fieldChanged();
}

void NamingPanel::StartingNumber_Change()
{
    CounterTexts& counters = m_counters;
    (chkAlpha->isChecked() ? counters.AlphaNumberText : counters.NumberText) =
        StartingNumber->text();
    fieldChanged();
}

void NamingPanel::NumberIncValue_Change()
{
    CounterTexts& counters = m_counters;
    (chkAlpha->isChecked() ? counters.AlphaIncrementText : counters.IncrementText) =
        NumberIncValue->text();
    fieldChanged();
}

void NamingPanel::NewExt_Change()
{
    // Text typed over a chosen item is the user's own extension: no item is chosen then.
    const int chosen = NewExt->currentIndex();
    const QString text = NewExt->currentText();
    if (chosen >= 0 && text != NewExt->itemText(chosen)) {
        QLineEdit* edit = NewExt->lineEdit();
        const int cursor = edit->cursorPosition();
        {
            const QSignalBlocker quiet(NewExt);
            NewExt->setCurrentIndex(-1); // this also empties the text, put back below
            NewExt->setEditText(text);
        }
        edit->setCursorPosition(cursor);
    }
    fieldChanged();
}

void NamingPanel::NewExt_Click()
{
    fieldChanged();
}

void NamingPanel::chkAlpha_Click()
{
    // Each counter kind keeps its own start and increment; the fields show the pair of the
    // kind now chosen. Writing the fields raises their change handlers, which store the
    // same texts into the pair of the kind just entered, but only where a text differs:
    // the kind of counter is an input of its own, and says so itself.
    CounterTexts& counters = m_counters;
    const bool alpha = chkAlpha->isChecked();
    Label3->setText(alpha ? tr("&Starting @ : ") : tr("&Starting # : "));
    (alpha ? counters.NumberText : counters.AlphaNumberText) = StartingNumber->text();
    (alpha ? counters.IncrementText : counters.AlphaIncrementText) = NumberIncValue->text();
    StartingNumber->setText(alpha ? counters.AlphaNumberText : counters.NumberText);
    NumberIncValue->setText(alpha ? counters.AlphaIncrementText : counters.IncrementText);
    chkTrim->setEnabled(!alpha);
    fieldChanged();
}

void NamingPanel::DateFormat_Click()
{
    fieldChanged();
}

void NamingPanel::chkTrim_Click()
{
    fieldChanged();
}

void NamingPanel::CasesList_Click()
{
    if (!m_run.mayAct(RunController::IfBusy::Beep))
        return;
    fieldChanged();
    // Converted once, when the style is picked; later typing follows the keystroke filter.
    const int style = CasesList->currentIndex();
    FilePrefix->setText(applyCaseStyle(FilePrefix->text(), style));
    FileLeading->setText(applyCaseStyle(FileLeading->text(), style));
}

} // namespace pellory
