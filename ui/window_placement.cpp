// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_placement.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace window_placement
{

QPoint least_move_inside(const QRect& frame, const QRect& area)
{
    auto on_axis = [](int start, int length, int area_start, int area_length) {
        if (length > area_length)
            return area_start;
        return std::clamp(start, area_start, area_start + area_length - length);
    };
    return {on_axis(frame.x(), frame.width(), area.x(), area.width()),
            on_axis(frame.y(), frame.height(), area.y(), area.height())};
}

void place_frame(QWidget& window, QPoint frame_position, const QMargins& frame)
{
    const QRect outer(frame_position, window.size().grownBy(frame));
    const QPoint inside = least_move_inside(outer, available_area(window));
    // The client goes where the frame's top-left corner will be at `inside`;
    // move() adds the frame offset that Qt itself believes in.
    const QPoint client = inside + QPoint(frame.left(), frame.top());
    window.move(client - (window.geometry().topLeft() - window.pos()));
}

namespace
{

constexpr Qt::WindowStates sizing_states = Qt::WindowMaximized | Qt::WindowFullScreen;

// Takes back every maximise and full-screen state of the window. An X11
// window manager is asked at once. A Wayland compositor holds a maximised
// window to the size it gives, so there the window takes that size until the
// compositor has applied the state and then let go of it again.
class FixedSizeKeeper : public QObject
{
  public:
    FixedSizeKeeper(QWidget& window, QWindow& native)
        : QObject(&native), window(window), native(native), fixed(window.size()),
          wayland(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
    {
        // Signalled as a request leaves for the window system (the title
        // bar's maximise button sets the state), and as the window system
        // reports a state it chose itself.
        connect(&native, &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
            if (!(state & sizing_states))
                return;
            if (wayland)
                this->window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            else
                this->native.setWindowStates(this->native.windowStates() & ~sizing_states);
        });
        if (wayland)
            native.installEventFilter(this);
    }

  protected:
    // The states the compositor has applied. Qt reports them while it is
    // still applying them, and would drop a request to leave a state that
    // it has not yet recorded as applied: the request waits for the event
    // loop.
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == &native && e->type() == QEvent::WindowStateChange && e->spontaneous())
            QTimer::singleShot(0, this, [this] {
                const Qt::WindowStates states = native.windowStates();
                if (states & sizing_states)
                    native.setWindowStates(states & ~sizing_states);
                else
                    window.setFixedSize(fixed);
            });
        return QObject::eventFilter(watched, e);
    }

  private:
    QWidget& window;
    QWindow& native;
    const QSize fixed;
    const bool wayland;
};

} // namespace

void keep_fixed_size(QWidget& window)
{
    window.winId();
    new FixedSizeKeeper(window, *window.windowHandle());
}

} // namespace window_placement
