// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The file list's columns: the old names, the new names a run would give them as the user
// types, and the write times; the preview's old names beside its new ones; and the column
// titles that choose the sort order. The lists never sort themselves, so the rows are
// always in the order of the sort-order box, which the run walks.

#include "window/FilePane.h"

#include "catalogue/SortOrders.h"
#include "window/LiveNames.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"

#include <QComboBox>
#include <QHeaderView>

namespace pellory {

namespace {

using Content = NameListModel::Content;

SortColumn sortColumnOf(Content content)
{
    switch (content) {
    case Content::Names:
        return SortColumn::Name;
    case Content::Modified:
        return SortColumn::Modified;
    case Content::Taken:
        return SortColumn::Taken;
    case Content::Beside:
        break;
    }
    return SortColumn::None;
}

Content contentOf(SortColumn column)
{
    switch (column) {
    case SortColumn::Name:
        return Content::Names;
    case SortColumn::Taken:
        return Content::Taken;
    case SortColumn::Modified:
    case SortColumn::None:
        break;
    }
    return Content::Modified;
}

void sizeColumns(NameListView* list)
{
    QHeaderView* header = list->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive); // never a pass over every row
    header->setStretchLastSection(true);
    header->setDefaultSectionSize(list->fontMetrics().horizontalAdvance(QString(16, u'x')));
}

} // namespace

void FilePane::createColumns()
{
    FileList->names()->setColumns({{tr("Name"), Content::Names},
                                   {tr("New Name"), Content::Beside},
                                   {tr("Modified"), Content::Modified},
                                   {tr("Taken"), Content::Taken}});
    FileList->names()->setBesideAreNewNames(true);
    PreviewList->names()->setColumns(
        {{tr("Name"), Content::Beside}, {tr("New Name"), Content::Names}});
    for (NameListView* list : {FileList, PreviewList})
        sizeColumns(list);
    FileList->horizontalHeader()->setSectionsClickable(true);
    // Shown through the header's menu or the stored setting; it costs a read of every file.
    FileList->horizontalHeader()->setSectionHidden(FileList->names()->column(Content::Taken), true);
    PreviewList->horizontalHeader()->setSectionsClickable(false);
    // The preview lists the catalogue in its order from its first row on; the files' names
    // stand beside it. The file list cannot change while the preview is shown.
    connect(PreviewList->names(), &QAbstractItemModel::modelReset, this,
            [this] { PreviewList->names()->setBeside(FileList->names()->names()); });
}

void FilePane::showLiveNames(NamingPanel& naming)
{
    m_liveNames = new LiveNames(*this, naming, m_run, this);
    LiveNames* live = m_liveNames;
    connect(live, &LiveNames::noteChanged, this, &FilePane::liveNamesNote);
    connect(FileList->names(), &QAbstractItemModel::modelReset, live, &LiveNames::schedule);
    connect(FileList->selectionModel(), &QItemSelectionModel::selectionChanged, live,
            &LiveNames::schedule);
    // Every input the names are made of.
    connect(&naming, &NamingPanel::changed, live, &LiveNames::schedule);
    connect(this, &FilePane::captureTimesArrived, live, &LiveNames::schedule);
    connect(this, &FilePane::changed, live, &LiveNames::schedule);
    live->schedule();
}

void FilePane::FileList_HeaderClick(int column)
{
    showSortIndicator(); // the header turns its indicator at each click; the box decides
    const SortColumn clicked = sortColumnOf(FileList->names()->columnContent(column));
    if (clicked == SortColumn::None || !FileSortOrder->isEnabled() ||
        !m_run.mayAct(RunController::IfBusy::Ignore))
        return;
    // The column's first order, or its second when the first is the one chosen.
    const SortOrder* current = sortOrderAt(FileSortOrder->currentIndex());
    int first = -1;
    for (int index = 0; index < kSortOrderCount; ++index) {
        if (kSortOrders[size_t(index)].column != clicked)
            continue;
        if (first < 0)
            first = index;
        else if (current == &kSortOrders[size_t(first)])
            return FileSortOrder->setCurrentIndex(index);
    }
    FileSortOrder->setCurrentIndex(first);
}

void FilePane::showSortIndicator()
{
    const SortOrder* order = sortOrderAt(FileSortOrder->currentIndex());
    const bool shown = order && order->column != SortColumn::None;
    QHeaderView* header = FileList->horizontalHeader();
    header->setSortIndicatorShown(shown);
    if (shown)
        header->setSortIndicator(FileList->names()->column(contentOf(order->column)),
                                 order->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace pellory
