// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform_choice.h"

#include <QByteArray>
#include <QtGlobal>

#include <xcb/xcb.h>

namespace
{

bool x_server_reachable()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const bool reached = xcb_connection_has_error(c) == 0;
    xcb_disconnect(c);
    return reached;
}

} // namespace

void choose_platform()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (x_server_reachable())
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    else if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("wayland"));
}
