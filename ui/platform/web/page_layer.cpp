// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "page_layer.h"

#include "page_layer_class.h"

#include "announcements.h"
#include "control_names.h"
#include "glucose_chart.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QScreen>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <emscripten/bind.h>

#include <string>

namespace page
{

PageLayer* PageLayer::current = nullptr;

namespace
{

void forward_update(QAccessibleEvent* event)
{
    if (PageLayer::current)
        PageLayer::current->accessibility_update(event);
}

void page_event(val event)
{
    if (PageLayer::current)
        PageLayer::current->dom_event(event);
}

void page_resized()
{
    if (PageLayer::current)
        PageLayer::current->page_resized();
}

} // namespace

PageLayer::PageLayer(QWidget* w) : QObject(w), window(w)
{
    current = this;
    canvas = document().call<val>("getElementById", std::string("screen"));
    // The canvas only repeats what the layer says in words.
    if (!canvas.isNull())
        canvas.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));

    make_root();

    // What a pupil reads, in the order of a look down the window, then the
    // controls in the window's tab order, which the page's Tab then follows.
    // Each stands in the group of its frame, as on the desktop, so that a
    // screen reader names the frame as the pupil moves into it.
    if (auto* chart = window->findChild<GlucoseChart*>()) {
        add(Kind::Group, chart);
        add(Kind::Text, chart->drawing_area(), chart, chart);
    }
    add_framed(Kind::Text,
               window->findChild<QWidget*>(control_names::element(control_names::info_text, 0)));
    add_framed(Kind::Text,
               window->findChild<QWidget*>(QLatin1String(control_names::glycogen_level)));
    // The tab order is a ring; the page's starts where the window's focus is
    // when it opens.
    QWidget* first = window->focusWidget();
    if (!first)
        first = window->nextInFocusChain();
    QWidget* next = first;
    for (int guard = 0; next && guard < 500; ++guard) {
        if (next->focusPolicy() & Qt::TabFocus) {
            if (auto* list = qobject_cast<QComboBox*>(next))
                add_framed(Kind::List, list);
            else if (auto* field = qobject_cast<QLineEdit*>(next)) {
                if (!qobject_cast<QComboBox*>(field->parentWidget()))
                    add_framed(Kind::Field, field);
            } else if (qobject_cast<QCheckBox*>(next))
                add_framed(Kind::Check, next);
            else if (qobject_cast<QAbstractButton*>(next))
                add_framed(Kind::Button, next);
        }
        next = next->nextInFocusChain();
        if (next == first)
            break;
    }
    for (std::size_t i = 0; i < mirrors.size(); ++i) {
        val element = make_element(mirrors[i], int(i));
        const Mirror* group = mirrors[i].within ? mirror_of(mirrors[i].within) : nullptr;
        (group ? group->element : root).call<void>("appendChild", element);
    }

    add_live_region();
    document()["body"].call<void>("appendChild", root);
    listen(root, "keydown");

    refresh_soon.setSingleShot(true);
    refresh_soon.setInterval(0);
    connect(&refresh_soon, &QTimer::timeout, this, &PageLayer::refresh_all);
    announcements = window->findChild<Announcements*>(QLatin1String(control_names::announcements));
    if (announcements)
        connect(announcements, &Announcements::spoken, this, &PageLayer::say);
    if (QScreen* screen = window->screen())
        connect(screen, &QScreen::geometryChanged, this, &PageLayer::place_elements);
    // The canvas moves with the page's layout and its scrolling, and changes
    // its size with the viewport.
    const val relayout =
        val::global("Function")
            .new_(std::string("f"), std::string("return () => f();"))
            .call<val>("call", val::null(), val::module_property("glukaraPageResized"));
    val::global("window").call<void>("addEventListener", std::string("resize"), relayout);
    val::global("window").call<void>("addEventListener", std::string("scroll"), relayout);
    if (!canvas.isNull())
        val::global("ResizeObserver").new_(relayout).call<void>("observe", canvas);
    window->installEventFilter(this);
    qApp->installEventFilter(this);

    QAccessible::installUpdateHandler(forward_update);
    // Qt tells of changes only while it believes a screen reader listens,
    // which in the browser it never learns by itself.
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    refresh_all();
    place_elements();
    follow_focus(window->focusWidget());
}

PageLayer::~PageLayer()
{
    QAccessible::installUpdateHandler(nullptr);
    if (current == this)
        current = nullptr;
}

void PageLayer::add(Kind kind, QWidget* source, QWidget* place, QWidget* within)
{
    if (source)
        mirrors.push_back({kind, source, place ? place : source, within});
}

void PageLayer::add_framed(Kind kind, QWidget* source)
{
    if (!source)
        return;
    QWidget* frame = source->parentWidget();
    while (frame && frame != window && !qobject_cast<QGroupBox*>(frame))
        frame = frame->parentWidget();
    if (frame == window) {
        add(kind, source);
        return;
    }
    if (!mirror_of(frame))
        add(Kind::Group, frame);
    add(kind, source, nullptr, frame);
}

Mirror* PageLayer::mirror_of(QObject* object)
{
    for (; object; object = object->parent()) {
        for (Mirror& m : mirrors)
            if (m.source == object || m.place == object)
                return &m;
        if (object == window)
            break;
    }
    return nullptr;
}

void PageLayer::dom_event(const val& event)
{
    if (event["currentTarget"] == root) {
        layer_key_down(event);
        return;
    }
    if (event["currentTarget"] == backdrop) {
        event.call<void>("preventDefault");
        return;
    }
    const val index = event["currentTarget"]["dataset"]["control"];
    if (!index.isString())
        return;
    const std::size_t i = std::stoul(index.as<std::string>());
    if (i >= mirrors.size() || !mirrors[i].source)
        return;
    // The handler works on a copy, which shares the element: what the control
    // does may add mirrors (the error box opening) or remove them (its button
    // closing it), and either can move or end the one in the list.
    Mirror m = mirrors[i];
    const std::string type = event["type"].as<std::string>();
    if (blocked(m)) {
        event.call<void>("preventDefault");
        return;
    }
    if (type == "click")
        element_clicked(m);
    else if (type == "change")
        list_changed(m);
    else if (type == "focus")
        element_focused(m);
    else if (type == "beforeinput")
        field_before_input(m, event);
    else if (type == "input")
        field_input(m);
    else if (type == "keydown")
        field_key_down(m, event);
    else if (type == "compositionstart")
        composing = true;
    else if (type == "compositionend")
        field_composition_ended(m);
    else if (type == "pointerdown" || type.rfind("mouse", 0) == 0)
        field_mouse(m, event);
    else
        field_selection_moved(m);
}

// Waits for the glukara window's first showing, then gives it its layer.
class LayerGiver : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            watched->objectName() == QLatin1String(control_names::window) && !PageLayer::current) {
            auto* window = static_cast<QWidget*>(watched);
            // Once the window has placed itself and its controls.
            QTimer::singleShot(0, window, [window] {
                if (!PageLayer::current)
                    new PageLayer(window);
            });
        }
        return false;
    }
};

} // namespace page

EMSCRIPTEN_BINDINGS(glukara_page_layer)
{
    emscripten::function("glukaraPageEvent", &page::page_event);
    emscripten::function("glukaraPageResized", &page::page_resized);
}

void give_windows_page_layers()
{
    qApp->installEventFilter(new page::LayerGiver(qApp));
}
