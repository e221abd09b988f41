// Drive and folder navigation, the file specifications, the sort order and the every-N
// selection: the handlers that rebuild, re-sort and select the file list.

#include "catalogue/EveryN.h"
#include "catalogue/SortOrders.h"
#include "window/DriveSelector.h"
#include "window/Feedback.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace pellory {

void Main::DriveList_Change()
{
    if (DriveList->drive().isEmpty())
        return; // the list of volumes changed and holds no current drive
    const BusyPointer busy;
    if (DirList->setPath(DriveList->folderFor(DriveList->drive())))
        return;
    // A drive that cannot be opened: back to the drive of the folder shown, which raises
    // this handler once more for that drive.
    DriveList->setDrive(DriveList->driveOf(DirList->path()));
    m_feedback->beep();
}

void Main::DirList_Change()
{
    ++m_dirChanges;
    const BusyPointer busy;
    RefreshFiles();
    SelSteps_Change();
    const QString folder = DirList->path();
    DriveList->rememberFolder(folder);
    // The folder selector can walk onto another volume; the drive selector follows it. The
    // folder just remembered is where that drive opens, so the folder stays as it is.
    const QString drive = DriveList->driveOf(folder);
    if (!drive.isEmpty() && drive != DriveList->drive())
        DriveList->setDrive(drive);
}

void Main::RefreshFiles()
{
    rebuildCatalogue(catalogueToChange(), DirList->path(), FileSpecs->text(),
                     m_naming->extensionMode());
    SortFiles();
    UpdateControls();
}

Catalogue& Main::catalogueToChange()
{
    if (m_catalogue.use_count() > 1) // a walk reads it: it keeps this one, the window a copy
        m_catalogue = std::make_shared<Catalogue>(*m_catalogue);
    return *m_catalogue;
}

void Main::SortFiles()
{
    sortCatalogue(catalogueToChange(), FileSortOrder->currentIndex());
    QStringList names;
    names.reserve(m_catalogue->FileCount());
    for (const FileRecord& record : m_catalogue->FileRecords)
        names.append(record.FileName);
    // One reset of the list: the selection and the current item are dropped with it.
    FileList->names()->setNames(std::move(names));
}

void Main::FileSortOrder_Click()
{
    // A run walks the catalogue by position; its order must not change under it.
    if (!m_run->mayAct(RunController::IfBusy::Ignore))
        return;
    SortFiles();
}

void Main::SelSteps_Change()
{
    // A run takes each file's selection from the list as it walks; it must not change.
    if (!m_run->mayAct(RunController::IfBusy::Ignore))
        return;
    const qint16 n = selStepsValue(SelSteps->text());
    FileList->clearSelectionOnly();
    if (n < 1)
        return;
    const EveryNSelection every = everyNthItem(FileList->count(), FileList->currentRow(), n);
    FileList->selectRows(every.items);
    FileList->setCurrentRow(-1);
    if (every.currentItem >= 0)
        FileList->setCurrentRow(every.currentItem);
    UpdateControls();
}

void Main::FileList_Click()
{
    UpdateControls();
}

void Main::PreviewList_Click()
{
    UpdateControls();
}

void Main::FileSpecs_Change()
{
    // A wildcard rename takes exactly one specification.
    const QString text = FileSpecs->text();
    const bool single = !text.isEmpty() && !text.contains(QLatin1Char(';'));
    m_naming->WildCardRen->setEnabled(single);
    m_naming->Label9->setEnabled(single);
}

void Main::FileSpecs_GotFocus()
{
    SavedSpecs = FileSpecs->text();
}

void Main::FileSpecs_LostFocus()
{
    // Letter case counts: "*.jpg" pasted over "*.JPG" is a change.
    if (FileSpecs->text() == SavedSpecs)
        return;
    RefreshFiles();
    SelSteps_Change();
}

} // namespace pellory
