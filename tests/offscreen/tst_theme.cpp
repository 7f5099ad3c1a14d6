// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every text of the window readable in light and dark palettes: the contrast
// is measured from the pixels of the rendered window, text against what
// actually lies behind it.
#include "theme.h"
#include "window_access.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QStyleOption>
#include <QToolButton>

#include <cmath>
#include <map>

namespace
{

// WCAG 2, written out here rather than taken from the program.
double luminance(QRgb c)
{
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A palette from its colours in the order of QPalette::ColorRole, the form
// qt6ct keeps its colour schemes in.
QPalette palette_of(const QStringList& colours)
{
    QPalette p;
    for (int role = 0; role < colours.size(); ++role)
        p.setColor(QPalette::ColorRole(role), QColor(colours.at(role)));
    return p;
}

const QStringList adwaita_dark = {
    // What the gtk3 platform theme gives for GTK_THEME=Adwaita:dark.
    "#f0f0f0", "#323232", "#4b4b4b", "#2a2a2a", "#212121", "#262626", "#f0f0f0",
    "#4b4b4b", "#f0f0f0", "#242424", "#323232", "#191919", "#308cc6", "#f0f0f0",
    "#308cc6", "#ff00ff", "#2b2b2b", "#000000", "#ffffdc", "#000000", "#f0f0f0"};
const QStringList qt6ct_darker = {"#ffffff", "#424245", "#979797", "#5e5c5b", "#302f2e", "#4a4947",
                                  "#ffffff", "#ffffff", "#ffffff", "#3d3d3d", "#222020", "#e7e4e0",
                                  "#12608a", "#f9f9f9", "#0986d3", "#a70b06", "#5c5b5a", "#ffffff",
                                  "#3f3f36", "#ffffff", "#ffffff"};
// Grey text on deep blue, with a grey Midlight under the message.
const QStringList qt6ct_waves = {"#b0b0b0", "#010b2c", "#979797", "#5e5c5b", "#302f2e", "#4a4947",
                                 "#b0b0b0", "#b0b0b0", "#b0b0b0", "#010b2c", "#010b2c", "#b0b0b0",
                                 "#302f2e", "#b0b0b0", "#0986d3", "#a70b06", "#5c5b5a", "#ffffff",
                                 "#0a0a0a", "#ffffff", "#b0b0b0"};
// A mid-grey window, on which the pure blue is too dark.
const QStringList qt6ct_dusk = {"#000000", "#7f7f7f", "#ffffff", "#cbc7c4", "#7f7f7f", "#b8b5b2",
                                "#000000", "#ffffff", "#000000", "#7f7f7f", "#7f7f7f", "#707070",
                                "#308cc6", "#ffffff", "#0000ff", "#ff00ff", "#7f7f7f", "#000000",
                                "#7f7f7f", "#000000", "#000000"};

struct Measure {
    double ratio;
    QRgb text;
    QRgb ground;
};

// The ground is the commonest colour of the area; the text is the pixel that
// stands out most from it (the core of a glyph).
Measure measure(const QImage& image, const QRect& area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    QRgb ground = 0;
    int most = -1;
    for (const auto& [colour, count] : counts)
        if (count > most) {
            ground = colour;
            most = count;
        }
    Measure m{1.0, ground, ground};
    for (const auto& entry : counts)
        if (contrast(entry.first, ground) > m.ratio)
            m = {contrast(entry.first, ground), entry.first, ground};
    return m;
}

QRect in_window(const QWidget& w, const QWidget* c, const QRect& r)
{
    return QRect(c->mapTo(&w, r.topLeft()), r.size());
}

// The areas that hold only text, each named after what it shows.
QList<QPair<QString, QRect>> text_areas(const glukara& w)
{
    QList<QPair<QString, QRect>> areas;
    auto whole = [&](const char* name) {
        auto* c = control<QWidget>(w, name);
        areas << qMakePair(QString::fromLatin1(name), in_window(w, c, c->contentsRect()));
    };
    whole("glycogen_level");
    whole("info_text_0");
    whole("Label1_0");
    whole("Label1_1");
    for (const char* name : {"Frame1", "Frame2", "model_frame"}) {
        auto* box = control<QGroupBox>(w, name);
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        areas << qMakePair(QStringLiteral("%1 caption").arg(name), in_window(w, box, label));
    }
    auto* check = diabetic_check(w);
    QStyleOptionButton check_option;
    check_option.initFrom(check);
    check_option.text = check->text();
    areas << qMakePair(QStringLiteral("diabetic_check"),
                       in_window(w, check,
                                 check->style()->subElementRect(QStyle::SE_CheckBoxContents,
                                                                &check_option, check)));
    auto* value = value_inputbox(w);
    areas << qMakePair(QStringLiteral("value_inputbox"),
                       in_window(w, value, value->rect().adjusted(3, 3, -3, -3)));
    auto* list = variable_combo(w)->lineEdit();
    areas << qMakePair(QStringLiteral("variable_combo"),
                       in_window(w, list, list->rect().adjusted(1, 1, -1, -1)));
    for (int i = 0; i < glukara::button_count; ++i) {
        auto* b = cmd_button(w, i);
        QRect r = b->rect().adjusted(4, 4, -4, -4);
        // Under a picture only the caption's line.
        if (auto* t = qobject_cast<QToolButton*>(b))
            r.setTop((b->height() + t->iconSize().height()) / 2 + 2);
        areas << qMakePair(b->objectName(), in_window(w, b, r));
    }
    GlucoseChart* chart = glucose_chart(w);
    for (const GlucoseChart::Text& text : chart->texts())
        areas << qMakePair(QStringLiteral("chart: %1").arg(text.text),
                           in_window(w, chart, text.rect));
    return areas;
}

void show(QWidget& w)
{
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        qFatal("window not shown");
}

} // namespace

class TestTheme : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanup();
    void readable_colours_data();
    void readable_colours();
    void every_text_readable_data();
    void every_text_readable();
    void light_palette_keeps_design();
    void theme_switch_and_back();

  private:
    QPalette light;
};

void TestTheme::initTestCase()
{
    light = QApplication::palette();
    QVERIFY(luminance(light.color(QPalette::Window).rgb()) > 0.5);
}

void TestTheme::cleanup()
{
    QApplication::setPalette(light);
}

void TestTheme::readable_colours_data()
{
    QTest::addColumn<QColor>("wanted");
    QTest::addColumn<QColor>("ground");
    QTest::addColumn<int>("change"); // 0 kept, 1 made lighter, -1 made darker
    const QColor blue(0, 0, 255);
    QTest::newRow("blue on white") << blue << QColor("#ffffff") << 0;
    QTest::newRow("blue on Fusion's light grey") << blue << QColor("#efefef") << 0;
    QTest::newRow("blue on Adwaita dark") << blue << QColor("#323232") << 1;
    QTest::newRow("blue on black") << blue << QColor("#000000") << 1;
    QTest::newRow("blue on deep blue") << blue << QColor("#010b2c") << 1;
    QTest::newRow("blue on mid grey") << blue << QColor("#7f7f7f") << -1;
    QTest::newRow("grey on grey Midlight") << QColor("#b0b0b0") << QColor("#5e5c5b") << 1;
    QTest::newRow("light text on dark kept") << QColor("#f0f0f0") << QColor("#2a2a2a") << 0;
    QTest::newRow("black on light kept") << QColor("#000000") << QColor("#cacaca") << 0;
}

// The colour chosen reaches 4.5 : 1 and changes the wanted one only where it
// must, towards white on a dark ground and towards black on a light one,
// keeping its hue.
void TestTheme::readable_colours()
{
    QFETCH(QColor, wanted);
    QFETCH(QColor, ground);
    QFETCH(int, change);
    const QColor chosen = theme::readable(wanted, ground);
    QVERIFY2(contrast(chosen.rgb(), ground.rgb()) >= 4.5, qPrintable(chosen.name()));
    const double before = luminance(wanted.rgb());
    const double after = luminance(chosen.rgb());
    if (change == 0)
        QCOMPARE(chosen.name(), wanted.name());
    else if (change > 0)
        QVERIFY2(after > before, qPrintable(chosen.name()));
    else
        QVERIFY2(after < before, qPrintable(chosen.name()));
    if (wanted.hsvHue() >= 0 && change != 0)
        QVERIFY2(std::abs(chosen.hsvHue() - wanted.hsvHue()) <= 2, qPrintable(chosen.name()));
    // Not further than it must: the 4.5 : 1 with a little to spare.
    QVERIFY2(change == 0 || contrast(chosen.rgb(), ground.rgb()) < 5.2, qPrintable(chosen.name()));
}

void TestTheme::every_text_readable_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("switched"); // palette changed while the window is open
    struct Row {
        const char* name;
        QPalette palette;
        bool dark;
    };
    const Row rows[] = {
        {"light", light, false},
        {"Adwaita dark", palette_of(adwaita_dark), true},
        {"qt6ct darker", palette_of(qt6ct_darker), true},
        {"qt6ct waves", palette_of(qt6ct_waves), true},
        {"qt6ct dusk", palette_of(qt6ct_dusk), false},
    };
    for (const Row& row : rows)
        for (bool switched : {false, true})
            QTest::addRow("%s, %s", row.name, switched ? "switched to" : "at start")
                << row.palette << row.dark << switched;
}

void TestTheme::every_text_readable()
{
    QFETCH(QPalette, palette);
    QFETCH(bool, dark);
    QFETCH(bool, switched);
    if (!switched)
        QApplication::setPalette(palette);
    glukara w;
    show(w);
    fire_tick(w); // a message to read
    QVERIFY(!info_text(w).isEmpty());
    if (switched) {
        // As a desktop's theme switch arrives: the widgets take the new
        // palette from the event loop.
        QApplication::setPalette(palette);
        QTRY_COMPARE(w.palette().color(QPalette::Window), palette.color(QPalette::Window));
    }
    const QImage image = w.grab().toImage();
    QCOMPARE(image.size(), w.size());
    QStringList report;
    int areas = 0;
    for (const auto& [name, area] : text_areas(w)) {
        ++areas;
        QVERIFY2(image.rect().contains(area), qPrintable(name));
        const Measure m = measure(image, area);
        const QString line = QStringLiteral("%1: %2 : 1, text %3 on %4")
                                 .arg(name)
                                 .arg(m.ratio, 0, 'f', 2)
                                 .arg(QColor(m.text).name(), QColor(m.ground).name());
        if (m.ratio < 4.5)
            report << line;
    }
    // Seventeen controls, and the chart's title, six value labels and category.
    QCOMPARE(areas, 17 + 8);
    QVERIFY2(report.isEmpty(), qPrintable(report.join(QLatin1String("\n"))));

    // The chart's ground follows the palette, its bar keeps its colour.
    GlucoseChart* chart = glucose_chart(w);
    const QRect plot = chart->plot_area();
    const QPoint corner = chart->mapTo(&w, QPoint(2, 2));
    QCOMPARE(luminance(image.pixel(corner)) < 0.18, dark);
    const QPoint bar = chart->mapTo(&w, QPoint(plot.center().x(), plot.bottom() - 20));
    QCOMPARE(QColor(image.pixel(bar)), QColor(178, 34, 34));
    QCOMPARE(chart->font().pixelSize(), 16);
}

// Where the window is light the number keeps its designed pure blue, and the
// message its ground of the palette's Midlight.
void TestTheme::light_palette_keeps_design()
{
    glukara w;
    show(w);
    fire_tick(w);
    const QImage image = w.grab().toImage();
    auto* number = control<QLabel>(w, control_names::glycogen_level);
    QCOMPARE(QColor(measure(image, in_window(w, number, number->contentsRect())).text).name(),
             QColor(0, 0, 255).name());
    auto* message = control<QLabel>(w, control_names::element(control_names::info_text, 0));
    const Measure m = measure(image, in_window(w, message, message->contentsRect()));
    QCOMPARE(QColor(m.ground).name(), light.color(QPalette::Midlight).name());
    QCOMPARE(QColor(m.text).name(), light.color(QPalette::WindowText).name());
}

// A dark theme and back again leaves the window as it was; under the dark one
// the number is a lighter blue.
void TestTheme::theme_switch_and_back()
{
    glukara w;
    show(w);
    const QImage before = w.grab().toImage();
    const QPalette adwaita = palette_of(adwaita_dark);
    QApplication::setPalette(adwaita);
    QTRY_COMPARE(w.palette().color(QPalette::Window), adwaita.color(QPalette::Window));
    const QImage dark = w.grab().toImage();
    auto* number = control<QLabel>(w, control_names::glycogen_level);
    const QColor blue(measure(dark, in_window(w, number, number->contentsRect())).text);
    QVERIFY2(blue.blue() > blue.red() + 60 && blue.blue() > blue.green() + 60,
             qPrintable(blue.name()));
    QVERIFY2(luminance(blue.rgb()) > luminance(qRgb(0, 0, 255)), qPrintable(blue.name()));
    QVERIFY(dark != before);
    QApplication::setPalette(light);
    QTRY_COMPARE(w.palette().color(QPalette::Window), light.color(QPalette::Window));
    QCOMPARE(w.grab().toImage(), before);
}

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
