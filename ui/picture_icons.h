// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The button pictures at two densities: the 24-bit bitmap for screens of 96
// dots per inch, and a rendering of the same drawing at twice the size for
// screens whose device pixel ratio is above 1.
#pragma once

#include <QIcon>

class QLabel;

// The built-in picture NAME (":/pictures/NAME.bmp" and ":/pictures/NAME@2x.png").
QIcon picture_icon(const QString& name);

// The size the picture takes on the window, that of its bitmap.
QSize picture_size(const QIcon& picture);

// A hidden picture holder keeps the whole icon besides the bitmap it shows,
// so that a button given the held picture gets both densities.
void hold_picture(QLabel* holder, const QIcon& picture);
QIcon held_picture(const QLabel* holder);
