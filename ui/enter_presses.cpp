// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "enter_presses.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>

namespace
{

// Qt's push buttons answer Enter only as (auto-)default buttons of a dialog,
// and tool buttons never do; a filter gives both kinds the same answer without
// making any button a default one.
class EnterPresses : public QObject
{
  public:
    explicit EnterPresses(QAbstractButton* button) : QObject(button) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        // A held key presses once, as Space does: a held Enter on "Eat a meal"
        // must not feed the person a meal per key repeat.
        if (!key->isAutoRepeat())
            static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

} // namespace

void press_with_enter(QAbstractButton* button)
{
    button->installEventFilter(new EnterPresses(button));
}
