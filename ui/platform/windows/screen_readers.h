// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What Windows screen readers need beyond what Qt 6.4 tells UI Automation,
// given to every window as it is shown: a name for the text field inside an
// editable list, which Qt leaves unnamed and which has the focus when the
// list has it; the window's announcements, told as live regions, where Orca
// on Linux hears them from the window's notifications; and names for the
// parts of an error box that Qt leaves unnamed.
#pragma once

// Call once the application exists.
void serve_screen_readers();
