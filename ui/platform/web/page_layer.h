// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// In a web page Qt paints the whole window into one canvas, which a screen
// reader cannot look into and on which a tablet offers no keyboard. The page
// layer stands an invisible HTML element over each control that a pupil uses
// or reads, says what the widget's accessibility interface says, acts on the
// control when the element is used, and speaks the window's announcements
// through a live region.
#pragma once

// Gives every glukara window that is shown from now on its page layer. Call
// once the application exists.
void give_windows_page_layers();
