// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The file pane's controls: creation, captions, tool tips, list items and start states,
// and which event of each runs which handler.

#include "catalogue/SortOrders.h"
#include "platform/FolderWatch.h"
#include "window/CaptureReader.h"
#include "window/Controls.h"
#include "window/DriveSelector.h"
#include "window/FilePane.h"
#include "window/FolderPathField.h"
#include "window/FolderSelector.h"
#include "window/NameListView.h"
#include "window/RunController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>

namespace pellory {

FilePane::FilePane(QWidget* window, RunController& run, Feedback& feedback,
                   std::function<ExtensionMode()> extensionMode)
    : QObject(window), m_run(run), m_feedback(feedback), m_extensionMode(std::move(extensionMode)),
      m_watch(new FolderWatch(this)), m_settle(new QTimer(this)),
      m_captures(new CaptureReader(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(kSettleMs);
    createControls(window);
    setTexts();
    setInitialStates();
}

void FilePane::createControls(QWidget* window)
{
    DriveList = makeControl<DriveSelector>(window, "DriveList");
    FolderPath = makeControl<FolderPathField>(window, "FolderPath");
    DirList = makeControl<FolderSelector>(window, "DirList");
    Label8 = makeLabel(window, "Label8", true);
    FileSortOrder = makeControl<QComboBox>(window, "FileSortOrder");
    Label10 = makeLabel(window, "Label10", false);
    SelSteps = makeField(window, "SelSteps", 3);
    Label11 = makeLabel(window, "Label11", false);
    FileList = makeControl<NameListView>(window, "FileList");
    PreviewList = makeControl<NameListView>(window, "PreviewList");
    createColumns();
    Label1 = makeLabel(window, "Label1", true);
    FileSpecs = makeField(window, "FileSpecs");
    CompanionsChk = makeControl<QCheckBox>(window, "CompanionsChk");
}

void FilePane::setTexts()
{
    const char* selTip = QT_TR_NOOP("Selects files beginning at current selected file");
    pellory::setTexts(
        staticMetaObject,
        {
            {DriveList, nullptr, nullptr, QT_TR_NOOP("Drive")},
            {FolderPath, nullptr, QT_TR_NOOP("Type a folder and press Enter to open it"),
             QT_TR_NOOP("Folder path")},
            {DirList, nullptr, nullptr, QT_TR_NOOP("Folder")},
            {Label8, QT_TR_NOOP("Sort Files &by : "), QT_TR_NOOP("Select sorting order"), nullptr},
            {FileSortOrder, nullptr, QT_TR_NOOP("Select sorting order"), nullptr},
            {Label10, QT_TR_NOOP("Select files &every"), selTip, nullptr},
            {SelSteps, nullptr, selTip, QT_TR_NOOP("Select every N positions")},
            {Label11, QT_TR_NOOP("positions"), selTip, nullptr},
            {FileList, nullptr, nullptr, QT_TR_NOOP("Files")},
            {PreviewList, nullptr, nullptr, QT_TR_NOOP("Preview of new names")},
            {Label1, QT_TR_NOOP("File specs to act &on : "),
             QT_TR_NOOP("Enter file specs (wildcards) to act on"), nullptr},
            {FileSpecs, nullptr, QT_TR_NOOP("Enter file specs (wildcards) to act on"),
             QT_TR_NOOP("File specs")},
            {CompanionsChk, QT_TR_NOOP("Rename companion files"),
             QT_TR_NOOP("Give the RAW, JPEG and sidecar files that go with each renamed file "
                        "its new name"),
             nullptr},
        });
    for (const SortOrder& order : kSortOrders)
        FileSortOrder->addItem(tr(order.caption));
}

void FilePane::setInitialStates()
{
    // The list starts with nothing chosen, so that choosing item 0 at start-up raises the
    // list's handler as a choice would.
    FileSortOrder->setCurrentIndex(-1);
    SelSteps->setText("0");
    setSpecs("*.JPG;*.GIF");
    PreviewList->hide();
    FileList->setContextMenuPolicy(Qt::CustomContextMenu);
    FileList->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    DriveList->setVolumes(DriveSelector::mountedVolumes());
    DirList->setPath(QDir::homePath());
    DriveList->setDrive(DriveList->driveOf(DirList->path()));
}

void FilePane::connectHandlers()
{
    // These signals fire for values set from code too: start-up and several handlers rely on
    // a value set from code raising its control's handler at once.
    connect(DriveList, &DriveSelector::driveChanged, this, &FilePane::DriveList_Change);
    connect(DirList, &FolderSelector::pathChanged, this, &FilePane::DirList_Change);
    connect(FileSortOrder, &QComboBox::currentIndexChanged, this, &FilePane::FileSortOrder_Click);
    connect(SelSteps, &QLineEdit::textChanged, this, &FilePane::SelSteps_Change);
    connect(FileList, &NameListView::selectionEdited, this, &FilePane::FileList_Click);
    connect(PreviewList, &NameListView::selectionEdited, this, &FilePane::PreviewList_Click);
    connect(FileSpecs, &QLineEdit::textChanged, this, &FilePane::FileSpecs_Change);
    FileSpecs->installEventFilter(this);
    connect(CompanionsChk, &QCheckBox::toggled, this, &FilePane::CompanionsChk_Click);
    connect(FileList->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &FilePane::FileList_HeaderClick);
    connect(FileList, &QWidget::customContextMenuRequested, this, &FilePane::showFileListMenu);
    auto* undo = new QShortcut(QKeySequence(kUndoLastRunKey), FileList->window());
    connect(undo, &QShortcut::activated, this, &FilePane::undoRequested);
    connect(FolderPath, &QLineEdit::returnPressed, this, &FilePane::openTypedFolder);
    auto* reread = new QShortcut(QKeySequence(Qt::Key_F5), FileList->window());
    connect(reread, &QShortcut::activated, this, &FilePane::readFolderAgain);
    // Every notice restarts the wait, so that a burst of changes rebuilds the list once.
    connect(m_watch, &FolderWatch::changed, m_settle, qOverload<>(&QTimer::start));
    connect(&m_run, &RunController::renamesStarting, m_watch, &FolderWatch::pause);
    connect(m_settle, &QTimer::timeout, this, &FilePane::followDisk);
    FileList->viewport()->installEventFilter(this);
    DirList->installEventFilter(this);
    connect(FileList->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            &FilePane::showColumnMenu);
    connect(m_captures, &CaptureReader::finished, this, &FilePane::captureTimesRead);
    connect(m_captures, &CaptureReader::progress, this, &FilePane::captureReadingProgress);
    connect(&m_run, &RunController::finished, this, &FilePane::applyCaptureTimes);
}

} // namespace pellory
