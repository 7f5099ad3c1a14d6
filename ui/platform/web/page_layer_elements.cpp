// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The layer's elements: how they stand over the canvas, what each is made
// of, and what each says, kept as the window's controls are.
#include "page_layer_class.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

#include <string>

namespace page
{

namespace
{

// How each element stands over the page: invisible, but where its control is,
// so that a screen reader's highlight and a finger exploring the screen find
// it there. Pointers pass through to the canvas, where Qt answers them as on
// the desktop; only the text field takes them, so that a tap brings up the
// on-screen keyboard. While one of Qt's popups is open over the controls,
// everything passes through to it. The focus shows as the window draws it.
// The layer stands fixed to the viewport: where it stood when the viewport
// shrinks, it would otherwise widen the page that the window is fitted to.
constexpr const char* layer_style = R"(
#glukara-layer { position: fixed; pointer-events: none; }
#glukara-layer > *, #glukara-layer > [role=group] > *,
#glukara-layer > [role=alertdialog] > * {
  position: absolute; box-sizing: border-box; margin: 0; padding: 0; border: 0;
  background: transparent; color: transparent; caret-color: transparent;
  font: 12px/1 sans-serif; overflow: hidden; white-space: pre-wrap;
  -webkit-appearance: none; appearance: none; pointer-events: none;
}
#glukara-layer input[type=text] { pointer-events: auto; }
#glukara-layer.popup-open input[type=text] { pointer-events: none; }
#glukara-layer ::selection { background: transparent; }
#glukara-layer :focus { outline: none; }
#glukara-layer > .backdrop { pointer-events: auto; }
#glukara-layer > [role=status], #glukara-layer > h1 {
  width: 1px; height: 1px; clip-path: inset(50%); white-space: normal;
}
)";

} // namespace

void PageLayer::make_root()
{
    val style = document().call<val>("createElement", std::string("style"));
    style.set("textContent", std::string(layer_style));
    document()["head"].call<void>("appendChild", style);
    // The window is the page's main part, and its title the page's heading,
    // which a screen reader's pupil finds by heading or by landmark.
    root = document().call<val>("createElement", std::string("main"));
    root.set("id", std::string("glukara-layer"));
    val heading = document().call<val>("createElement", std::string("h1"));
    heading.set("id", std::string("glukara-title"));
    heading.set("textContent", utf8(window->windowTitle()));
    root.call<void>("setAttribute", std::string("aria-labelledby"), std::string("glukara-title"));
    root.call<void>("appendChild", heading);
}

val PageLayer::make_element(Mirror& mirror, int index)
{
    val e = val::undefined();
    switch (mirror.kind) {
    case Kind::Button:
        e = document().call<val>("createElement", std::string("button"));
        e.set("type", std::string("button"));
        listen(e, "click");
        break;
    case Kind::List: {
        e = document().call<val>("createElement", std::string("select"));
        auto* list = static_cast<QComboBox*>(mirror.source.data());
        for (int i = 0; i < list->count(); ++i) {
            val option = document().call<val>("createElement", std::string("option"));
            option.set("textContent", utf8(list->itemText(i)));
            e.call<void>("appendChild", option);
        }
        listen(e, "change");
        break;
    }
    case Kind::Field:
        e = document().call<val>("createElement", std::string("input"));
        e.set("type", std::string("text"));
        // The quantities are signed decimals, and a tablet's number pads lack
        // the minus sign: the full keyboard, without corrections.
        e.set("inputMode", std::string("text"));
        e.set("autocomplete", std::string("off"));
        e.set("spellcheck", false);
        e.call<void>("setAttribute", std::string("autocapitalize"), std::string("off"));
        e.call<void>("setAttribute", std::string("autocorrect"), std::string("off"));
        e.call<void>("setAttribute", std::string("enterkeyhint"), std::string("done"));
        e.set("maxLength", static_cast<QLineEdit*>(mirror.source.data())->maxLength());
        for (const char* type :
             {"beforeinput", "input", "keydown", "keyup", "select", "pointerdown", "mousedown",
              "mousemove", "mouseup", "compositionstart", "compositionend"})
            listen(e, type);
        break;
    case Kind::Check:
        e = document().call<val>("createElement", std::string("input"));
        e.set("type", std::string("checkbox"));
        listen(e, "click");
        break;
    case Kind::Text:
        e = document().call<val>("createElement", std::string("div"));
        break;
    case Kind::Group:
        e = document().call<val>("createElement", std::string("div"));
        e.call<void>("setAttribute", std::string("role"), std::string("group"));
        break;
    case Kind::Dialog:
        // Modal for the window, as the box is: the browser keeps the reading
        // and the Tab key inside it.
        e = document().call<val>("createElement", std::string("div"));
        e.call<void>("setAttribute", std::string("role"), std::string("alertdialog"));
        e.call<void>("setAttribute", std::string("aria-modal"), std::string("true"));
        break;
    }
    if (mirror.kind != Kind::Text && mirror.kind != Kind::Dialog && mirror.kind != Kind::Group)
        listen(e, "focus");
    e["dataset"].set("control", index);
    // A group and the text inside it may cover the same widget, the chart.
    e.set("id", utf8(QStringLiteral("glukara-") + mirror.place->objectName() +
                     (mirror.kind == Kind::Group ? QStringLiteral("-group") : QString())));
    mirror.element = e;
    return e;
}

void PageLayer::listen(const val& element, const char* type)
{
    element.call<void>("addEventListener", std::string(type),
                       val::module_property("glukaraPageEvent"));
}

// Writes a property of the element only when it differs: a screen reader
// hears of every write, and a field's caret jumps at one.
template <class T> void set_if_changed(val& element, const char* property, const T& value)
{
    if (element[property].template as<T>() != value)
        element.set(property, value);
}

void set_attribute_if_changed(val& element, const char* name, const std::string& value)
{
    const val now = element.call<val>("getAttribute", std::string(name));
    if (!now.isString() || now.as<std::string>() != value)
        element.call<void>("setAttribute", std::string(name), value);
}

void PageLayer::refresh(Mirror& m)
{
    if (!m.source)
        return;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(m.source);
    if (!face)
        return;
    const QAccessible::State state = face->state();
    const QString name = face->text(QAccessible::Name);
    // A control with a label of its own is named by it, as a screen reader
    // names it; the frame round a control is no label.
    const auto labels = face->relations(QAccessible::Label);
    const QString label =
        !labels.isEmpty() && labels.first().first->role() == QAccessible::StaticText
            ? labels.first().first->text(QAccessible::Name)
            : name;
    val& e = m.element;
    set_if_changed(e, "hidden", bool(state.invisible) || !m.place || !m.place->isVisible());
    switch (m.kind) {
    case Kind::Button:
        set_if_changed(e, "textContent", utf8(name));
        set_if_changed(e, "disabled", bool(state.disabled));
        break;
    case Kind::List: {
        auto* list = static_cast<QComboBox*>(m.source.data());
        set_attribute_if_changed(e, "aria-label", utf8(label));
        // An edited text that names no entry selects none.
        const int index =
            list->currentText() == list->itemText(list->currentIndex()) ? list->currentIndex() : -1;
        set_if_changed(e, "selectedIndex", index);
        break;
    }
    case Kind::Field: {
        auto* field = static_cast<QLineEdit*>(m.source.data());
        set_attribute_if_changed(e, "aria-label", utf8(label));
        const std::string value = utf8(face->text(QAccessible::Value));
        // The browser's input method owns the text while it composes.
        if (!composing && e["value"].as<std::string>() != value) {
            e.set("value", value);
            if (document()["activeElement"] == e)
                e.call<void>("setSelectionRange", field->cursorPosition(), field->cursorPosition());
        }
        break;
    }
    case Kind::Check:
        set_attribute_if_changed(e, "aria-label", utf8(label));
        set_if_changed(e, "checked", bool(state.checked));
        break;
    case Kind::Text:
        set_if_changed(e, "textContent", utf8(name));
        break;
    case Kind::Dialog:
        set_attribute_if_changed(e, "aria-label", utf8(m.source->windowTitle()));
        break;
    case Kind::Group:
        set_attribute_if_changed(e, "aria-label", utf8(name));
        break;
    }
}

void PageLayer::refresh_all()
{
    for (Mirror& m : mirrors)
        refresh(m);
}

void PageLayer::place_elements()
{
    if (canvas.isNull() || canvas.isUndefined() || !window->screen())
        return;
    const bool shown = window->isVisible() && !canvas["hidden"].as<bool>();
    set_if_changed(root, "hidden", !shown);
    if (!shown)
        return;
    // The canvas is the screen; the page may draw it larger or smaller than
    // the screen's own pixels.
    const val box = canvas.call<val>("getBoundingClientRect");
    const QRect screen = window->screen()->geometry();
    const double scale = box["width"].as<double>() / qMax(1, screen.width());
    auto px = [](double v) { return std::to_string(v) + "px"; };
    val style = root["style"];
    style.set("left", px(box["left"].as<double>()));
    style.set("top", px(box["top"].as<double>()));
    style.set("width", px(box["width"].as<double>()));
    style.set("height", px(box["height"].as<double>()));
    if (this->box && !backdrop.isUndefined()) {
        // Everything but the box's rectangle.
        const QRect r(this->box->frameGeometry().topLeft() - screen.topLeft(),
                      this->box->frameSize());
        const QString hole =
            QStringLiteral("polygon(evenodd, 0 0, 100% 0, 100% 100%, 0 100%, 0 0, "
                           "%1px %2px, %3px %2px, %3px %4px, %1px %4px, %1px %2px)")
                .arg(r.left() * scale)
                .arg(r.top() * scale)
                .arg((r.right() + 1) * scale)
                .arg((r.bottom() + 1) * scale);
        val b = backdrop["style"];
        b.set("left", std::string("0"));
        b.set("top", std::string("0"));
        b.set("width", std::string("100%"));
        b.set("height", std::string("100%"));
        b.set("clipPath", utf8(hole));
    }
    for (Mirror& m : mirrors) {
        if (!m.place)
            continue;
        const QPoint origin = m.within ? m.within->mapToGlobal(QPoint(0, 0)) : screen.topLeft();
        const QRect r(m.place->mapToGlobal(QPoint(0, 0)) - origin, m.place->size());
        val s = m.element["style"];
        s.set("left", px(r.x() * scale));
        s.set("top", px(r.y() * scale));
        s.set("width", px(r.width() * scale));
        s.set("height", px(r.height() * scale));
        s.set("fontSize", px(12 * scale));
    }
}

} // namespace page
