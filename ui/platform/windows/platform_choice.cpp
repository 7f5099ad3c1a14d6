// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// On Windows there is one window system, and Qt's own choice of it stands.
#include "platform_choice.h"

void choose_platform() {}
