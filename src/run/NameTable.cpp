// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/NameTable.h"

namespace pellory {

NameColumn::NameColumn(const QStringList& names)
{
    for (const QString& name : names) {
        if (name.isNull())
            addNone();
        else
            add(name);
    }
}

void NameColumn::add(QStringView name)
{
    m_names.add(viewOf(name));
    m_none.push_back(false);
}

void NameColumn::addNone()
{
    m_names.add({});
    m_none.push_back(true);
}

QString NameColumn::at(qsizetype row) const
{
    if (row < 0 || row >= size() || !has(row))
        return {};
    const std::u16string_view name = m_names[row];
    return name.empty() ? QStringLiteral("") : textOf(name);
}

QStringList NameColumn::toList() const
{
    QStringList names;
    names.reserve(size());
    for (qsizetype row = 0; row < size(); ++row)
        names.append(at(row));
    return names;
}

} // namespace pellory
