// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "theme.h"
#include "glucose_chart.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QPointer>

#include <cmath>

namespace theme
{

namespace
{

// Aims a little above the 4.5 : 1 of WCAG: the faint shading that some
// styles lay over a frame's inside takes a few hundredths off.
constexpr double minimum_contrast = 4.7;

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

QColor mix(const QColor& a, const QColor& b, double share_of_b)
{
    auto channel = [&](int x, int y) { return int(std::lround(x + (y - x) * share_of_b)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

// WCAG 2 relative luminance, 0 for black to 1 for white.
double luminance(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark ground: one on which white text stands out more than black text.
bool is_dark(const QColor& ground)
{
    return contrast(ground, Qt::white) > contrast(ground, Qt::black);
}

const QPalette::ColorGroup groups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};

class PaletteFollower : public QObject
{
  public:
    PaletteFollower(QWidget* window, QLabel* glycogen_level, QLabel* message, GlucoseChart* chart)
        : QObject(window), window(window), glycogen_level(glycogen_level), message(message),
          chart(chart)
    {
        window->installEventFilter(this);
        apply();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == window && e->type() == QEvent::PaletteChange)
            apply();
        return false;
    }

  private:
    void apply();

    QWidget* window;
    QLabel* glycogen_level;
    QLabel* message;
    QPointer<GlucoseChart> chart;
};

void PaletteFollower::apply()
{
    const QPalette colours = window->palette();
    // The number stands on the frame, which shows the window's colour; the
    // designed pure blue where that is light enough for it.
    QPalette number = glycogen_level->palette();
    for (auto group : groups)
        number.setColor(group, QPalette::WindowText,
                        readable(QColor(0, 0, 255), colours.color(group, QPalette::Window)));
    glycogen_level->setPalette(number);
    // The message has a ground of its own, the palette's Midlight, which some
    // dark palettes make lighter than their window.
    QPalette text = message->palette();
    for (auto group : groups) {
        const QColor ground = colours.color(group, QPalette::Midlight);
        text.setColor(group, QPalette::Window, ground);
        text.setColor(group, QPalette::WindowText,
                      readable(colours.color(group, QPalette::WindowText), ground));
    }
    message->setPalette(text);
    if (chart)
        chart->set_dark(is_dark(colours.color(QPalette::Active, QPalette::Window)));
}

} // namespace

QColor readable(const QColor& wanted, const QColor& ground)
{
    const QColor towards = is_dark(ground) ? QColor(Qt::white) : QColor(Qt::black);
    constexpr int steps = 100;
    for (int step = 0; step < steps; ++step) {
        const QColor c = mix(wanted, towards, double(step) / steps);
        if (contrast(c, ground) >= minimum_contrast)
            return c;
    }
    return towards;
}

void follow_palette(QWidget* window, QLabel* glycogen_level, QLabel* message, GlucoseChart* chart)
{
    new PaletteFollower(window, glycogen_level, message, chart);
}

} // namespace theme
