// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The naming panel's controls: creation, captions, tool tips, list items, start states,
// and the stored values they restore at start and give back at close.

#include "window/Controls.h"
#include "window/NamingPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace pellory {

NamingPanel::NamingPanel(QWidget* window, RunController& run) : QObject(window), m_run(run)
{
    createControls(window);
    setTexts();
    setInitialStates();
    // The batch switch, the extension options and the pattern raise changed() before
    // anything else hears of them, then their own signal; the fields raise it in their
    // handlers.
    connect(RenameChk, &QCheckBox::toggled, this, [this] {
        emit changed();
        emit batchSwitched();
    });
    for (QRadioButton* option : ExtUsed)
        connect(option, &QRadioButton::toggled, this, &NamingPanel::changed);
    connect(WildCardRen, &QLineEdit::textChanged, this, [this] {
        emit changed();
        emit patternChanged();
    });
}

void NamingPanel::createControls(QWidget* window)
{
    Label12 = makeLabel(window, "Label12", true);
    CasesList = makeControl<QComboBox>(window, "CasesList");
    Label9 = makeLabel(window, "Label9", true);
    WildCardRen = makeField(window, "WildCardRen");
    Frame2 = makeControl<QGroupBox>(window, "Frame2");
    // The check box heads the frame from the window, over the frame's top edge, so that
    // clearing it disables the fields inside while it stays usable itself.
    RenameChk = makeControl<QCheckBox>(window, "RenameChk");
    RenameChk->setAutoFillBackground(true);
    Label7 = makeLabel(Frame2, "Label7", true);
    NumCharKeep = makeField(Frame2, "NumCharKeep", 2);
    Label2 = makeLabel(Frame2, "Label2", true);
    FilePrefix = makeField(Frame2, "FilePrefix");
    Label13 = makeLabel(Frame2, "Label13", true);
    DateFormat = makeControl<QComboBox>(Frame2, "DateFormat");
    Label3 = makeLabel(Frame2, "Label3", true);
    StartingNumber = makeField(Frame2, "StartingNumber", 8);
    chkTrim = makeControl<QCheckBox>(Frame2, "chkTrim");
    Label5 = makeLabel(Frame2, "Label5", true);
    NumberIncValue = makeField(Frame2, "NumberIncValue", 6);
    chkAlpha = makeControl<QCheckBox>(Frame2, "chkAlpha");
    Label4 = makeLabel(Frame2, "Label4", true);
    FileLeading = makeField(Frame2, "FileLeading");
    Frame1 = makeControl<QGroupBox>(window, "Frame1");
    Label6 = makeLabel(Frame1, "Label6", true);
    NewExt = makeControl<QComboBox>(Frame1, "NewExt");
    NewExt->setEditable(true);
    NewExt->setInsertPolicy(QComboBox::NoInsert);
    NewExt->setCompleter(nullptr); // a typed extension must stay as typed, never completed
    for (int i = 0; i < 3; ++i)
        ExtUsed[i] =
            makeControl<QRadioButton>(Frame1, QByteArray("ExtUsed" + QByteArray::number(i)));
}

void NamingPanel::setTexts()
{
    static const char* const kDateTip =
        QT_TR_NOOP("Put the date the photo was taken (else the date the file was last "
                   "changed) after the prefix");
    pellory::setTexts(
        staticMetaObject,
        {
            {Label12, QT_TR_NOOP("Name &Format: "), nullptr, nullptr},
            {CasesList, nullptr, nullptr, nullptr},
            {Label9, QT_TR_NOOP("Wild&card Rename : "), QT_TR_NOOP("Rename files using wildcards"),
             nullptr},
            {WildCardRen, nullptr, QT_TR_NOOP("Rename files using wildcards"),
             QT_TR_NOOP("Wildcard rename pattern")},
            {Frame2, nullptr, nullptr, QT_TR_NOOP("Batch rename settings")},
            {RenameChk, QT_TR_NOOP("Enable Batch &Rename"),
             QT_TR_NOOP("Check to enable batch renaming"), nullptr},
            {Label7, QT_TR_NOOP("Characters to &keep from left : "), QT_TR_NOOP("Enter a number"),
             nullptr},
            {NumCharKeep, nullptr, QT_TR_NOOP("Enter a number"),
             QT_TR_NOOP("Characters to keep from left")},
            {Label2, QT_TR_NOOP("&Prefix : "), QT_TR_NOOP("Enter prefix text"), nullptr},
            {FilePrefix, nullptr, QT_TR_NOOP("Enter prefix text"), QT_TR_NOOP("Prefix")},
            {Label13, QT_TR_NOOP("&Date:"), kDateTip, nullptr},
            {DateFormat, nullptr, kDateTip, nullptr},
            {Label3, QT_TR_NOOP("&Starting # : "), QT_TR_NOOP("Enter padded numbers"), nullptr},
            {StartingNumber, nullptr, QT_TR_NOOP("Enter padded numbers"),
             QT_TR_NOOP("Starting value")},
            {chkTrim, QT_TR_NOOP("Trim"), QT_TR_NOOP("Check to trim zeros"), nullptr},
            {Label5, QT_TR_NOOP("&Increment : "), QT_TR_NOOP("Enter increment value"), nullptr},
            {NumberIncValue, nullptr, QT_TR_NOOP("Enter increment value"), QT_TR_NOOP("Increment")},
            {chkAlpha, QT_TR_NOOP("Alpha"), QT_TR_NOOP("Check to use characters"), nullptr},
            {Label4, QT_TR_NOOP("&Leading : "), QT_TR_NOOP("Enter leading text"), nullptr},
            {FileLeading, nullptr, QT_TR_NOOP("Enter leading text"), QT_TR_NOOP("Leading text")},
            {Frame1, QT_TR_NOOP("Extension"), nullptr, nullptr},
            {Label6, QT_TR_NOOP("New e&xt : "), QT_TR_NOOP("Select or type in new file extension"),
             nullptr},
            {NewExt, nullptr, QT_TR_NOOP("Select or type in new file extension"), nullptr},
            {ExtUsed[0], QT_TR_NOOP("Use First Occurrence"),
             QT_TR_NOOP("Act on first occurrence of file extension"), nullptr},
            {ExtUsed[1], QT_TR_NOOP("Use Last Occurrence"), nullptr, nullptr},
            {ExtUsed[2], QT_TR_NOOP("Do Not Use File Extension"), nullptr, nullptr},
        });
    CasesList->addItems(
        {tr("Leave as is"), tr("all lower case"), tr("ALL UPPER CASE"), tr("Normal Formatted")});
    NewExt->addItems({tr("Keep as is"), tr("Remove ext")});
    DateFormat->addItems(
        {tr("(none)"), tr("YYYY-MM-DD"), tr("YYYYMMDD"), tr("YYYY-MM-DD_hh-mm-ss")});
}

void NamingPanel::setInitialStates()
{
    // The lists start with nothing chosen, so that choosing item 0 at start-up raises the
    // list's handler as a choice would.
    CasesList->setCurrentIndex(-1);
    NewExt->setCurrentIndex(-1);
    NumCharKeep->setText("0");
    FilePrefix->setText("IMG_");
    StartingNumber->setText("000");
    NumberIncValue->setText("1");
    ExtUsed[1]->setChecked(true);
    for (QWidget* inside : Frame2->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        inside->setEnabled(false);
}

namespace {

void setStoredIndex(QComboBox* list, const QString& text, int first)
{
    if (const auto index = storedIndexIn(text, first, list->count() - 1))
        list->setCurrentIndex(*index);
}

} // namespace

void NamingPanel::restoreSetting(SettingKey key, const QString& text)
{
    CounterTexts& counters = m_counters;
    switch (key) {
    case SettingKey::WindowTop:
    case SettingKey::WindowLeft:
    case SettingKey::WindowWidth:
    case SettingKey::WindowHeight:
    case SettingKey::HiddenFolders:
    case SettingKey::Specs:
    case SettingKey::LastDrive:
    case SettingKey::LastDir:
    case SettingKey::SelSteps:
    case SettingKey::TakenColumn:
    case SettingKey::Companions:
        return; // the window's and the file pane's
    case SettingKey::Cases:
        return setStoredIndex(CasesList, text, 0);
    case SettingKey::Keep:
        return NumCharKeep->setText(text);
    case SettingKey::Prefix:
        return FilePrefix->setText(text);
    case SettingKey::Number:
        StartingNumber->setText(text);
        counters.NumberText = StartingNumber->text();
        return;
    case SettingKey::Increment:
        NumberIncValue->setText(text);
        counters.IncrementText = NumberIncValue->text();
        return;
    case SettingKey::AlphaNumber:
        counters.AlphaNumberText = text;
        return;
    case SettingKey::AlphaIncrement:
        counters.AlphaIncrementText = text;
        return;
    case SettingKey::Alpha:
        if (const auto index = storedIndexIn(text, 0, 1))
            chkAlpha->setChecked(*index == 1);
        return;
    case SettingKey::Leading:
        return FileLeading->setText(text);
    case SettingKey::FileExt:
        if (const auto index = storedIndexIn(text, 0, 2))
            ExtUsed[*index]->setChecked(true);
        return;
    case SettingKey::NewExtInx:
        return setStoredIndex(NewExt, text, -1);
    case SettingKey::NewExtUser:
        if (NewExt->currentIndex() == -1)
            NewExt->setEditText(text);
        return;
    case SettingKey::DateFormat:
        // A format this version does not know puts no date into names.
        return DateFormat->setCurrentIndex(
            storedIndexIn(text, 0, DateFormat->count() - 1).value_or(0));
    }
}

std::optional<QString> NamingPanel::settingToStore(SettingKey key) const
{
    const CounterTexts& counters = m_counters;
    switch (key) {
    case SettingKey::WindowTop:
    case SettingKey::WindowLeft:
    case SettingKey::WindowWidth:
    case SettingKey::WindowHeight:
    case SettingKey::HiddenFolders:
    case SettingKey::Specs:
    case SettingKey::LastDrive:
    case SettingKey::LastDir:
    case SettingKey::SelSteps:
    case SettingKey::TakenColumn:
    case SettingKey::Companions:
        return std::nullopt; // the window's and the file pane's
    case SettingKey::Cases:
        return QString::number(CasesList->currentIndex());
    case SettingKey::Keep:
        return NumCharKeep->text();
    case SettingKey::Prefix:
        return FilePrefix->text();
    case SettingKey::Number:
        return counters.NumberText;
    case SettingKey::Increment:
        return counters.IncrementText;
    case SettingKey::AlphaNumber:
        return counters.AlphaNumberText;
    case SettingKey::AlphaIncrement:
        return counters.AlphaIncrementText;
    case SettingKey::Alpha:
        return QString::number(int(chkAlpha->isChecked()));
    case SettingKey::Leading:
        return FileLeading->text();
    case SettingKey::FileExt:
        return QString::number(int(extensionMode()));
    case SettingKey::NewExtInx:
        return QString::number(NewExt->currentIndex());
    case SettingKey::NewExtUser:
        // A typed extension stays in the store, unshown, until another one is typed.
        if (NewExt->currentIndex() != -1)
            return std::nullopt;
        return NewExt->currentText();
    case SettingKey::DateFormat:
        return QString::number(DateFormat->currentIndex());
    }
    return std::nullopt;
}

} // namespace pellory
