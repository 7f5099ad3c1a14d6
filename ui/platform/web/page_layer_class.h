// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the page layer's files share: the layer, one element of the page for
// each control it mirrors, and the page's document as the layer reaches it.
// page_layer.cpp builds the layer and passes it the page's events,
// page_layer_elements.cpp makes the elements and keeps them up to date and in
// place, page_layer_actions.cpp acts on the window when an element is used,
// page_layer_focus.cpp keeps the focus where the window has it, with its
// error box, and page_layer_speech.cpp speaks the window's announcements.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <emscripten/val.h>

#include <string>
#include <vector>

class Announcements;
class QAccessibleEvent;

namespace page
{

using emscripten::val;

// A Group stands for one of the window's frames (and the chart's), and holds
// the elements of the controls inside it.
enum class Kind { Button, List, Field, Check, Text, Dialog, Group };

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

inline std::string utf8(const QString& text)
{
    return text.toStdString();
}

inline QString text_of(const val& value)
{
    return value.isString() ? QString::fromStdString(value.as<std::string>()) : QString();
}

inline val document()
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
    // The layer's element with its style sheet, and its live region.
    void make_root();
    void add_live_region();
    void add(Kind kind, QWidget* source, QWidget* place = nullptr, QWidget* within = nullptr);
    // Adds a control in the group of the frame round it, which comes first
    // where it is the frame's first control.
    void add_framed(Kind kind, QWidget* source);
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
    QPointer<Announcements> announcements;
    val canvas = val::undefined();
    // The window's main part of the page, headed by its title.
    val root = val::undefined();
    val live = val::undefined();
    // Grows when the error box opens and shrinks when it closes, both while
    // the window handles an action: nothing holds a reference into it across
    // a call into the window.
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

} // namespace page
