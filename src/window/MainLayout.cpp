// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The window's controls and where they sit: the panes that own them, the two separator
// lines, the focus order and the access keys; each control's size, kept in twips as the
// window was drawn and turned into pixels with the screen's logical DPI, one uniform scale
// factor making room for a default font wider than the one the window was drawn with, so
// no caption is ever cut off (at that scale the drawn window is the default size); and Qt
// layouts built from the drawing, gaps in twips. A larger window gives its extra room to
// the folder tree and the file list (and to the fields below them); the naming and
// extension frames keep their size at the right. A smaller one takes it from the lists
// first, then from the gaps. Where the window itself sits is MainPlacement.cpp's.

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
#include "window/RunController.h"
#include "window/StatusLine.h"
#include "window/UndoCommands.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace pellory {

// Twips into pixels at the window's scale; rounded up, so that a caption that fits its
// width in twips fits in pixels too.
class Twips
{
public:
    explicit Twips(double pixelsPerTwip) : m_pixelsPerTwip(pixelsPerTwip) {}
    int operator()(int twips) const { return int(std::ceil(twips * m_pixelsPerTwip)); }

private:
    double m_pixelsPerTwip;
};

class Rows
{
public:
    enum Stretch
    {
        kStretch
    };
    // One part of a row or column: a control, a nested layout, a gap in twips or a stretch.
    struct Part
    {
        Part(QWidget* control) : widget(control) {}
        Part(QLayout* nested) : layout(nested) {}
        Part(int gapTwips) : twips(gapTwips) {}
        Part(Stretch) : stretch(true) {}
        QWidget* widget = nullptr;
        QLayout* layout = nullptr;
        int twips = 0;
        bool stretch = false;
    };

    explicit Rows(const Twips& px) : m_px(px) {}

    QHBoxLayout* row(std::initializer_list<Part> parts) const;
    QVBoxLayout* column(std::initializer_list<Part> parts) const;
    // The controls one over the other in the same place.
    QGridLayout* stack(std::initializer_list<QWidget*> controls) const;
    QSpacerItem* gap(int twips, Qt::Orientation along) const;
    // Lays out a frame's column, whose first gap and whose rows' first gaps count from the
    // frame's outer edge, as drawn. The frame grows if its controls need more height.
    void fill(QGroupBox* frame, std::initializer_list<Part> parts) const;

private:
    void add(QBoxLayout* box, std::initializer_list<Part> parts) const;
    const Twips& m_px;
};

namespace {

// Shortens the gap that opens `box` by `pixels`, when it opens with one.
void shortenFirstGap(QLayout* box, int pixels, Qt::Orientation along)
{
    QSpacerItem* gap = box && box->count() > 0 ? box->itemAt(0)->spacerItem() : nullptr;
    if (!gap)
        return;
    const QSize size = gap->sizeHint();
    const QSizePolicy policy = gap->sizePolicy();
    if (along == Qt::Horizontal)
        gap->changeSize(std::max(0, size.width() - pixels), 0, policy.horizontalPolicy(),
                        policy.verticalPolicy());
    else
        gap->changeSize(0, std::max(0, size.height() - pixels), policy.horizontalPolicy(),
                        policy.verticalPolicy());
    box->invalidate();
}

} // namespace

QSpacerItem* Rows::gap(int twips, Qt::Orientation along) const
{
    if (along == Qt::Horizontal)
        return new QSpacerItem(m_px(twips), 0, QSizePolicy::Maximum, QSizePolicy::Minimum);
    return new QSpacerItem(0, m_px(twips), QSizePolicy::Minimum, QSizePolicy::Maximum);
}

void Rows::add(QBoxLayout* box, std::initializer_list<Part> parts) const
{
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    const Qt::Orientation along =
        box->direction() == QBoxLayout::LeftToRight ? Qt::Horizontal : Qt::Vertical;
    for (const Part& part : parts) {
        if (part.widget)
            box->addWidget(part.widget);
        else if (part.layout)
            box->addLayout(part.layout);
        else if (part.stretch)
            box->addStretch(1);
        else
            box->addItem(gap(part.twips, along));
    }
}

QHBoxLayout* Rows::row(std::initializer_list<Part> parts) const
{
    auto* box = new QHBoxLayout;
    add(box, parts);
    return box;
}

QVBoxLayout* Rows::column(std::initializer_list<Part> parts) const
{
    auto* box = new QVBoxLayout;
    add(box, parts);
    return box;
}

QGridLayout* Rows::stack(std::initializer_list<QWidget*> controls) const
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    for (QWidget* control : controls)
        grid->addWidget(control, 0, 0);
    return grid;
}

void Rows::fill(QGroupBox* frame, std::initializer_list<Part> parts) const
{
    auto* box = new QVBoxLayout(frame);
    add(box, parts);
    box->addStretch(1);
    // The frame's own border and title already stand between its edge and its layout.
    const QMargins border = frame->contentsMargins();
    shortenFirstGap(box, border.top(), Qt::Vertical);
    for (int i = 0; i < box->count(); ++i) {
        if (QLayout* row = box->itemAt(i)->layout()) {
            shortenFirstGap(row, border.left(), Qt::Horizontal);
            row->setAlignment(Qt::AlignLeft); // at its indent, however wide the frame
        }
    }
    frame->setFixedHeight(
        std::max(frame->height(), box->minimumSize().height() + border.top() + border.bottom()));
}

namespace {

constexpr int kClientWidth = 9015;  // twips
constexpr int kClientHeight = 6675; // as drawn, and a row for the date in the naming frame

struct Size
{
    const char* name;
    int width, height; // twips; 0: the width follows the window
};

// The controls whose size the window's size does not change. Where the drawn window let a
// caption overlap its field by 15 twips, the caption is that much narrower here.
constexpr Size kSizes[] = {
    {"DriveList", 0, 315},        {"Label8", 1065, 255},     {"FileSortOrder", 1695, 315},
    {"Label12", 1185, 255},       {"CasesList", 1815, 315},  {"Label10", 1320, 255},
    {"SelSteps", 555, 285},       {"Label11", 705, 255},     {"Frame2", 2895, 2955},
    {"RenameChk", 1935, 255},     {"Label7", 2160, 255},     {"NumCharKeep", 495, 330},
    {"Label2", 720, 255},         {"FilePrefix", 1695, 330}, {"Label3", 960, 255},
    {"StartingNumber", 855, 330}, {"chkTrim", 645, 255},     {"Label5", 960, 255},
    {"NumberIncValue", 855, 330}, {"chkAlpha", 735, 255},    {"Label4", 840, 255},
    {"FileLeading", 1695, 330},   {"Frame1", 2895, 1695},    {"Label6", 840, 255},
    {"NewExt", 1695, 315},        {"ExtUsed0", 2175, 255},   {"ExtUsed1", 2055, 255},
    {"ExtUsed2", 2295, 255},      {"Label13", 525, 255},     {"DateFormat", 2130, 315},
    {"Label1", 1680, 255},        {"FileSpecs", 0, 330},     {"Label9", 1680, 255},
    {"WildCardRen", 0, 330},      {"PreviewBut", 2790, 375}, {"ApplyBut", 1395, 375},
    {"ExitBut", 1395, 375},
};

// The width a control needs to show its whole caption (with the indicator of a check box
// or option button) or its longest list item; 0 for the others.
int neededWidth(const QWidget* control)
{
    if (qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control))
        return control->sizeHint().width();
    if (auto* list = qobject_cast<const QComboBox*>(control); list && !list->isEditable())
        return list->sizeHint().width();
    return 0;
}

} // namespace

void Main::placeControls()
{
    const double pixelsPerTwip = logicalDpiX() / kTwipsPerInch;
    // The smallest uniform scale at which every caption and list item fits its control.
    double scale = 1.0;
    for (const Size& size : kSizes) {
        const QWidget* control = findChild<QWidget*>(QLatin1String(size.name));
        if (size.width > 0)
            scale = std::max(scale, neededWidth(control) / (size.width * pixelsPerTwip));
    }
    const Twips px(pixelsPerTwip * scale);
    for (const Size& size : kSizes) {
        QWidget* control = findChild<QWidget*>(QLatin1String(size.name));
        const int height = std::max(px(size.height), control->sizeHint().height());
        if (size.width > 0)
            control->setFixedSize(px(size.width), height);
        else
            control->setFixedHeight(height);
    }
    layOut(px);
    // Widgets added at the bottom before this point make the window taller.
    int below = 0;
    for (int i = m_outer->indexOf(Line2) + 2; i < m_outer->count(); ++i)
        below += m_outer->itemAt(i)->sizeHint().height();
    resize(QSize(px(kClientWidth), px(kClientHeight) + below).expandedTo(minimumSizeHint()));
}

void Main::addBottomWidget(QWidget* widget)
{
    m_outer->addWidget(widget);
    resize(width(), height() + m_outer->itemAt(m_outer->count() - 1)->sizeHint().height());
}

namespace {

constexpr int kLeastListWidth = 1500;  // twips: room for a dozen characters of a name
constexpr int kLeastListHeight = 1500; // room for five rows

} // namespace

void Main::layOut(const Twips& px)
{
    const FilePane& filePane = *m_files;
    const NamingPanel& namingPanel = *m_naming;
    const RunButtons& runButtons = *m_buttons;
    const Rows rows(px);
    // The lists and the drive list take what room there is, whatever their contents; the
    // gaps keep theirs until the lists are down to their least.
    for (QWidget* list :
         {static_cast<QWidget*>(filePane.DirList), static_cast<QWidget*>(filePane.FileList),
          static_cast<QWidget*>(filePane.PreviewList)}) {
        list->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        list->setMinimumSize(px(kLeastListWidth), px(kLeastListHeight));
    }
    filePane.DriveList->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    filePane.FolderPath->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // Three columns: the folders, the files, the naming frames. The top row of the last two
    // is the sort order and the name format; the extra width goes to the first two.
    auto* columns = new QGridLayout;
    columns->setSpacing(0);
    columns->setContentsMargins(px(120), px(120), px(120), 0);
    columns->addWidget(filePane.DriveList, 0, 0);
    columns->addLayout(rows.row({filePane.Label8, filePane.FileSortOrder, Rows::kStretch}), 0, 1);
    columns->addLayout(rows.row({namingPanel.Label12, namingPanel.CasesList}), 0, 2);
    // The path field sits on the folder tree, which gives up the room.
    columns->addLayout(rows.column({45, filePane.FolderPath, 45, filePane.DirList}), 1, 0);
    // The preview list lies exactly over the file list: one shows at a time.
    auto* lists = rows.stack({filePane.FileList, filePane.PreviewList});
    columns->addLayout(rows.column({120,
                                    rows.row({105, filePane.Label10, filePane.SelSteps, 75,
                                              filePane.Label11, Rows::kStretch}),
                                    120, rows.row({105, lists})}),
                       1, 1);
    columns->addLayout(rows.column({165, rows.row({105, namingFrame(rows)}), 105,
                                    rows.row({105, namingPanel.Frame1}), Rows::kStretch}),
                       1, 2);
    columns->setColumnStretch(0, 3015); // in proportion to their drawn widths, so that the
    columns->setColumnStretch(1, 2760); // default size shows them as drawn
    columns->setRowStretch(1, 1);
    // The file specifications and the wildcard pattern stretch; the buttons stay right.
    auto* fields = new QGridLayout;
    fields->setSpacing(0);
    fields->setVerticalSpacing(px(105));
    fields->addWidget(filePane.Label1, 0, 0, Qt::AlignVCenter);
    fields->addWidget(filePane.FileSpecs, 0, 1);
    fields->addLayout(rows.row({120, filePane.CompanionsChk}), 0, 2);
    fields->addWidget(namingPanel.Label9, 1, 0, Qt::AlignVCenter);
    fields->addWidget(namingPanel.WildCardRen, 1, 1);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(0);
    buttons->addWidget(runButtons.PreviewBut, 0, 0, 1, 2);
    buttons->addWidget(runButtons.ApplyBut, 1, 0);
    buttons->addWidget(runButtons.ExitBut, 1, 1);
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
    NamingPanel& namingPanel = *m_naming;
    // Indents and gaps count from the frame's outer edge, as drawn.
    rows.fill(
        namingPanel.Frame2,
        {360, rows.row({120, namingPanel.Label7, namingPanel.NumCharKeep}), 90,
         rows.row({360, namingPanel.Label2, namingPanel.FilePrefix}), 90,
         // The date's formats are the longest items of any list: its row
         // starts where the frame's first caption does and takes its width.
         rows.row({120, namingPanel.Label13, namingPanel.DateFormat}), 90,
         rows.row({120, namingPanel.Label3, namingPanel.StartingNumber, 105, namingPanel.chkTrim}),
         90,
         rows.row({120, namingPanel.Label5, namingPanel.NumberIncValue, 105, namingPanel.chkAlpha}),
         105, rows.row({240, namingPanel.Label4, namingPanel.FileLeading})});
    rows.fill(namingPanel.Frame1,
              {390, rows.row({120, namingPanel.Label6, namingPanel.NewExt}), 120,
               rows.row({240, namingPanel.ExtUsed[0]}), rows.row({240, namingPanel.ExtUsed[1]}),
               rows.row({240, namingPanel.ExtUsed[2]})});
}

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
    const FilePane& filePane = *m_files;
    const NamingPanel& namingPanel = *m_naming;
    const RunButtons& runButtons = *m_buttons;
    m_controls = {filePane.DriveList,      filePane.DirList,       filePane.Label8,
                  filePane.FileSortOrder,  filePane.Label10,       filePane.SelSteps,
                  filePane.Label11,        filePane.FileList,      filePane.Label1,
                  filePane.FileSpecs,      filePane.CompanionsChk, namingPanel.Label9,
                  namingPanel.WildCardRen, namingPanel.Label12,    namingPanel.CasesList,
                  namingPanel.RenameChk,   namingPanel.Label7,     namingPanel.NumCharKeep,
                  namingPanel.Label2,      namingPanel.FilePrefix, namingPanel.Label13,
                  namingPanel.DateFormat,  namingPanel.Label3,     namingPanel.StartingNumber,
                  namingPanel.chkTrim,     namingPanel.Label5,     namingPanel.NumberIncValue,
                  namingPanel.chkAlpha,    namingPanel.Label4,     namingPanel.FileLeading,
                  namingPanel.Label6,      namingPanel.NewExt,     namingPanel.ExtUsed[0],
                  namingPanel.ExtUsed[1],  namingPanel.ExtUsed[2], runButtons.PreviewBut,
                  runButtons.ApplyBut,     runButtons.ExitBut,     namingPanel.Frame2,
                  filePane.PreviewList,    namingPanel.Frame1};
    QWidget* previous = nullptr;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        QWidget* control = m_controls[i];
        // A caption's access key leads to the control after it.
        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setFocusPolicy(Qt::NoFocus);
            label->setBuddy(m_controls[i + 1]);
            continue;
        }
        if (control == namingPanel.Frame1 || control == namingPanel.Frame2)
            continue; // frames group controls; they take no focus of their own
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
    // The path field is typed into before the tree it opens a folder in.
    setTabOrder(filePane.DriveList, filePane.FolderPath);
    m_controls.insert(m_controls.end(), {Line1, Line2});
    m_buttons->setEveryControl(m_controls);
}

} // namespace pellory
