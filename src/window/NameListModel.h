// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The rows of a list of names, in columns: the list's own names, the names shown beside
// them (the new names beside the files, the files beside the previewed names) with the
// clashes among them and the new names no file can have marked, and the files' write
// times. Rows are replaced or appended in ranges, never one layout per row, so that tens of
// thousands of names stay quick. It never sorts: the rows stay in the order they were given.

#include "camera/CaptureTime.h"
#include "run/LiveNameJob.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include <vector>

namespace pellory {

class NameListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class Content
    {
        Names,    // the list's own names
        Beside,   // the names shown beside them
        Modified, // the write time, in the user's locale
        Taken,    // the capture time as Modified shows times, else the write time marked
    };
    struct Column
    {
        QString header;
        Content content;
    };
    // One column of names until setColumns() says otherwise.
    explicit NameListModel(QObject* parent = nullptr);
    void setColumns(std::vector<Column> columns); // one reset

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The column that shows `content`; -1 when none does.
    int column(Content content) const;
    Content columnContent(int column) const { return m_columns.at(size_t(column)).content; }

    // Each of these drops the names beside and their marks.
    void clear();
    // One reset; `writeTimes` in the catalogue's ticks, one per name or none.
    void setNames(QStringList names, std::vector<quint64> writeTimes = {});
    // The capture time of each row, once read; none read until it is given. Changes the
    // cells in one go.
    struct Taken
    {
        CaptureTime time;
        bool read = false;
    };
    void setTaken(std::vector<Taken> taken);
    void append(const QStringList& names); // one range insertion at the end
    const QString& name(int row) const { return m_names.at(row); }
    const QStringList& names() const { return m_names; }

    // The names beside the rows, by row (a null one leaves its cell empty), the rows whose
    // name beside clashes, and the text shown after some of them (their companions); the
    // cells change in one go.
    void setBeside(NameColumn beside, QHash<qint32, NameClash> clashes = {},
                   QHash<qint32, QString> after = {});
    void setBeside(const QStringList& beside) { setBeside(NameColumn(beside)); }
    QStringList beside() const { return m_beside.toList(); }
    QString beside(int row) const { return m_beside.at(row); }
    // Whether the names beside are new names: then each that no file can have is marked
    // as a clash is, its tool tip saying why (invalidNameReason), as Apply would refuse it.
    void setBesideAreNewNames(bool newNames) { m_besideAreNewNames = newNames; }

private:
    QVariant besideData(int row, int role) const;
    // Why the name beside `row` cannot be had; empty when it can.
    QString besideProblem(int row) const;
    QString modifiedText(int row) const;
    QVariant takenData(int row, int role) const;

    std::vector<Column> m_columns;
    QStringList m_names;
    std::vector<quint64> m_writeTimes;
    std::vector<Taken> m_taken;
    NameColumn m_beside; // held compactly: a column for every file of a large folder
    QHash<qint32, NameClash> m_clashes;
    QHash<qint32, QString> m_after;
    bool m_besideAreNewNames = false;
    mutable QIcon m_clashIcon; // made when first shown
};

} // namespace pellory
