// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Acting on the window when an element is used: a press, a choice from a
// list, and the text field's typing, caret and pointer, passed to the control
// as the desktop passes them.
#include "page_layer_class.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>

#include <string>

namespace page
{

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

namespace
{

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

} // namespace

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

} // namespace page
