// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// How large each control is, and the window's default size. Sizes are kept in twips, as
// the window was drawn, and turned into pixels with the screen's logical DPI; one uniform
// scale factor then makes room for a default font wider than the one the window was drawn
// with, so no caption is ever cut off. At that scale the drawn window is the default size.
// Where the controls sit is MainColumns.cpp's.

#include "window/Main.h"
#include "window/MainRows.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace pellory {

namespace {

constexpr int kClientWidth = 9015; // twips
constexpr int kClientHeight = 6255;

struct Size
{
    const char* name;
    int width, height; // twips; 0: the width follows the window
};

// The controls whose size the window's size does not change. Where the drawn window let a
// caption overlap its field by 15 twips, the caption is that much narrower here.
constexpr Size kSizes[] = {
    {"DriveList", 0, 315},        {"Label8", 1065, 255},     {"FileSortOrder", 1695, 315},
    {"Label12", 1185, 255},       {"CasesList", 1815, 315},  {"Label10", 1320, 255},
    {"SelSteps", 555, 285},       {"Label11", 705, 255},     {"Frame2", 2895, 2535},
    {"RenameChk", 1935, 255},     {"Label7", 2160, 255},     {"NumCharKeep", 495, 330},
    {"Label2", 720, 255},         {"FilePrefix", 1695, 330}, {"Label3", 960, 255},
    {"StartingNumber", 855, 330}, {"chkTrim", 645, 255},     {"Label5", 960, 255},
    {"NumberIncValue", 855, 330}, {"chkAlpha", 735, 255},    {"Label4", 840, 255},
    {"FileLeading", 1695, 330},   {"Frame1", 2895, 1695},    {"Label6", 840, 255},
    {"NewExt", 1695, 315},        {"ExtUsed0", 2175, 255},   {"ExtUsed1", 2055, 255},
    {"ExtUsed2", 2295, 255},      {"Label1", 1680, 255},     {"FileSpecs", 0, 330},
    {"Label9", 1680, 255},        {"WildCardRen", 0, 330},   {"PreviewBut", 2790, 375},
    {"ApplyBut", 1395, 375},      {"ExitBut", 1395, 375},
};

// The width a control needs to show its whole caption (with the indicator of a check box
// or option button) or its longest list item; 0 for the others.
int neededWidth(const QWidget* control)
{
    if (qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control))
        return control->sizeHint().width();
    if (auto* list = qobject_cast<const QComboBox*>(control); list && !list->isEditable())
        return list->sizeHint().width();
    return 0;
}

} // namespace

void Main::placeControls()
{
    const double pixelsPerTwip = logicalDpiX() / kTwipsPerInch;
    // The smallest uniform scale at which every caption and list item fits its control.
    double scale = 1.0;
    for (const Size& size : kSizes) {
        const QWidget* control = findChild<QWidget*>(QLatin1String(size.name));
        if (size.width > 0)
            scale = std::max(scale, neededWidth(control) / (size.width * pixelsPerTwip));
    }
    const Twips px(pixelsPerTwip * scale);
    for (const Size& size : kSizes) {
        QWidget* control = findChild<QWidget*>(QLatin1String(size.name));
        const int height = std::max(px(size.height), control->sizeHint().height());
        if (size.width > 0)
            control->setFixedSize(px(size.width), height);
        else
            control->setFixedHeight(height);
    }
    layOut(px);
    // Widgets added at the bottom before this point make the window taller.
    int below = 0;
    for (int i = m_outer->indexOf(Line2) + 2; i < m_outer->count(); ++i)
        below += m_outer->itemAt(i)->sizeHint().height();
    resize(QSize(px(kClientWidth), px(kClientHeight) + below).expandedTo(minimumSizeHint()));
}

void Main::addBottomWidget(QWidget* widget)
{
    m_outer->addWidget(widget);
    resize(width(), height() + m_outer->itemAt(m_outer->count() - 1)->sizeHint().height());
}

} // namespace pellory
