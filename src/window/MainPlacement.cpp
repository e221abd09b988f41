// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Where the window starts, and how large: centred and raised by its title bar, then at the
// stored position and in the stored size, and then moved (and, on a screen too small for
// it, shrunk) until its whole frame, title bar included, lies on the screen's free area.
// A window that opens with its title bar off the screen cannot be dragged back.

#include "settings/StoredSettings.h"
#include "window/Main.h"

#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pellory {

namespace {

QScreen* primaryScreen()
{
    return QGuiApplication::primaryScreen();
}

// Half the free room, as whole twips: the difference rounds half to even first, and the
// halving truncates towards zero.
int centred(double screenTwips, double windowTwips)
{
    return int(std::nearbyint(screenTwips - windowTwips)) / 2;
}

// `from` moved as little as needed for `length` to fit between `low` and `low + room`; at
// `low` when it cannot fit.
int within(int from, int length, int low, int room)
{
    return std::max(low, std::min(from, low + room - length));
}

} // namespace

double Main::twipsPerPixel(Qt::Orientation along)
{
    const QScreen* primary = primaryScreen();
    return kTwipsPerInch / (along == Qt::Horizontal ? primary->logicalDotsPerInchX()
                                                    : primary->logicalDotsPerInchY());
}

QMargins Main::frameMargins() const
{
    const QRect outer = frameGeometry(), inner = geometry();
    if (outer != inner)
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    // Before the window is first shown the platform has not framed it yet; the style's
    // title bar height stands in for the frame.
    return {0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), 0, 0};
}

void Main::restoreWindowSize(const StoredSettings& store)
{
    // A size that is missing, not a number or not above zero keeps the default one.
    const auto stored = [&](SettingKey key, Qt::Orientation along, int current) {
        const QString text = store.value(key);
        const std::optional<float> twips = text.isEmpty() ? std::nullopt : storedCoordinate(text);
        if (!twips || *twips < 1)
            return current;
        return int(std::min(std::round(*twips / twipsPerPixel(along)), double(QWIDGETSIZE_MAX)));
    };
    resize(stored(SettingKey::WindowWidth, Qt::Horizontal, width()),
           stored(SettingKey::WindowHeight, Qt::Vertical, height()));
}

void Main::centreWindow()
{
    const QRect area = primaryScreen()->geometry();
    const QRect outer = frameGeometry();
    // Raised by the height of the title bar and borders.
    const int decoration = frameMargins().top() + frameMargins().bottom();
    const int left = centred(area.width() * twipsPerPixel(Qt::Horizontal),
                             outer.width() * twipsPerPixel(Qt::Horizontal));
    const int top = centred(area.height() * twipsPerPixel(Qt::Vertical),
                            outer.height() * twipsPerPixel(Qt::Vertical)) -
                    int(decoration * twipsPerPixel(Qt::Vertical));
    move(qRound(left / twipsPerPixel(Qt::Horizontal)), qRound(top / twipsPerPixel(Qt::Vertical)));
}

void Main::restoreWindowPosition(const StoredSettings& store)
{
    const QRect area = primaryScreen()->geometry();
    const auto stored = [&](SettingKey key, double screenTwips) -> std::optional<float> {
        const QString text = store.value(key);
        const std::optional<float> twips = text.isEmpty() ? std::nullopt : storedCoordinate(text);
        // Below zero the window would start off the screen: the centred value stays.
        if (!twips || *twips >= float(screenTwips) || *twips < 0)
            return std::nullopt;
        return twips;
    };
    QPoint at = pos();
    if (const auto top = stored(SettingKey::WindowTop, area.height() * twipsPerPixel(Qt::Vertical)))
        at.setY(qRound(*top / twipsPerPixel(Qt::Vertical)));
    if (const auto left =
            stored(SettingKey::WindowLeft, area.width() * twipsPerPixel(Qt::Horizontal)))
        at.setX(qRound(*left / twipsPerPixel(Qt::Horizontal)));
    move(at);
}

void Main::keepOnScreen()
{
    const QRect area = primaryScreen()->availableGeometry();
    const QMargins frame = frameMargins();
    const QSize decoration(frame.left() + frame.right(), frame.top() + frame.bottom());
    resize(size().boundedTo(area.size() - decoration));
    // The position is the frame's top-left corner; the layouts may have kept the window
    // larger than asked.
    const QSize outer = size() + decoration;
    move(within(x(), outer.width(), area.left(), area.width()),
         within(y(), outer.height(), area.top(), area.height()));
}

void Main::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Start-up guessed the frame; the first move after the window manager framed the
    // window tells its real size.
    if (!m_framed && frameGeometry() != geometry()) {
        m_framed = true;
        keepOnScreen();
    }
}

} // namespace pellory
