// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/NameListModel.h"

#include "platform/Rename.h"

#include <QApplication>
#include <QBrush>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QStyle>

namespace pellory {

namespace {

// The catalogue counts 100-nanosecond ticks from 1 January 1601; the epoch is 1970.
constexpr qint64 kTicksPerMs = 10000;
constexpr qint64 kMsFrom1601To1970 = 11644473600000LL;

} // namespace

NameListModel::NameListModel(QObject* parent)
    : QAbstractTableModel(parent), m_columns{{tr("Name"), Content::Names}}
{}

void NameListModel::setColumns(std::vector<Column> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
}

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

int NameListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QModelIndex NameListModel::index(int row, int column, const QModelIndex& parent) const
{
    return QAbstractTableModel::index(row, column, parent);
}

int NameListModel::column(Content content) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].content == content)
            return int(i);
    }
    return -1;
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row >= m_names.size() || index.column() >= int(m_columns.size()))
        return {};
    const Content content = m_columns[size_t(index.column())].content;
    if (content == Content::Beside)
        return besideData(row, role);
    if (content == Content::Taken)
        return takenData(row, role);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return content == Content::Names ? m_names.at(row) : modifiedText(row);
}

QVariant NameListModel::besideData(int row, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        if (const auto after = m_after.constFind(row); after != m_after.cend())
            return m_beside.at(row) + *after;
        return m_beside.at(row);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (QString why = besideProblem(row); !why.isEmpty())
            return why;
        return {};
    case Qt::DecorationRole:
        // The icon marks a name that cannot be had for those who cannot tell the colour.
        if (besideProblem(row).isEmpty())
            return {};
        if (m_clashIcon.isNull())
            m_clashIcon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return m_clashIcon;
    case Qt::ForegroundRole:
        return besideProblem(row).isEmpty() ? QVariant() : QBrush(Qt::darkRed);
    default:
        return {};
    }
}

QString NameListModel::besideProblem(int row) const
{
    // A name no file can have is the first thing to change, whatever it clashes with.
    if (m_besideAreNewNames) {
        const QString name = m_beside.at(row);
        if (QString why = name.isNull() ? QString() : invalidNameReason(name); !why.isEmpty())
            return why;
    }
    const auto clash = m_clashes.constFind(row);
    if (clash == m_clashes.cend())
        return {};
    return describeClash(clash->kind, clash->row < 0 ? clash->other : m_names.value(clash->row));
}

QString NameListModel::modifiedText(int row) const
{
    if (size_t(row) >= m_writeTimes.size())
        return {};
    const qint64 ms = qint64(m_writeTimes[size_t(row)] / kTicksPerMs) - kMsFrom1601To1970;
    return QLocale().toString(QDateTime::fromMSecsSinceEpoch(ms), QLocale::ShortFormat);
}

QVariant NameListModel::takenData(int row, int role) const
{
    if (size_t(row) >= m_taken.size() || !m_taken[size_t(row)].read)
        return {}; // not read yet
    const CaptureTime& time = m_taken[size_t(row)].time;
    const bool fallback = !time.isValid();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return fallback ? modifiedText(row)
                        : QLocale().toString(time.wallClock(), QLocale::ShortFormat);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (fallback)
            return tr("No capture time: the modification time is used");
        return {};
    case Qt::FontRole:
        if (fallback) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size()) ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return m_columns[size_t(section)].header;
}

void NameListModel::clear()
{
    setNames({});
}

void NameListModel::setNames(QStringList names, std::vector<quint64> writeTimes)
{
    beginResetModel();
    m_names = std::move(names);
    m_writeTimes = std::move(writeTimes);
    m_taken.clear();
    m_beside = {};
    m_clashes.clear();
    m_after.clear();
    endResetModel();
}

void NameListModel::setTaken(std::vector<Taken> taken)
{
    m_taken = std::move(taken);
    const int col = column(Content::Taken);
    if (col >= 0 && !m_names.isEmpty())
        emit dataChanged(index(0, col), index(int(m_names.size()) - 1, col));
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

void NameListModel::setBeside(NameColumn beside, QHash<qint32, NameClash> clashes,
                              QHash<qint32, QString> after)
{
    m_beside = std::move(beside);
    m_clashes = std::move(clashes);
    m_after = std::move(after);
    const int col = column(Content::Beside);
    if (col >= 0 && !m_names.isEmpty())
        emit dataChanged(index(0, col), index(int(m_names.size()) - 1, col));
}

} // namespace pellory
