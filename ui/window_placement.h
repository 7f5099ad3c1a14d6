// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the main window stands: centred on the screen with the window
// manager's frame, and never under a panel or off the screen.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

#include <functional>

class QWidget;

namespace window_placement
{

// The top-left corner that brings `frame` inside `area` by the least move; on
// an axis where the frame is longer than the area, the area's own edge.
QPoint least_move_inside(const QRect& frame, const QRect& area);

// Gives `place` the frame the window manager will put around `window`, learnt
// before the window is first shown; on X11 none where no window manager
// answers (no window manager, or one that cannot tell in advance), and none
// on the other platforms of Linux. An X11 window manager that answers only
// after the window has been placed without its frame gets `place` called once
// more, with the frame it gave.
void with_expected_frame(QWidget& window, const std::function<void(const QMargins&)>& place);

// The part of `window`'s screen that panels and taskbars leave free, as the
// window system knows it at this moment.
QRect available_area(QWidget& window);

// Moves `window`, whose frame is or will be `frame`, so that the frame's
// top-left corner stands at `frame_position`, or as near as keeps the whole
// frame inside the screen's available area.
void place_frame(QWidget& window, QPoint frame_position, const QMargins& frame);

// Keeps `window` at its fixed size when a title bar or the window system
// asks to maximise it or show it full screen, and alive on Wayland, where Qt's
// own title bar offers maximise and the compositor ends a program whose
// maximised window does not take the size it is given.
void keep_fixed_size(QWidget& window);

} // namespace window_placement
