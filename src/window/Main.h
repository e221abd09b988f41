#pragma once
// The one window of Pellory: its controls, start-up and close, the stored settings, the
// navigation that rebuilds the catalogue, the keystroke filters and change handlers of the
// naming fields and the control-state rules. Controls and handlers carry the names the
// program's users and maintainers know them by; a value set from code raises its handler
// before the assignment returns, as a user's edit would, and start-up relies on that.

#include "settings/StoredSettings.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QFrame;

namespace pellory {

class ControlStates;
class Feedback;
class FilePane;
class NamingPanel;
class RunButtons;
class RunController;
struct KeyVerdict;

class Main : public QWidget
{
    Q_OBJECT
public:
    // `feedback` answers beeps and message boxes (nullptr: the real ones). Form_Load runs
    // inside the constructor; the caller shows the window.
    explicit Main(Feedback* feedback = nullptr, QWidget* parent = nullptr);
    ~Main() override;

    RunController& run() const { return *m_run; }
    NamingPanel& naming() const { return *m_naming; }
    FilePane& files() const { return *m_files; }
    RunButtons& buttons() const { return *m_buttons; }

    // The controls in focus order; each carries its index there as the property
    // "tabPosition", by which the control-state rules address them.
    static constexpr int kTabPositions = 38;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MainLayout.cpp, MainGeometry.cpp, MainWiring.cpp
    void createControls();
    void fillTexts();
    void setInitialStates();
    void placeControls();
    void setFocusOrder();
    void connectHandlers();

    // MainLoad.cpp
    void Form_Load();
    void centreWindow();
    void restoreWindowPosition(const StoredSettings& store);
    void Form_Unload();
    // Window positions are kept in twips, 1/1440 inch, on the primary screen.
    static double twipsPerPixel(Qt::Orientation along);
    bool Form_QueryUnload();

    // MainSettings.cpp: how each stored key is applied at start and read at close.
    void restoreSetting(SettingKey key, const QString& text);
    void restoreFolder(const QString& text);
    // Nothing: the stored value stays as it was.
    std::optional<QString> settingToStore(SettingKey key) const;

    // MainWiring.cpp: the keystroke filters in front of the fields.
    bool filterKeystroke(QObject* field, QKeyEvent* event);
    KeyVerdict verdictFor(QObject* field, int key) const;

    // MainHelp.cpp: F1 opens the user guide.
    void showHelp();

public:
    // The controls, named as the program knows them. Owned by the window (Qt parents).
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

private:
    Feedback* m_feedback;
    std::unique_ptr<Feedback> m_ownFeedback;
    std::array<QWidget*, kTabPositions> m_tabOrder{};
    RunController* m_run;
    FilePane* m_files = nullptr;
    NamingPanel* m_naming = nullptr;
    RunButtons* m_buttons = nullptr;
    ControlStates* m_states = nullptr;
    QString m_helpDocument;
};

} // namespace pellory
