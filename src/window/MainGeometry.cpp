// Where each control sits: the one place that knows it. Positions are kept in twips, as
// the layout was drawn, and turned into pixels with the screen's logical DPI; one uniform
// scale factor then makes room for a default font wider than the one the layout was drawn
// with, so no caption is ever cut off.

#include "window/Main.h"
#include "window/NamingPanel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace pellory {

namespace {

constexpr int kClientWidth = 9015; // twips
constexpr int kClientHeight = 6255;

struct Place
{
    const char* name;
    int left, top, width, height; // twips; inside a frame, relative to the frame
};

// Line1 and Line2 run across the window; the height given them is one pixel's worth.
constexpr Place kPlaces[] = {
    {"DriveList", 120, 120, 3015, 315},
    {"DirList", 120, 480, 3015, 4365},
    {"Label8", 3120, 165, 1095, 255},
    {"FileSortOrder", 4200, 120, 1695, 315},
    {"Label12", 5880, 165, 1215, 255},
    {"CasesList", 7080, 120, 1815, 315},
    {"Label10", 3240, 600, 1335, 255},
    {"SelSteps", 4560, 555, 555, 285},
    {"Label11", 5190, 600, 735, 255},
    {"FileList", 3240, 960, 2655, 3960},
    {"PreviewList", 3240, 960, 2655, 3960},
    {"Frame2", 6000, 600, 2895, 2535},
    {"RenameChk", 6240, 600, 1935, 255},
    {"Label7", 120, 405, 2175, 255},
    {"NumCharKeep", 2280, 360, 495, 330},
    {"Label2", 360, 825, 735, 255},
    {"FilePrefix", 1080, 780, 1695, 330},
    {"Label3", 120, 1245, 975, 255},
    {"StartingNumber", 1080, 1200, 855, 330},
    {"chkTrim", 2040, 1230, 645, 255},
    {"Label5", 120, 1680, 975, 255},
    {"NumberIncValue", 1080, 1620, 855, 330},
    {"chkAlpha", 2040, 1665, 735, 255},
    {"Label4", 240, 2100, 855, 255},
    {"FileLeading", 1080, 2055, 1695, 330},
    {"Frame1", 6000, 3240, 2895, 1695},
    {"Label6", 120, 435, 855, 255},
    {"NewExt", 960, 390, 1695, 315},
    {"ExtUsed0", 240, 825, 2175, 255},
    {"ExtUsed1", 240, 1080, 2055, 255},
    {"ExtUsed2", 240, 1320, 2295, 255},
    {"Label1", 0, 5085, 1695, 255},
    {"FileSpecs", 1680, 5040, 4215, 330},
    {"Label9", 0, 5520, 1695, 255},
    {"WildCardRen", 1680, 5475, 4215, 330},
    {"PreviewBut", 6120, 5040, 2790, 375},
    {"ApplyBut", 6120, 5415, 1395, 375},
    {"ExitBut", 7515, 5415, 1395, 375},
    {"Line1", 0, 5925, 9015, 15},
    {"Line2", 0, 5940, 9015, 15},
};

// The width a captioned control needs to show its whole caption (with the indicator of a
// check box or option button); 0 for controls without a caption.
int neededWidth(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->sizeHint().width();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->sizeHint().width();
    return 0;
}

} // namespace

void Main::placeControls()
{
    const double pixelsPerTwip = logicalDpiX() / kTwipsPerInch;
    // The smallest uniform scale at which every caption fits its control's width.
    double scale = 1.0;
    for (const Place& place : kPlaces) {
        const QWidget* control = findChild<QWidget*>(QLatin1String(place.name));
        const double available = place.width * pixelsPerTwip;
        scale = std::max(scale, neededWidth(control) / available);
    }
    // Widths are rounded from the scaled edges, which may cost a pixel; round up instead.
    const auto px = [&](double twips) { return int(std::ceil(twips * pixelsPerTwip * scale)); };
    for (const Place& place : kPlaces) {
        QWidget* control = findChild<QWidget*>(QLatin1String(place.name));
        const int left = int(std::floor(place.left * pixelsPerTwip * scale));
        const int top = int(std::floor(place.top * pixelsPerTwip * scale));
        const int height = place.height == 15 ? 1 : px(place.height);
        control->setGeometry(left, top, px(place.left + place.width) - left, height);
    }
    m_naming->RenameChk->raise();
    setFixedSize(px(kClientWidth), px(kClientHeight));
    setWindowTitle(QStringLiteral("Pellory"));
}

} // namespace pellory
