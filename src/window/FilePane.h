// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The files a run acts on: the drive and folder, the file specifications, the sort order,
// the every-N selection, and the lists of files and of previewed names. It owns the
// catalogue of the folder, rebuilds it when the folder or the specifications change and
// shows it in the file list, which follows the folder on disk. Its controls are children of
// the window, which places them; it does not decide which of them the user may use (the
// control-state rules do).

#include "catalogue/Catalogue.h"
#include "run/RunState.h"
#include "settings/StoredSettings.h"
#include "window/NameListModel.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace pellory {

class FolderWatch;
class KeystrokeFilter;
class Main;
class RunController;
class SchemeWalk;

class CaptureCache;
class CaptureReader;
class DriveSelector;
class Feedback;
class FolderPathField;
class FolderSelector;
class LiveNames;
class NameListView;
class NamingPanel;

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
    // The specifications the list was built with, which a run and every rebuild of the
    // list take. Text put in the field counts once the field has been entered and left.
    const QString& listedSpecs() const { return m_listedSpecs; }
    // Puts `specs` in the field as the ones the next rebuild lists with, as the user's
    // edit does once the field is left; the caller rebuilds.
    void setSpecs(const QString& specs);

    void connectHandlers();
    // Shows beside each file the name a run with the panel's settings would give it.
    void showLiveNames(NamingPanel& naming);
    // The folder's listing that gives a walk its companion files; none while the box is
    // off. `fresh`: read now, as a run takes it; otherwise as of the last scan.
    std::shared_ptr<const FolderListing> companionListing(bool fresh);
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
    void CompanionsChk_Click();
    // A click on a column's title chooses the sort order of that column.
    void FileList_HeaderClick(int column);

    // Opens a folder the user named by typing it, dropping it or starting Pellory with it,
    // or the folder of a file named so; the list is read anew even when it is the folder
    // shown. "" when it opened; otherwise, with nothing changed, why not, in the user's
    // words.
    QString openFolder(const QByteArray& path);
    // Typing, dropping, F5 and the folder's own changes change the list only when no run is
    // under way and preview mode is off; otherwise `answer` says what the user hears.
    bool mayChangeFolder(IfBusy answer) const;
    // F5: the list rebuilt from disk, as a change of folder rebuilds it.
    void readFolderAgain();
    // A change on disk seen while the list had to stay as it was is followed now.
    void catchUpWithDisk();
    // What the empty file list says in itself; "" while it lists files.
    QString emptyListText() const;

    // Capture times are read only while something needs them: a Taken order, the Taken
    // column, or new names that carry a date. Read times stay in the window's one cache.
    void setNamesNeedTakenTimes(bool need);
    // Whether every listed file's capture time is in its record (a file without one counts);
    // captureTimesArrived() tells when times came in.
    bool captureTimesReady() const;
    // Before a walk whose names carry dates, inside the run: waits, the window usable, for
    // the reading of the listed files' times and puts them in. False when Exit stopped the
    // wait, or when the times sorted the list anew: the user's selection was of the old
    // order, so the walk must not start on it.
    bool awaitCaptureTimes();
    CaptureCache& captureCache() const;
    bool takenColumnShown() const;
    // The column is hidden or shown as through the file list's header menu.
    void showTakenColumn(bool shown);

    // How many files the list shows, and how many of them are selected.
    int listedCount() const;
    int selectedCount() const;
    // Which rows are selected, one flag a row, as a walk takes them.
    std::vector<bool> selectionFlags() const;
    // The selection is cleared, without the every-N selection being applied anew.
    void clearSelection();
    // The folder shown, as its bytes.
    QByteArray folderPath() const;
    // The specifications as the field shows them now, entered or not.
    QString specsText() const;
    // Puts the focus in the specifications field with `length` characters from `from`
    // selected; all of them when `length` is negative.
    void selectInSpecs(int from, int length);
    // Puts the keystroke rules in front of the specifications field.
    void guardKeystrokes(KeystrokeFilter& keys);

    // What the control-state rules switch: the every-N selection with its captions, and
    // that with the sort order, which a wildcard pattern switches off.
    void setEveryNEnabled(bool enabled);
    void setOrderAndStepsEnabled(bool enabled);
    // Locks (or unlocks) what a run locks here: both lists and the folder choice, so that
    // the files, their order and their selection stay as they were when it started.
    void lockForRun(bool locked);
    // After a wildcard rename, which has no preview: the file list and the folder choice
    // unlocked, the preview's list left locked.
    void unlockAfterWildcard();
    // The new names a run would give, shown beside the listed files, with the clashes among
    // them and the companion files that follow each.
    void showNewNames(NameColumn names, QHash<qint32, NameClash> clashes,
                      QHash<qint32, QString> companions);
    // The list of new names shown in place of the file list, emptied and usable, or the
    // file list shown again and the new names let go.
    void showPreviewList();
    void showFileList();
    // Lists in the preview the names `walk` gives, beside the old ones.
    void previewNames(SchemeWalk& walk);
    // The preview's list usable again once its names are in.
    void unlockPreviewList();
    // Start-up: the first sort order, before the stored one is restored.
    void chooseFirstSortOrder();

    // Puts a stored value of one of the pane's keys into its control, raising the control's
    // handler as a user's edit would; a value the control refuses, and a key of another
    // pane, are skipped.
    void restoreSetting(SettingKey key, const QString& text);
    // The value of one of the pane's keys to store at close; none for a key of another pane.
    std::optional<QString> settingToStore(SettingKey key) const;

    // Undoes the last run; Ctrl+Z and Ctrl+Shift+Z stay the text fields' own undo and redo.
    static constexpr QKeyCombination kUndoLastRunKey = Qt::CTRL | Qt::ALT | Qt::Key_Z;
    // How long the folder must stay still before the list follows a change on disk: long
    // enough for a program that writes many files to end its burst, short enough to feel
    // at once.
    static constexpr int kSettleMs = 300;

signals:
    // Any input of the pane changed: the list (its folder, specifications or order), its
    // selection or the companion files' switch; what a run would do is to be worked out
    // anew.
    void changed();
    // After changed(): the list or its selection changed, so whether a run would change
    // anything is decided anew.
    void listChanged();
    // The specification text changed.
    void specsChanged();
    // Why the file list shows no new names; an empty text when it shows them again.
    void liveNamesNote(const QString& note);
    // The user asked, by Ctrl+Alt+Z or the file list's menu, to undo the newest run, or to
    // see the undo history.
    void undoRequested();
    void historyRequested();
    // Why a folder the user typed or a drive chosen was not opened.
    void note(const QString& text);
    // Capture times came into the catalogue (and the list, re-sorted when in a Taken order).
    void captureTimesArrived();
    // How far the reading of a big folder's capture times has got; a total of 0 when over.
    void captureProgress(int done, int total);

protected:
    // FileSpecs' focus; the file list's note when it is empty; the path field usable when
    // the folder tree is.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's layout places the controls.
    friend class Main;

    void listHasChanged(); // changed(), then listChanged()
    void restoreFolder(const QString& text);
    void createControls(QWidget* window);
    void createColumns();
    void setTexts();
    void setInitialStates();
    void RefreshFiles();
    void SortFiles();
    void showSortIndicator();
    Catalogue& catalogueToChange();
    void showFileListMenu(const QPoint& at);
    void openTypedFolder();
    QString refusal(const QByteArray& path) const;
    void watchFolder();
    void followDisk();
    bool paintEmptyList();
    // FilePaneTaken.cpp
    bool takenOrderChosen() const;
    bool needsTakenTimes() const;
    void fillKnownTimes();
    void readTakenTimes();
    void captureTimesRead();
    void applyCaptureTimes();
    void takeCaptureTimes();
    void showTakenTimes();
    void captureReadingProgress(int done, int total);
    void showColumnMenu(const QPoint& at);
    void showColumn(NameListModel::Content content, bool shown);

    DriveSelector* DriveList;
    FolderPathField* FolderPath; // above the folder tree; not among the described controls
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
    QCheckBox* CompanionsChk;

    RunController& m_run;
    Feedback& m_feedback;
    std::function<ExtensionMode()> m_extensionMode;
    std::shared_ptr<Catalogue> m_catalogue = std::make_shared<Catalogue>();
    QString SavedSpecs;
    int m_dirChanges = 0;
    QString m_listedSpecs; // the specifications the list was built with
    FolderWatch* m_watch;
    QTimer* m_settle;             // a burst of changes on disk is followed once it is over
    bool m_changedUnseen = false; // a change on disk came while the list had to stay
    LiveNames* m_liveNames = nullptr;
    CaptureReader* m_captures;
    bool m_namesNeedTaken = false;
    bool m_timesWaiting = false;  // times read wait for the run or the preview to end
    bool m_progressShown = false; // the status line tells the reading's progress
    // The folder as the last scan read it, kept while companions are on.
    std::shared_ptr<const FolderListing> m_listing;
};

} // namespace pellory
