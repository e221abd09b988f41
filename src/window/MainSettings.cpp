// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Each stored setting bound to its control or counter text: what restoring it at start
// does (raising the control's handler, as a user's edit would) and what is stored at close.
// Both are switches over every key, so that a key without its binding does not build. A
// restored value that its control refuses is skipped, and start-up goes on.

#include "settings/StoredSettings.h"
#include "window/DriveSelector.h"
#include "window/FilePane.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NamingPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

namespace pellory {

namespace {

// The index a stored text names, when it is a number from first to last.
std::optional<int> storedIndexIn(const QString& text, int first, int last)
{
    const std::optional<qint16> value = storedIndex(text);
    if (!value || *value < first || *value > last)
        return std::nullopt;
    return *value;
}

void setIndex(QComboBox* list, const QString& text, int first)
{
    if (const auto i = storedIndexIn(text, first, list->count() - 1))
        list->setCurrentIndex(*i);
}

} // namespace

void Main::restoreSetting(SettingKey key, const QString& text)
{
    NamingPanel& n = *m_naming;
    CounterTexts& counters = n.counterTexts();
    switch (key) {
    case SettingKey::WindowTop:
    case SettingKey::WindowLeft:
    case SettingKey::WindowWidth:
    case SettingKey::WindowHeight:
        return; // placed before everything else (MainPlacement.cpp)
    case SettingKey::HiddenFolders:
        if (const auto i = storedIndexIn(text, 0, 1))
            m_files->DirList->setShowHidden(*i == 1);
        return;
    case SettingKey::Specs:
        return m_files->setSpecs(text);
    case SettingKey::LastDrive:
        // The folder named at start opens in place of the stored drive and folder, with the
        // specifications already restored.
        if ((m_startFolderOpened = openStartFolder()))
            return;
        if (!text.isEmpty())
            m_files->DriveList->setDrive(text);
        return;
    case SettingKey::LastDir:
        if (!m_startFolderOpened)
            restoreFolder(text);
        return;
    case SettingKey::Cases:
        return setIndex(n.CasesList, text, 0);
    case SettingKey::Keep:
        return n.NumCharKeep->setText(text);
    case SettingKey::Prefix:
        return n.FilePrefix->setText(text);
    case SettingKey::Number:
        n.StartingNumber->setText(text);
        counters.NumberText = n.StartingNumber->text();
        return;
    case SettingKey::Increment:
        n.NumberIncValue->setText(text);
        counters.IncrementText = n.NumberIncValue->text();
        return;
    case SettingKey::AlphaNumber:
        counters.AlphaNumberText = text;
        return;
    case SettingKey::AlphaIncrement:
        counters.AlphaIncrementText = text;
        return;
    case SettingKey::Alpha:
        if (const auto i = storedIndexIn(text, 0, 1))
            n.chkAlpha->setChecked(*i == 1);
        return;
    case SettingKey::Leading:
        return n.FileLeading->setText(text);
    case SettingKey::FileExt:
        if (const auto i = storedIndexIn(text, 0, 2))
            n.ExtUsed[*i]->setChecked(true);
        return;
    case SettingKey::NewExtInx:
        return setIndex(n.NewExt, text, -1);
    case SettingKey::NewExtUser:
        if (n.NewExt->currentIndex() == -1)
            n.NewExt->setEditText(text);
        return;
    case SettingKey::SelSteps:
        return m_files->SelSteps->setText(text);
    case SettingKey::TakenColumn:
        if (const auto i = storedIndexIn(text, 0, 1))
            m_files->showTakenColumn(*i == 1);
        return;
    case SettingKey::DateFormat:
        // A format this version does not know puts no date into names.
        return n.DateFormat->setCurrentIndex(
            storedIndexIn(text, 0, n.DateFormat->count() - 1).value_or(0));
    case SettingKey::Companions:
        if (const auto i = storedIndexIn(text, 0, 1))
            m_files->CompanionsChk->setChecked(*i == 1);
        return;
    }
}

void Main::restoreFolder(const QString& text)
{
    // The list fills at start even when the stored folder is the one already shown; no
    // stored folder means the folder shown.
    const int before = m_files->folderChanges();
    const QByteArray folder = storedFolder(text);
    if (!folder.isEmpty() && !m_files->DirList->setRawPath(folder))
        return;
    if (m_files->folderChanges() == before)
        m_files->DirList_Change();
}

bool Main::openStartFolder()
{
    if (m_startFolder.isEmpty())
        return false;
    const QString refusal = m_files->openFolder(m_startFolder);
    if (!refusal.isEmpty()) // no window shows yet: said where Pellory was started
        qWarning().noquote() << "pellory:" << refusal;
    return refusal.isEmpty();
}

std::optional<QString> Main::settingToStore(SettingKey key) const
{
    const NamingPanel& n = *m_naming;
    const CounterTexts& counters = n.counterTexts();
    const auto twips = [](int pixels, Qt::Orientation along) {
        return coordinateText(float(std::lround(pixels * twipsPerPixel(along))));
    };
    switch (key) {
    case SettingKey::WindowTop:
        return twips(y(), Qt::Vertical);
    case SettingKey::WindowLeft:
        return twips(x(), Qt::Horizontal);
    case SettingKey::WindowWidth:
        return twips(width(), Qt::Horizontal);
    case SettingKey::WindowHeight:
        return twips(height(), Qt::Vertical);
    case SettingKey::HiddenFolders:
        return QString::number(int(m_files->DirList->showsHidden()));
    case SettingKey::Specs:
        return m_files->FileSpecs->text();
    case SettingKey::LastDrive:
        return m_files->DriveList->drive();
    case SettingKey::LastDir:
        return storedFolderText(m_files->DirList->rawPath());
    case SettingKey::Cases:
        return QString::number(n.CasesList->currentIndex());
    case SettingKey::Keep:
        return n.NumCharKeep->text();
    case SettingKey::Prefix:
        return n.FilePrefix->text();
    case SettingKey::Number:
        return counters.NumberText;
    case SettingKey::Increment:
        return counters.IncrementText;
    case SettingKey::AlphaNumber:
        return counters.AlphaNumberText;
    case SettingKey::AlphaIncrement:
        return counters.AlphaIncrementText;
    case SettingKey::Alpha:
        return QString::number(int(n.chkAlpha->isChecked()));
    case SettingKey::Leading:
        return n.FileLeading->text();
    case SettingKey::FileExt:
        return QString::number(int(n.extensionMode()));
    case SettingKey::NewExtInx:
        return QString::number(n.NewExt->currentIndex());
    case SettingKey::NewExtUser:
        // A typed extension stays in the store, unshown, until another one is typed.
        if (n.NewExt->currentIndex() != -1)
            return std::nullopt;
        return n.NewExt->currentText();
    case SettingKey::SelSteps:
        return m_files->SelSteps->text();
    case SettingKey::TakenColumn:
        return QString::number(int(m_files->takenColumnShown()));
    case SettingKey::DateFormat:
        return QString::number(n.DateFormat->currentIndex());
    case SettingKey::Companions:
        return QString::number(int(m_files->CompanionsChk->isChecked()));
    }
    return std::nullopt;
}

} // namespace pellory
