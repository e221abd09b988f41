// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// How the window answers the user outside its controls: a beep for a refused key or
// action, a modal message box for what the user must read, and the busy pointer. Tests
// replace Feedback with a recording double, since neither a beep nor a modal box can be
// observed from the outside.

#include <QString>

namespace pellory {

class Feedback
{
public:
    // Message box styles: OK alone, or OK with an exclamation icon.
    enum class Style
    {
        Plain,
        Warning,
    };

    virtual ~Feedback() = default;
    virtual void beep();
    // A modal box with `text`, `title` and an OK button; the icon follows `style`.
    // `details`, when given, is the box's second, informative part.
    virtual void message(const QString& text, const QString& title, Style style,
                         const QString& details = {});
    // A modal question with Yes and No, No the default; true for Yes.
    virtual bool question(const QString& text, const QString& title);
};

// Shows the hourglass while it lives, so that every way out of a busy step restores the
// pointer. Nests: each guard restores only its own override.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace pellory
