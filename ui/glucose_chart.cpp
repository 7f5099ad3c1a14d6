// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "glucose_chart.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{

// Readings every 30, a faint dashed line every 10 between them.
constexpr double reading_step = 30;
constexpr double minor_step = 10;

// Room around the chart, and between the texts and the plot.
constexpr int margin = 21;
constexpr int bottom_margin = 24;
constexpr int title_top = 21;
constexpr int title_gap = 14;
constexpr int reading_gap = 5;
constexpr int tick_length = 4;
constexpr int category_gap = 5;

struct Colours {
    QColor ground_top;
    QColor ground_bottom;
    QColor text;
    QColor axis;
    QColor grid;
};

// The light chart is white with dark grey texts; the dark one shades from a
// slate blue to near black, with white texts.
const Colours light_colours{QColor(0xffffff), QColor(0xffffff), QColor(0x404044), QColor(0xd6d6d6),
                            QColor(0xe2e2e2)};
const Colours dark_colours{QColor(0x2e303a), QColor(0x121218), QColor(0xffffff), QColor(0x86878c),
                           QColor(0x86878c)};

const QColor bar_colour(178, 34, 34);

QString reading_text(double value)
{
    return QString::number(value, 'f', 0);
}

} // namespace

GlucoseChart::GlucoseChart(const QString& title, const QString& category,
                           const QString& series_name, const QFont& font, double value,
                           QWidget* parent)
    : QWidget(parent), title_text(title), category_text(category), series_text(series_name),
      bar_value(value), drawing(new QWidget(this))
{
    setFont(font);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    drawing->setFocusPolicy(Qt::NoFocus);
    drawing->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GlucoseChart::set_value(double value)
{
    bar_value = value;
    update();
}

void GlucoseChart::set_dark(bool dark)
{
    if (dark == dark_ground)
        return;
    dark_ground = dark;
    update();
}

QRect GlucoseChart::plot_area() const
{
    const QFontMetrics metrics(font());
    const int left = margin + metrics.horizontalAdvance(reading_text(maximum)) + reading_gap + 1;
    const int top = title_top + metrics.height() + title_gap;
    const int bottom = height() - bottom_margin - metrics.height() - category_gap;
    return QRect(QPoint(left, top), QPoint(width() - margin, bottom));
}

qreal GlucoseChart::y_of(double value, qreal scale) const
{
    const QRect plot = plot_area();
    const qreal exact =
        plot.top() + (maximum - value) * (plot.bottom() - plot.top()) / (maximum - minimum);
    // On whole pixels of the device, so a line or the bar's edge is never
    // smeared over two rows, at any density.
    return std::round(exact * scale) / scale;
}

QList<GlucoseChart::Text> GlucoseChart::texts() const
{
    const QFontMetrics metrics(font());
    const QRect plot = plot_area();
    QList<Text> list;
    list.append({title_text, QRect(0, title_top, width(), metrics.height())});
    for (double v = minimum; v <= maximum; v += reading_step) {
        const QString text = reading_text(v);
        const int w = metrics.horizontalAdvance(text);
        list.append(
            {text, QRect(plot.left() - reading_gap - w,
                         int(y_of(v, 1)) - (metrics.height() + 1) / 2, w, metrics.height())});
    }
    const int w = metrics.horizontalAdvance(category_text);
    list.append({category_text, QRect(plot.center().x() - w / 2, plot.bottom() + category_gap, w,
                                      metrics.height())});
    return list;
}

void GlucoseChart::resizeEvent(QResizeEvent*)
{
    drawing->setGeometry(rect());
}

void GlucoseChart::paintEvent(QPaintEvent*)
{
    const Colours& c = dark_ground ? dark_colours : light_colours;
    const QRect plot = plot_area();

    QPainter p(this);
    QLinearGradient ground(0, 0, 0, height());
    ground.setColorAt(0, c.ground_top);
    ground.setColorAt(1, c.ground_bottom);
    p.fillRect(rect(), ground);

    // A line of one pixel is drawn through the middle of its row, so it fills
    // that row exactly, and only that row, at 1x and 2x alike.
    const qreal scale = p.deviceTransform().m22();
    auto across = [&](qreal y, qreal from, qreal to) {
        p.drawLine(QLineF(from, y + 0.5, to + 0.5, y + 0.5));
    };
    auto down = [&](qreal x, qreal from, qreal to) {
        p.drawLine(QLineF(x + 0.5, from, x + 0.5, to + 0.5));
    };

    QColor faint = c.grid;
    faint.setAlpha(128);
    p.setPen(QPen(faint, 1, Qt::DashLine));
    for (double v = minimum + minor_step; v < maximum; v += minor_step)
        if (std::fmod(v - minimum, reading_step) != 0)
            across(y_of(v, scale), plot.left(), plot.right());
    p.setPen(QPen(c.grid, 1));
    for (double v = minimum + reading_step; v <= maximum; v += reading_step)
        across(y_of(v, scale), plot.left(), plot.right());
    down(plot.right(), plot.top(), plot.bottom());

    // Half the plot's width, standing on the axis line. Never over the title,
    // should a level beyond the scale ever arrive.
    const int bar_width = plot.width() / 2;
    const qreal top = std::max<qreal>(plot.top(), y_of(bar_value, scale));
    p.fillRect(QRectF(plot.center().x() - bar_width / 2, top, bar_width, plot.bottom() - top),
               bar_colour);

    p.setPen(QPen(c.axis, 1));
    down(plot.left(), plot.top(), plot.bottom());
    across(plot.bottom(), plot.left(), plot.right());
    for (double v = minimum; v <= maximum; v += reading_step)
        across(y_of(v, scale), plot.left() - tick_length, plot.left());
    down(plot.left(), plot.bottom(), plot.bottom() + tick_length);
    down(plot.right(), plot.bottom(), plot.bottom() + tick_length);

    p.setPen(c.text);
    const QList<Text> all = texts();
    p.drawText(all.first().rect, Qt::AlignHCenter | Qt::AlignVCenter, all.first().text);
    for (qsizetype i = 1; i < all.size(); ++i)
        p.drawText(all[i].rect, Qt::AlignRight | Qt::AlignVCenter, all[i].text);
}
