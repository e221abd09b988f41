// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Building the window's layouts from its drawing: rows and columns of controls, nested
// layouts and gaps given in twips. A gap gives way when the window is too small for
// everything, and never takes extra room; a stretch does.

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <cmath>
#include <initializer_list>

class QGroupBox;

namespace pellory {

// Twips into pixels at the window's scale; rounded up, so that a caption that fits its
// width in twips fits in pixels too.
class Twips
{
public:
    explicit Twips(double pixelsPerTwip) : m_pixelsPerTwip(pixelsPerTwip) {}
    int operator()(int twips) const { return int(std::ceil(twips * m_pixelsPerTwip)); }

private:
    double m_pixelsPerTwip;
};

class Rows
{
public:
    enum Stretch
    {
        kStretch
    };
    // One part of a row or column: a control, a nested layout, a gap in twips or a stretch.
    struct Part
    {
        Part(QWidget* control) : widget(control) {}
        Part(QLayout* nested) : layout(nested) {}
        Part(int gapTwips) : twips(gapTwips) {}
        Part(Stretch) : stretch(true) {}
        QWidget* widget = nullptr;
        QLayout* layout = nullptr;
        int twips = 0;
        bool stretch = false;
    };

    explicit Rows(const Twips& px) : m_px(px) {}

    QHBoxLayout* row(std::initializer_list<Part> parts) const;
    QVBoxLayout* column(std::initializer_list<Part> parts) const;
    // The controls one over the other in the same place.
    QGridLayout* stack(std::initializer_list<QWidget*> controls) const;
    QSpacerItem* gap(int twips, Qt::Orientation along) const;
    // Lays out a frame's column, whose first gap and whose rows' first gaps count from the
    // frame's outer edge, as drawn. The frame grows if its controls need more height.
    void fill(QGroupBox* frame, std::initializer_list<Part> parts) const;

private:
    void add(QBoxLayout* box, std::initializer_list<Part> parts) const;
    const Twips& m_px;
};

} // namespace pellory
