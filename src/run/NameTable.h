// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Many short names held compactly: a column of new names for 100000 files. Holds text
// only; knows nothing of files.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace pellory {

// Qt's text and bytes as the tables take them, and a table's text back as Qt's.
inline std::u16string_view viewOf(QStringView text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())};
}
inline std::string_view viewOf(const QByteArray& bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}
inline QString textOf(std::u16string_view text)
{
    return QStringView(text.data(), qsizetype(text.size())).toString();
}

// Names stored end to end in one buffer: a string object per name would cost more than
// the names themselves.
template <typename Char> class NameTable
{
public:
    using View = std::basic_string_view<Char>;
    void reserve(qsizetype names, qsizetype chars)
    {
        m_ends.reserve(size_t(names));
        m_chars.reserve(size_t(chars));
    }
    void add(View name)
    {
        m_chars.append(name);
        m_ends.push_back(quint32(m_chars.size()));
    }
    View operator[](qsizetype i) const
    {
        const quint32 begin = i > 0 ? m_ends[size_t(i) - 1] : 0;
        return View(m_chars).substr(begin, m_ends[size_t(i)] - begin);
    }
    qsizetype size() const { return qsizetype(m_ends.size()); }
    qsizetype chars() const { return qsizetype(m_chars.size()); }

private:
    std::basic_string<Char> m_chars;
    std::vector<quint32> m_ends;
};

// A column of new names, one per row, where a row may have none (its file keeps its
// name), as distinct from an empty name.
class NameColumn
{
public:
    NameColumn() = default;
    explicit NameColumn(const QStringList& names); // a null name: none
    void add(QStringView name);
    void addNone();
    qsizetype size() const { return m_names.size(); }
    bool has(qsizetype row) const { return !m_none[size_t(row)]; }
    std::u16string_view view(qsizetype row) const { return m_names[row]; }
    QString at(qsizetype row) const; // null where the row has none or is past the end
    QStringList toList() const;

private:
    NameTable<char16_t> m_names;
    std::vector<bool> m_none;
};

} // namespace pellory
