// The window's controls: creation, captions, tool tips, list items, initial states, focus
// order and access keys. Placement and scale live in MainGeometry.cpp.

#include "window/Controls.h"
#include "window/DriveSelector.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pellory {

void Main::createControls()
{
    DriveList = makeControl<DriveSelector>(this, "DriveList");
    DirList = makeControl<FolderSelector>(this, "DirList");
    Label8 = makeLabel(this, "Label8", true);
    FileSortOrder = makeControl<QComboBox>(this, "FileSortOrder");
    Label10 = makeLabel(this, "Label10", false);
    SelSteps = makeField(this, "SelSteps", 3);
    Label11 = makeLabel(this, "Label11", false);
    FileList = makeControl<NameListView>(this, "FileList");
    PreviewList = makeControl<NameListView>(this, "PreviewList");
    Label1 = makeLabel(this, "Label1", true);
    FileSpecs = makeField(this, "FileSpecs");
    m_naming = new NamingPanel(this, *m_run);
    PreviewBut = makeControl<QPushButton>(this, "PreviewBut");
    ApplyBut = makeControl<QPushButton>(this, "ApplyBut");
    ExitBut = makeControl<QPushButton>(this, "ExitBut");
    Line1 = makeControl<QFrame>(this, "Line1");
    Line2 = makeControl<QFrame>(this, "Line2");
}

void Main::fillTexts()
{
    const char* selTip = "Selects  files begining at current selected file";
    setTexts({
        {DriveList, nullptr, nullptr, "Drive"},
        {DirList, nullptr, nullptr, "Folder"},
        {Label8, "Sort Files &by : ", "Select sorting order", nullptr},
        {FileSortOrder, nullptr, "Select sorting order", "Sort order"},
        {Label10, "Select files &every", selTip, nullptr},
        {SelSteps, nullptr, selTip, "Select every N positions"},
        {Label11, "positions", selTip, nullptr},
        {FileList, nullptr, nullptr, "Files"},
        {PreviewList, nullptr, nullptr, "Preview of new names"},
        {Label1, "File specs to act &on : ", "Enter file specs (wildcards) to act on", nullptr},
        {FileSpecs, nullptr, "Enter file specs (wildcards) to act on", "File specs"},
        {PreviewBut, "Previe&w and Check for Errors", "Click to preview", nullptr},
        {ApplyBut, "Apply", "Click to apply", nullptr},
        {ExitBut, "Exit", "Click to exit", nullptr},
        {Line1, nullptr, nullptr, "Separator"},
        {Line2, nullptr, nullptr, "Separator"},
    });
    FileSortOrder->addItems({"Name (A to Z)", "Name (Z to A)", "Ext (A to Z)", "Ext (Z to A)",
                             "Date (Old to New)", "Date (New to Old)"});
}

void Main::setInitialStates()
{
    // The list starts with nothing chosen, so that choosing item 0 at start-up raises the
    // list's handler as a choice would.
    FileSortOrder->setCurrentIndex(-1);
    SelSteps->setText("0");
    FileSpecs->setText("*.JPG;*.GIF");
    PreviewList->hide();
    PreviewBut->setEnabled(false);
    ApplyBut->setEnabled(false);
    for (QPushButton* button : {PreviewBut, ApplyBut, ExitBut}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line2->setFrameShape(QFrame::HLine);
    Line2->setFrameShadow(QFrame::Plain);
    QPalette light = Line2->palette();
    light.setColor(QPalette::WindowText, light.color(QPalette::Midlight));
    Line2->setPalette(light);

    DriveList->setVolumes(DriveSelector::mountedVolumes());
    DirList->setPath(QDir::homePath());
    DriveList->setDrive(DriveList->driveOf(DirList->path()));
}

void Main::setFocusOrder()
{
    const NamingPanel& n = *m_naming;
    m_tabOrder = {DriveList,        DirList,       Label8,     FileSortOrder,    Label10,
                  SelSteps,         Label11,       FileList,   Label1,           FileSpecs,
                  n.Label9,         n.WildCardRen, n.Label12,  n.CasesList,      n.RenameChk,
                  n.Label7,         n.NumCharKeep, n.Label2,   n.FilePrefix,     n.Label3,
                  n.StartingNumber, n.chkTrim,     n.Label5,   n.NumberIncValue, n.chkAlpha,
                  n.Label4,         n.FileLeading, n.Label6,   n.NewExt,         n.ExtUsed[0],
                  n.ExtUsed[1],     n.ExtUsed[2],  PreviewBut, ApplyBut,         ExitBut,
                  n.Frame2,         PreviewList,   n.Frame1};
    QWidget* previous = nullptr;
    for (int position = 0; position < kTabPositions; ++position) {
        QWidget* control = m_tabOrder[position];
        control->setProperty("tabPosition", position);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setFocusPolicy(Qt::NoFocus);
            label->setBuddy(m_tabOrder[position + 1]);
            continue;
        }
        if (control == n.Frame1 || control == n.Frame2)
            continue; // frames group controls; they take no focus of their own
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace pellory
