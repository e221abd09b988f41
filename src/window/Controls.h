// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Making the window's controls. Each carries the name the program knows it by, so that the
// layout, the stored settings and the tests find it by that name, and each gets its
// caption, tool tip and accessible name from one table per pane.

#include <QWidget>

#include <initializer_list>

class QLabel;
class QLineEdit;

namespace pellory {

template <typename T> T* makeControl(QWidget* parent, const char* name)
{
    auto* control = new T(parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

QLabel* makeLabel(QWidget* parent, const char* name, bool rightAligned);
QLineEdit* makeField(QWidget* parent, const char* name, int maxLength = 0);

struct ControlText
{
    QWidget* control;
    const char* caption; // nullptr: the control has no caption
    const char* tip;     // nullptr: no tool tip
    const char* role;    // the accessible name of a control without a caption; nullptr:
                         // the caption of the label that leads to it names it
};

// The caption of a label, button or frame, the tool tip, and the role, each translated in
// the context of the class that owns the controls (whose table marks its texts with
// QT_TR_NOOP). A captioned control is announced by its caption without the access key,
// as it reads at the time.
void setTexts(const QMetaObject& owner, std::initializer_list<ControlText> texts);

// Has screen readers announce every drop-down list by the label that leads to it (or by
// its role), with the chosen item as its value; left alone, Qt names a drop-down list on
// Linux by its chosen item, which says what is chosen but not what for. Call it before
// the first list is made.
void announceListsByLabel();

} // namespace pellory
