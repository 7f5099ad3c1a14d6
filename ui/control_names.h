// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The object names that the window gives its controls, and by which the tests
// and the page layer find them.
#pragma once

#include <QString>

namespace control_names
{

inline constexpr char window[] = "glukara";
// Control arrays: each element's name ends in its index, as "cmd_button_0".
inline constexpr char cmd_button[] = "cmd_button";
inline constexpr char Label1[] = "Label1";
inline constexpr char info_text[] = "info_text";
inline constexpr char Frame1[] = "Frame1";
inline constexpr char Frame2[] = "Frame2";
inline constexpr char model_frame[] = "model_frame";
inline constexpr char glycogen_level[] = "glycogen_level";
inline constexpr char diabetic_check[] = "diabetic_check";
inline constexpr char value_inputbox[] = "value_inputbox";
inline constexpr char variable_combo[] = "variable_combo";
inline constexpr char glucose_timer[] = "glucose_timer";
inline constexpr char glucose_chart[] = "glucose_chart";
inline constexpr char run_image[] = "run_image";
inline constexpr char rest_image[] = "rest_image";
inline constexpr char runtime_error[] = "runtime_error";
// What the window says to screen readers, and the invisible widget it says
// it through.
inline constexpr char announcements[] = "announcements";
inline constexpr char announcement[] = "announcement";

// The name of one element of a control array.
inline QString element(const char* array, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(index);
}

} // namespace control_names
