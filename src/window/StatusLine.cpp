// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/StatusLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace pellory {

StatusLine::StatusLine(QWidget* parent)
    : QWidget(parent), m_text(new QLabel(this)), m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("StatusLine"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(m_text, 1);
    row->addWidget(m_bar);
    // A screen reader reads the line's text as its name, and the label tells it of every
    // change of its text: both only while the label has no name of its own.
    m_text->setAccessibleDescription(tr("Status"));
    m_bar->setAccessibleName(tr("Progress"));
    m_bar->setMaximumWidth(200);
    m_bar->hide();
}

QString StatusLine::text() const
{
    return m_text->text();
}

void StatusLine::showCounts(int files, int selected, const QString& why)
{
    const QString listed = files == 1 ? tr("1 file") : tr("%1 files").arg(files);
    m_text->setText(tr("%1, %2 selected").arg(listed).arg(selected) +
                    (why.isEmpty() ? QString() : QStringLiteral(". ") + why));
}

void StatusLine::showNote(const QString& text)
{
    m_text->setText(text);
}

void StatusLine::showProgress(const QString& verb, int done, int total)
{
    if (total == 0) {
        m_bar->hide();
        return;
    }
    m_text->setText(tr("%1 %2 of %3... Esc or Exit stops it.").arg(verb).arg(done).arg(total));
    m_bar->setRange(0, total);
    m_bar->setValue(done);
    m_bar->show();
}

} // namespace pellory
