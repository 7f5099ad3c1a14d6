// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Which of Qt's window-system platforms glukara runs on.
#pragma once

// On Linux, where the user has not chosen a platform (QT_QPA_PLATFORM unset),
// prefers an X server that can be reached, XWayland included: there the window
// is placed and the window manager keeps its fixed size. Otherwise Wayland,
// where a Wayland compositor runs. Elsewhere Qt's own choice stands. Call
// before the application object exists.
void choose_platform();
