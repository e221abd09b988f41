#pragma once
// The one window of Pellory: its controls, start-up and close, the stored settings, the
// navigation that rebuilds the catalogue, the keystroke filters and change handlers of the
// naming fields and the control-state rules. Controls and handlers carry the names the
// program's users and maintainers know them by; a value set from code raises its handler
// before the assignment returns, as a user's edit would, and start-up relies on that.

#include "catalogue/Catalogue.h"
#include "settings/StoredSettings.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QShortcut;

namespace pellory {

class DriveSelector;
class Feedback;
class FolderSelector;
class NamingPanel;
class NameListView;
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
    const Catalogue& catalogue() const { return *m_catalogue; }
    const QString& savedSpecs() const { return SavedSpecs; }

    // The controls in focus order; each carries its index there as the property
    // "tabPosition", by which the control-state rules address them.
    static constexpr int kTabPositions = 38;

    // A wildcard rename shows its progress only when it takes longer than this.
    static constexpr int kProgressDelayMs = 500;

    // Undoes the last run; Ctrl+Z and Ctrl+Shift+Z stay the text fields' own undo and redo.
    static constexpr QKeyCombination kUndoLastRunKey = Qt::CTRL | Qt::ALT | Qt::Key_Z;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override; // the file list's menu
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MainLayout.cpp, MainGeometry.cpp, MainWiring.cpp
    void createControls();
    void fillTexts();
    void setInitialStates();
    void placeControls();
    void setFocusOrder();
    void connectHandlers();
    QWidget* byTabPosition(int position) const { return m_tabOrder[position]; }

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

    // MainNavigation.cpp
    void DriveList_Change();
    void DirList_Change();
    void RefreshFiles();
    void SortFiles();
    Catalogue& catalogueToChange();
    void FileSortOrder_Click();
    void SelSteps_Change();
    void FileList_Click();
    void PreviewList_Click();
    void FileSpecs_Change();
    void FileSpecs_GotFocus();
    void FileSpecs_LostFocus();

    // MainWiring.cpp: the keystroke filters in front of the fields.
    bool filterKeystroke(QObject* field, QKeyEvent* event);
    KeyVerdict verdictFor(QObject* field, int key) const;

    // MainRules.cpp
    void UpdateControls();
    void RenameChk_Click();
    void WildCardRen_Change();
    void ExitBut_Click();
    void ApplyBut_Click();
    void PreviewBut_Click();
    void setEnabledByTabPosition(int first, int last, bool enabled);

    // MainRun.cpp: the scheme run, the preview fill and the wildcard rename.
    void schemeRun();
    void walkScheme();
    void finishSchemeRun();
    void wildcardRename();
    void finishWildcardRename();
    void reselectAfterRebuild();
    void enterPreview();
    void leavePreview();
    void setEveryControlEnabled(bool enabled);

    // MainHelp.cpp: F1 opens the user guide.
    void showHelp();

    // MainUndo.cpp: the undo of the last run from the keyboard and the file list's menu.
    QShortcut* createUndoShortcut();
    void undoLastRun();

public:
    // The controls, named as the program knows them. Owned by the window (Qt parents).
    DriveSelector* DriveList = nullptr;
    FolderSelector* DirList = nullptr;
    NameListView* FileList = nullptr;
    NameListView* PreviewList = nullptr;
    QComboBox* FileSortOrder = nullptr;
    QLineEdit* SelSteps = nullptr;
    QLineEdit* FileSpecs = nullptr;
    QPushButton* PreviewBut = nullptr;
    QPushButton* ApplyBut = nullptr;
    QPushButton* ExitBut = nullptr;
    QLabel *Label1 = nullptr, *Label8 = nullptr, *Label10 = nullptr, *Label11 = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

private:
    Feedback* m_feedback;
    std::unique_ptr<Feedback> m_ownFeedback;
    std::array<QWidget*, kTabPositions> m_tabOrder{};
    int m_dirChanges = 0; // counts DirList_Change, so a restore can tell whether it ran
    RunController* m_run;
    NamingPanel* m_naming = nullptr;

    // Window state, alive as long as the window.
    // Shared with the walk of a run under way, which keeps it as it was: the window then
    // changes a copy. Without a walk the copy is never made.
    std::shared_ptr<Catalogue> m_catalogue = std::make_shared<Catalogue>();
    QString SavedSpecs;
    QString m_helpDocument;
    // Made here rather than in the constructor, as it needs nothing of the controls.
    QShortcut* m_undoShortcut = createUndoShortcut();
};

} // namespace pellory
