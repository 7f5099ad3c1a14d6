// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulation driven as a student drives it: buttons, the settings panel,
// and the clock.
#include "window_access.h"

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>

namespace
{

const QString normal = "The blood glucose level is within normal limits.";
const QString high = "Blood glucose is high but still within the acceptable range.";
const QString too_high = "Blood glucose is too high and cells will be losing water due to the "
                         "low water potential of the blood plasma.";
const QString low = "Blood glucose is low but still within the acceptable range.";
const QString coma = "The person is unconscious.  This is hypoglycaemic coma.";

struct Window : ShownWindow {
    void press(glukara::ButtonIndex b) { click(cmd_button(w, b)); }
    void choose(int entry) { choose_entry(w, entry); }
    void type(const QString& text) { type_value(w, text); }
    void set(int entry, const QString& text)
    {
        choose(entry);
        type(text);
    }
    bool run_face_shown() const
    {
        QAbstractButton* b = cmd_button(w, glukara::run_button);
        return b->icon().pixmap(b->iconSize()).toImage() ==
               control<QLabel>(w, control_names::run_image)->pixmap().toImage();
    }
};

enum Entry { resting_use, running_use, meal_input, insulin_effect, glucagon_effect, store };

} // namespace

class TestSimulation : public QObject
{
    Q_OBJECT

  private slots:
    void typical_use();
    void start_stop_continues();
    void guards_data();
    void guards();
    void run_and_rest_faces();
    void reset_restores_start_data();
    void reset_restores_start();
    void typing_insulin_effect_data();
    void typing_insulin_effect();
    void user_click_on_diabetic_data();
    void user_click_on_diabetic();
    void diabetic_under_another_entry();
    void leading_zeros_until_refresh();
    void choosing_an_entry_data();
    void choosing_an_entry();
    void no_entry_selected();
    void enter_moves_to_list();
    void glycogen_label_refreshes_data();
    void glycogen_label_refreshes();
    void overflow_reports_once_and_goes_on();
    void repeated_invalid_ticks_never_stack();
    void quit_and_close_end_the_program_data();
    void quit_and_close_end_the_program();
};

void TestSimulation::typical_use()
{
    Window t;
    t.press(glukara::start_button);
    QCOMPARE(cmd_button(t.w, glukara::start_button)->text(), QStringLiteral("Stop"));
    QVERIFY(glucose_timer(t.w)->isActive());
    fire_tick(t.w);
    QCOMPARE(t.w.model.blood_glucose, 99.0f);
    QCOMPARE(info_text(t.w), normal);
    QCOMPARE(chart_value(t.w), 99.0);
    t.press(glukara::meal_button);
    QCOMPARE(t.w.model.blood_glucose, 139.0f);
    QCOMPARE(chart_value(t.w), 99.0);
    QCOMPARE(info_text(t.w), normal);
    fire_tick(t.w);
    QCOMPARE(chart_value(t.w), 138.0);
    QCOMPARE(info_text(t.w), too_high);
    t.press(glukara::insulin_button);
    QCOMPARE(t.w.model.blood_glucose, 128.0f);
    QCOMPARE(t.w.model.glycogen_store, 50.0f);
    QCOMPARE(glycogen_level(t.w), QStringLiteral("50"));
    fire_tick(t.w);
    QCOMPARE(chart_value(t.w), 127.0);
    QCOMPARE(info_text(t.w), high);
    // The real clock, too.
    QTRY_COMPARE_WITH_TIMEOUT(chart_value(t.w), 126.0, 2500);
}

void TestSimulation::start_stop_continues()
{
    Window t;
    t.press(glukara::start_button);
    fire_tick(t.w);
    t.press(glukara::start_button);
    QCOMPARE(cmd_button(t.w, glukara::start_button)->text(), QStringLiteral("Start"));
    QVERIFY(!glucose_timer(t.w)->isActive());
    t.press(glukara::start_button);
    fire_tick(t.w);
    QCOMPARE(t.w.model.blood_glucose, 98.0f);
}

void TestSimulation::guards_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("time_runs");
    QTest::addColumn<bool>("diabetic");
    QTest::addColumn<QString>("glucagon"); // typed under "effect of glucagon"
    QTest::addColumn<int>("presses");
    QTest::addColumn<float>("glucose");
    QTest::addColumn<float>("stored");
    // What the next tick shows, once time runs.
    QTest::addColumn<double>("bar");
    QTest::addColumn<QString>("message");
    QTest::newRow("meal while stopped") << int(glukara::meal_button) << false << false << "10" << 1
                                        << 100.0f << 40.0f << 99.0 << normal;
    QTest::newRow("meal while running") << int(glukara::meal_button) << true << false << "10" << 1
                                        << 140.0f << 40.0f << 139.0 << too_high;
    QTest::newRow("insulin while stopped") << int(glukara::insulin_button) << false << false << "10"
                                           << 1 << 100.0f << 40.0f << 99.0 << normal;
    QTest::newRow("insulin when diabetic") << int(glukara::insulin_button) << true << true << "10"
                                           << 1 << 100.0f << 40.0f << 99.0 << normal;
    QTest::newRow("insulin") << int(glukara::insulin_button) << true << false << "10" << 1 << 90.0f
                             << 50.0f << 89.0 << low;
    // Between ticks nothing holds the level; the next tick does.
    QTest::newRow("insulin below 30") << int(glukara::insulin_button) << true << false << "10" << 8
                                      << 20.0f << 120.0f << 30.0 << coma;
    QTest::newRow("glucagon while stopped") << int(glukara::glucagon_button) << false << false
                                            << "10" << 1 << 100.0f << 40.0f << 99.0 << normal;
    QTest::newRow("glucagon at equality") << int(glukara::glucagon_button) << true << false << "40"
                                          << 1 << 140.0f << 0.0f << 139.0 << too_high;
    QTest::newRow("glucagon above store") << int(glukara::glucagon_button) << true << false
                                          << "40.5" << 1 << 100.0f << 40.0f << 99.0 << normal;
    QTest::newRow("glucagon") << int(glukara::glucagon_button) << true << false << "10" << 1
                              << 110.0f << 30.0f << 109.0 << high;
}

void TestSimulation::guards()
{
    QFETCH(int, button);
    QFETCH(bool, time_runs);
    QFETCH(bool, diabetic);
    QFETCH(QString, glucagon);
    QFETCH(int, presses);
    QFETCH(float, glucose);
    QFETCH(float, stored);
    QFETCH(double, bar);
    QFETCH(QString, message);
    Window t;
    t.set(glucagon_effect, glucagon);
    if (diabetic)
        click(diabetic_check(t.w));
    if (time_runs)
        t.press(glukara::start_button);
    for (int i = 0; i < presses; ++i)
        t.press(glukara::ButtonIndex(button));
    QCOMPARE(t.w.model.blood_glucose, glucose);
    QCOMPARE(t.w.model.glycogen_store, stored);
    QCOMPARE(info_text(t.w), QString());
    QCOMPARE(chart_value(t.w), 100.0);
    if (!time_runs)
        t.press(glukara::start_button);
    fire_tick(t.w);
    QCOMPARE(chart_value(t.w), bar);
    QCOMPARE(info_text(t.w), message);
}

void TestSimulation::run_and_rest_faces()
{
    Window t;
    t.press(glukara::run_button);
    QVERIFY(t.w.model.is_running);
    QCOMPARE(cmd_button(t.w, glukara::run_button)->text(), QStringLiteral("Take a rest"));
    QVERIFY(!t.run_face_shown());
    QCOMPARE(t.w.model.blood_glucose, 100.0f);
    t.press(glukara::start_button);
    fire_tick(t.w);
    QCOMPARE(t.w.model.blood_glucose, 94.0f);
    t.press(glukara::run_button);
    QVERIFY(!t.w.model.is_running);
    QCOMPARE(cmd_button(t.w, glukara::run_button)->text(), QStringLiteral("Go for a run"));
    QVERIFY(t.run_face_shown());
    fire_tick(t.w);
    QCOMPARE(t.w.model.blood_glucose, 93.0f);
}

void TestSimulation::reset_restores_start_data()
{
    QTest::addColumn<bool>("time_runs");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("diabetic");
    QTest::newRow("while time runs") << true << false << false;
    QTest::newRow("while the person runs") << true << true << false;
    QTest::newRow("while stopped and diabetic") << false << true << true;
}

void TestSimulation::reset_restores_start()
{
    QFETCH(bool, time_runs);
    QFETCH(bool, running);
    QFETCH(bool, diabetic);
    Window t;
    t.set(store, "12");
    t.set(meal_input, "55");
    t.press(glukara::start_button);
    t.press(glukara::meal_button);
    fire_tick(t.w);
    if (running)
        t.press(glukara::run_button);
    if (diabetic)
        click(diabetic_check(t.w));
    if (!time_runs)
        t.press(glukara::start_button);
    t.press(glukara::reset_button);

    QVERIFY(!glucose_timer(t.w)->isActive());
    QCOMPARE(cmd_button(t.w, glukara::start_button)->text(), QStringLiteral("Start"));
    QCOMPARE(cmd_button(t.w, glukara::run_button)->text(), QStringLiteral("Go for a run"));
    QVERIFY(t.run_face_shown());
    QCOMPARE(chart_value(t.w), 100.0);
    QCOMPARE(info_text(t.w), QString());
    QCOMPARE(variable_combo(t.w)->currentText(), QStringLiteral("resting glucose use"));
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("-1"));
    QCOMPARE(glycogen_level(t.w), QStringLiteral("40"));
    const glukara_code::ModelState& m = t.w.model;
    QCOMPARE(m.blood_glucose, 100.0f);
    QCOMPARE(m.meal_input, 40.0f);
    QCOMPARE(m.glycogen_store, 40.0f);
    QVERIFY(!m.is_running && !m.is_diabetic);
    // The box is left as it was, and goes on blocking insulin.
    QCOMPARE(diabetic_check(t.w)->isChecked(), diabetic);
    // The panel edits the resting use again, and the person rests.
    t.type("-2.5");
    t.press(glukara::start_button);
    fire_tick(t.w);
    QCOMPARE(chart_value(t.w), 97.5);
    QCOMPARE(control<QWidget>(t.w, control_names::glucose_chart)->accessibleDescription(), "97.5");
    t.press(glukara::insulin_button);
    QCOMPARE(m.blood_glucose, diabetic ? 97.5f : 87.5f);
    // The run button's next press makes the person run.
    t.press(glukara::run_button);
    QCOMPARE(cmd_button(t.w, glukara::run_button)->text(), QStringLiteral("Take a rest"));
}

void TestSimulation::typing_insulin_effect_data()
{
    QTest::addColumn<bool>("start_diabetic");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("effect");
    QTest::addColumn<bool>("checked");
    QTest::newRow("negative number") << false << "-15" << -15.0f << false;
    QTest::newRow("fraction without zero") << false << ".5" << 0.5f << false;
    QTest::newRow("deleted") << false << "" << 0.0f << true;
    QTest::newRow("zero") << false << "0" << 0.0f << true;
    QTest::newRow("no number") << false << "abc" << 0.0f << true;
    QTest::newRow("lone minus") << false << "-" << 0.0f << true;
    QTest::newRow("leading zero when diabetic") << true << "05" << 5.0f << false;
    QTest::newRow("zero when diabetic") << true << "0" << 0.0f << true;
}

// What the user types stays as typed, and the box follows the typed value.
void TestSimulation::typing_insulin_effect()
{
    QFETCH(bool, start_diabetic);
    QFETCH(QString, typed);
    QFETCH(float, effect);
    QFETCH(bool, checked);
    Window t;
    if (start_diabetic)
        t.set(insulin_effect, "0");
    t.set(insulin_effect, typed);
    QCOMPARE(value_inputbox(t.w)->text(), typed);
    QCOMPARE(t.w.model.insulin_effect, effect);
    QCOMPARE(diabetic_check(t.w)->isChecked(), checked);
    QCOMPARE(t.w.model.is_diabetic, checked);
    t.press(glukara::start_button);
    t.press(glukara::insulin_button);
    QCOMPARE(t.w.model.blood_glucose, checked ? 100.0f : 100.0f + effect);
}

void TestSimulation::user_click_on_diabetic_data()
{
    QTest::addColumn<QString>("typed"); // a null string: nothing typed
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<float>("effect");
    // Showing the same text again is no change: the box stays checked.
    QTest::newRow("check with the effect shown") << QString() << 1 << "-10" << true << -10.0f;
    QTest::newRow("check, then uncheck") << QString() << 2 << "-10" << false << -10.0f;
    // The refresh rewrites the typed text, and the click still sticks.
    QTest::newRow("check after typing 05") << "05" << 1 << "5" << true << 5.0f;
    QTest::newRow("uncheck after deleting") << "" << 1 << "0" << false << 0.0f;
    // Unchecking does not bring back an effect: insulin then adds nothing.
    QTest::newRow("uncheck after typing 0") << "0" << 1 << "0" << false << 0.0f;
}

void TestSimulation::user_click_on_diabetic()
{
    QFETCH(QString, typed);
    QFETCH(int, clicks);
    QFETCH(QString, shown);
    QFETCH(bool, checked);
    QFETCH(float, effect);
    Window t;
    t.choose(insulin_effect);
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("-10"));
    if (!typed.isNull())
        t.type(typed);
    for (int i = 0; i < clicks; ++i)
        click(diabetic_check(t.w));
    QCOMPARE(diabetic_check(t.w)->isChecked(), checked);
    QCOMPARE(t.w.model.is_diabetic, checked);
    QCOMPARE(value_inputbox(t.w)->text(), shown);
    QCOMPARE(t.w.model.insulin_effect, effect);
    t.press(glukara::start_button);
    t.press(glukara::insulin_button);
    QCOMPARE(t.w.model.blood_glucose, checked ? 100.0f : 100.0f + effect);
    QCOMPARE(t.w.model.glycogen_store, checked ? 40.0f : 40.0f - effect);
}

void TestSimulation::diabetic_under_another_entry()
{
    Window t;
    t.choose(glucagon_effect);
    click(diabetic_check(t.w));
    QVERIFY(t.w.model.is_diabetic);
    QCOMPARE(t.w.model.insulin_effect, -10.0f);
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("10"));
}

void TestSimulation::leading_zeros_until_refresh()
{
    Window t;
    t.set(meal_input, "007");
    QCOMPARE(t.w.model.meal_input, 7.0f);
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("007"));
    t.choose(insulin_effect);
    t.choose(meal_input);
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("7"));
    // Typing stores at every keystroke.
    t.set(resting_use, "-0.25");
    QCOMPARE(t.w.model.resting_use, -0.25f);
    t.press(glukara::start_button);
    fire_tick(t.w);
    QCOMPARE(chart_value(t.w), 99.75);
}

void TestSimulation::choosing_an_entry_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("shown");
    QTest::newRow("keys: glycogen store") << "keys" << int(store) << "40";
    QTest::newRow("mouse: glycogen store") << "mouse" << int(store) << "40";
    QTest::newRow("mouse: effect of insulin") << "mouse" << int(insulin_effect) << "-10";
    // The junk was stored as 0, and choosing the entry again shows it so.
    QTest::newRow("mouse: the entry already chosen") << "mouse" << int(resting_use) << "0";
    QTest::newRow("name typed: glycogen store") << "typed" << int(store) << "40";
    QTest::newRow("name typed: glucose use when running") << "typed" << int(running_use) << "-5";
}

void TestSimulation::choosing_an_entry()
{
    QFETCH(QString, way);
    QFETCH(int, entry);
    QFETCH(QString, shown);
    Window t;
    QComboBox* combo = variable_combo(t.w);
    value_inputbox(t.w)->setText("junk"); // stores junk as 0 under the first entry
    if (way == "keys") {
        t.choose(entry);
    } else if (way == "mouse") {
        QStyleOptionComboBox arrow;
        arrow.initFrom(combo);
        arrow.editable = true;
        const QRect button = combo->style()->subControlRect(QStyle::CC_ComboBox, &arrow,
                                                            QStyle::SC_ComboBoxArrow, combo);
        QTest::mouseClick(combo, Qt::LeftButton, {}, button.center());
        QAbstractItemView* list = combo->view();
        QTRY_VERIFY(list->isVisible());
        const QRect row = list->visualRect(list->model()->index(entry, 0));
        // The list ignores a release that follows its opening too closely.
        QTest::mouseMove(list->viewport(), row.center(), QApplication::doubleClickInterval());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTRY_VERIFY(!list->isVisible());
    } else {
        combo->setFocus();
        QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(combo->lineEdit(), glukara_code::parameter_names[entry]);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    }
    QCOMPARE(t.w.parameter_index(), entry);
    QCOMPARE(combo->currentText(), QString(glukara_code::parameter_names[entry]));
    QCOMPARE(value_inputbox(t.w)->text(), shown);
    QCOMPARE(combo->count(), 6);
    t.type("12");
    QCOMPARE(t.w.model.*glukara_code::parameter_fields[std::size_t(entry)], 12.0f);
}

void TestSimulation::no_entry_selected()
{
    Window t;
    t.set(store, "77");
    QCOMPARE(glycogen_level(t.w), QStringLiteral("40"));
    QComboBox* combo = variable_combo(t.w);
    combo->setFocus();
    QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo->lineEdit(), "nothing");
    QCOMPARE(t.w.parameter_index(), -1);
    QCOMPARE(combo->count(), 6);
    t.type("55");
    QCOMPARE(t.w.model.resting_use, -1.0f);
    QCOMPARE(t.w.model.glycogen_store, 77.0f);
    // A refresh updates only the glycogen label.
    click(diabetic_check(t.w));
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("55"));
    QCOMPARE(glycogen_level(t.w), QStringLiteral("77"));
    t.press(glukara::reset_button);
    QCOMPARE(combo->currentText(), QStringLiteral("resting glucose use"));
    QCOMPARE(t.w.parameter_index(), 0);
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("-1"));
}

void TestSimulation::enter_moves_to_list()
{
    Window t;
    t.set(meal_input, "45");
    QTest::keyClick(value_inputbox(t.w), Qt::Key_Return);
    QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("45"));
    QCOMPARE(QApplication::focusWidget(), variable_combo(t.w));
    QCOMPARE(t.w.model.meal_input, 45.0f);
    QVERIFY(!glucose_timer(t.w)->isActive()); // no button was pressed
}

void TestSimulation::glycogen_label_refreshes_data()
{
    // A button, or -1 for a click on "Diabetic?", or -2 for another entry of the list.
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("label");
    QTest::newRow("insulin") << int(glukara::insulin_button) << "87";
    QTest::newRow("glucagon") << int(glukara::glucagon_button) << "67";
    QTest::newRow("check box") << -1 << "77";
    QTest::newRow("another entry") << -2 << "77";
    QTest::newRow("reset") << int(glukara::reset_button) << "40";
}

void TestSimulation::glycogen_label_refreshes()
{
    QFETCH(int, action);
    QFETCH(QString, label);
    Window t;
    t.set(store, "77");
    QCOMPARE(t.w.model.glycogen_store, 77.0f);
    QCOMPARE(glycogen_level(t.w), QStringLiteral("40"));
    t.press(glukara::start_button);
    if (action == -1)
        click(diabetic_check(t.w));
    else if (action == -2)
        t.choose(meal_input);
    else
        t.press(glukara::ButtonIndex(action));
    QCOMPARE(glycogen_level(t.w), label);
}

void TestSimulation::overflow_reports_once_and_goes_on()
{
    Window t;
    t.set(meal_input, "3e38");
    t.press(glukara::start_button);
    t.press(glukara::meal_button);
    QCOMPARE(visible_error_boxes(t.w).size(), 0);
    t.press(glukara::meal_button);
    const auto boxes = visible_error_boxes(t.w);
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.at(0)->text().contains(QLatin1String("'6'")));
    QVERIFY(boxes.at(0)->text().contains(QLatin1String("Overflow")));
    QVERIFY(std::isinf(t.w.model.blood_glucose));
    boxes.at(0)->accept();
    QTRY_COMPARE(visible_error_boxes(t.w).size(), 0);
    fire_tick(t.w);
    QCOMPARE(chart_value(t.w), 180.0);
    QVERIFY(glucose_timer(t.w)->isActive());
}

void TestSimulation::repeated_invalid_ticks_never_stack()
{
    Window t;
    t.set(resting_use, "-1e39");
    t.set(running_use, "1e39");
    QVERIFY(std::isinf(t.w.model.running_use));
    t.press(glukara::run_button);
    t.press(glukara::start_button);
    int faults = 0;
    for (int i = 0; i < 8; ++i) {
        fire_tick(t.w);
        if (std::isnan(t.w.model.blood_glucose))
            ++faults;
        else
            QCOMPARE(t.w.model.blood_glucose, 30.0f);
        QVERIFY(visible_error_boxes(t.w).size() <= 1);
    }
    QCOMPARE(faults, 4);
    QCOMPARE(visible_error_boxes(t.w).size(), 1);
    visible_error_boxes(t.w).at(0)->accept();
    QTRY_COMPARE(visible_error_boxes(t.w).size(), 0);
    fire_tick(t.w);
    fire_tick(t.w);
    QCOMPARE(visible_error_boxes(t.w).size(), 1);
}

void TestSimulation::quit_and_close_end_the_program_data()
{
    QTest::addColumn<bool>("close_box");
    QTest::newRow("Quit") << false;
    QTest::newRow("close box") << true;
}

void TestSimulation::quit_and_close_end_the_program()
{
    QFETCH(bool, close_box);
    Window t;
    t.press(glukara::start_button);
    QTimer::singleShot(0, &t.w, [&] {
        if (close_box)
            t.w.close();
        else
            t.press(glukara::quit_button);
    });
    QTimer guard;
    guard.setSingleShot(true);
    bool ended_by_guard = false;
    connect(&guard, &QTimer::timeout, [&] {
        ended_by_guard = true;
        QApplication::exit(1);
    });
    guard.start(5000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!ended_by_guard);
}

QTEST_MAIN(TestSimulation)
#include "tst_simulation.moc"
