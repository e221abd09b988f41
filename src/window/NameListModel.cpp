#include "window/NameListModel.h"

namespace pellory {

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_names.at(index.row());
    return {};
}

void NameListModel::clear()
{
    beginResetModel();
    m_names.clear();
    endResetModel();
}

void NameListModel::setNames(QStringList names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

void NameListModel::append(const QStringList& names)
{
    if (names.isEmpty())
        return;
    const int first = int(m_names.size());
    beginInsertRows({}, first, first + int(names.size()) - 1);
    m_names += names;
    endInsertRows();
}

} // namespace pellory
