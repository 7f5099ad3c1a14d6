// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "glukara.h"
#include "platform_choice.h"
#include "translations.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    choose_platform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glukara"));
    QApplication::setApplicationVersion(QStringLiteral(GLUKARA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.glukara.Glukara"));
    install_translations(QLocale::system());
    glukara window;
    window.show();
    return QApplication::exec();
}
