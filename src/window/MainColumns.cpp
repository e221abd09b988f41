// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Where the controls sit: Qt layouts built from the window's drawing, gaps in twips. A
// larger window gives its extra room to the folder tree and the file list (and to the
// fields below them); the naming and extension frames keep their size at the right. A
// smaller one takes it from the lists first, then from the gaps.

#include "window/DriveSelector.h"
#include "window/FilePane.h"
#include "window/FolderPathField.h"
#include "window/FolderSelector.h"
#include "window/Main.h"
#include "window/MainRows.h"
#include "window/NameListView.h"
#include "window/NamingPanel.h"
#include "window/RunButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pellory {

namespace {

constexpr int kLeastListWidth = 1500;  // twips: room for a dozen characters of a name
constexpr int kLeastListHeight = 1500; // room for five rows

} // namespace

void Main::layOut(const Twips& px)
{
    const FilePane& f = *m_files;
    const NamingPanel& n = *m_naming;
    const RunButtons& b = *m_buttons;
    const Rows rows(px);
    // The lists and the drive list take what room there is, whatever their contents; the
    // gaps keep theirs until the lists are down to their least.
    for (QWidget* list : {static_cast<QWidget*>(f.DirList), static_cast<QWidget*>(f.FileList),
                          static_cast<QWidget*>(f.PreviewList)}) {
        list->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        list->setMinimumSize(px(kLeastListWidth), px(kLeastListHeight));
    }
    f.DriveList->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    f.FolderPath->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // Three columns: the folders, the files, the naming frames. The top row of the last two
    // is the sort order and the name format; the extra width goes to the first two.
    auto* columns = new QGridLayout;
    columns->setSpacing(0);
    columns->setContentsMargins(px(120), px(120), px(120), 0);
    columns->addWidget(f.DriveList, 0, 0);
    columns->addLayout(rows.row({f.Label8, f.FileSortOrder, Rows::kStretch}), 0, 1);
    columns->addLayout(rows.row({n.Label12, n.CasesList}), 0, 2);
    // The path field sits on the folder tree, which gives up the room.
    columns->addLayout(rows.column({45, f.FolderPath, 45, f.DirList}), 1, 0);
    // The preview list lies exactly over the file list: one shows at a time.
    auto* lists = rows.stack({f.FileList, f.PreviewList});
    columns->addLayout(
        rows.column({120, rows.row({105, f.Label10, f.SelSteps, 75, f.Label11, Rows::kStretch}),
                     120, rows.row({105, lists})}),
        1, 1);
    columns->addLayout(rows.column({165, rows.row({105, namingFrame(rows)}), 105,
                                    rows.row({105, n.Frame1}), Rows::kStretch}),
                       1, 2);
    columns->setColumnStretch(0, 3015); // in proportion to their drawn widths, so that the
    columns->setColumnStretch(1, 2760); // default size shows them as drawn
    columns->setRowStretch(1, 1);
    // The file specifications and the wildcard pattern stretch; the buttons stay right.
    auto* fields = new QGridLayout;
    fields->setSpacing(0);
    fields->setVerticalSpacing(px(105));
    fields->addWidget(f.Label1, 0, 0, Qt::AlignVCenter);
    fields->addWidget(f.FileSpecs, 0, 1);
    fields->addWidget(n.Label9, 1, 0, Qt::AlignVCenter);
    fields->addWidget(n.WildCardRen, 1, 1);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(0);
    buttons->addWidget(b.PreviewBut, 0, 0, 1, 2);
    buttons->addWidget(b.ApplyBut, 1, 0);
    buttons->addWidget(b.ExitBut, 1, 1);
    buttons->setAlignment(Qt::AlignTop);
    m_outer->setContentsMargins(0, 0, 0, 0);
    m_outer->setSpacing(0);
    m_outer->insertLayout(0, columns, 1);
    m_outer->insertItem(1, rows.gap(105, Qt::Vertical));
    m_outer->insertLayout(2, rows.row({fields, 225, buttons, 105}));
    m_outer->insertItem(3, rows.gap(120, Qt::Vertical));
    for (QFrame* line : {Line1, Line2})
        line->setFixedHeight(1);
    m_outer->insertWidget(4, Line1);
    m_outer->insertWidget(5, Line2);
    m_outer->insertItem(6, rows.gap(300, Qt::Vertical));
    layOutFrames(rows);
}

QLayout* Main::namingFrame(const Rows& rows)
{
    // The check box heads the frame from above its top edge.
    QGridLayout* heading = rows.stack({m_naming->Frame2});
    heading->addLayout(rows.row({240, m_naming->RenameChk, Rows::kStretch}), 0, 0, Qt::AlignTop);
    m_naming->RenameChk->raise();
    return heading;
}

void Main::layOutFrames(const Rows& rows)
{
    NamingPanel& n = *m_naming;
    // Indents and gaps count from the frame's outer edge, as drawn.
    rows.fill(n.Frame2, {360, rows.row({120, n.Label7, n.NumCharKeep}), 90,
                         rows.row({360, n.Label2, n.FilePrefix}), 90,
                         rows.row({120, n.Label3, n.StartingNumber, 105, n.chkTrim}), 90,
                         rows.row({120, n.Label5, n.NumberIncValue, 105, n.chkAlpha}), 105,
                         rows.row({240, n.Label4, n.FileLeading})});
    rows.fill(n.Frame1,
              {390, rows.row({120, n.Label6, n.NewExt}), 120, rows.row({240, n.ExtUsed[0]}),
               rows.row({240, n.ExtUsed[1]}), rows.row({240, n.ExtUsed[2]})});
}

} // namespace pellory
