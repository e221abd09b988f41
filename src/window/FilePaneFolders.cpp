// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Folders from anywhere: a folder the user types, drops or starts Pellory with; F5; the list
// following the folder as other programs change it; what an empty list says; and the
// pane's stored settings, restored at start and given back at close.

#include "window/FilePane.h"
#include "window/RunController.h"

#include "platform/FolderWatch.h"
#include "window/DriveSelector.h"
#include "window/Feedback.h"
#include "window/FolderPathField.h"
#include "window/FolderSelector.h"
#include "window/NameListView.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include <utility>

namespace pellory {

void FilePane::restoreSetting(SettingKey key, const QString& text)
{
    switch (key) {
    case SettingKey::WindowTop:
    case SettingKey::WindowLeft:
    case SettingKey::WindowWidth:
    case SettingKey::WindowHeight:
    case SettingKey::Cases:
    case SettingKey::Keep:
    case SettingKey::Prefix:
    case SettingKey::Number:
    case SettingKey::Increment:
    case SettingKey::AlphaNumber:
    case SettingKey::AlphaIncrement:
    case SettingKey::Alpha:
    case SettingKey::Leading:
    case SettingKey::FileExt:
    case SettingKey::NewExtInx:
    case SettingKey::NewExtUser:
    case SettingKey::DateFormat:
        return; // the window's and the naming panel's
    case SettingKey::HiddenFolders:
        if (const auto index = storedIndexIn(text, 0, 1))
            DirList->setShowHidden(*index == 1);
        return;
    case SettingKey::Specs:
        return setSpecs(text);
    case SettingKey::LastDrive:
        if (!text.isEmpty())
            DriveList->setDrive(text);
        return;
    case SettingKey::LastDir:
        return restoreFolder(text);
    case SettingKey::SelSteps:
        return SelSteps->setText(text);
    case SettingKey::TakenColumn:
        if (const auto index = storedIndexIn(text, 0, 1))
            showTakenColumn(*index == 1);
        return;
    case SettingKey::Companions:
        if (const auto index = storedIndexIn(text, 0, 1))
            CompanionsChk->setChecked(*index == 1);
        return;
    }
}

void FilePane::restoreFolder(const QString& text)
{
    // The list fills at start even when the stored folder is the one already shown; no
    // stored folder means the folder shown.
    const int before = m_dirChanges;
    const QByteArray folder = storedFolder(text);
    if (!folder.isEmpty() && !DirList->setRawPath(folder))
        return;
    if (m_dirChanges == before)
        DirList_Change();
}

std::optional<QString> FilePane::settingToStore(SettingKey key) const
{
    switch (key) {
    case SettingKey::WindowTop:
    case SettingKey::WindowLeft:
    case SettingKey::WindowWidth:
    case SettingKey::WindowHeight:
    case SettingKey::Cases:
    case SettingKey::Keep:
    case SettingKey::Prefix:
    case SettingKey::Number:
    case SettingKey::Increment:
    case SettingKey::AlphaNumber:
    case SettingKey::AlphaIncrement:
    case SettingKey::Alpha:
    case SettingKey::Leading:
    case SettingKey::FileExt:
    case SettingKey::NewExtInx:
    case SettingKey::NewExtUser:
    case SettingKey::DateFormat:
        return std::nullopt; // the window's and the naming panel's
    case SettingKey::HiddenFolders:
        return QString::number(int(DirList->showsHidden()));
    case SettingKey::Specs:
        return FileSpecs->text();
    case SettingKey::LastDrive:
        return DriveList->drive();
    case SettingKey::LastDir:
        return storedFolderText(DirList->rawPath());
    case SettingKey::SelSteps:
        return SelSteps->text();
    case SettingKey::TakenColumn:
        return QString::number(int(takenColumnShown()));
    case SettingKey::Companions:
        return QString::number(int(CompanionsChk->isChecked()));
    }
    return std::nullopt;
}

QString FilePane::openFolder(const QByteArray& path)
{
    const int before = m_dirChanges;
    bool opened = DirList->setRawPath(path);
    if (!opened && DirList->refusal() == FolderSelector::Refusal::AFile)
        opened = DirList->setRawPath(path + "/.."); // the folder the file is in
    if (!opened)
        return refusal(path);
    if (m_dirChanges == before) // the folder shown: asking for it again reads it again
        readFolderAgain();
    return {};
}

QString FilePane::refusal(const QByteArray& path) const
{
    const QString folder = QDir::cleanPath(QFile::decodeName(path));
    if (DirList->refusal() == FolderSelector::Refusal::NoAnswer)
        return tr("%1 does not answer.").arg(folder);
    return tr("%1 is not a folder Pellory can open.").arg(folder);
}

void FilePane::openTypedFolder()
{
    if (!mayChangeFolder(RunController::IfBusy::Beep))
        return;
    if (const QString why = openFolder(FolderPath->typedPath()); !why.isEmpty())
        emit note(why);
}

bool FilePane::mayChangeFolder(RunController::IfBusy answer) const
{
    if (!m_run.mayAct(answer))
        return false;
    // The preview shows the names this list would get; it must not change under them.
    if (m_run.previewMode() && answer == RunController::IfBusy::Beep)
        m_feedback.beep();
    return !m_run.previewMode();
}

void FilePane::readFolderAgain()
{
    if (!mayChangeFolder(RunController::IfBusy::Beep))
        return;
    DirList->reread(); // subfolders made or removed since
    DirList_Change();
}

void FilePane::watchFolder()
{
    // The notices of changes that the rebuild has read are dropped, so that a run's own
    // renames do not rebuild the list once more.
    m_settle->stop();
    m_changedUnseen = false;
    m_watch->watch(DirList->rawPath());
}

void FilePane::followDisk()
{
    // While the specifications are being edited the list waits for the field to be left,
    // as it does for the edit itself.
    const bool editing = FileSpecs->hasFocus() && FileSpecs->text() != SavedSpecs;
    if (!mayChangeFolder(RunController::IfBusy::Ignore) || editing) {
        m_changedUnseen = true;
        return;
    }
    readFolderAgain();
}

void FilePane::catchUpWithDisk()
{
    applyCaptureTimes(); // times that came in while the list had to stay as it was
    if (m_changedUnseen)
        followDisk();
}

QString FilePane::emptyListText() const
{
    if (FileList->model()->rowCount() > 0)
        return {};
    return tr("No files match %1 in this folder").arg(m_listedSpecs);
}

bool FilePane::paintEmptyList()
{
    const QString text = emptyListText();
    if (text.isEmpty())
        return false; // the list paints its rows
    QWidget* viewport = FileList->viewport();
    QPainter painter(viewport);
    painter.setPen(viewport->palette().color(QPalette::PlaceholderText));
    const int margin = viewport->fontMetrics().height() / 2;
    painter.drawText(viewport->rect().marginsRemoved({margin, margin, margin, margin}),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
    return true;
}

} // namespace pellory
