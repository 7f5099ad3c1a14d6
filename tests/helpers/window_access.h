// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reaching the window's controls the way a user sees them: by name.
#pragma once

#include "control_names.h"
#include "glucose_chart.h"
#include "glukara.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

template <class T> T* control(const QWidget& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

inline QAbstractButton* cmd_button(const QWidget& w, int index)
{
    return control<QAbstractButton>(w, control_names::element(control_names::cmd_button, index));
}

inline QString info_text(const QWidget& w)
{
    return control<QLabel>(w, control_names::element(control_names::info_text, 0))->text();
}

inline QString glycogen_level(const QWidget& w)
{
    return control<QLabel>(w, control_names::glycogen_level)->text();
}

inline QLineEdit* value_inputbox(const QWidget& w)
{
    return control<QLineEdit>(w, control_names::value_inputbox);
}

inline QComboBox* variable_combo(const QWidget& w)
{
    return control<QComboBox>(w, control_names::variable_combo);
}

inline QCheckBox* diabetic_check(const QWidget& w)
{
    return control<QCheckBox>(w, control_names::diabetic_check);
}

inline QTimer* glucose_timer(const QWidget& w)
{
    return control<QTimer>(w, control_names::glucose_timer);
}

inline GlucoseChart* glucose_chart(const QWidget& w)
{
    return control<GlucoseChart>(w, control_names::glucose_chart);
}

inline double chart_value(const QWidget& w)
{
    return glucose_chart(w)->value();
}

// One second of simulated time, without waiting for it.
inline void fire_tick(const QWidget& w)
{
    QMetaObject::invokeMethod(glucose_timer(w), "timeout", Qt::DirectConnection);
}

// The main window, shown and active as a student finds it.
struct ShownWindow {
    glukara w;
    ShownWindow()
    {
        w.show();
        if (!QTest::qWaitForWindowActive(&w))
            qFatal("window did not become active");
    }
};

// Picks a list entry with the arrow keys, as a user does.
inline void choose_entry(const QWidget& w, int entry)
{
    QComboBox* combo = variable_combo(w);
    combo->setFocus();
    while (combo->currentIndex() < entry)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > entry)
        QTest::keyClick(combo, Qt::Key_Up);
}

// Replaces the value box's text by typing over it.
inline void type_value(const QWidget& w, const QString& text)
{
    QLineEdit* box = value_inputbox(w);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

inline void click(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

inline QList<QMessageBox*> visible_error_boxes(const QWidget& w)
{
    QList<QMessageBox*> boxes;
    for (QMessageBox* box : w.findChildren<QMessageBox*>())
        if (box->isVisible())
            boxes << box;
    return boxes;
}
