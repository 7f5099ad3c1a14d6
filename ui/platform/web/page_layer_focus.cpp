// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The focus: the page's follows the window's and the window's the page's,
// and while the window's error box is open, both stay in the box.
#include "page_layer_class.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <string>

namespace page
{

void PageLayer::follow_focus(QObject* object)
{
    const Mirror* m = mirror_of(object);
    if (!m || m->kind == Kind::Text || m->kind == Kind::Dialog || m->kind == Kind::Group)
        return;
    // Focusing the element runs the page's focus handler at once, which acts
    // on the window: the element is held, not the mirror.
    const val element = m->element;
    if (document()["activeElement"] != element)
        element.call<void>("focus", val::object());
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

} // namespace page
