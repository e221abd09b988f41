#pragma once
// The files a run acts on: the drive and folder, the file specifications, the sort order,
// the every-N selection, and the lists of files and of previewed names. It owns the
// catalogue of the folder, rebuilds it when the folder or the specifications change and
// shows it in the file list. Its controls are children of the window, which places them;
// it does not decide which of them the user may use (the control-state rules do).

#include "catalogue/Catalogue.h"

#include <QObject>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace pellory {

class DriveSelector;
class Feedback;
class FolderSelector;
class LiveNames;
class NameListView;
class NamingPanel;
class RunController;

class FilePane : public QObject
{
    Q_OBJECT
public:
    // `extensionMode` tells the scan which extension a file name has.
    FilePane(QWidget* window, RunController& run, Feedback& feedback,
             std::function<ExtensionMode()> extensionMode);

    // The catalogue as listed. A walk shares it and keeps it as it was when it started: the
    // pane changes a copy from then on.
    const Catalogue& catalogue() const { return *m_catalogue; }
    std::shared_ptr<const Catalogue> catalogueForWalk() const { return m_catalogue; }
    // Why the list is as it is, when the user needs telling: a specification with a folder
    // part lists nothing. Empty otherwise.
    QString listNote() const;
    // How often the folder changed: a restore can tell whether DirList_Change ran.
    int folderChanges() const { return m_dirChanges; }

    void connectHandlers();
    // Shows beside each file the name a run with the panel's settings would give it.
    void showLiveNames(NamingPanel& naming);
    LiveNames& liveNames() const { return *m_liveNames; }

    void DriveList_Change();
    void DirList_Change();
    void FileSortOrder_Click();
    void SelSteps_Change();
    void FileList_Click();
    void PreviewList_Click();
    void FileSpecs_Change();
    void FileSpecs_GotFocus();
    void FileSpecs_LostFocus();
    // A click on a column's title chooses the sort order of that column.
    void FileList_HeaderClick(int column);

    DriveSelector* DriveList;
    FolderSelector* DirList;
    QLabel* Label8;
    QComboBox* FileSortOrder;
    QLabel* Label10;
    QLineEdit* SelSteps;
    QLabel* Label11;
    NameListView* FileList;
    NameListView* PreviewList;
    QLabel* Label1;
    QLineEdit* FileSpecs;

    // Undoes the last run; Ctrl+Z and Ctrl+Shift+Z stay the text fields' own undo and redo.
    static constexpr QKeyCombination kUndoLastRunKey = Qt::CTRL | Qt::ALT | Qt::Key_Z;

signals:
    // The list or its selection changed: whether a run would change anything is decided
    // anew.
    void listChanged();
    // The specification text changed; a wildcard rename takes exactly one specification.
    void specsChanged(bool oneSpec);
    // Why the file list shows no new names; an empty text when it shows them again.
    void liveNamesNote(const QString& note);
    // The user asked, by Ctrl+Alt+Z or the file list's menu, to undo the newest run, or to
    // see the undo history.
    void undoRequested();
    void historyRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override; // FileSpecs' focus

private:
    void createControls(QWidget* window);
    void createColumns();
    void setTexts();
    void setInitialStates();
    void RefreshFiles();
    void SortFiles();
    void showSortIndicator();
    Catalogue& catalogueToChange();
    void showFileListMenu(const QPoint& at);

    RunController& m_run;
    Feedback& m_feedback;
    std::function<ExtensionMode()> m_extensionMode;
    std::shared_ptr<Catalogue> m_catalogue = std::make_shared<Catalogue>();
    QString SavedSpecs;
    int m_dirChanges = 0;
    LiveNames* m_liveNames = nullptr;
};

} // namespace pellory
