// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A second floor: the bare window with one line of text, which pays for
// loading fonts as every window with text does.
#include "first_frame.h"

#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Glukara"));
    window.setFixedSize(750, 538);
    QLabel text(QStringLiteral("Blood glucose"), &window);
    return run_until_first_frame(window);
}
