// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// An INI file of sections and "key=value" lines, each value kept as the text it stands for.
// Reads what QSettings writes and what a person writes by hand: quoted parts, backslash
// escapes, a ";" that starts a comment, and an unquoted "," that stays part of the text
// (QSettings would make a list of it). Writes values so that QSettings reads them back as
// the same text. Lines it does not change are written back as they were read.

#include <QString>

#include <optional>
#include <vector>

namespace pellory {

class IniFile
{
public:
    // False, leaving the file empty, when it cannot be read (a missing file among them).
    bool read(const QString& path);
    // Replaces the file in one step (a link in its place too, never the file it names);
    // false when it cannot be written.
    bool write(const QString& path) const;

    // The value of the last line that gives `key` in `section`.
    std::optional<QString> value(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& text);

private:
    struct Line
    {
        QString section;
        QString key;
        QString written; // the value as it stands in the file
    };
    std::vector<Line> m_lines; // in file order, sections kept together
};

} // namespace pellory
