// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The floor: a bare Qt Widgets window of glukara's size, started the same way.
#include "first_frame.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Glukara"));
    window.setFixedSize(750, 538);
    return run_until_first_frame(window);
}
