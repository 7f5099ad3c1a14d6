// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window as it opens: its controls, start-up, pictures and chart.
#include "window_access.h"

#include <QAccessible>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QtEndian>

class TestWindow : public QObject
{
    Q_OBJECT

  private slots:
    void controls_data();
    void controls();
    void window_is_fixed_with_close_box();
    void tab_order();
    void start_up_state();
    void load_centres_window_on_whole_screen();
    void first_display_runs_once();
    void chart_design();
    void bar_stands_on_scale_data();
    void bar_stands_on_scale();
    void tick_updates_message_and_chart_data();
    void tick_updates_message_and_chart();
    void bitmap_files_data();
    void bitmap_files();
    void buttons_share_pictures();
    void accessible_names_data();
    void accessible_names();
    void controls_are_labelled();
    void window_is_a_window_for_screen_readers();
    void value_box_text_runs_data();
    void value_box_text_runs();
    void review_lines_data();
    void review_lines();
};

namespace
{
QString parent_name(QObject* o)
{
    QObject* p = o->parent();
    return p ? p->objectName() : QString();
}
} // namespace

void TestWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixels"); // font size at 96 dots per inch
    QTest::addColumn<bool>("bold");
    auto row = [](const char* name, const char* kind, const char* container, QRect r,
                  const char* text, const char* family, int pixels, bool bold) {
        QTest::newRow(name) << name << kind << container << r << text << family << pixels << bold;
    };
    row("Frame2", "QGroupBox", "glukara", {320, 288, 257, 73}, "Glycogen store", "MS Sans Serif",
        11, true);
    row("glycogen_level", "QLabel", "Frame2", {16, 24, 225, 33}, "40", "Arial", 24, false);
    row("cmd_button_6", "QToolButton", "glukara", {600, 416, 137, 113}, "Secrete Glucagon", "Arial",
        13, true);
    row("cmd_button_5", "QToolButton", "glukara", {600, 280, 137, 113}, "Secrete Insulin", "Arial",
        13, true);
    row("cmd_button_4", "QPushButton", "glukara", {128, 472, 65, 49}, "Reset", "Arial", 13, true);
    row("model_frame", "QGroupBox", "glukara", {320, 368, 257, 161}, "Settings", "Arial", 13, true);
    row("diabetic_check", "QCheckBox", "model_frame", {160, 112, 81, 25}, "Diabetic?", "Arial", 13,
        false);
    row("value_inputbox", "QLineEdit", "model_frame", {16, 112, 65, 25}, "-1", "Arial", 13, false);
    row("variable_combo", "QComboBox", "model_frame", {16, 48, 225, 24}, "resting glucose use",
        "Arial", 13, false);
    row("Label1_1", "QLabel", "model_frame", {16, 88, 65, 17}, "Value", "Arial", 13, false);
    row("Label1_0", "QLabel", "model_frame", {16, 24, 57, 17}, "Variable", "Arial", 13, false);
    row("Frame1", "QGroupBox", "glukara", {320, 0, 257, 273}, "Information", "Arial", 13, true);
    row("info_text_0", "QLabel", "Frame1", {16, 24, 225, 217}, "", "Arial", 19, false);
    row("cmd_button_3", "QPushButton", "glukara", {224, 472, 65, 49}, "Quit", "Arial", 13, true);
    row("cmd_button_2", "QToolButton", "glukara", {600, 144, 137, 113}, "Go for a run", "Arial", 13,
        true);
    row("cmd_button_1", "QToolButton", "glukara", {600, 8, 137, 113}, "Eat a meal", "Arial", 13,
        true);
    row("cmd_button_0", "QPushButton", "glukara", {24, 472, 65, 49}, "Start", "Arial", 13, true);
    row("glucose_chart", "GlucoseChart", "glukara", {16, 8, 281, 441}, "", "Arial", 16, false);
    row("run_image", "QLabel", "glukara", {472, 280, 109, 60}, "", "", 0, false);
    row("rest_image", "QLabel", "glukara", {312, 280, 110, 60}, "", "", 0, false);
}

void TestWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    glukara w;
    auto* c = control<QWidget>(w, name);
    QCOMPARE(c->metaObject()->className(), kind);
    QCOMPARE(parent_name(c), container);
    QCOMPARE(c->geometry(), geometry);
    const bool hidden_image = name.endsWith(QLatin1String("_image"));
    QCOMPARE(c->isVisibleTo(&w), !hidden_image);
    QVERIFY(c->isEnabled());
    if (auto* b = qobject_cast<QAbstractButton*>(c))
        QCOMPARE(b->text(), text);
    else if (auto* g = qobject_cast<QGroupBox*>(c))
        QCOMPARE(g->title(), text);
    else if (auto* l = qobject_cast<QLabel*>(c); l && !hidden_image)
        QCOMPARE(l->text(), text);
    else if (auto* e = qobject_cast<QLineEdit*>(c))
        QCOMPARE(e->text(), text);
    else if (auto* combo = qobject_cast<QComboBox*>(c))
        QCOMPARE(combo->currentText(), text);
    if (!family.isEmpty()) {
        // Where the design's family is missing, Liberation Sans stands in.
        QCOMPARE(QFontInfo(c->font()).family(),
                 QFontDatabase::hasFamily(family) ? family : QStringLiteral("Liberation Sans"));
        QCOMPARE(c->font().pixelSize(), pixels);
        QCOMPARE(c->font().bold(), bold);
        QVERIFY(!c->font().italic() && !c->font().underline() && !c->font().strikeOut());
    }
}

void TestWindow::window_is_fixed_with_close_box()
{
    glukara w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Glukara"));
    QCOMPARE(w.size(), QSize(750, 538));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    const Qt::WindowFlags f = w.windowFlags();
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(!(f & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
    // It keeps its taskbar entry: a plain window, not a tool window.
    QCOMPARE(w.windowType(), Qt::Window);
    QVERIFY(!w.windowIcon().isNull());
    for (auto* b : w.findChildren<QPushButton*>()) {
        QVERIFY(!b->isDefault() && !b->autoDefault());
        QVERIFY(!b->text().contains('&'));
    }
}

void TestWindow::tab_order()
{
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), cmd_button(w, glukara::start_button));
    const QStringList expected = {"cmd_button_1",   "cmd_button_2",   "cmd_button_3",
                                  "variable_combo", "value_inputbox", "diabetic_check",
                                  "cmd_button_4",   "cmd_button_5",   "cmd_button_6",
                                  "cmd_button_0",   "cmd_button_1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestWindow::start_up_state()
{
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(chart_value(w), 100.0);
    QCOMPARE(info_text(w), QString());
    QCOMPARE(glycogen_level(w), QStringLiteral("40"));
    QCOMPARE(variable_combo(w)->currentIndex(), 0);
    QCOMPARE(value_inputbox(w)->text(), QStringLiteral("-1"));
    QVERIFY(!diabetic_check(w)->isChecked());
    QVERIFY(!glucose_timer(w)->isActive());
    QCOMPARE(glucose_timer(w)->interval(), 1000);
    QCOMPARE(glucose_timer(w)->timerType(), Qt::PreciseTimer);
    QCOMPARE(w.model.blood_glucose, 100.0f);
    QCOMPARE(w.model.resting_use, -1.0f);
    QStringList entries;
    for (int i = 0; i < variable_combo(w)->count(); ++i)
        entries << variable_combo(w)->itemText(i);
    QCOMPARE(entries, QStringList({"resting glucose use", "glucose use when running",
                                   "glucose input from a meal", "effect of insulin",
                                   "effect of glucagon", "glycogen store"}));
    // Time stands still until Start: no timer of the window runs that could
    // bring a change on its own.
    for (const auto* timer : w.findChildren<QTimer*>())
        QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
}

// The outer window, frame and title bar included, stands in the middle of the
// whole screen, within a pixel of where half the difference puts it.
void TestWindow::load_centres_window_on_whole_screen()
{
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QMargins frame = w.windowHandle()->frameMargins();
    const QSize outer(750 + frame.left() + frame.right(), 538 + frame.top() + frame.bottom());
    const QRect screen = w.screen()->geometry();
    const QPointF centred(screen.x() + (screen.width() - outer.width()) / 2.0,
                          screen.y() + (screen.height() - outer.height()) / 2.0);
    const QPoint outer_at = w.geometry().topLeft() - QPoint(frame.left(), frame.top());
    const QByteArray seen =
        QStringLiteral("frame %1 %2 %3 %4, outer window at %5,%6, centred at %7,%8")
            .arg(frame.left())
            .arg(frame.top())
            .arg(frame.right())
            .arg(frame.bottom())
            .arg(outer_at.x())
            .arg(outer_at.y())
            .arg(centred.x())
            .arg(centred.y())
            .toUtf8();
    QVERIFY2(std::abs(outer_at.x() - centred.x()) <= 1, seen.constData());
    QVERIFY2(std::abs(outer_at.y() - centred.y()) <= 1, seen.constData());
}

void TestWindow::first_display_runs_once()
{
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    click(cmd_button(w, glukara::run_button));
    QCOMPARE(cmd_button(w, glukara::run_button)->text(), QStringLiteral("Take a rest"));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&w, &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &activate);
    QCOMPARE(cmd_button(w, glukara::run_button)->text(), QStringLiteral("Take a rest"));
    QVERIFY(w.model.is_running);
}

void TestWindow::chart_design()
{
    glukara w;
    GlucoseChart* chart = glucose_chart(w);
    QCOMPARE(chart->property("title").toString(), QStringLiteral("Blood glucose (mg / 100 ml)"));
    QCOMPARE(chart->property("seriesName").toString(),
             QStringLiteral("Blood glucose (mg / 100ml)"));
    QCOMPARE(chart->property("category").toString(), QStringLiteral("Blood Glucose"));
    QStringList shown;
    for (const GlucoseChart::Text& t : chart->texts())
        shown << t.text;
    QCOMPARE(shown, QStringList({"Blood glucose (mg / 100 ml)", "30", "60", "90", "120", "150",
                                 "180", "Blood Glucose"}));
    QCOMPARE(chart->accessibleName(), QStringLiteral("Blood glucose (mg / 100 ml)"));
    QCOMPARE(chart->accessibleDescription(), QStringLiteral("100"));
}

void TestWindow::bar_stands_on_scale_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("ratio");
    for (double value : {30.0, 60.0, 97.5, 100.0, 138.0, 180.0})
        for (bool dark : {false, true})
            for (int ratio : {1, 2})
                QTest::addRow("%g %s %dx", value, dark ? "dark" : "light", ratio)
                    << value << dark << ratio;
}

// Read from the pixels: the rows of the scale's tick marks, and the bar's top
// edge, which must stand where a straight line through the ticks of 30 and 180
// puts the value. The scale itself never moves.
void TestWindow::bar_stands_on_scale()
{
    QFETCH(double, value);
    QFETCH(bool, dark);
    QFETCH(int, ratio);
    glukara w;
    GlucoseChart* chart = glucose_chart(w);
    chart->set_dark(dark);
    chart->set_value(value);
    QImage image(chart->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    chart->render(&image);

    // Just left of the axis line, the ticks are the only marks on the ground.
    const int tick_x = (chart->plot_area().left() - 2) * ratio;
    QList<int> ticks;
    // Below the title, whose letters would cross the column too.
    for (int y = (chart->texts().first().rect.bottom() + 1) * ratio; y < image.height(); ++y) {
        const bool mark = image.pixel(tick_x, y) != image.pixel(0, y);
        if (mark && image.pixel(tick_x, y - 1) == image.pixel(0, y - 1))
            ticks << y;
    }
    QStringList rows;
    for (int y : ticks)
        rows << QString::number(y);
    const QByteArray seen = "tick rows " + rows.join(QLatin1Char(' ')).toLatin1();
    QVERIFY2(ticks.size() == 6, seen.constData());
    // Where the chart had them in Qt Charts' drawing: 180 at 52, 30 at 395.
    QVERIFY2(std::abs(ticks.first() - 52 * ratio) <= 1, seen.constData());
    QVERIFY2(std::abs(ticks.last() - 395 * ratio) <= 1, seen.constData());

    const int bar_x = chart->plot_area().center().x() * ratio;
    int top = ticks.last();
    for (int y = 0; y < ticks.last(); ++y)
        if (QColor(image.pixel(bar_x, y)) == QColor(178, 34, 34)) {
            top = y;
            break;
        }
    const double expected = ticks.first() + (180 - value) / 150 * (ticks.last() - ticks.first());
    QVERIFY2(std::abs(top - expected) <= 1,
             qPrintable(QStringLiteral("bar top at %1, scale puts %2 at %3")
                            .arg(top)
                            .arg(value)
                            .arg(expected)));
}

void TestWindow::tick_updates_message_and_chart_data()
{
    QTest::addColumn<float>("glucose");
    QTest::addColumn<float>("resting");
    QTest::addColumn<double>("shown");
    QTest::addColumn<QString>("shown_text");
    QTest::addColumn<QString>("message");
    const QString normal = "The blood glucose level is within normal limits.";
    const QString coma = "The person is unconscious.  This is hypoglycaemic coma.";
    QTest::newRow("first tick") << 100.0f << -1.0f << 99.0 << "99" << normal;
    QTest::newRow("fraction shown exactly") << 100.0f << -2.5f << 97.5 << "97.5" << normal;
    // 220 lies in no band: the message of the tick before stays.
    QTest::newRow("held at 180, message kept") << 221.0f << -1.0f << 180.0 << "180" << normal;
    QTest::newRow("held at 30 with coma") << 31.0f << -2.0f << 30.0 << "30" << coma;
    QTest::newRow("seven digits reach the chart")
        << 100.0f << -0.123456789f << 99.87654 << "99.87654" << normal;
}

void TestWindow::tick_updates_message_and_chart()
{
    QFETCH(float, glucose);
    QFETCH(float, resting);
    QFETCH(double, shown);
    QFETCH(QString, shown_text);
    QFETCH(QString, message);
    glukara w;
    fire_tick(w);
    QCOMPARE(info_text(w), QStringLiteral("The blood glucose level is within normal limits."));
    w.model.blood_glucose = glucose;
    w.model.resting_use = resting;
    fire_tick(w);
    QCOMPARE(chart_value(w), shown);
    QCOMPARE(info_text(w), message);
    QCOMPARE(glucose_chart(w)->accessibleDescription(), shown_text);
}

void TestWindow::bitmap_files_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("meal") << "meal_picture" << 119 << 56;
    QTest::newRow("runners") << "runners_picture" << 109 << 60;
    QTest::newRow("pancreas") << "pancreas_picture" << 109 << 60;
    QTest::newRow("resting") << "resting_picture" << 110 << 60;
}

// The carried pictures are 24-bit, uncompressed, bottom-up bitmaps at 96 dpi
// with no colour table.
void TestWindow::bitmap_files()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFile file(QStringLiteral(":/pictures/%1.bmp").arg(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    QVERIFY(data.size() >= 54);
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(data.constData() + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(data.constData() + at); };
    auto s32 = [&](int at) { return qFromLittleEndian<qint32>(data.constData() + at); };
    QCOMPARE(data.left(2), QByteArray("BM"));
    QCOMPARE(u32(2), quint32(data.size()));
    QCOMPARE(u32(10), 54u); // pixels right after the headers: no colour table
    QCOMPARE(u32(14), 40u);
    QCOMPARE(s32(18), width);
    QCOMPARE(s32(22), height); // positive: bottom row first
    QCOMPARE(u16(26), quint16(1));
    QCOMPARE(u16(28), quint16(24));
    QCOMPARE(u32(30), 0u); // uncompressed
    QCOMPARE(s32(38), 3780);
    QCOMPARE(s32(42), 3780);
    QCOMPARE(u32(46), 0u);
    const int row = (width * 3 + 3) / 4 * 4;
    QCOMPARE(data.size(), 54 + row * height);
    for (int y = 0; y < height; ++y)
        for (int pad = width * 3; pad < row; ++pad)
            QCOMPARE(data.at(54 + y * row + pad), '\0');
}

void TestWindow::buttons_share_pictures()
{
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto picture = [&](int index) {
        auto* b = static_cast<QToolButton*>(cmd_button(w, index));
        return b->icon().pixmap(b->iconSize()).toImage();
    };
    const QImage run = control<QLabel>(w, control_names::run_image)->pixmap().toImage();
    const QImage rest = control<QLabel>(w, control_names::rest_image)->pixmap().toImage();
    QCOMPARE(run.size(), QSize(109, 60));
    QCOMPARE(rest.size(), QSize(110, 60));
    QCOMPARE(picture(2), run);
    QCOMPARE(picture(5), picture(6));
    QCOMPARE(picture(1).size(), QSize(119, 56));
    QVERIFY(picture(1) != picture(5));
    QVERIFY(qobject_cast<QPushButton*>(cmd_button(w, glukara::start_button)));
    const QSize size = cmd_button(w, glukara::run_button)->size();
    click(cmd_button(w, glukara::run_button));
    QCOMPARE(picture(2), rest);
    QCOMPARE(cmd_button(w, glukara::run_button)->size(), size);
}

void TestWindow::accessible_names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("value"); // what an editable control holds
    QTest::newRow("Start") << "cmd_button_0"
                           << "Start"
                           << "";
    QTest::newRow("Eat a meal") << "cmd_button_1"
                                << "Eat a meal"
                                << "";
    QTest::newRow("Go for a run") << "cmd_button_2"
                                  << "Go for a run"
                                  << "";
    QTest::newRow("Quit") << "cmd_button_3"
                          << "Quit"
                          << "";
    QTest::newRow("Reset") << "cmd_button_4"
                           << "Reset"
                           << "";
    QTest::newRow("Secrete Insulin") << "cmd_button_5"
                                     << "Secrete Insulin"
                                     << "";
    QTest::newRow("Secrete Glucagon") << "cmd_button_6"
                                      << "Secrete Glucagon"
                                      << "";
    // As Qt gives them: on Linux a combo box speaks its text, and the label it
    // is labelled by; on Windows its name is its label and its text its value.
#ifdef Q_OS_UNIX
    QTest::newRow("list") << "variable_combo"
                          << "resting glucose use"
                          << "resting glucose use";
#else
    QTest::newRow("list") << "variable_combo"
                          << "Variable"
                          << "resting glucose use";
#endif
    QTest::newRow("value box") << "value_inputbox"
                               << "Value"
                               << "-1";
    QTest::newRow("check box") << "diabetic_check"
                               << "Diabetic?"
                               << "";
    QTest::newRow("information frame") << "Frame1"
                                       << "Information"
                                       << "";
    QTest::newRow("glycogen frame") << "Frame2"
                                    << "Glycogen store"
                                    << "";
    QTest::newRow("settings frame") << "model_frame"
                                    << "Settings"
                                    << "";
    QTest::newRow("glycogen store") << "glycogen_level"
                                    << "Glycogen store 40"
                                    << "";
    QTest::newRow("chart") << "glucose_chart"
                           << "Blood glucose (mg / 100 ml)"
                           << "";
}

void TestWindow::accessible_names()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    QFETCH(QString, value);
    glukara w;
    w.show();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control<QWidget>(w, name));
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), spoken);
    if (!value.isEmpty())
        QCOMPARE(a->text(QAccessible::Value), value);
}

void TestWindow::controls_are_labelled()
{
    glukara w;
    w.show();
    auto label_of = [&](const char* name) {
        const auto relations = QAccessible::queryAccessibleInterface(control<QWidget>(w, name))
                                   ->relations(QAccessible::Label);
        return relations.isEmpty() ? QString() : relations.at(0).first->text(QAccessible::Name);
    };
    QCOMPARE(label_of("variable_combo"), QStringLiteral("Variable"));
    QCOMPARE(label_of("value_inputbox"), QStringLiteral("Value"));
}

void TestWindow::window_is_a_window_for_screen_readers()
{
    glukara w;
    w.show();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&w);
    QCOMPARE(a->role(), QAccessible::Window);
    QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Glukara"));
}

void TestWindow::value_box_text_runs_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("offset");
    QTest::newRow("start of -1") << "-1" << 0;
    QTest::newRow("last character of -1") << "-1" << 1;
    QTest::newRow("end of -1") << "-1" << 2;
    QTest::newRow("inside 97.5") << "97.5" << 2;
    QTest::newRow("empty") << "" << 0;
}

// Screen readers read a line edit by its runs of text attributes: a run of
// length zero makes Orca drop the last character of '-1'.
void TestWindow::value_box_text_runs()
{
    QFETCH(QString, typed);
    QFETCH(int, offset);
    glukara w;
    w.show();
    QLineEdit* box = value_inputbox(w);
    box->setText(typed);
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(box)->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), typed);
    int start = -1;
    int end = -1;
    text->attributes(offset, &start, &end);
    QCOMPARE(start, 0);
    QCOMPARE(end, int(typed.size()));
    QCOMPARE(text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end), typed);
}

void TestWindow::review_lines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line"); // what a screen reader's review of the window reads
    QTest::newRow("glycogen store") << "glycogen_level"
                                    << "Glycogen store 40";
    // The chart's drawing area: the chart keeps its title as its name.
    QTest::newRow("level") << "glucose_chart"
                           << "Blood glucose 100 mg per 100 ml.";
}

void TestWindow::review_lines()
{
    QFETCH(QString, name);
    QFETCH(QString, line);
    glukara w;
    w.show();
    QWidget* widget = control<QWidget>(w, name);
    if (auto* chart = qobject_cast<GlucoseChart*>(widget))
        widget = chart->drawing_area();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    QCOMPARE(a->text(QAccessible::Name), line);
    QVERIFY(!a->state().invisible);
    QVERIFY(!a->rect().isEmpty());
    // The sighted student's view stays as it was.
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), QStringLiteral("40"));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
