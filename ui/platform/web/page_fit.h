// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// In a web page: the window is drawn whole in the browser's viewport.
#pragma once

// From the first showing of the main window on, and again whenever the
// viewport changes size (a phone turned, a browser window resized), the
// window is scaled down to the largest size that fits the viewport, never up
// past its own size. It is scaled by Qt, which draws it at the device's
// pixels, and the canvas in the page takes the window's scaled size with its
// frame, so that
//     scale = canvas CSS width / QScreen logical width.
// Call once the application object exists.
void fit_window_to_page();
