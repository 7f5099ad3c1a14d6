// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// On Windows and in the browser: the frame is drawn from the window's style,
// which Qt knows as soon as the window exists, and the share of the screen
// that the taskbar leaves free (the whole page, in a browser) is the work
// area that Qt reads from the system.
#include "window_placement.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace window_placement
{

void with_expected_frame(QWidget& window, const std::function<void(const QMargins&)>& place)
{
    window.winId();
    place(window.windowHandle()->frameMargins());
}

QRect available_area(QWidget& window)
{
    return window.screen()->availableGeometry();
}

} // namespace window_placement
