// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/MainRows.h"

#include <QGroupBox>

#include <algorithm>

namespace pellory {

namespace {

// Shortens the gap that opens `box` by `pixels`, when it opens with one.
void shortenFirstGap(QLayout* box, int pixels, Qt::Orientation along)
{
    QSpacerItem* gap = box && box->count() > 0 ? box->itemAt(0)->spacerItem() : nullptr;
    if (!gap)
        return;
    const QSize size = gap->sizeHint();
    const QSizePolicy policy = gap->sizePolicy();
    if (along == Qt::Horizontal)
        gap->changeSize(std::max(0, size.width() - pixels), 0, policy.horizontalPolicy(),
                        policy.verticalPolicy());
    else
        gap->changeSize(0, std::max(0, size.height() - pixels), policy.horizontalPolicy(),
                        policy.verticalPolicy());
    box->invalidate();
}

} // namespace

QSpacerItem* Rows::gap(int twips, Qt::Orientation along) const
{
    if (along == Qt::Horizontal)
        return new QSpacerItem(m_px(twips), 0, QSizePolicy::Maximum, QSizePolicy::Minimum);
    return new QSpacerItem(0, m_px(twips), QSizePolicy::Minimum, QSizePolicy::Maximum);
}

void Rows::add(QBoxLayout* box, std::initializer_list<Part> parts) const
{
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    const Qt::Orientation along =
        box->direction() == QBoxLayout::LeftToRight ? Qt::Horizontal : Qt::Vertical;
    for (const Part& part : parts) {
        if (part.widget)
            box->addWidget(part.widget);
        else if (part.layout)
            box->addLayout(part.layout);
        else if (part.stretch)
            box->addStretch(1);
        else
            box->addItem(gap(part.twips, along));
    }
}

QHBoxLayout* Rows::row(std::initializer_list<Part> parts) const
{
    auto* box = new QHBoxLayout;
    add(box, parts);
    return box;
}

QVBoxLayout* Rows::column(std::initializer_list<Part> parts) const
{
    auto* box = new QVBoxLayout;
    add(box, parts);
    return box;
}

QGridLayout* Rows::stack(std::initializer_list<QWidget*> controls) const
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    for (QWidget* control : controls)
        grid->addWidget(control, 0, 0);
    return grid;
}

void Rows::fill(QGroupBox* frame, std::initializer_list<Part> parts) const
{
    auto* box = new QVBoxLayout(frame);
    add(box, parts);
    box->addStretch(1);
    // The frame's own border and title already stand between its edge and its layout.
    const QMargins border = frame->contentsMargins();
    shortenFirstGap(box, border.top(), Qt::Vertical);
    for (int i = 0; i < box->count(); ++i) {
        if (QLayout* row = box->itemAt(i)->layout()) {
            shortenFirstGap(row, border.left(), Qt::Horizontal);
            row->setAlignment(Qt::AlignLeft); // at its indent, however wide the frame
        }
    }
    frame->setFixedHeight(
        std::max(frame->height(), box->minimumSize().height() + border.top() + border.bottom()));
}

} // namespace pellory
