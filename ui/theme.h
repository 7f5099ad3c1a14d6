// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Colours that follow the desktop's palette, light or dark, so that every text
// of the window stays readable: at least 4.5 : 1 against what lies behind it
// (WCAG 2).
#pragma once

#include <QColor>

class GlucoseChart;
class QLabel;
class QWidget;

namespace theme
{

// WANTED itself where it reaches 4.5 : 1 on GROUND, with a little to spare;
// otherwise WANTED mixed with as little white (on a dark ground) or black (on
// a light one) as reaches it.
QColor readable(const QColor& wanted, const QColor& ground);

// Colours the glycogen number, the message and the chart from WINDOW's
// palette now and again whenever the palette changes, for instance when the
// desktop switches between a light and a dark theme.
void follow_palette(QWidget* window, QLabel* glycogen_level, QLabel* message, GlucoseChart* chart);

} // namespace theme
