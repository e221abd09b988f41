// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Drive and folder navigation, the file specifications, the sort order and the every-N
// selection: the handlers that rebuild, re-sort and select the file list.

#include "window/FilePane.h"

#include "catalogue/EveryN.h"
#include "catalogue/SortOrders.h"
#include "platform/DirectoryScan.h"
#include "rules/KeyFilters.h"
#include "run/SchemeWalk.h"
#include "window/CaptureReader.h"
#include "window/DriveSelector.h"
#include "window/Feedback.h"
#include "window/FolderPathField.h"
#include "window/FolderSelector.h"
#include "window/KeystrokeFilter.h"
#include "window/LiveNames.h"
#include "window/NameListView.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <initializer_list>
#include <utility>

namespace pellory {

void FilePane::DriveList_Change()
{
    if (DriveList->drive().isEmpty())
        return; // the list of volumes changed and holds no current drive
    const BusyPointer busy;
    const QString folder = DriveList->folderFor(DriveList->drive());
    if (DirList->setPath(folder))
        return;
    // A drive that cannot be opened: back to the drive of the folder shown, which raises
    // this handler once more for that drive.
    const bool hung = DirList->refusal() == FolderSelector::Refusal::NoAnswer;
    DriveList->setDrive(DriveList->driveOf(DirList->path()));
    m_feedback.beep();
    if (hung) // unlike a drive that is not ready, it cost the user a wait: say why
        emit note(refusal(QFile::encodeName(folder)));
}

void FilePane::DirList_Change()
{
    ++m_dirChanges;
    const BusyPointer busy;
    RefreshFiles();
    SelSteps_Change();
    const QString folder = DirList->path();
    FolderPath->showFolder(DirList->rawPath());
    DriveList->rememberFolder(folder);
    // The folder selector can walk onto another volume; the drive selector follows it. The
    // folder just remembered is where that drive opens, so the folder stays as it is.
    const QString drive = DriveList->driveOf(folder);
    if (!drive.isEmpty() && drive != DriveList->drive())
        DriveList->setDrive(drive);
}

QString FilePane::listNote() const
{
    // Each specification lists on its own: the note names the first one with a folder part.
    for (const QString& spec : m_listedSpecs.split(u';')) {
        if (specNamesFolder(spec))
            return tr("File specifications name files, not folders: \"%1\" lists nothing.")
                .arg(spec);
    }
    return {};
}

void FilePane::setSpecs(const QString& specs)
{
    FileSpecs->setText(specs);
    m_listedSpecs = FileSpecs->text();
}

void FilePane::RefreshFiles()
{
    // The list shows the old records' own names: it lets them go first, so that the old
    // records are freed at once and the new ones are not scattered among names still held.
    FileList->names()->setNames({});
    // Times read for the list that goes are not for the new one; the cache keeps them.
    m_captures->cancel();
    m_timesWaiting = false;
    m_progressShown = false;
    std::shared_ptr<const FolderListing> listing = DirList->takeListing();
    m_listing.reset();
    // With companions on, the scan's reading of the folder is kept for the new names.
    if (CompanionsChk->isChecked()) {
        if (!listing || listing->folder() != DirList->rawPath())
            listing = listFolder(DirList->rawPath());
        m_listing = listing;
    }
    rebuildCatalogue(catalogueToChange(), DirList->rawPath(), m_listedSpecs, m_extensionMode(),
                     std::move(listing));
    fillKnownTimes();
    SortFiles();
    readTakenTimes();
    watchFolder();
    listHasChanged();
}

Catalogue& FilePane::catalogueToChange()
{
    // The new names worked out for the list as it is go stale with this change: that work
    // lets go of the list first, so that the change needs no copy of every record.
    if (m_liveNames)
        m_liveNames->schedule();
    if (m_catalogue.use_count() > 1) // a run walks it: it keeps this one, the pane a copy
        m_catalogue = std::make_shared<Catalogue>(*m_catalogue);
    return *m_catalogue;
}

void FilePane::SortFiles()
{
    sortCatalogue(catalogueToChange(), FileSortOrder->currentIndex());
    QStringList names;
    std::vector<quint64> writeTimes;
    names.reserve(m_catalogue->FileCount());
    writeTimes.reserve(size_t(m_catalogue->FileCount()));
    for (const FileRecord& record : m_catalogue->FileRecords) {
        names.append(record.FileName);
        writeTimes.push_back(record.WriteTime);
    }
    // One reset of the list: the selection and the current item are dropped with it.
    FileList->names()->setNames(std::move(names), std::move(writeTimes));
    showTakenTimes();
    showSortIndicator();
}

void FilePane::FileSortOrder_Click()
{
    // A run walks the catalogue by position; its order must not change under it.
    if (!m_run.mayAct(RunController::IfBusy::Ignore))
        return;
    fillKnownTimes(); // before the sort, so that the files the cache knows take their place
    SortFiles();
    readTakenTimes();
    emit changed();
}

void FilePane::SelSteps_Change()
{
    // A run takes each file's selection from the list as it walks; it must not change.
    if (!m_run.mayAct(RunController::IfBusy::Ignore))
        return;
    const qint16 n = selStepsValue(SelSteps->text());
    FileList->clearSelectionOnly();
    if (n < 1)
        return;
    const EveryNSelection every = everyNthItem(FileList->count(), FileList->currentRow(), n);
    FileList->selectRows(every.items);
    FileList->setCurrentRow(-1);
    if (every.currentItem >= 0)
        FileList->setCurrentRow(every.currentItem);
    listHasChanged();
}

int FilePane::listedCount() const
{
    return FileList->count();
}

int FilePane::selectedCount() const
{
    return FileList->selectedCount();
}

std::vector<bool> FilePane::selectionFlags() const
{
    return FileList->selectionFlags();
}

void FilePane::clearSelection()
{
    FileList->clearSelectionOnly();
}

QByteArray FilePane::folderPath() const
{
    return DirList->rawPath();
}

QString FilePane::specsText() const
{
    return FileSpecs->text();
}

void FilePane::selectInSpecs(int from, int length)
{
    FileSpecs->setFocus(Qt::OtherFocusReason);
    if (length < 0)
        FileSpecs->selectAll();
    else
        FileSpecs->setSelection(from, length);
}

void FilePane::guardKeystrokes(KeystrokeFilter& keys)
{
    RunController* run = &m_run;
    keys.guard(
        FileSpecs, [run](int key) { return FileSpecs_KeyPress(key, run->busy()); }, FileList);
}

void FilePane::setEveryNEnabled(bool enabled)
{
    SelSteps->setEnabled(enabled);
    Label10->setEnabled(enabled);
    Label11->setEnabled(enabled);
}

void FilePane::setOrderAndStepsEnabled(bool enabled)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{Label8, FileSortOrder, Label10, SelSteps, Label11})
        control->setEnabled(enabled);
}

void FilePane::lockForRun(bool locked)
{
    for (QWidget* control :
         std::initializer_list<QWidget*>{PreviewList, FileList, DriveList, DirList})
        control->setEnabled(!locked);
}

void FilePane::unlockAfterWildcard()
{
    FileList->setEnabled(true);
    DriveList->setEnabled(true);
    DirList->setEnabled(true);
}

void FilePane::showPreviewList()
{
    PreviewList->names()->clear(); // entering twice lists the names once
    PreviewList->show();
    PreviewList->setEnabled(true);
    FileList->hide();
}

void FilePane::showFileList()
{
    FileList->show();
    PreviewList->hide();
    PreviewList->setEnabled(false);
    // Hidden, the names would only hold memory until the next preview lists them anew.
    PreviewList->names()->clear();
}

void FilePane::previewNames(SchemeWalk& walk)
{
    NameListView* list = PreviewList;
    // The old names beside come from the file list, row for row; companions' rows shift them.
    const bool companions = walk.hasCompanions();
    QStringList olds = companions ? list->names()->beside().mid(0, list->count()) : QStringList();
    m_run.fillPreview(walk, list->count(),
                      [list, companions, &olds](const QStringList& names, const QStringList& before,
                                                const std::vector<qint32>& selected) {
                          list->names()->append(names);
                          list->selectRows(selected);
                          if (companions)
                              olds += before;
                      });
    if (companions)
        list->names()->setBeside(olds);
}

void FilePane::showNewNames(NameColumn names, QHash<qint32, NameClash> clashes,
                            QHash<qint32, QString> companions)
{
    FileList->names()->setBeside(std::move(names), std::move(clashes), std::move(companions));
}

void FilePane::unlockPreviewList()
{
    PreviewList->setEnabled(true);
}

void FilePane::chooseFirstSortOrder()
{
    FileSortOrder->setCurrentIndex(0);
}

void FilePane::listHasChanged()
{
    emit changed();
    emit listChanged();
}

void FilePane::FileList_Click()
{
    listHasChanged();
}

void FilePane::PreviewList_Click()
{
    listHasChanged();
}

std::shared_ptr<const FolderListing> FilePane::companionListing(bool fresh)
{
    if (!CompanionsChk->isChecked())
        return {};
    if (fresh || !m_listing || m_listing->folder() != DirList->rawPath())
        m_listing = listFolder(DirList->rawPath());
    return m_listing;
}

void FilePane::CompanionsChk_Click()
{
    if (!CompanionsChk->isChecked())
        m_listing.reset();
    emit changed();
}

void FilePane::FileSpecs_Change()
{
    emit specsChanged();
}

void FilePane::FileSpecs_GotFocus()
{
    SavedSpecs = FileSpecs->text();
}

void FilePane::FileSpecs_LostFocus()
{
    // Letter case counts: "*.jpg" pasted over "*.JPG" is a change. Text that another
    // program put in the field while it was not being edited is taken now, as the user's.
    if (FileSpecs->text() == m_listedSpecs)
        return catchUpWithDisk(); // a change on disk waited for the edit to end
    m_listedSpecs = FileSpecs->text();
    RefreshFiles();
    SelSteps_Change();
}

bool FilePane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FileList->viewport() && event->type() == QEvent::Paint)
        return paintEmptyList();
    // A run and the preview lock the folder tree; typing a folder goes with it.
    if (watched == DirList && event->type() == QEvent::EnabledChange)
        FolderPath->setEnabled(DirList->isEnabled());
    const bool in = event->type() == QEvent::FocusIn;
    if (watched != FileSpecs || (!in && event->type() != QEvent::FocusOut))
        return false;
    // Switching to another application or opening the context menu is not leaving the
    // field; the user comes back to it as it was.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    if (in)
        FileSpecs_GotFocus();
    else
        FileSpecs_LostFocus();
    return false;
}

void FilePane::showFileListMenu(const QPoint& at)
{
    auto* menu = new QMenu(FileList);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* undo = menu->addAction(tr("&Undo Last Rename"), this, &FilePane::undoRequested);
    undo->setShortcut(QKeySequence(kUndoLastRunKey));
    undo->setEnabled(m_run.mayAct(RunController::IfBusy::Ignore) && !m_run.previewMode());
    menu->addAction(tr("Undo &History..."), this, &FilePane::historyRequested);
    menu->popup(FileList->viewport()->mapToGlobal(at));
}

} // namespace pellory
