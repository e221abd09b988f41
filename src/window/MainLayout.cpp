// The window's controls: creation, captions, tool tips, list items, initial states, focus
// order and access keys. Placement and scale live in MainGeometry.cpp.

#include "window/DriveSelector.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pellory {

namespace {

template <typename T> T* make(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* makeLabel(QWidget* parent, const char* name, bool rightAligned)
{
    auto* label = make<QLabel>(parent, name);
    label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name, int maxLength = 0)
{
    auto* field = make<QLineEdit>(parent, name);
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    return field;
}

QString withoutAccessKey(QString caption)
{
    return caption.remove(QLatin1Char('&')).trimmed();
}

} // namespace

void Main::createControls()
{
    DriveList = make<DriveSelector>(this, "DriveList");
    DirList = make<FolderSelector>(this, "DirList");
    Label8 = makeLabel(this, "Label8", true);
    FileSortOrder = make<QComboBox>(this, "FileSortOrder");
    Label12 = makeLabel(this, "Label12", true);
    CasesList = make<QComboBox>(this, "CasesList");
    Label10 = makeLabel(this, "Label10", false);
    SelSteps = makeField(this, "SelSteps", 3);
    Label11 = makeLabel(this, "Label11", false);
    FileList = make<NameListView>(this, "FileList");
    PreviewList = make<NameListView>(this, "PreviewList");
    Label1 = makeLabel(this, "Label1", true);
    FileSpecs = makeField(this, "FileSpecs");
    Label9 = makeLabel(this, "Label9", true);
    WildCardRen = makeField(this, "WildCardRen");
    PreviewBut = make<QPushButton>(this, "PreviewBut");
    ApplyBut = make<QPushButton>(this, "ApplyBut");
    ExitBut = make<QPushButton>(this, "ExitBut");
    Line1 = make<QFrame>(this, "Line1");
    Line2 = make<QFrame>(this, "Line2");
    createFrames();
}

void Main::createFrames()
{
    Frame2 = make<QGroupBox>(this, "Frame2");
    // The check box heads the frame from the window, over the frame's top edge, so that
    // clearing it disables the fields inside while it stays usable itself.
    RenameChk = make<QCheckBox>(this, "RenameChk");
    RenameChk->setAutoFillBackground(true);
    Label7 = makeLabel(Frame2, "Label7", true);
    NumCharKeep = makeField(Frame2, "NumCharKeep", 2);
    Label2 = makeLabel(Frame2, "Label2", true);
    FilePrefix = makeField(Frame2, "FilePrefix");
    Label3 = makeLabel(Frame2, "Label3", true);
    StartingNumber = makeField(Frame2, "StartingNumber", 8);
    chkTrim = make<QCheckBox>(Frame2, "chkTrim");
    Label5 = makeLabel(Frame2, "Label5", true);
    NumberIncValue = makeField(Frame2, "NumberIncValue", 6);
    chkAlpha = make<QCheckBox>(Frame2, "chkAlpha");
    Label4 = makeLabel(Frame2, "Label4", true);
    FileLeading = makeField(Frame2, "FileLeading");

    Frame1 = make<QGroupBox>(this, "Frame1");
    Label6 = makeLabel(Frame1, "Label6", true);
    NewExt = make<QComboBox>(Frame1, "NewExt");
    NewExt->setEditable(true);
    NewExt->setInsertPolicy(QComboBox::NoInsert);
    NewExt->setCompleter(nullptr); // a typed extension must stay as typed, never completed
    for (int i = 0; i < 3; ++i)
        ExtUsed[i] = make<QRadioButton>(Frame1, QByteArray("ExtUsed" + QByteArray::number(i)));
}

void Main::fillTexts()
{
    struct Texts
    {
        QWidget* control;
        const char* caption; // nullptr: the control has no caption
        const char* tip;     // nullptr: no tool tip
        const char* role;    // the accessible name of a control without a caption
    };
    const char* selTip = "Selects  files begining at current selected file";
    const Texts texts[] = {
        {DriveList, nullptr, nullptr, "Drive"},
        {DirList, nullptr, nullptr, "Folder"},
        {Label8, "Sort Files &by : ", "Select sorting order", nullptr},
        {FileSortOrder, nullptr, "Select sorting order", "Sort order"},
        {Label12, "Name &Format: ", nullptr, nullptr},
        {CasesList, nullptr, nullptr, "Name format"},
        {Label10, "Select files &every", selTip, nullptr},
        {SelSteps, nullptr, selTip, "Select every N positions"},
        {Label11, "positions", selTip, nullptr},
        {FileList, nullptr, nullptr, "Files"},
        {PreviewList, nullptr, nullptr, "Preview of new names"},
        {Frame2, nullptr, nullptr, "Batch rename settings"},
        {RenameChk, "Enable Batch &Rename", "Check to enable batch renaming", nullptr},
        {Label7, "Characters to &keep from left : ", "Enter a number", nullptr},
        {NumCharKeep, nullptr, "Enter a number", "Characters to keep from left"},
        {Label2, "&Prefix : ", "Enter prefix text", nullptr},
        {FilePrefix, nullptr, "Enter prefix text", "Prefix"},
        {Label3, "&Starting # : ", "Enter padded numbers", nullptr},
        {StartingNumber, nullptr, "Enter padded numbers", "Starting value"},
        {chkTrim, "Trim", "Check to trim zeros", nullptr},
        {Label5, "&Increment : ", "Enter increment value", nullptr},
        {NumberIncValue, nullptr, "Enter increment value", "Increment"},
        {chkAlpha, "Alpha", "Check to use characters", nullptr},
        {Label4, "&Leading : ", "Enter leading text", nullptr},
        {FileLeading, nullptr, "Enter leading text", "Leading text"},
        {Frame1, "Extension", nullptr, nullptr},
        {Label6, "New e&xt : ", "Select or type in new file extension", nullptr},
        {NewExt, nullptr, "Select or type in new file extension", "New extension"},
        {ExtUsed[0], "Use First Occurrence", "Act on first occurrence of file extension", nullptr},
        {ExtUsed[1], "Use Last Occurrence", nullptr, nullptr},
        {ExtUsed[2], "Do Not Use File Extension", nullptr, nullptr},
        {Label1, "File specs to act &on : ", "Enter file specs (wildcards) to act on", nullptr},
        {FileSpecs, nullptr, "Enter file specs (wildcards) to act on", "File specs"},
        {Label9, "Wild&card Rename : ", "Rename files using wildcards", nullptr},
        {WildCardRen, nullptr, "Rename files using wildcards", "Wildcard rename pattern"},
        {PreviewBut, "Previe&w and Check for Errors", "Click to preview", nullptr},
        {ApplyBut, "Apply", "Click to apply", nullptr},
        {ExitBut, "Exit", "Click to exit", nullptr},
        {Line1, nullptr, nullptr, "Separator"},
        {Line2, nullptr, nullptr, "Separator"},
    };
    for (const Texts& t : texts) {
        const QString caption = t.caption ? QString::fromLatin1(t.caption) : QString();
        if (auto* label = qobject_cast<QLabel*>(t.control))
            label->setText(caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(t.control))
            button->setText(caption);
        else if (auto* frame = qobject_cast<QGroupBox*>(t.control))
            frame->setTitle(caption);
        if (t.tip)
            t.control->setToolTip(QString::fromLatin1(t.tip));
        t.control->setAccessibleName(t.caption ? withoutAccessKey(caption)
                                               : QString::fromLatin1(t.role));
    }
    FileSortOrder->addItems({"Name (A to Z)", "Name (Z to A)", "Ext (A to Z)", "Ext (Z to A)",
                             "Date (Old to New)", "Date (New to Old)"});
    CasesList->addItems({"Leave as is", "all lower case", "ALL UPPER CASE", "Normal Formatted"});
    NewExt->addItems({"Keep as is", "Remove ext"});
}

void Main::setInitialStates()
{
    // The lists start with nothing chosen, so that choosing item 0 at start-up raises the
    // list's handler as a choice would.
    FileSortOrder->setCurrentIndex(-1);
    CasesList->setCurrentIndex(-1);
    NewExt->setCurrentIndex(-1);
    SelSteps->setText("0");
    NumCharKeep->setText("0");
    FilePrefix->setText("IMG_");
    StartingNumber->setText("000");
    NumberIncValue->setText("1");
    FileSpecs->setText("*.JPG;*.GIF");
    ExtUsed[1]->setChecked(true);
    PreviewList->hide();
    PreviewBut->setEnabled(false);
    ApplyBut->setEnabled(false);
    for (QWidget* inside : Frame2->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        inside->setEnabled(false);
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
    m_tabOrder = {DriveList,      DirList,     Label8,     FileSortOrder,  Label10,
                  SelSteps,       Label11,     FileList,   Label1,         FileSpecs,
                  Label9,         WildCardRen, Label12,    CasesList,      RenameChk,
                  Label7,         NumCharKeep, Label2,     FilePrefix,     Label3,
                  StartingNumber, chkTrim,     Label5,     NumberIncValue, chkAlpha,
                  Label4,         FileLeading, Label6,     NewExt,         ExtUsed[0],
                  ExtUsed[1],     ExtUsed[2],  PreviewBut, ApplyBut,       ExitBut,
                  Frame2,         PreviewList, Frame1};
    QWidget* previous = nullptr;
    for (int position = 0; position < kTabPositions; ++position) {
        QWidget* control = m_tabOrder[position];
        control->setProperty("tabPosition", position);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setFocusPolicy(Qt::NoFocus);
            label->setBuddy(m_tabOrder[position + 1]);
            continue;
        }
        if (control == Frame1 || control == Frame2)
            continue; // frames group controls; they take no focus of their own
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace pellory
