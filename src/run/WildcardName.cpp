// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "run/WildcardName.h"

namespace pellory {

namespace {

// A walk over the old name that the mask drives; every member is one kind of mask
// character.
class NameWalk
{
public:
    explicit NameWalk(const QString& oldName) : m_old(oldName) {}

    // "?" takes one character, but never a dot: the dot belongs to the mask's next part.
    void question()
    {
        if (!atDotOrEnd())
            m_result += m_old[m_pos++];
    }
    void starToEnd()
    {
        m_result += m_old.mid(m_pos);
        m_pos = m_old.size();
    }
    // "*c" copies up to and including the last c, so "*.bak" keeps every inner dot.
    void starUpTo(QChar c)
    {
        const qsizetype found = m_old.lastIndexOf(c);
        if (found < m_pos) {
            starToEnd();
            m_result += c;
            return;
        }
        m_result += m_old.mid(m_pos, found + 1 - m_pos);
        m_pos = found + 1;
    }
    void dot()
    {
        const qsizetype found = m_old.indexOf(u'.', m_pos);
        m_pos = found < 0 ? m_old.size() : found + 1;
        m_result += u'.';
    }
    void literal(QChar c)
    {
        m_result += c;
        if (!atDotOrEnd())
            ++m_pos;
    }
    QString result() const
    {
        qsizetype end = m_result.size();
        while (end > 0 && (m_result[end - 1] == u'.' || m_result[end - 1] == u' '))
            --end;
        return m_result.left(end);
    }

private:
    bool atDotOrEnd() const { return m_pos >= m_old.size() || m_old[m_pos] == u'.'; }

    const QString& m_old;
    qsizetype m_pos = 0;
    QString m_result;
};

} // namespace

QString wildcardNewName(const QString& oldName, const QString& mask)
{
    NameWalk walk(oldName);
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'*') {
            // "**" matches what "*" matches, so it forms the same name.
            while (i + 1 < mask.size() && mask[i + 1] == u'*')
                ++i;
            if (i + 1 == mask.size() || mask[i + 1] == u'?')
                walk.starToEnd();
            else
                walk.starUpTo(mask[++i]);
        } else if (c == u'?') {
            walk.question();
        } else if (c == u'.') {
            walk.dot();
        } else {
            walk.literal(c);
        }
    }
    return walk.result();
}

} // namespace pellory
