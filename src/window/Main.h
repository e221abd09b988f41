// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The one window of Pellory. It makes the objects that own the controls (the file pane, the
// naming panel, the run buttons) and the control-state rules that switch them, places
// every control, wires each control's event to its handler, and runs start-up and close:
// Form_Load restores the stored settings, Form_Unload stores them. A value set from code
// raises its handler before the assignment returns, as a user's edit would; start-up
// relies on that. Only this class knows where a control sits: Qt layouts place them, the
// lists take the room a larger window gives, and the window always starts wholly on the
// screen. A folder (or a file's folder) dropped on the window opens.

#include "settings/StoredSettings.h"

#include <QByteArray>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QFrame;
class QLayout;
class QVBoxLayout;

namespace pellory {

class ControlStates;
class Feedback;
class FilePane;
class NamingPanel;
class Rows;
class RunButtons;
class RunController;
class StatusLine;
class Twips;
class UndoCommands;

class Main : public QWidget
{
    Q_OBJECT
public:
    // `feedback` answers beeps and message boxes (nullptr: the real ones). Form_Load runs
    // inside the constructor; the caller shows the window. `folder` (a path's exact bytes,
    // empty for none), named when Pellory was started, opens in place of the stored folder;
    // when it cannot be opened a warning on the standard error says why, and the stored
    // folder opens.
    explicit Main(Feedback* feedback = nullptr, const QByteArray& folder = {},
                  QWidget* parent = nullptr);
    ~Main() override;

    RunController& run() const { return *m_run; }
    FilePane& files() const { return *m_files; }
    NamingPanel& naming() const { return *m_naming; }
    RunButtons& buttons() const { return *m_buttons; }
    UndoCommands& undo() const { return *m_undo; }
    StatusLine& status() const { return *m_status; }
    // Every control of the window in its own order: the focus order, then the two lines.
    const std::vector<QWidget*>& controls() const { return m_controls; }

    // Adds a widget across the bottom of the window, below the separator lines and the
    // strip under them, after those added before, and makes the window taller by its
    // height. Call it while the window is being made, before Form_Load, so that a stored
    // size already counts it.
    void addBottomWidget(QWidget* widget);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Esc while a drop-down list is open; a folder dragged onto any control.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr double kTwipsPerInch = 1440.0;

    // MainLayout.cpp: the controls, their order and access keys, their sizes and places.
    void createControls();
    void setFocusOrder();
    void placeControls();
    void layOut(const Twips& px);
    QLayout* namingFrame(const Rows& rows);
    void layOutFrames(const Rows& rows);
    // MainWiring.cpp
    void connectHandlers();
    void connectStatus();
    void pressEscape();
    void guardKeystrokes();

    // MainLoad.cpp
    void Form_Load();
    void Form_Unload();
    bool Form_QueryUnload();

    // MainPlacement.cpp: where the window starts, and how large.
    void restoreWindowSize(const StoredSettings& store);
    void centreWindow();
    void restoreWindowPosition(const StoredSettings& store);
    void keepOnScreen();
    QMargins frameMargins() const;
    // Window positions and sizes are kept in twips, 1/1440 inch, on the primary screen.
    static double twipsPerPixel(Qt::Orientation along);

    // MainSettings.cpp: the window's keys and the start folder; the panes take the rest.
    void restoreSetting(SettingKey key, const QString& text);
    bool openStartFolder();
    // Nothing: the stored value stays as it was.
    std::optional<QString> settingToStore(SettingKey key) const;

    // MainHelp.cpp: F1 opens the user guide.
    void showHelp();
    // MainDrop.cpp: a dragged folder, or a file meaning its folder, whatever control it is
    // over; true when the event was one.
    bool takeDrop(QObject* watched, QEvent* event);

    Feedback* m_feedback;
    std::unique_ptr<Feedback> m_ownFeedback;
    QByteArray m_startFolder;         // named when Pellory was started
    bool m_startFolderOpened = false; // so the stored folder stays closed
    RunController* m_run = nullptr;
    FilePane* m_files = nullptr;
    NamingPanel* m_naming = nullptr;
    RunButtons* m_buttons = nullptr;
    ControlStates* m_states = nullptr;
    StatusLine* m_status = nullptr;
    UndoCommands* m_undo = nullptr;
    bool m_escapeClosesPopup = false;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QVBoxLayout* m_outer = nullptr; // the window's rows, top to bottom
    bool m_framed = false;          // the window manager has shown the frame's real size
    std::vector<QWidget*> m_controls;
};

} // namespace pellory
