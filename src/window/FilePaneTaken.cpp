// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The files' capture times: read only while a Taken order, the Taken column or new names
// with a date need them, filled at once from the cache where it knows a file, the rest read
// on the thread pool while the list stays usable, then put into the catalogue and the list.
// A run or the preview is never changed under it: times that come in meanwhile wait.

#include "catalogue/SortOrders.h"
#include "window/CaptureReader.h"
#include "window/FilePane.h"
#include "window/FolderSelector.h"
#include "window/NameListView.h"
#include "window/RunController.h"

#include <QComboBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace pellory {

namespace {

// A folder read in a blink needs no word in the status line.
constexpr int kProgressFromFiles = 300;
// How soon a wait for the times hears Exit.
constexpr int kCancelCheckMs = 50;

} // namespace

bool FilePane::takenOrderChosen() const
{
    const SortOrder* order = sortOrderAt(FileSortOrder->currentIndex());
    return order && order->key == SortKey::Taken;
}

bool FilePane::needsTakenTimes() const
{
    return takenOrderChosen() || takenColumnShown() || m_namesNeedTaken;
}

CaptureCache& FilePane::captureCache() const
{
    return m_captures->cache();
}

bool FilePane::captureTimesReady() const
{
    const std::vector<FileRecord>& records = m_catalogue->FileRecords;
    return std::all_of(records.begin(), records.end(),
                       [](const FileRecord& record) { return record.TakenRead; });
}

void FilePane::setNamesNeedTakenTimes(bool need)
{
    m_namesNeedTaken = need;
    if (!need || captureTimesReady())
        return;
    fillKnownTimes();
    readTakenTimes();
}

void FilePane::fillKnownTimes()
{
    // The catalogue a walk shares is copied only when there is something to fill.
    if (!needsTakenTimes() || !m_captures->knowsUnread(*m_catalogue))
        return;
    m_captures->fillKnown(catalogueToChange());
    showTakenTimes();
    if (captureTimesReady())
        emit captureTimesArrived();
}

void FilePane::readTakenTimes()
{
    // A reading under way covers every file of the list; a new list cancels it first.
    if (needsTakenTimes() && !m_captures->reading() && !m_timesWaiting)
        m_captures->start(DirList->rawPath(), *m_catalogue);
}

void FilePane::captureTimesRead()
{
    m_timesWaiting = true;
    applyCaptureTimes();
}

void FilePane::applyCaptureTimes()
{
    // A run walks the list by position and the preview shows its names: both stay as they
    // are until they end.
    if (!m_timesWaiting || m_run.busy() || m_run.previewMode())
        return;
    takeCaptureTimes();
}

void FilePane::takeCaptureTimes()
{
    m_timesWaiting = false;
    m_captures->takeTimes(catalogueToChange());
    if (takenOrderChosen()) {
        SortFiles();
        listHasChanged();
    } else {
        showTakenTimes();
    }
    emit captureTimesArrived();
}

bool FilePane::awaitCaptureTimes()
{
    if (captureTimesReady())
        return true;
    fillKnownTimes();
    readTakenTimes();
    QEventLoop loop;
    connect(m_captures, &CaptureReader::finished, &loop, &QEventLoop::quit);
    QTimer exitPressed; // Exit asks a run to stop by its state alone
    connect(&exitPressed, &QTimer::timeout, &loop, [this, &loop] {
        if (m_run.cancelRequested())
            loop.quit();
    });
    exitPressed.start(kCancelCheckMs);
    while (m_captures->reading() && !m_run.cancelRequested())
        loop.exec();
    if (!m_timesWaiting)
        return false;
    // The walk has not started: the times may go in now, run or preview.
    takeCaptureTimes();
    return !takenOrderChosen();
}

void FilePane::showTakenTimes()
{
    const std::vector<FileRecord>& records = m_catalogue->FileRecords;
    if (std::none_of(records.begin(), records.end(),
                     [](const FileRecord& record) { return record.TakenRead; }))
        return FileList->names()->setTaken({}); // nothing read: the column holds nothing
    std::vector<NameListModel::Taken> taken;
    taken.reserve(size_t(m_catalogue->FileCount()));
    for (const FileRecord& record : m_catalogue->FileRecords)
        taken.push_back({record.Taken, record.TakenRead});
    FileList->names()->setTaken(std::move(taken));
}

void FilePane::captureReadingProgress(int done, int total)
{
    if ((total > 0 && total < kProgressFromFiles) || (total == 0 && !m_progressShown))
        return;
    m_progressShown = total > 0;
    emit captureProgress(done, total);
}

bool FilePane::takenColumnShown() const
{
    const int column = FileList->names()->column(NameListModel::Content::Taken);
    return !FileList->horizontalHeader()->isSectionHidden(column);
}

void FilePane::showTakenColumn(bool shown)
{
    showColumn(NameListModel::Content::Taken, shown);
}

void FilePane::showColumn(NameListModel::Content content, bool shown)
{
    FileList->horizontalHeader()->setSectionHidden(FileList->names()->column(content), !shown);
    if (content != NameListModel::Content::Taken || !shown)
        return;
    fillKnownTimes();
    readTakenTimes();
}

void FilePane::showColumnMenu(const QPoint& at)
{
    auto* menu = new QMenu(FileList);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QHeaderView* header = FileList->horizontalHeader();
    for (const auto& [text, content] : {std::pair(tr("Modified"), NameListModel::Content::Modified),
                                        std::pair(tr("Taken"), NameListModel::Content::Taken)}) {
        QAction* entry = menu->addAction(text);
        entry->setCheckable(true);
        entry->setChecked(!header->isSectionHidden(FileList->names()->column(content)));
        const NameListModel::Content shows = content;
        connect(entry, &QAction::toggled, this,
                [this, shows](bool checked) { showColumn(shows, checked); });
    }
    menu->popup(header->viewport()->mapToGlobal(at));
}

} // namespace pellory
