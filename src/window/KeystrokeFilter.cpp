// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/KeystrokeFilter.h"

#include "window/Feedback.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace pellory {

namespace {

// The character code a keystroke types, as the rules know it; -1 for a key that types
// no character (arrows, Delete, Home), which is no keystroke for them.
int typedCharacter(const QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Backspace)
        return 8;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    // Tab and Esc move the focus or press Exit; they never reach a field as characters.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape ||
        key == Qt::Key_Delete)
        return -1;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z)
        return key - Qt::Key_A + 1; // Ctrl+A is 1, Ctrl+V is 22
    const QString text = event->text();
    if (text.isEmpty() || (mods & Qt::ControlModifier) || text.at(0).unicode() == 0x7f)
        return -1;
    return text.at(0).unicode();
}

} // namespace

KeystrokeFilter::KeystrokeFilter(Feedback& feedback, QObject* parent)
    : QObject(parent), m_feedback(feedback)
{}

void KeystrokeFilter::guard(QWidget* field, Rule rule, QWidget* focusOnEnter)
{
    m_guards.insert(field, Guard{std::move(rule), focusOnEnter});
    // An editable box has the focus; its line edit only receives what the box forwards.
    field->installEventFilter(this);
}

bool KeystrokeFilter::eventFilter(QObject* watched, QEvent* event)
{
    const auto guard = m_guards.constFind(watched);
    if (event->type() != QEvent::KeyPress || guard == m_guards.cend())
        return false;
    return filter(static_cast<QWidget*>(watched), *guard, static_cast<QKeyEvent*>(event));
}

// Returns true when the keystroke was consumed here.
bool KeystrokeFilter::filter(QWidget* field, const Guard& guard, const QKeyEvent* event)
{
    const int typed = typedCharacter(event);
    if (typed < 0)
        return false;
    const KeyVerdict verdict = guard.rule(typed);
    if (verdict.beep)
        m_feedback.beep();
    if (verdict.focusFileList && guard.focusOnEnter) {
        guard.focusOnEnter->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (verdict.key == 0)
        return true;
    if (verdict.key == typed)
        return false;
    // A converted character: insert the replacement as the field would the typed one.
    const QString replacement(QChar(char16_t(verdict.key)));
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->insert(replacement);
    else if (auto* box = qobject_cast<QComboBox*>(field))
        box->lineEdit()->insert(replacement);
    return true;
}

} // namespace pellory
