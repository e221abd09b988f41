// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Start-up, close and the stored settings: Form_Load restores the user's choices in an
// order that lets each restored value raise its control's handler; Form_Unload stores them.
// Where the window starts is MainPlacement.cpp's.

#include "settings/StoredSettings.h"
#include "window/Feedback.h"
#include "window/FilePane.h"
#include "window/Main.h"
#include "window/MainHelp.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"
#include "window/StatusLine.h"
#include "window/UndoCommands.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QSessionManager>
#include <QVBoxLayout>

#include <optional>

namespace pellory {

namespace {

// The installed icon, so that the window shows what the desktop shows for Pellory; the copy
// built in when the icon theme has none (a program run from its build folder).
QIcon pelloryIcon()
{
    QIcon bundled(QStringLiteral(":/icons/io.github.pellory.Pellory.svg"));
    // Without Qt's SVG support the drawing shows nothing; the 32 x 32 picture stands in.
    bundled.addFile(QStringLiteral(":/icons/io.github.pellory.Pellory.png"));
    return QIcon::fromTheme(QStringLiteral("io.github.pellory.Pellory"), bundled);
}

} // namespace

Main::Main(Feedback* feedback, const QByteArray& folder, QWidget* parent)
    : QWidget(parent), m_feedback(feedback), m_startFolder(folder)
{
    if (!m_feedback) {
        m_ownFeedback = std::make_unique<Feedback>();
        m_feedback = m_ownFeedback.get();
    }
    m_run = new RunController(*m_feedback, this);
    m_outer = new QVBoxLayout(this);
    setWindowTitle(QStringLiteral("Pellory"));
    setWindowIcon(pelloryIcon());
    createControls();
    setFocusOrder();
    placeControls();
    // Below the controls: the bar that reports an interrupted run, then the status line.
    addBottomWidget(m_undo->bar());
    addBottomWidget(m_status);
    connectHandlers();
#if QT_CONFIG(sessionmanager)
    // A log-off or shutdown is a close request too: refused while a run is under way.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (manager.allowsInteraction() && !m_run->mayAct(RunController::IfBusy::Beep))
            manager.cancel();
    });
#endif
    Form_Load();
}

Main::~Main() = default;

void Main::Form_Load()
{
    m_run->setRunState(RunState::Idle);
    // The application's help document is the user guide installed beside the program.
    qApp->setProperty("helpDocument", expectedUserGuide(QCoreApplication::applicationDirPath()));
    m_run->setPreviewMode(false);
    m_naming->counterTexts() = CounterTexts(); // "001", "1", "AAA", "1"
    const StoredSettings store;
    // The size first, so that the window is centred as large as it will show.
    restoreWindowSize(store);
    centreWindow();
    restoreWindowPosition(store);
    keepOnScreen();
    m_naming->chooseFirstNewExtension();
    m_files->chooseFirstSortOrder();
    // From here a value the control refuses is skipped, and start-up goes on.
    for (const SettingKey key : kRestoreOrder)
        restoreSetting(key, store.value(key));
}

void Main::Form_Unload()
{
    StoredSettings store;
    for (const SettingKey key : kStoreOrder) {
        if (const std::optional<QString> text = settingToStore(key))
            store.setValue(key, *text);
    }
    QString error;
    if (!store.flush(&error)) {
        m_feedback->message(
            tr("Your settings could not be saved, so they will not be restored at the next "
               "start.") +
                QStringLiteral("\n\n") + error,
            tr("Pellory - Error"), Feedback::Style::Warning);
    }
}

bool Main::Form_QueryUnload()
{
    return m_run->mayAct(RunController::IfBusy::Beep);
}

void Main::closeEvent(QCloseEvent* event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

} // namespace pellory
