// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Shared by the window's tests: a recording Feedback, the stored settings written and read
// back through QSettings, the shown window, and typing as a user types.

#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/RunController.h"

#include <QApplication>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace pellory::testing {

class RecordingFeedback : public Feedback
{
public:
    int beeps = 0;
    QStringList messages;  // "title|style|text", then "|details" when there are any
    QStringList busyShown; // "busy" or "idle": the pointer with each message
    QStringList runShown;  // the newest run in the undo history with each message
    QStringList questions; // "title|text"
    bool answer = true;
    void beep() override { ++beeps; }
    void message(const QString& text, const QString& title, Style style,
                 const QString& details) override
    {
        messages.append(title + (style == Style::Warning ? "|warning|" : "|plain|") + text +
                        (details.isEmpty() ? "" : "|" + details));
        busyShown.append(QApplication::overrideCursor() ? "busy" : "idle");
        const RunHistory history = RunHistory::read();
        static const char* const states[] = {"finished", "running", "interrupted", "dismissed"};
        runShown.append(history.runs().empty() ? "none"
                                               : states[int(history.runs().front().state)]);
    }
    bool question(const QString& text, const QString& title) override
    {
        questions.append(title + '|' + text);
        return answer;
    }
};

using Store = QMap<QString, QString>;

inline QSettings& settingsFile()
{
    static QSettings file(QSettings::IniFormat, QSettings::UserScope, "Pellory", "Pellory");
    file.sync(); // take in what the window wrote
    return file;
}

// Replaces the whole store by `values`; keys not given are absent.
inline void writeStore(const Store& values)
{
    QSettings& file = settingsFile();
    file.clear();
    for (auto it = values.begin(); it != values.end(); ++it)
        file.setValue("Settings/" + it.key(), it.value());
    file.sync();
}

inline Store readStore()
{
    QSettings& file = settingsFile();
    Store values;
    file.beginGroup("Settings");
    for (const QString& key : file.childKeys())
        values.insert(key, file.value(key).toString());
    file.endGroup();
    return values;
}

// A fresh empty home folder, so that a start without a stored folder lists nothing real.
inline void isolateHome()
{
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
}

// The window with a recording feedback, shown and active so that focus and keys work;
// started with `folder` named, as on the command line.
struct Window
{
    RecordingFeedback feedback;
    std::unique_ptr<Main> main;
    const QPoint placed; // where start-up put it, before the window manager
    explicit Window(const QByteArray& folder = {})
        : main(std::make_unique<Main>(&feedback, folder)), placed(main->pos())
    {
        main->show();
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main.get()))
            qWarning("the window did not become active");
    }
};

// A control of the window by its object name, the way the tests find what a user sees;
// the panes keep their widgets to themselves.
template <class T = QWidget> T* control(const Main& m, const char* name)
{
    return m.findChild<T*>(QLatin1String(name));
}

// Replaces the text of a field or editable box by typing `text` over all of it; any
// character, as a keyboard layout gives it (keyClicks() types Latin-1 only).
inline void typeOver(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Ctrl+Alt+Z, the undo of the last run, pressed where the focus is.
inline void pressUndo(QWidget* focused)
{
    // A progress dialog that was shown and closed leaves no window active offscreen, where
    // no window manager hands the activation back; the undo's shortcut needs it.
    focused->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(focused->window()));
    focused->setFocus();
    QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
}

} // namespace pellory::testing
