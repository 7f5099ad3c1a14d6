// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The blood glucose as one bar on a fixed scale, painted by glukara itself:
// a title above the plot, the readings at the left, the category under the bar.
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

class GlucoseChart : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString category READ category CONSTANT)
    Q_PROPERTY(QString seriesName READ series_name CONSTANT)
    Q_PROPERTY(double value READ value)

  public:
    // The scale never follows the data: the bar always stands on 30 to 180.
    static constexpr double minimum = 30;
    static constexpr double maximum = 180;

    // Every text in FONT. The bar starts at VALUE.
    GlucoseChart(const QString& title, const QString& category, const QString& series_name,
                 const QFont& font, double value, QWidget* parent);

    QString title() const { return title_text; }
    QString category() const { return category_text; }
    QString series_name() const { return series_text; }
    double value() const { return bar_value; }
    // Redraws the bar at once.
    void set_value(double value);

    // Dark ground and light texts, for a dark window.
    void set_dark(bool dark);

    struct Text {
        QString text;
        QRect rect; // in the widget's coordinates
    };
    // The title, the readings from the bottom up, and the category.
    QList<Text> texts() const;
    QRect plot_area() const;

    // The area that carries the level in a screen reader's review of the window.
    QWidget* drawing_area() const { return drawing; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    // Where VALUE stands on the scale, on a device of SCALE pixels to the pixel.
    qreal y_of(double value, qreal scale) const;

    QString title_text;
    QString category_text;
    QString series_text;
    double bar_value;
    bool dark_ground = false;
    QWidget* drawing;
};
