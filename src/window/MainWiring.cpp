// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Which control event runs which handler, the keystroke rules in front of the input fields,
// and the window's own keys. The panes connect their controls to their handlers; the
// control-state rules follow the panes' changes.

#include "window/ControlStates.h"
#include "window/FilePane.h"
#include "window/KeystrokeFilter.h"
#include "window/LiveNames.h"
#include "window/Main.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/RunController.h"
#include "window/StatusLine.h"
#include "window/UndoCommands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>

namespace pellory {

void Main::connectHandlers()
{
    m_files->connectHandlers();
    m_files->showLiveNames(*m_naming);
    // New names that carry a date need the files' capture times.
    const auto datesNeeded = [this] { m_files->setNamesNeedTakenTimes(m_naming->namesUseDate()); };
    connect(m_naming, &NamingPanel::changed, this, datesNeeded);
    m_naming->connectHandlers();
    m_buttons->connectHandlers();
    m_states->connectHandlers();
    // Esc anywhere in the window presses Exit, as a dialog's cancel button would.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Main::pressEscape);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &Main::showHelp);
    guardKeystrokes();
    connectStatus();
    qApp->installEventFilter(this); // Esc in an open drop-down list, and drops
    setAcceptDrops(true);           // on a control that takes none of its own too
}

void Main::pressEscape()
{
    // Esc in an open drop-down list or menu closes only that, whether the list has closed
    // itself already or is still open.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return;
    }
    if (!m_escapeClosesPopup)
        m_buttons->pressExit();
}

bool Main::eventFilter(QObject* watched, QEvent* event)
{
    if (takeDrop(watched, event))
        return true;
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        QApplication::activePopupWidget() && !m_escapeClosesPopup) {
        m_escapeClosesPopup = true; // for the rest of this key's handling
        QMetaObject::invokeMethod(
            this, [this] { m_escapeClosesPopup = false; }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void Main::connectStatus()
{
    StatusLine* status = m_status;
    const FilePane* files = m_files;
    const auto counts = [status, files] {
        QString why = files->listNote();
        const QString& live = files->liveNames().note();
        if (!live.isEmpty())
            why += (why.isEmpty() ? QString() : QStringLiteral(" ")) + live;
        status->showCounts(files->listedCount(), files->selectedCount(), why);
    };
    connect(m_files, &FilePane::listChanged, this, counts);
    connect(m_files, &FilePane::liveNamesNote, this, counts);
    connect(m_files, &FilePane::captureProgress, this, [status, counts](int done, int total) {
        if (total == 0)
            return counts(); // the reading is over: the line says what it said before
        status->showNote(tr("Reading capture times: %1 of %2").arg(done).arg(total));
    });
    connect(m_buttons, &RunButtons::runEnded, status, &StatusLine::showNote);
    m_run->setProgress([status](const QString& verb, int done, int total) {
        status->showProgress(verb, done, total);
    });
    connect(m_files, &FilePane::undoRequested, m_undo, &UndoCommands::undoLastRun);
    connect(m_files, &FilePane::historyRequested, m_undo, &UndoCommands::showHistory);
    connect(m_files, &FilePane::note, status, &StatusLine::showNote);
    // The list follows the disk again once the preview has been left.
    connect(m_buttons, &RunButtons::previewLeft, m_files, &FilePane::catchUpWithDisk);
    // After start-up, so that a look at the history never holds up the window.
    QMetaObject::invokeMethod(m_undo, &UndoCommands::reportInterrupted, Qt::QueuedConnection);
}

void Main::guardKeystrokes()
{
    // While a run visits the event loop, the rules refuse keys, so that the naming inputs
    // stay as the run read them.
    auto* keys = new KeystrokeFilter(*m_feedback, this);
    m_files->guardKeystrokes(*keys);
    m_naming->guardKeystrokes(*keys);
}

} // namespace pellory
