// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts glukara as its main() does, asks for its window to be maximised the
// way the title bar's maximise button does, and waits until the window is
// back at its fixed size, which on Wayland takes the compositor's answers.
// Then it says PASS and runs on, so that the caller can see the window in
// the compositor and the process alive; a Wayland protocol error would end
// it with exit code 1 instead.
#include "glukara.h"
#include "platform_choice.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

#include <cstdio>

int main(int argc, char** argv)
{
    choose_platform();
    QApplication app(argc, argv);
    glukara window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 30000)) {
        std::printf("FAIL: the window was never shown\n");
        return 2;
    }
    QWindow* native = window.windowHandle();
    std::printf("platform %s, window %dx%d\n", qPrintable(QGuiApplication::platformName()),
                window.width(), window.height());

    bool asked = false;
    QObject::connect(native, &QWindow::windowStateChanged, native,
                     [&](Qt::WindowState s) { asked = asked || s == Qt::WindowMaximized; });
    native->setWindowStates(native->windowStates() ^ Qt::WindowMaximized);
    const bool back = QTest::qWaitFor(
        [&] {
            return asked && window.size() == QSize(750, 538) &&
                   native->windowStates() == Qt::WindowNoState;
        },
        20000);
    std::printf("maximise requested: %s; then window %dx%d, states 0x%x\n", asked ? "yes" : "no",
                window.width(), window.height(), unsigned(native->windowStates()));
    if (!back) {
        std::printf("FAIL: the window did not come back to its fixed size\n");
        return 4;
    }
    // Drawn at its fixed size again: the compositor checks this commit.
    window.repaint();
    std::printf("PASS: back at 750x538\n");
    std::fflush(stdout);
    return QApplication::exec();
}
