#pragma once
// A list view with extended multiple selection that keeps its selected count as the
// selection changes (never recounted), and selects many rows in one call.

#include "window/NameListModel.h"

#include <QListView>

#include <vector>

namespace pellory {

class NameListView : public QListView
{
    Q_OBJECT
public:
    explicit NameListView(QWidget* parent = nullptr);

    NameListModel* names() const { return m_model; }
    int count() const { return m_model->rowCount(); }
    int selectedCount() const { return m_selectedCount; }
    bool isRowSelected(int row) const;
    std::vector<bool> selectionFlags() const; // one flag per row, in one pass

    int currentRow() const;         // -1 when there is no current item
    void setCurrentRow(int row);    // -1 clears it; does not change the selection
    void clearSelectionOnly();      // deselects every row, keeps the current item
    void selectRows(const std::vector<qint32>& rows); // adds them, ascending, in one call
    void setRowSelected(int row, bool selected);

signals:
    // The Click event: raised after a user gesture (mouse or keyboard) that may have
    // changed the selection; never for selection changes made from code.
    void selectionEdited();

private:
    NameListModel* m_model;
    int m_selectedCount = 0;
};

} // namespace pellory
