// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window scaled to the browser's viewport. Qt's wasm platform measures
// its screen, the canvas, in the page's CSS pixels and draws it at the
// device's pixels; a screen scale factor in Qt (the per-screen factor of its
// high-DPI scaling) makes the window's 750 x 538 logical pixels take `scale`
// CSS pixels each, drawn sharp at scale x devicePixelRatio. The frame that the
// platform draws round the window keeps its size in CSS pixels.

#include "page_fit.h"

#include <QApplication>
#include <QBackingStore>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <string>

// QApplication's own way of handing an event over as if the window system
// had sent it, which Qt's gestures use to send a corrected mouse event.
bool qt_sendSpontaneousEvent(QObject* receiver, QEvent* event);

namespace
{

// Below this, the window's smallest texts are less than 3 CSS pixels high.
constexpr qreal smallest_scale = 0.25;

QWidget* main_window()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowType() == Qt::Window && window->isVisible())
            return window;
    return nullptr;
}

void fit()
{
    QWidget* window = main_window();
    QWindow* native = window ? window->windowHandle() : nullptr;
    if (!native || !native->handle())
        return;
    // The layout viewport: on a phone the width the page is laid out for,
    // and what is left above the on-screen keyboard where the browser
    // resizes the page for it.
    const emscripten::val page = emscripten::val::global("document")["documentElement"];
    const int page_width = page["clientWidth"].as<int>();
    const int page_height = page["clientHeight"].as<int>();
    if (page_width <= 0 || page_height <= 0)
        return;

    // The platform's frame, in CSS pixels at every scale.
    const QMargins frame = native->handle()->frameMargins();
    const QSize size = window->size();
    const qreal fitting =
        std::min((page_width - frame.left() - frame.right()) / qreal(size.width()),
                 (page_height - frame.top() - frame.bottom()) / qreal(size.height()));
    // Qt 6.4's widgets draw wrongly into a backing store with fewer device
    // pixels than logical ones: the window keeps at least one device pixel
    // to each of its own, and where that is too large, the page scrolls.
    const qreal device_pixels = native->handle()->devicePixelRatio();
    const qreal scale = std::clamp(fitting, std::max(smallest_scale, 1 / device_pixels), qreal(1));
    // The canvas holds the frame and the window, scaled as Qt scales a size.
    const QSize canvas_size = (size * scale).grownBy(frame);

    QScreen* screen = window->screen();
    // The platform names each screen after its canvas's id.
    const emscripten::val canvas =
        emscripten::val::global("document")
            .call<emscripten::val>("getElementById", screen->name().toStdString());
    emscripten::val style = canvas["style"];
    style.set("width", std::to_string(canvas_size.width()) + "px");
    style.set("height", std::to_string(canvas_size.height()) + "px");

    // A list left open would stand where the window was.
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    const qreal old_ratio = native->devicePixelRatio();
    QHighDpiScaling::setScreenFactor(screen, scale);
    // The platform measures the canvas again, and Qt learns the screen's new
    // geometry before the window is moved on it.
    emscripten::val::module_property("qtResizeContainerElement")(canvas);
    QWindowSystemInterface::flushWindowSystemEvents();

    // The frame's top-left corner at the canvas's. Set on the QWindow, whose
    // geometry Qt computes from the platform's: the widget's own record
    // still holds the old scale's position.
    const QMargins logical_frame = native->frameMargins();
    native->setGeometry(QRect(
        screen->geometry().topLeft() + QPoint(logical_frame.left(), logical_frame.top()), size));
    QWindowSystemInterface::flushWindowSystemEvents();
    if (native->devicePixelRatio() == old_ratio)
        return;
    // The window keeps its logical size, so Qt would keep the backing store's
    // pixels of the old scale. In the new store every widget must be painted:
    // an update of the window alone leaves out the children that paint every
    // pixel of their own, as if the store still held them.
    window->backingStore()->resize(size);
    window->update();
    for (QWidget* child : window->findChildren<QWidget*>())
        child->update();
}

void on_page_resize(emscripten::val)
{
    fit();
}

QEvent::Type client_type(QEvent::Type type)
{
    switch (type) {
    case QEvent::NonClientAreaMouseButtonPress:
        return QEvent::MouseButtonPress;
    case QEvent::NonClientAreaMouseButtonRelease:
        return QEvent::MouseButtonRelease;
    case QEvent::NonClientAreaMouseButtonDblClick:
        return QEvent::MouseButtonDblClick;
    case QEvent::NonClientAreaMouseMove:
        return QEvent::MouseMove;
    default:
        return type;
    }
}

// Fits the window at its first showing, and hands mouse events on with the
// position where the pointer is. For the mouse (not for touch), the wasm
// platform of Qt 6.4 maps the pointer's position into the window, and tells
// the window's area from its frame, by mixing CSS pixels with the window's
// logical pixels: right at the scale 1, and off by up to the frame's size
// below it. The position on the screen that it passes is right, and the
// position in the window follows from it.
class PageFit : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::Show:
            if (watched->isWidgetType() &&
                static_cast<QWidget*>(watched)->windowType() == Qt::Window)
                QTimer::singleShot(0, this, fit);
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
            return watched->isWindowType() &&
                   correct(static_cast<QWindow*>(watched), static_cast<QMouseEvent*>(e));
        default:
            return false;
        }
    }

  private:
    static bool correct(QWindow* window, QMouseEvent* e)
    {
        const QPointF local = window->mapFromGlobal(e->globalPosition());
        const bool inside = QRectF(QPointF(), window->size()).contains(local);
        const QEvent::Type type = inside ? client_type(e->type()) : e->type();
        if (type == e->type() && (local - e->position()).manhattanLength() < 0.01)
            return false;
        QMouseEvent corrected(type, local, local, e->globalPosition(), e->button(), e->buttons(),
                              e->modifiers(), e->pointingDevice());
        corrected.setTimestamp(e->timestamp());
        qt_sendSpontaneousEvent(window, &corrected);
        e->setAccepted(corrected.isAccepted());
        return true;
    }
};

} // namespace

EMSCRIPTEN_BINDINGS(glukara_page_fit)
{
    emscripten::function("glukaraFitWindow", &on_page_resize);
}

void fit_window_to_page()
{
    qApp->installEventFilter(new PageFit(qApp));
    emscripten::val::global("window").call<void>(
        "addEventListener", std::string("resize"),
        emscripten::val::module_property("glukaraFitWindow"));
}
