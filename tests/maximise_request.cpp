// Starts glukara as its main() does, asks for its window to be maximised the
// way the title bar's maximise button does, and checks that the window lives
// on at its fixed size after the compositor or window manager has answered.
// Exits 0 if so; a Wayland protocol error ends it with exit code 1 instead.
#include "glukara.h"
#include "platform_choice.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

#include <cstdio>

namespace
{

// Counts the frames the platform lets the window draw: on Wayland each one
// follows the compositor's acceptance of the one before.
class FrameCounter : public QObject
{
  public:
    int frames = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::UpdateRequest)
            ++frames;
        return QObject::eventFilter(watched, e);
    }
};

} // namespace

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

    FrameCounter counter;
    native->installEventFilter(&counter);
    bool asked = false;
    QObject::connect(native, &QWindow::windowStateChanged, native,
                     [&](Qt::WindowState s) { asked = asked || s == Qt::WindowMaximized; });
    native->setWindowStates(native->windowStates() ^ Qt::WindowMaximized);

    // Several drawn frames after the request: the compositor has answered it
    // and taken the window's commits since.
    for (int i = 0; i < 3; ++i) {
        const int before = counter.frames;
        window.repaint();
        native->requestUpdate();
        if (!QTest::qWaitFor([&] { return counter.frames > before; }, 10000)) {
            std::printf("FAIL: no frame drawn after the maximise request\n");
            return 3;
        }
    }
    // The window may have been maximised for a moment where the compositor
    // insists; it must come back to its fixed size.
    const bool back = QTest::qWaitFor(
        [&] {
            return window.size() == QSize(750, 538) && native->windowStates() == Qt::WindowNoState;
        },
        10000);
    std::printf("maximise requested: %s; after %d frames: window %dx%d, states 0x%x\n",
                asked ? "yes" : "no", counter.frames, window.width(), window.height(),
                unsigned(native->windowStates()));
    if (!asked || !back) {
        std::printf("FAIL: the window did not come back to its fixed size\n");
        return 4;
    }
    std::printf("PASS: alive at 750x538\n");
    return 0;
}
