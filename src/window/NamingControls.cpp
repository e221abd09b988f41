// The naming panel's controls: creation, captions, tool tips, list items and start states.

#include "window/Controls.h"
#include "window/NamingPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace pellory {

NamingPanel::NamingPanel(QWidget* window, RunController& run) : QObject(window), m_run(run)
{
    createControls(window);
    setTexts();
    setInitialStates();
}

void NamingPanel::createControls(QWidget* window)
{
    Label12 = makeLabel(window, "Label12", true);
    CasesList = makeControl<QComboBox>(window, "CasesList");
    Label9 = makeLabel(window, "Label9", true);
    WildCardRen = makeField(window, "WildCardRen");
    Frame2 = makeControl<QGroupBox>(window, "Frame2");
    // The check box heads the frame from the window, over the frame's top edge, so that
    // clearing it disables the fields inside while it stays usable itself.
    RenameChk = makeControl<QCheckBox>(window, "RenameChk");
    RenameChk->setAutoFillBackground(true);
    Label7 = makeLabel(Frame2, "Label7", true);
    NumCharKeep = makeField(Frame2, "NumCharKeep", 2);
    Label2 = makeLabel(Frame2, "Label2", true);
    FilePrefix = makeField(Frame2, "FilePrefix");
    Label3 = makeLabel(Frame2, "Label3", true);
    StartingNumber = makeField(Frame2, "StartingNumber", 8);
    chkTrim = makeControl<QCheckBox>(Frame2, "chkTrim");
    Label5 = makeLabel(Frame2, "Label5", true);
    NumberIncValue = makeField(Frame2, "NumberIncValue", 6);
    chkAlpha = makeControl<QCheckBox>(Frame2, "chkAlpha");
    Label4 = makeLabel(Frame2, "Label4", true);
    FileLeading = makeField(Frame2, "FileLeading");
    Frame1 = makeControl<QGroupBox>(window, "Frame1");
    Label6 = makeLabel(Frame1, "Label6", true);
    NewExt = makeControl<QComboBox>(Frame1, "NewExt");
    NewExt->setEditable(true);
    NewExt->setInsertPolicy(QComboBox::NoInsert);
    NewExt->setCompleter(nullptr); // a typed extension must stay as typed, never completed
    for (int i = 0; i < 3; ++i)
        ExtUsed[i] =
            makeControl<QRadioButton>(Frame1, QByteArray("ExtUsed" + QByteArray::number(i)));
}

void NamingPanel::setTexts()
{
    pellory::setTexts({
        {Label12, "Name &Format: ", nullptr, nullptr},
        {CasesList, nullptr, nullptr, nullptr},
        {Label9, "Wild&card Rename : ", "Rename files using wildcards", nullptr},
        {WildCardRen, nullptr, "Rename files using wildcards", "Wildcard rename pattern"},
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
        {NewExt, nullptr, "Select or type in new file extension", nullptr},
        {ExtUsed[0], "Use First Occurrence", "Act on first occurrence of file extension", nullptr},
        {ExtUsed[1], "Use Last Occurrence", nullptr, nullptr},
        {ExtUsed[2], "Do Not Use File Extension", nullptr, nullptr},
    });
    CasesList->addItems({"Leave as is", "all lower case", "ALL UPPER CASE", "Normal Formatted"});
    NewExt->addItems({"Keep as is", "Remove ext"});
}

void NamingPanel::setInitialStates()
{
    // The lists start with nothing chosen, so that choosing item 0 at start-up raises the
    // list's handler as a choice would.
    CasesList->setCurrentIndex(-1);
    NewExt->setCurrentIndex(-1);
    NumCharKeep->setText("0");
    FilePrefix->setText("IMG_");
    StartingNumber->setText("000");
    NumberIncValue->setText("1");
    ExtUsed[1]->setChecked(true);
    for (QWidget* inside : Frame2->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        inside->setEnabled(false);
}

} // namespace pellory
