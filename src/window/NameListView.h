// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// A list of names in columns with extended multiple selection of whole rows, that keeps
// its selected count as the selection changes (never recounted) and selects many rows in
// one call. It never sorts on its own: its rows stay in the order its model gives them.

#include "window/NameListModel.h"

#include <QTableView>

#include <vector>

namespace pellory {

class NameListView : public QTableView
{
    Q_OBJECT
public:
    explicit NameListView(QWidget* parent = nullptr);

    NameListModel* names() const { return m_model; }
    int count() const { return m_model->rowCount(); }
    int selectedCount() const { return m_selectedCount; }
    bool isRowSelected(int row) const;
    std::vector<bool> selectionFlags() const; // one flag per row, in one pass

    int currentRow() const;                           // -1 when there is no current item
    void setCurrentRow(int row);                      // -1 clears it; does not change the selection
    void clearSelectionOnly();                        // deselects every row, keeps the current item
    void selectRows(const std::vector<qint32>& rows); // adds them, ascending, in one call

signals:
    // The Click event: raised after a user gesture (mouse or keyboard) that changed the
    // selection; never for selection changes made from code.
    void selectionEdited();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applySelectionDelta(const QItemSelection& selected, const QItemSelection& deselected);
    // Runs one user gesture and raises selectionEdited() if the selection changed in it.
    template <typename Gesture> void runGesture(Gesture&& gesture);

    NameListModel* m_model;
    int m_selectedCount = 0;
    std::vector<bool> m_selected;   // one flag per row, kept from the selection's deltas
    quint64 m_selectionChanges = 0; // counts deltas, so a gesture can tell it changed any
};

} // namespace pellory
