// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// In a web page the screen is the page's canvas, and Qt draws the window's
// frame itself.

#include "window_placement.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace window_placement
{

QMargins expected_frame(QWidget& window)
{
    window.winId();
    return window.windowHandle()->frameMargins();
}

QRect available_area(QWidget& window)
{
    return window.screen()->availableGeometry();
}

} // namespace window_placement
