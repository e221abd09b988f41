// The window's controls: creation, captions, tool tips, list items, initial states, focus
// order and access keys. Placement and scale live in MainGeometry.cpp.

#include "window/Controls.h"
#include "window/DriveSelector.h"
#include "window/FilePane.h"
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
    // Created in this order so that where two overlap by a pixel, the same one is on top.
    m_files = new FilePane(this, *m_run, *m_feedback, [this] { return m_naming->extensionMode(); });
    m_naming = new NamingPanel(this, *m_run);
    PreviewBut = makeControl<QPushButton>(this, "PreviewBut");
    ApplyBut = makeControl<QPushButton>(this, "ApplyBut");
    ExitBut = makeControl<QPushButton>(this, "ExitBut");
    Line1 = makeControl<QFrame>(this, "Line1");
    Line2 = makeControl<QFrame>(this, "Line2");
}

void Main::fillTexts()
{
    setTexts({
        {PreviewBut, "Previe&w and Check for Errors", "Click to preview", nullptr},
        {ApplyBut, "Apply", "Click to apply", nullptr},
        {ExitBut, "Exit", "Click to exit", nullptr},
        {Line1, nullptr, nullptr, "Separator"},
        {Line2, nullptr, nullptr, "Separator"},
    });
}

void Main::setInitialStates()
{
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
}

void Main::setFocusOrder()
{
    const FilePane& f = *m_files;
    const NamingPanel& n = *m_naming;
    m_tabOrder = {f.DriveList,      f.DirList,     f.Label8,   f.FileSortOrder,  f.Label10,
                  f.SelSteps,       f.Label11,     f.FileList, f.Label1,         f.FileSpecs,
                  n.Label9,         n.WildCardRen, n.Label12,  n.CasesList,      n.RenameChk,
                  n.Label7,         n.NumCharKeep, n.Label2,   n.FilePrefix,     n.Label3,
                  n.StartingNumber, n.chkTrim,     n.Label5,   n.NumberIncValue, n.chkAlpha,
                  n.Label4,         n.FileLeading, n.Label6,   n.NewExt,         n.ExtUsed[0],
                  n.ExtUsed[1],     n.ExtUsed[2],  PreviewBut, ApplyBut,         ExitBut,
                  n.Frame2,         f.PreviewList, n.Frame1};
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
