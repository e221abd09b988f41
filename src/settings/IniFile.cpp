// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "settings/IniFile.h"

#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace pellory {

namespace {

// Far more than the few keys of the store ever take: a larger file is not ours.
constexpr qsizetype kLargestFile = 1 << 20;

const QString kNamedEscapes = QStringLiteral("abfnrtv");
const QString kEscapedAs = QStringLiteral("\a\b\f\n\r\t\v");

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// Appends the character the backslash escape at text[i] stands for; returns the index of
// the escape's last character.
qsizetype unescapeAt(QStringView text, qsizetype i, QString& out)
{
    if (i + 1 >= text.size())
        return i; // a lone backslash at the end is dropped
    const QChar c = text[++i];
    if (const qsizetype at = kNamedEscapes.indexOf(c); at >= 0) {
        out += kEscapedAs[at];
    } else if (c == u'x') {
        qsizetype end = i + 1;
        while (end < text.size() && end < i + 5 && isHexDigit(text[end]))
            ++end;
        if (end == i + 1)
            out += c; // "\x" without digits is a plain "x"
        else
            out += QChar(text.mid(i + 1, end - i - 1).toUShort(nullptr, 16));
        return end - 1;
    } else {
        out += c; // \\, \", \', \? and anything unknown stand for themselves
    }
    return i;
}

// The text a value stands for: quoted parts unquoted, escapes resolved, commas kept with
// their blanks, blanks outside quotes at either end dropped, an unquoted ";" starting a
// comment, and a doubled "@" at the start (QSettings' mark of plain text) made single.
QString decode(QStringView written)
{
    QString out;
    qsizetype keep = 0; // length up to the last character that is not an outer blank
    bool quoted = false, started = false;
    for (qsizetype i = 0; i < written.size(); ++i) {
        const QChar c = written[i];
        if (c == u'"') {
            quoted = !quoted;
            started = true;
            keep = out.size();
            continue;
        }
        if (!quoted && c == u';')
            break;
        if (!quoted && c.isSpace() && !started)
            continue;
        started = true;
        if (c == u'\\')
            i = unescapeAt(written, i, out);
        else
            out += c;
        if (quoted || !c.isSpace())
            keep = out.size();
    }
    out.truncate(keep);
    return out.startsWith(QLatin1String("@@")) ? out.mid(1) : out;
}

// The value as written for `text`: QSettings reads a leading "@" as the mark of a typed
// value, a "," as a list and a ";" as a comment, and drops outer blanks, so these are
// doubled or quoted; control characters are escaped, and a hex digit after a "\x" escape
// too, since it would read as part of the escape.
QString encode(const QString& text)
{
    const QString value = text.startsWith(u'@') ? u'@' + text : text;
    QString out;
    bool quote = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    bool afterHex = false;
    for (const QChar c : value) {
        quote = quote || c == u';' || c == u',' || c == u'=';
        const qsizetype named = c.unicode() < 0x20 ? kEscapedAs.indexOf(c) : -1;
        if (c == u'\\' || c == u'"')
            out += u'\\' + QString(c);
        else if (named >= 0)
            out += u'\\' + QString(kNamedEscapes[named]);
        else if (c.unicode() < 0x20 || (afterHex && isHexDigit(c)))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 0, 16);
        else
            out += c;
        afterHex = (c.unicode() < 0x20 && named < 0) || (afterHex && isHexDigit(c));
    }
    return quote ? u'"' + out + u'"' : out;
}

} // namespace

bool IniFile::read(const QString& path)
{
    m_lines.clear();
    const std::optional<QByteArray> bytes = readRegularFile(path, kLargestFile);
    if (!bytes)
        return false;
    const QString content = QString::fromUtf8(*bytes);
    QString section;
    for (QStringView line : QStringView(content).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.sliced(1, line.size() - 2).toString();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && !line.startsWith(u';'))
            m_lines.push_back({section, line.first(equals).trimmed().toString(),
                               line.sliced(equals + 1).trimmed().toString()});
    }
    return true;
}

bool IniFile::write(const QString& path) const
{
    QStringList sections; // in the order of their first line
    for (const Line& line : m_lines) {
        if (!sections.contains(line.section))
            sections.append(line.section);
    }
    QString text;
    for (const QString& section : sections) {
        if (!section.isEmpty())
            text += u'[' + section + QStringLiteral("]\n");
        for (const Line& line : m_lines) {
            if (line.section == section)
                text += line.key + u'=' + line.written + u'\n';
        }
        text += u'\n';
    }
    QDir().mkpath(QFileInfo(path).path());
    return replaceFile(path, text.toUtf8());
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line) {
        if (line->section == section && line->key == key)
            return decode(line->written);
    }
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& text)
{
    bool found = false;
    for (Line& line : m_lines) {
        if (line.section == section && line.key == key) {
            line.written = encode(text);
            found = true;
        }
    }
    if (!found)
        m_lines.push_back({section, key, encode(text)});
}

} // namespace pellory
