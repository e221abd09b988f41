// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The file list's columns: the old names, the new names a run would give them as the user
// types, and the write times; the preview's old names beside its new ones; and the column
// titles that choose the sort order. The lists never sort themselves, so the rows are
// always in the order of the sort-order box, which the run walks.

#include "window/FilePane.h"
#include "window/LiveNames.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>

namespace pellory {

namespace {

using Content = NameListModel::Content;

enum SortOrder
{
    NameAtoZ = 0,
    NameZtoA = 1,
    DateOldToNew = 4,
    DateNewToOld = 5,
};

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
                                   {tr("Modified"), Content::Modified}});
    FileList->names()->setBesideAreNewNames(true);
    PreviewList->names()->setColumns(
        {{tr("Name"), Content::Beside}, {tr("New Name"), Content::Names}});
    for (NameListView* list : {FileList, PreviewList})
        sizeColumns(list);
    FileList->horizontalHeader()->setSectionsClickable(true);
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
    connect(naming.RenameChk, &QCheckBox::toggled, live, &LiveNames::schedule);
    for (QRadioButton* option : naming.ExtUsed)
        connect(option, &QRadioButton::toggled, live, &LiveNames::schedule);
    connect(naming.WildCardRen, &QLineEdit::textChanged, live, &LiveNames::schedule);
    live->schedule();
}

void FilePane::FileList_HeaderClick(int column)
{
    showSortIndicator(); // the header turns its indicator at each click; the box decides
    const Content content = FileList->names()->columnContent(column);
    if (content == Content::Beside || !FileSortOrder->isEnabled() ||
        !m_run.mayAct(RunController::IfBusy::Ignore))
        return;
    const int order = FileSortOrder->currentIndex();
    if (content == Content::Names)
        FileSortOrder->setCurrentIndex(order == NameAtoZ ? NameZtoA : NameAtoZ);
    else
        FileSortOrder->setCurrentIndex(order == DateOldToNew ? DateNewToOld : DateOldToNew);
}

void FilePane::showSortIndicator()
{
    const int order = FileSortOrder->currentIndex();
    const bool byName = order == NameAtoZ || order == NameZtoA;
    const bool byDate = order == DateOldToNew || order == DateNewToOld;
    QHeaderView* header = FileList->horizontalHeader();
    header->setSortIndicatorShown(byName || byDate);
    const int column = FileList->names()->column(byName ? Content::Names : Content::Modified);
    header->setSortIndicator(column, order == NameAtoZ || order == DateOldToNew
                                         ? Qt::AscendingOrder
                                         : Qt::DescendingOrder);
}

} // namespace pellory
