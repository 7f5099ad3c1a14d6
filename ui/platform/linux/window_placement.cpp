// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// On X11: the frame and the free area, asked of the window manager and the
// X server before the window is first shown.
#include "window_placement.h"

#include <QAbstractNativeEventFilter>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace window_placement
{

namespace
{

// How long a window manager that says it can tell the frame in advance may
// take to answer: it answers at once, unless it hangs.
constexpr int frame_answer_ms = 250;

template <class T> using reply_ptr = std::unique_ptr<T, decltype(&std::free)>;

// The X server glukara's windows live on; none on other platforms (the
// offscreen one also answers as X11, with no connection).
xcb_connection_t* x_server()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection()
                                                                          : nullptr;
}

template <class T> reply_ptr<T> owned(T* reply)
{
    return reply_ptr<T>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const auto reply = owned(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool wm_supports(xcb_connection_t* c, xcb_window_t root, xcb_atom_t feature)
{
    const auto reply = owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096),
        nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, feature) != atoms + count;
}

// _NET_FRAME_EXTENTS: left, right, top, bottom, in device pixels.
bool read_extents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents, QMargins& out)
{
    const auto reply = owned(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return false;
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    out = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    return true;
}

} // namespace

namespace
{

QMargins in_device_independent_pixels(const QMargins& frame, qreal ratio)
{
    return QMargins(qRound(frame.left() / ratio), qRound(frame.top() / ratio),
                    qRound(frame.right() / ratio), qRound(frame.bottom() / ratio));
}

// Waits in the event loop for a frame that the window manager gives after
// the deadline, usually as it maps the window, and has the window placed
// once more with it.
class LateFrame : public QObject, public QAbstractNativeEventFilter
{
  public:
    LateFrame(QWidget& window, xcb_connection_t* c, xcb_atom_t extents,
              std::function<void(const QMargins&)> place)
        : QObject(&window), window(window), c(c), id(xcb_window_t(window.winId())),
          extents(extents), place(std::move(place))
    {
        qApp->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        QMargins frame;
        if (change->window != id || change->atom != extents || !read_extents(c, id, extents, frame))
            return false;
        qApp->removeNativeEventFilter(this);
        // After Qt itself has taken note of the frame.
        QTimer::singleShot(0, this, [this, frame] {
            place(in_device_independent_pixels(frame, window.devicePixelRatioF()));
            deleteLater();
        });
        return false;
    }

  private:
    QWidget& window;
    xcb_connection_t* const c;
    const xcb_window_t id;
    const xcb_atom_t extents;
    const std::function<void(const QMargins&)> place;
};

} // namespace

void with_expected_frame(QWidget& window, const std::function<void(const QMargins&)>& place)
{
    xcb_connection_t* c = x_server();
    if (!c)
        return place({});
    // The window must exist, with the type and hints it will be shown with,
    // before the window manager can say what frame it will get.
    const auto id = xcb_window_t(window.winId());
    const auto geometry = owned(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    if (!geometry)
        return place({});
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    if (!wm_supports(c, geometry->root, request))
        return place({});

    xcb_client_message_event_t ask{};
    ask.response_type = XCB_CLIENT_MESSAGE;
    ask.format = 32;
    ask.window = id;
    ask.type = request;
    xcb_send_event(c, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&ask));
    xcb_flush(c);

    // The answer is a property on our window; its change event would reach
    // Qt's event queue, not us, so the property is read until it is there.
    // A window manager kept from answering (a busy machine, or one that
    // hangs) does not hold up the start: the window goes where it would stand
    // without a frame, and moves once the frame is known.
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    QDeadlineTimer deadline(frame_answer_ms);
    QMargins frame;
    while (!read_extents(c, id, extents, frame)) {
        if (deadline.hasExpired()) {
            new LateFrame(window, c, extents, place);
            return place({});
        }
        QThread::usleep(500);
    }
    place(in_device_independent_pixels(frame, window.devicePixelRatioF()));
}

// Qt learns the area left free by panels only once its event loop has run,
// which the load handling precedes; asked at once, the X server knows.
QRect available_area(QWidget& window)
{
    const QRect screen = window.screen()->geometry();
    xcb_connection_t* c = x_server();
    if (!c)
        return window.screen()->availableGeometry();
    const auto geometry = owned(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_window_t(window.winId())), nullptr));
    if (!geometry)
        return window.screen()->availableGeometry();
    const auto reply = owned(xcb_get_property_reply(
        c,
        xcb_get_property(c, 0, geometry->root, atom(c, "_NET_WORKAREA"), XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return window.screen()->availableGeometry();
    // The first desktop's work area, the one Qt reads too.
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    const qreal ratio = window.devicePixelRatioF();
    const QRect area(QPoint(qRound(int(v[0]) / ratio), qRound(int(v[1]) / ratio)),
                     QSize(qRound(int(v[2]) / ratio), qRound(int(v[3]) / ratio)));
    return area & screen;
}

} // namespace window_placement
