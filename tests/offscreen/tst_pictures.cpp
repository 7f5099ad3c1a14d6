// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The button pictures at 1x and 2x: the bitmaps stay as they are, and screens
// of twice the density get the 2x renderings of the same drawings.
#include "window_access.h"

#include <QToolButton>

#include <cmath>

namespace
{

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage built_in(const QString& name, const char* suffix)
{
    const QImage image(QStringLiteral(":/pictures/%1%2").arg(name, QLatin1String(suffix)));
    if (image.isNull())
        qFatal("no picture %s%s", qPrintable(name), suffix);
    return image;
}

// Where PART lies in WHOLE pixel for pixel, or (-1, -1).
QPoint find(const QImage& whole, const QImage& part)
{
    const QImage w = rgb(whole);
    const QImage p = rgb(part);
    for (int y = 0; y + p.height() <= w.height(); ++y)
        for (int x = 0; x + p.width() <= w.width(); ++x) {
            bool same = true;
            for (int row = 0; same && row < p.height(); ++row)
                same = std::equal(p.constScanLine(row), p.constScanLine(row) + 4 * p.width(),
                                  w.constScanLine(y + row) + 4 * x);
            if (same)
                return {x, y};
        }
    return {-1, -1};
}

// What the button really paints on its screen.
QImage painted(QWidget* button)
{
    return button->grab().toImage();
}

// Mean difference per colour channel between the 1x picture and the 2x one
// reduced to 1x by averaging each square of four pixels.
double difference_at_1x(const QImage& one, const QImage& two)
{
    const QImage a = rgb(one);
    const QImage b = rgb(two);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q[4] = {b.pixel(2 * x, 2 * y), b.pixel(2 * x + 1, 2 * y),
                               b.pixel(2 * x, 2 * y + 1), b.pixel(2 * x + 1, 2 * y + 1)};
            auto mean = [&](int (*channel)(QRgb)) {
                return (channel(q[0]) + channel(q[1]) + channel(q[2]) + channel(q[3])) / 4.0;
            };
            sum += std::abs(qRed(p) - mean(qRed)) + std::abs(qGreen(p) - mean(qGreen)) +
                   std::abs(qBlue(p) - mean(qBlue));
        }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

  private slots:
    void renderings_data();
    void renderings();
    void buttons_data();
    void buttons();
};

void TestPictures::renderings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("other"); // another picture, for comparison
    QTest::newRow("meal") << "meal_picture"
                          << "runners_picture";
    QTest::newRow("runners") << "runners_picture"
                             << "pancreas_picture";
    QTest::newRow("pancreas") << "pancreas_picture"
                              << "resting_picture";
    QTest::newRow("resting") << "resting_picture"
                             << "runners_picture";
}

// The 2x picture is a drawing of its own at twice the size, opaque, of the
// same picture as the bitmap: not the bitmap enlarged.
void TestPictures::renderings()
{
    QFETCH(QString, name);
    QFETCH(QString, other);
    const QImage one = built_in(name, ".bmp");
    const QImage two = built_in(name, "@2x.png");
    QCOMPARE(two.size(), one.size() * 2);
    QVERIFY(!two.hasAlphaChannel());
    QCOMPARE(two.dotsPerMeterX(), 2 * 3780);
    QVERIFY(rgb(two) != rgb(one).scaled(two.size()));
    const double same = difference_at_1x(one, two);
    QVERIFY2(same < 8, qPrintable(QStringLiteral("differs by %1 on average").arg(same)));
    const QImage unlike = built_in(other, "@2x.png").copy(QRect(QPoint(), two.size()));
    const double different = difference_at_1x(one, unlike);
    QVERIFY2(different > 4 * same,
             qPrintable(QStringLiteral("%1 against %2").arg(different).arg(same)));
}

void TestPictures::buttons_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("clicks"); // on "Go for a run" first
    QTest::addColumn<QString>("name");
    QTest::newRow("Eat a meal") << int(glukara::meal_button) << 0 << "meal_picture";
    QTest::newRow("Go for a run") << int(glukara::run_button) << 0 << "runners_picture";
    QTest::newRow("Take a rest, from rest_image")
        << int(glukara::run_button) << 1 << "resting_picture";
    QTest::newRow("Go for a run, from run_image")
        << int(glukara::run_button) << 2 << "runners_picture";
    QTest::newRow("Secrete Insulin") << int(glukara::insulin_button) << 0 << "pancreas_picture";
    QTest::newRow("Secrete Glucagon") << int(glukara::glucagon_button) << 0 << "pancreas_picture";
}

void TestPictures::buttons()
{
    QFETCH(int, index);
    QFETCH(int, clicks);
    QFETCH(QString, name);
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (int i = 0; i < clicks; ++i)
        click(cmd_button(w, glukara::run_button));
    auto* button = qobject_cast<QToolButton*>(cmd_button(w, index));
    QVERIFY(button);
    const QImage one = built_in(name, ".bmp");
    const QImage two = built_in(name, "@2x.png");
    QCOMPARE(button->iconSize(), one.size());

    const QPixmap at_1x = button->icon().pixmap(button->iconSize(), 1.0);
    QCOMPARE(at_1x.devicePixelRatio(), 1.0);
    QCOMPARE(rgb(at_1x.toImage()), rgb(one));
    const QPixmap at_2x = button->icon().pixmap(button->iconSize(), 2.0);
    QCOMPARE(at_2x.devicePixelRatio(), 2.0);
    QCOMPARE(rgb(at_2x.toImage()), rgb(two));

    // What the button really paints: the bitmap on a screen of 96 dots per
    // inch, the 2x rendering where the device pixel ratio is 2 (the test runs
    // under QT_SCALE_FACTOR=2 as well).
    const QImage shown = painted(button);
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QLatin1String("2"))
        QCOMPARE(button->devicePixelRatio(), 2.0);
    if (button->devicePixelRatio() == 1.0) {
        QVERIFY(find(shown, one) != QPoint(-1, -1));
    } else {
        QCOMPARE(button->devicePixelRatio(), 2.0);
        QVERIFY(find(shown, two) != QPoint(-1, -1));
        QCOMPARE(find(shown, rgb(one).scaled(two.size())), QPoint(-1, -1));
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
