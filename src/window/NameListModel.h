#pragma once
// A plain list of names for a QListView: rows are replaced or appended in ranges, never
// one layout per row, so that tens of thousands of names stay quick.

#include <QAbstractListModel>
#include <QStringList>

namespace pellory {

class NameListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void clear();
    void setNames(QStringList names);      // one reset
    void append(const QStringList& names); // one range insertion at the end
    const QString& name(int row) const { return m_names.at(row); }
    const QStringList& names() const { return m_names; }

private:
    QStringList m_names;
};

} // namespace pellory
