// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "page_layer.h"

#include "announcements.h"
#include "glucose_chart.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

using emscripten::val;

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
#glukara-layer > *, #glukara-layer > [role=alertdialog] > * {
  position: absolute; box-sizing: border-box; margin: 0; padding: 0; border: 0;
  background: transparent; color: transparent; caret-color: transparent;
  font: 12px/1 sans-serif; overflow: hidden; white-space: pre-wrap;
  -webkit-appearance: none; appearance: none; pointer-events: none;
}
#glukara-layer > input[type=text] { pointer-events: auto; }
#glukara-layer.popup-open > input[type=text] { pointer-events: none; }
#glukara-layer ::selection { background: transparent; }
#glukara-layer :focus { outline: none; }
#glukara-layer > .backdrop { pointer-events: auto; }
#glukara-layer > [role=status] {
  width: 1px; height: 1px; clip-path: inset(50%); white-space: normal;
}
)";

enum class Kind { Button, List, Field, Check, Text, Dialog };

struct Mirror {
    Kind kind;
    // The widget whose accessibility interface the element repeats.
    QPointer<QWidget> source;
    // The widget whose rectangle the element covers.
    QPointer<QWidget> place;
    // The widget whose element holds this one, if not the layer itself.
    QPointer<QWidget> within = nullptr;
    val element = val::undefined();
};

std::string utf8(const QString& text)
{
    return text.toStdString();
}

QString text_of(const val& value)
{
    return value.isString() ? QString::fromStdString(value.as<std::string>()) : QString();
}

val document()
{
    return val::global("document");
}

class PageLayer : public QObject
{
  public:
    explicit PageLayer(QWidget* window);
    ~PageLayer() override;

    static PageLayer* current;

    void dom_event(const val& event);
    void page_resized() { place_elements(); }
    // Something in the window changed as a screen reader would be told.
    void accessibility_update(QAccessibleEvent* event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void add(Kind kind, QWidget* source, QWidget* place = nullptr, QWidget* within = nullptr);
    val make_element(Mirror& mirror, int index);
    void listen(const val& element, const char* type);
    void refresh(Mirror& mirror);
    void refresh_all();
    void place_elements();
    void follow_focus(QObject* object);
    Mirror* mirror_of(QObject* object);
    bool blocked(const Mirror& mirror) const;
    void box_shown(QMessageBox* box);
    void box_hidden();

    void element_clicked(Mirror& mirror);
    void list_changed(Mirror& mirror);
    void element_focused(Mirror& mirror);
    void field_before_input(Mirror& mirror, const val& event);
    void field_input(Mirror& mirror);
    void field_key_down(Mirror& mirror, const val& event);
    void field_selection_moved(Mirror& mirror);
    void field_mouse(Mirror& mirror, const val& event);
    void field_composition_ended(Mirror& mirror);
    void show_field_selection(Mirror& mirror);

    void layer_key_down(const val& event);
    void say(const QString& utterance);
    void key_heard();

    QWidget* window;
    val canvas = val::undefined();
    val root = val::undefined();
    val live = val::undefined();
    std::vector<Mirror> mirrors;
    QTimer refresh_soon;
    // The window's error box while it is open, the first of its mirrors (the
    // last ones in the list) and the element that had the focus before it.
    QPointer<QMessageBox> box;
    std::size_t box_mirrors = 0;
    val focus_before_box = val::undefined();
    // Keeps the pointer off the window around the box.
    val backdrop = val::undefined();
    // An input method's composition in the text field, taken once committed.
    bool composing = false;
    // The main button went down in the text field and is held.
    bool field_pressed = false;
};

PageLayer* PageLayer::current = nullptr;

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

PageLayer::PageLayer(QWidget* w) : QObject(w), window(w)
{
    current = this;
    canvas = document().call<val>("getElementById", std::string("screen"));
    // The canvas only repeats what the layer says in words.
    if (!canvas.isNull())
        canvas.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));

    val style = document().call<val>("createElement", std::string("style"));
    style.set("textContent", std::string(layer_style));
    document()["head"].call<void>("appendChild", style);
    root = document().call<val>("createElement", std::string("div"));
    root.set("id", std::string("glukara-layer"));
    root.call<void>("setAttribute", std::string("role"), std::string("group"));
    root.call<void>("setAttribute", std::string("aria-label"), utf8(window->windowTitle()));

    // What a pupil reads, in the order of a look down the window, then the
    // controls in the window's tab order, which the page's Tab then follows.
    if (auto* chart = window->findChild<GlucoseChart*>())
        add(Kind::Text, chart->drawing_area(), chart);
    add(Kind::Text, window->findChild<QWidget*>(QStringLiteral("info_text_0")));
    add(Kind::Text, window->findChild<QWidget*>(QStringLiteral("glycogen_level")));
    // The tab order is a ring; the page's starts where the window's focus is
    // when it opens.
    QWidget* first = window->focusWidget();
    if (!first)
        first = window->nextInFocusChain();
    QWidget* next = first;
    for (int guard = 0; next && guard < 500; ++guard) {
        if (next->focusPolicy() & Qt::TabFocus) {
            if (auto* list = qobject_cast<QComboBox*>(next))
                add(Kind::List, list);
            else if (auto* field = qobject_cast<QLineEdit*>(next)) {
                if (!qobject_cast<QComboBox*>(field->parentWidget()))
                    add(Kind::Field, field);
            } else if (qobject_cast<QCheckBox*>(next))
                add(Kind::Check, next);
            else if (qobject_cast<QAbstractButton*>(next))
                add(Kind::Button, next);
        }
        next = next->nextInFocusChain();
        if (next == first)
            break;
    }
    for (std::size_t i = 0; i < mirrors.size(); ++i)
        root.call<void>("appendChild", make_element(mirrors[i], int(i)));

    live = document().call<val>("createElement", std::string("div"));
    live.call<void>("setAttribute", std::string("role"), std::string("status"));
    live.call<void>("setAttribute", std::string("aria-atomic"), std::string("false"));
    live.call<void>("setAttribute", std::string("aria-relevant"), std::string("additions"));
    root.call<void>("appendChild", live);
    document()["body"].call<void>("appendChild", root);
    listen(root, "keydown");

    refresh_soon.setSingleShot(true);
    refresh_soon.setInterval(0);
    connect(&refresh_soon, &QTimer::timeout, this, &PageLayer::refresh_all);
    if (auto* announcements = window->findChild<Announcements*>())
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
    case Kind::Dialog:
        // Modal for the window, as the box is: the browser keeps the reading
        // and the Tab key inside it.
        e = document().call<val>("createElement", std::string("div"));
        e.call<void>("setAttribute", std::string("role"), std::string("alertdialog"));
        e.call<void>("setAttribute", std::string("aria-modal"), std::string("true"));
        break;
    }
    if (mirror.kind != Kind::Text && mirror.kind != Kind::Dialog)
        listen(e, "focus");
    e["dataset"].set("control", index);
    e.set("id", utf8(QStringLiteral("glukara-") + mirror.place->objectName()));
    mirror.element = e;
    return e;
}

void PageLayer::listen(const val& element, const char* type)
{
    element.call<void>("addEventListener", std::string(type),
                       val::module_property("glukaraPageEvent"));
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

void PageLayer::follow_focus(QObject* object)
{
    Mirror* m = mirror_of(object);
    if (!m || m->kind == Kind::Text || m->kind == Kind::Dialog)
        return;
    if (document()["activeElement"] != m->element)
        m->element.call<void>("focus", val::object());
}

void PageLayer::accessibility_update(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::Focus)
        follow_focus(event->object());
    // Some changes come before the handler that makes them has finished, and
    // some come with no event at all (a label cleared): the whole layer is
    // brought up to date once the handler has run.
    refresh_soon.start();
}

bool PageLayer::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((watched == window || (box && watched == box)) &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show ||
         type == QEvent::Hide))
        place_elements();
    if ((type == QEvent::Show || type == QEvent::Hide) && watched->isWidgetType()) {
        auto* popup = static_cast<QWidget*>(watched);
        if (popup->windowType() == Qt::Popup)
            root["classList"].call<void>(type == QEvent::Show ? "add" : "remove",
                                         std::string("popup-open"));
        auto* message_box = qobject_cast<QMessageBox*>(watched);
        if (message_box && message_box->parentWidget() == window) {
            if (type == QEvent::Show)
                box_shown(message_box);
            else if (message_box == box)
                box_hidden();
        }
    }
    return false;
}

bool PageLayer::blocked(const Mirror& m) const
{
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && !modal->isAncestorOf(m.source) && modal != m.source;
}

void PageLayer::box_shown(QMessageBox* shown)
{
    if (box)
        box_hidden();
    box = shown;
    focus_before_box = document()["activeElement"];
    // Behind the box the window takes nothing: neither do its elements.
    for (Mirror& m : mirrors)
        m.element.set("inert", true);
    box_mirrors = mirrors.size();
    add(Kind::Dialog, shown);
    auto* message = shown->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    add(Kind::Text, message, nullptr, shown);
    for (QAbstractButton* button : shown->buttons())
        add(Kind::Button, button, nullptr, shown);
    val dialog = make_element(mirrors[box_mirrors], int(box_mirrors));
    for (std::size_t i = box_mirrors + 1; i < mirrors.size(); ++i)
        dialog.call<void>("appendChild", make_element(mirrors[i], int(i)));
    // A screen reader reads the box's message with the box, and Orca, which
    // says only the focused button of a dialog in a page, hears it spoken as
    // the window's announcements are.
    if (message) {
        val text = mirrors[box_mirrors + 1].element;
        dialog.call<void>("setAttribute", std::string("aria-describedby"),
                          text["id"].as<std::string>());
        say(message->text());
    }
    // The window behind a modal box takes no click on the desktop; in the
    // browser, Qt 6.4 answers one with an endless loop of raising the box.
    backdrop = document().call<val>("createElement", std::string("div"));
    backdrop.set("className", std::string("backdrop"));
    backdrop.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
    // Nor does a click there take the focus off the box's button.
    listen(backdrop, "mousedown");
    root.call<void>("insertBefore", backdrop, live);
    root.call<void>("insertBefore", dialog, live);
    refresh_all();
    place_elements();
    QWidget* focused = shown->focusWidget();
    follow_focus(focused ? focused : static_cast<QWidget*>(shown->defaultButton()));
}

void PageLayer::box_hidden()
{
    if (box_mirrors == 0)
        return;
    mirrors[box_mirrors].element.call<void>("remove");
    backdrop.call<void>("remove");
    backdrop = val::undefined();
    mirrors.resize(box_mirrors);
    box_mirrors = 0;
    box = nullptr;
    for (Mirror& m : mirrors)
        m.element.set("inert", false);
    // Where the focus was before the box, as the window gives it back.
    if (!focus_before_box.isUndefined() && !focus_before_box.isNull())
        focus_before_box.call<void>("focus", val::object());
    focus_before_box = val::undefined();
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
    Mirror& m = mirrors[i];
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

void PageLayer::element_clicked(Mirror& m)
{
    // As a screen reader presses the control on the desktop: through its
    // interface's action, which clicks it.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(m.source);
    QAccessibleActionInterface* actions = face ? face->actionInterface() : nullptr;
    if (!actions)
        return;
    actions->doAction(m.kind == Kind::Check ? QAccessibleActionInterface::toggleAction()
                                            : QAccessibleActionInterface::pressAction());
    // The box ticks itself in the page; the control decides.
    if (m.kind == Kind::Check)
        m.element.set("checked", static_cast<QCheckBox*>(m.source.data())->isChecked());
}

void PageLayer::list_changed(Mirror& m)
{
    auto* list = static_cast<QComboBox*>(m.source.data());
    const int index = m.element["selectedIndex"].as<int>();
    if (index < 0 || index >= list->count())
        return;
    // What choosing the entry in the list's own popup does.
    list->setCurrentIndex(index);
    emit list->activated(index);
    emit list->textActivated(list->itemText(index));
}

void PageLayer::element_focused(Mirror& m)
{
    QWidget* control = m.source;
    if (!control->isEnabled() || control->isAncestorOf(QApplication::focusWidget()) ||
        control == QApplication::focusWidget())
        return;
    // Qt draws its focus frame only for a focus that the keyboard moved.
    if (m.element.call<bool>("matches", std::string(":focus-visible")))
        window->setAttribute(Qt::WA_KeyboardFocusChange);
    window->activateWindow();
    control->setFocus(m.kind == Kind::Field ? Qt::MouseFocusReason : Qt::TabFocusReason);
    if (m.kind == Kind::Field)
        field_selection_moved(m);
}

void send_key(QWidget* to, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(to, &release);
}

// A printable character as a key of Qt's: Qt's codes for the characters of
// Latin-1 are their upper-case code points.
int key_of(QChar c)
{
    const QChar upper = c.toUpper();
    return upper.unicode() >= 0x20 && upper.unicode() <= 0xff ? int(upper.unicode())
                                                              : int(Qt::Key_unknown);
}

void PageLayer::field_before_input(Mirror& m, const val& event)
{
    auto* field = static_cast<QLineEdit*>(m.source.data());
    if (!event["cancelable"].as<bool>())
        return; // composed text: taken whole once it is in, by field_input
    const std::string type = event["inputType"].as<std::string>();
    field_selection_moved(m);
    bool handled = true;
    if (type.rfind("insert", 0) == 0) {
        QString text = text_of(event["data"]);
        const val transfer = event["dataTransfer"];
        if (text.isEmpty() && !transfer.isNull() && !transfer.isUndefined())
            text = text_of(transfer.call<val>("getData", std::string("text/plain")));
        // A key types its character, as the value box takes keys on the
        // desktop; pasted or dropped text comes in as one change, as a paste
        // does there, cut to the box's length.
        if (type == "insertText" && text.size() == 1)
            send_key(field, key_of(text.front()), Qt::NoModifier, text);
        else
            field->insert(text);
    } else if (type == "deleteContentBackward") {
        send_key(field, Qt::Key_Backspace, Qt::NoModifier);
    } else if (type == "deleteContentForward" || type == "deleteByCut" || type == "deleteByDrag") {
        send_key(field, Qt::Key_Delete, Qt::NoModifier);
    } else if (type == "deleteWordBackward") {
        send_key(field, Qt::Key_Backspace, Qt::ControlModifier);
    } else if (type == "deleteWordForward") {
        send_key(field, Qt::Key_Delete, Qt::ControlModifier);
    } else if (type == "deleteSoftLineBackward" || type == "deleteHardLineBackward") {
        field->home(true);
        send_key(field, Qt::Key_Delete, Qt::NoModifier);
    } else if (type == "deleteSoftLineForward" || type == "deleteHardLineForward") {
        field->end(true);
        send_key(field, Qt::Key_Delete, Qt::NoModifier);
    } else {
        handled = false;
    }
    if (!handled)
        return;
    event.call<void>("preventDefault");
    refresh(m);
    m.element.call<void>("setSelectionRange", field->cursorPosition(), field->cursorPosition());
}

void PageLayer::field_input(Mirror& m)
{
    if (composing)
        return;
    // Text that came in some other way (composed, undone): the value box takes
    // it as if it were typed over the whole.
    auto* field = static_cast<QLineEdit*>(m.source.data());
    const QString text = text_of(m.element["value"]);
    if (text == field->text())
        return;
    const int caret = m.element["selectionStart"].as<int>();
    field->selectAll();
    if (text.isEmpty())
        send_key(field, Qt::Key_Delete, Qt::NoModifier);
    else
        send_key(field, Qt::Key_unknown, Qt::NoModifier, text);
    field->setCursorPosition(caret);
    refresh(m);
}

void PageLayer::field_key_down(Mirror& m, const val& event)
{
    const std::string key = event["key"].as<std::string>();
    // Enter that ends a composition belongs to the input method.
    if (key != "Enter" || composing || event["isComposing"].as<bool>())
        return;
    // The value box's own key handling answers Enter.
    event.call<void>("preventDefault");
    send_key(m.source, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
}

void PageLayer::field_selection_moved(Mirror& m)
{
    auto* field = static_cast<QLineEdit*>(m.source.data());
    const val start = m.element["selectionStart"];
    const val end = m.element["selectionEnd"];
    if (!start.isNumber() || !end.isNumber())
        return;
    const int from = start.as<int>(), to = end.as<int>();
    if (from == to)
        field->setCursorPosition(from);
    else if (m.element["selectionDirection"].as<std::string>() == "backward")
        field->setSelection(to, from - to);
    else
        field->setSelection(from, to - from);
}

void PageLayer::field_composition_ended(Mirror& m)
{
    composing = false;
    field_input(m);
}

void PageLayer::show_field_selection(Mirror& m)
{
    auto* field = static_cast<QLineEdit*>(m.source.data());
    if (field->hasSelectedText()) {
        const int start = field->selectionStart();
        const int end = field->selectionEnd();
        const bool backward = field->cursorPosition() == start;
        m.element.call<void>("setSelectionRange", start, end,
                             std::string(backward ? "backward" : "forward"));
    } else {
        m.element.call<void>("setSelectionRange", field->cursorPosition(), field->cursorPosition());
    }
}

void PageLayer::field_mouse(Mirror& m, const val& event)
{
    const std::string type = event["type"].as<std::string>();
    if (type == "pointerdown") {
        // The moves of a drag that leaves the field come to it all the same.
        m.element.call<void>("setPointerCapture", event["pointerId"]);
        return;
    }
    // The window places the caret and the selection as on the desktop, in
    // the box's own font and alignment; the field only follows it.
    event.call<void>("preventDefault");
    auto* field = static_cast<QLineEdit*>(m.source.data());
    if (type == "mousemove" && !(field_pressed && (event["buttons"].as<int>() & 1)))
        return;
    if (type == "mouseup" && !field_pressed)
        return;
    field_pressed = type == "mousemove" || (type == "mousedown" && event["button"].as<int>() == 0);
    if (type == "mousedown") {
        if (!field_pressed)
            return;
        if (document()["activeElement"] != m.element)
            m.element.call<void>("focus", val::object());
    }
    const val box = m.element.call<val>("getBoundingClientRect");
    const double scale = box["width"].as<double>() / qMax(1, field->width());
    const QPointF local((event["clientX"].as<double>() - box["left"].as<double>()) / scale,
                        (event["clientY"].as<double>() - box["top"].as<double>()) / scale);
    QEvent::Type qt_type = QEvent::MouseMove;
    if (type == "mousedown")
        qt_type =
            event["detail"].as<int>() == 2 ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress;
    else if (type == "mouseup")
        qt_type = QEvent::MouseButtonRelease;
    const Qt::MouseButtons held =
        qt_type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent mouse(qt_type, local, field->mapToGlobal(local),
                      qt_type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(field, &mouse);
    show_field_selection(m);
}

void PageLayer::layer_key_down(const val& event)
{
    const std::string key = event["key"].as<std::string>();
    // A held key presses once, as on the desktop: the browser repeats the
    // key, and each repeated Enter would click the focused button again. In
    // the text field a held key types on, as it does there.
    if (event["repeat"].as<bool>() && (key == "Enter" || key == " ") &&
        text_of(event["target"]["type"]) != QLatin1String("text"))
        event.call<void>("preventDefault");
    if (key == "Escape" && box) {
        event.call<void>("preventDefault");
        send_key(box, Qt::Key_Escape, Qt::NoModifier);
    }
    key_heard();
}

void PageLayer::say(const QString& utterance)
{
    // Each utterance comes as a line of its own, which a screen reader finds
    // in the event that tells it of the line: one that reads the region's
    // whole text when it gets round to it would miss an utterance followed
    // quickly by the next. Old lines go once they are long said.
    val line = document().call<val>("createElement", std::string("p"));
    line.set("textContent", utf8(utterance));
    live.call<void>("appendChild", line);
    while (live["childElementCount"].as<int>() > 3)
        live["firstElementChild"].call<void>("remove");
}

void PageLayer::key_heard()
{
    // A screen reader stops speaking at every key and says what the key did;
    // the window's announcements wait for that as they do on the desktop,
    // where they see the key themselves.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &key);
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
            watched->objectName() == QLatin1String("glukara") && !PageLayer::current) {
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

} // namespace

EMSCRIPTEN_BINDINGS(glukara_page_layer)
{
    emscripten::function("glukaraPageEvent", &page_event);
    emscripten::function("glukaraPageResized", &page_resized);
}

void give_windows_page_layers()
{
    qApp->installEventFilter(new LayerGiver(qApp));
}
