// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// On Windows there is one window system, and Qt's own choice of it stands.
// What Windows screen readers need beyond Qt's own is set up as soon as the
// application exists.
#include "platform_choice.h"

#include "screen_readers.h"

#include <QCoreApplication>

void choose_platform()
{
    qAddPreRoutine(serve_screen_readers);
}
