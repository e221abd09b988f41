// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Puts a keystroke rule in front of input fields: each typed character passes, is replaced
// (the field then gets the replacement as it would the typed one) or is swallowed, with a
// beep when the rule says so. Only typed characters meet a rule; pasted text and the keys
// that type nothing (arrows, Delete, Tab) never do.

#include "rules/KeyFilters.h"

#include <QHash>
#include <QObject>

#include <functional>

class QKeyEvent;

namespace pellory {

class Feedback;

class KeystrokeFilter : public QObject
{
    Q_OBJECT
public:
    using Rule = std::function<KeyVerdict(int key)>;

    KeystrokeFilter(Feedback& feedback, QObject* parent);

    // `rule` judges every character typed into `field`; when it asks, Enter gives the focus
    // to `focusOnEnter`.
    void guard(QWidget* field, Rule rule, QWidget* focusOnEnter = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Guard
    {
        Rule rule;
        QWidget* focusOnEnter;
    };
    bool filter(QWidget* field, const Guard& guard, const QKeyEvent* event);

    Feedback& m_feedback;
    QHash<QObject*, Guard> m_guards;
};

} // namespace pellory
