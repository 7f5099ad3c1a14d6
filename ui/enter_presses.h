// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Return and Enter press the command button that has the focus, as they do on
// the desktops the program was first written for.
#pragma once

class QAbstractButton;

// Only while the button itself has the focus: no button becomes the window's
// default, so Enter with the focus elsewhere presses nothing.
void press_with_enter(QAbstractButton* button);
