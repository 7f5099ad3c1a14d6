// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "first_frame.h"
#include "glukara.h"
#include "platform_choice.h"
#include "translations.h"

#include <QLocale>

int main(int argc, char** argv)
{
    choose_platform();
    QApplication app(argc, argv);
    install_translations(QLocale::system());
    glukara window;
    return run_until_first_frame(window);
}
