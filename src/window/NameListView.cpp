// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/NameListView.h"

#include <QHeaderView>
#include <QItemSelection>

#include <algorithm>

namespace pellory {

NameListView::NameListView(QWidget* parent) : QTableView(parent), m_model(new NameListModel(this))
{
    setModel(m_model);
    // Rows of one fixed height are laid out without a pass over them: tens of thousands of
    // rows can be inserted a range at a time while the list is shown.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false); // Tab leaves the list, as it leaves every other control
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &NameListView::applySelectionDelta);
    // A reset forgets the selection without raising selectionChanged.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_selected.assign(size_t(count()), false);
        m_selectedCount = 0;
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                m_selected.insert(m_selected.begin() + first, size_t(last - first + 1), false);
            });
}

bool NameListView::isRowSelected(int row) const
{
    return row >= 0 && size_t(row) < m_selected.size() && m_selected[size_t(row)];
}

std::vector<bool> NameListView::selectionFlags() const
{
    return m_selected;
}

int NameListView::currentRow() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void NameListView::setCurrentRow(int row)
{
    const QModelIndex index = row >= 0 ? m_model->index(row) : QModelIndex();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void NameListView::clearSelectionOnly()
{
    selectionModel()->clearSelection();
}

void NameListView::selectRows(const std::vector<qint32>& rows)
{
    // Selecting row by row costs a pass over the whole selection each time; one selection
    // of ranges, consecutive rows merged, is applied in a single pass.
    QItemSelection selection;
    int first = -1, last = -1;
    const auto flush = [&] {
        if (first >= 0)
            selection.append(QItemSelectionRange(m_model->index(first),
                                                 m_model->index(last, m_model->columnCount() - 1)));
    };
    for (const qint32 row : rows) {
        if (row < 0 || row >= count() || row == last)
            continue;
        if (row != last + 1 || first < 0) {
            flush();
            first = row;
        }
        last = row;
    }
    flush();
    if (!selection.isEmpty())
        selectionModel()->select(selection, QItemSelectionModel::Select);
}

void NameListView::applySelectionDelta(const QItemSelection& selected,
                                       const QItemSelection& deselected)
{
    // Each row's flag is tested before it is counted, so that a delta naming a row twice
    // (overlapping ranges) cannot skew the count.
    const auto mark = [this](const QItemSelection& ranges, bool on) {
        const int rows = int(m_selected.size());
        for (const QItemSelectionRange& range : ranges) {
            for (int row = std::max(range.top(), 0); row <= std::min(range.bottom(), rows - 1);
                 ++row) {
                if (m_selected[size_t(row)] != on) {
                    m_selected[size_t(row)] = on;
                    m_selectedCount += on ? 1 : -1;
                }
            }
        }
    };
    mark(deselected, false);
    mark(selected, true);
    ++m_selectionChanges;
}

template <typename Gesture> void NameListView::runGesture(Gesture&& gesture)
{
    const quint64 before = m_selectionChanges;
    gesture();
    if (m_selectionChanges != before)
        emit selectionEdited();
}

void NameListView::mousePressEvent(QMouseEvent* event)
{
    runGesture([&] { QTableView::mousePressEvent(event); });
}

void NameListView::mouseMoveEvent(QMouseEvent* event)
{
    runGesture([&] { QTableView::mouseMoveEvent(event); });
}

void NameListView::mouseReleaseEvent(QMouseEvent* event)
{
    runGesture([&] { QTableView::mouseReleaseEvent(event); });
}

void NameListView::keyPressEvent(QKeyEvent* event)
{
    runGesture([&] { QTableView::keyPressEvent(event); });
}

} // namespace pellory
