// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The window's controls: the panes that own them, the two separator lines, the focus order
// and the access keys. Where each control sits is MainGeometry.cpp's.

#include "window/ControlStates.h"
#include "window/Controls.h"
#include "window/DriveSelector.h"
#include "window/FilePane.h"
#include "window/FolderPathField.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"
#include "window/StatusLine.h"
#include "window/UndoCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pellory {

void Main::createControls()
{
    announceListsByLabel();
    m_files = new FilePane(this, *m_run, *m_feedback, [this] { return m_naming->extensionMode(); });
    m_naming = new NamingPanel(this, *m_run);
    m_buttons = new RunButtons(this, *m_files, *m_naming, *m_run);
    Line1 = makeControl<QFrame>(this, "Line1");
    Line2 = makeControl<QFrame>(this, "Line2");
    setTexts(staticMetaObject, {{Line1, nullptr, nullptr, QT_TR_NOOP("Separator")},
                                {Line2, nullptr, nullptr, QT_TR_NOOP("Separator")}});
    for (QFrame* line : {Line1, Line2}) {
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
    }
    QPalette light = Line2->palette();
    light.setColor(QPalette::WindowText, light.color(QPalette::Midlight));
    Line2->setPalette(light);
    m_states = new ControlStates(*m_files, *m_naming, *m_buttons, *m_run, *m_feedback, this);
    m_status = new StatusLine(this);
    m_undo = new UndoCommands(this, *m_run, *m_files, *m_feedback, *m_status);
}

void Main::setFocusOrder()
{
    const FilePane& f = *m_files;
    const NamingPanel& n = *m_naming;
    const RunButtons& b = *m_buttons;
    m_controls = {f.DriveList,      f.DirList,     f.Label8,     f.FileSortOrder,  f.Label10,
                  f.SelSteps,       f.Label11,     f.FileList,   f.Label1,         f.FileSpecs,
                  n.Label9,         n.WildCardRen, n.Label12,    n.CasesList,      n.RenameChk,
                  n.Label7,         n.NumCharKeep, n.Label2,     n.FilePrefix,     n.Label3,
                  n.StartingNumber, n.chkTrim,     n.Label5,     n.NumberIncValue, n.chkAlpha,
                  n.Label4,         n.FileLeading, n.Label6,     n.NewExt,         n.ExtUsed[0],
                  n.ExtUsed[1],     n.ExtUsed[2],  b.PreviewBut, b.ApplyBut,       b.ExitBut,
                  n.Frame2,         f.PreviewList, n.Frame1};
    QWidget* previous = nullptr;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        QWidget* control = m_controls[i];
        // A caption's access key leads to the control after it.
        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setFocusPolicy(Qt::NoFocus);
            label->setBuddy(m_controls[i + 1]);
            continue;
        }
        if (control == n.Frame1 || control == n.Frame2)
            continue; // frames group controls; they take no focus of their own
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    // The path field is typed into before the tree it opens a folder in.
    setTabOrder(f.DriveList, f.FolderPath);
    m_controls.insert(m_controls.end(), {Line1, Line2});
    m_buttons->setEveryControl(m_controls);
}

} // namespace pellory
