// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// In a web page there is one platform, the browser's. What the program needs
// from the page is set up as soon as the application exists: the fonts, an
// end that a page can have, the window fitted to the viewport, and the layer
// that screen readers and tablets use.

#include "platform_choice.h"

#include "page_fit.h"
#include "page_layer.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QTimer>
#include <QWidget>

#include <emscripten/val.h>

#include <string>

namespace
{

// A page cannot end its program: Qt's quit is never answered there, and the
// window would go on with its clock running. The program ends as a page can:
// its windows close, their clocks stop, and the page is told with the event
// "glukara-ended" on its window, so that it can say so and offer a new start.
class PageEnd : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != qApp || e->type() != QEvent::Quit)
            return false;
        if (ended)
            return true;
        ended = true;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            for (QTimer* clock : window->findChildren<QTimer*>())
                clock->stop();
            window->close();
        }
        const emscripten::val end =
            emscripten::val::global("Event").new_(std::string("glukara-ended"));
        emscripten::val::global("window").call<bool>("dispatchEvent", end);
        return true;
    }

  private:
    bool ended = false;
};

void set_up_page()
{
    // A browser offers a program none of its fonts: Liberation Sans, with
    // Arial's metrics, comes in the program.
    for (const char* face :
         {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(face));
    qApp->installEventFilter(new PageEnd(qApp));
    fit_window_to_page();
    give_windows_page_layers();
}

} // namespace

void choose_platform()
{
    qAddPreRoutine(set_up_page);
}
