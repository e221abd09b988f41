// The window's controls: creation, captions, tool tips, list items, initial states, focus
// order and access keys. Placement and scale live in MainGeometry.cpp.

#include "window/ControlStates.h"
#include "window/Controls.h"
#include "window/DriveSelector.h"
#include "window/FilePane.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"

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
    m_buttons = new RunButtons(this, *m_files, *m_naming, *m_run);
    Line1 = makeControl<QFrame>(this, "Line1");
    Line2 = makeControl<QFrame>(this, "Line2");
    m_states = new ControlStates(*m_files, *m_naming, *m_buttons, *m_run, *m_feedback, this);
}

void Main::fillTexts()
{
    setTexts({
        {Line1, nullptr, nullptr, "Separator"},
        {Line2, nullptr, nullptr, "Separator"},
    });
}

void Main::setInitialStates()
{
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
    const RunButtons& b = *m_buttons;
    m_tabOrder = {f.DriveList,      f.DirList,     f.Label8,     f.FileSortOrder,  f.Label10,
                  f.SelSteps,       f.Label11,     f.FileList,   f.Label1,         f.FileSpecs,
                  n.Label9,         n.WildCardRen, n.Label12,    n.CasesList,      n.RenameChk,
                  n.Label7,         n.NumCharKeep, n.Label2,     n.FilePrefix,     n.Label3,
                  n.StartingNumber, n.chkTrim,     n.Label5,     n.NumberIncValue, n.chkAlpha,
                  n.Label4,         n.FileLeading, n.Label6,     n.NewExt,         n.ExtUsed[0],
                  n.ExtUsed[1],     n.ExtUsed[2],  b.PreviewBut, b.ApplyBut,       b.ExitBut,
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
    // The decorative lines have an enabled state too, so no control needs to be skipped.
    std::vector<QWidget*> every(m_tabOrder.begin(), m_tabOrder.end());
    every.insert(every.end(), {Line1, Line2});
    m_buttons->setEveryControl(std::move(every));
}

} // namespace pellory
