// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Thousands of random actions on the window with a fixed seed, checking after
// every step that the program's invariants hold. GLUKARA_RANDOM_STEPS sets a
// longer run, GLUKARA_RANDOM_SEED another seed.
#include "window_access.h"

#include <cmath>
#include <random>

class TestRandomActions : public QObject
{
    Q_OBJECT

  private slots:
    void invariants_hold();
};

namespace
{

int setting(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

QString random_text(std::mt19937& random)
{
    static const QStringList pieces = {
        "0",        "1",        "9",         "-",     "+",    ".",           "e",
        "E",        "D",        "&H",        "&O",    "FFFF", "7fffffff",    " ",
        "\t",       "abc",      "1e39",      "-1e39", "3e38", "1e999999999", "99999999999999999999",
        "0.000001", "Infinity", "-Infinity", "NaN",   "ä",    "é",           "€",
        "日本",     ",",        "1.2.3",     "007",   "%",    "\\"};
    // Often a value at the edge of single precision, so that faults happen.
    static const QStringList extremes = {"1e39",     "-1e39",     "3e38", "-3e38",
                                         "Infinity", "-Infinity", "NaN"};
    if (std::uniform_int_distribution<int>(0, 2)(random) == 0)
        return extremes.at(std::uniform_int_distribution<int>(0, int(extremes.size()) - 1)(random));
    std::uniform_int_distribution<int> count(0, 5);
    std::uniform_int_distribution<int> pick(0, int(pieces.size()) - 1);
    QString text;
    for (int n = count(random); n > 0; --n)
        text += pieces.at(pick(random));
    return text;
}

// Like QTest::keyClicks, but also for characters that no ASCII key makes.
void type_text(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

void TestRandomActions::invariants_hold()
{
    const int steps = setting("GLUKARA_RANDOM_STEPS", 3000);
    std::mt19937 random(std::uint32_t(setting("GLUKARA_RANDOM_SEED", 1207)));
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    enum Action { press, type, choose, type_in_list, toggle, tick };
    // Weighted so that typed values often reach the model and get used.
    std::discrete_distribution<int> action({30, 25, 12, 3, 6, 24});
    std::uniform_int_distribution<int> button(0, 5); // 0 to 6 but Quit
    std::uniform_int_distribution<int> coin(0, 1);
    int ticks = 0;
    int reports = 0;
    QPointer<QMessageBox> last_report;

    for (int step = 0; step < steps; ++step) {
        bool refreshed = false;
        const int a = action(random);
        if (a == press) {
            int b = button(random);
            if (b >= 3)
                ++b;
            click(cmd_button(w, b));
            refreshed = b == 4;
        } else if (a == type) {
            QLineEdit* box = value_inputbox(w);
            box->setFocus();
            if (std::uniform_int_distribution<int>(0, 3)(random) != 0)
                QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            type_text(box, random_text(random));
            if (coin(random))
                QTest::keyClick(box, Qt::Key_Return);
        } else if (a == choose) {
            QComboBox* combo = variable_combo(w);
            combo->setFocus();
            const int before = combo->currentIndex();
            QTest::keyClick(combo, coin(random) ? Qt::Key_Down : Qt::Key_Up);
            refreshed = combo->currentIndex() != before;
        } else if (a == type_in_list) {
            QLineEdit* edit = variable_combo(w)->lineEdit();
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Backspace);
            type_text(edit, random_text(random));
        } else if (a == toggle) {
            click(diabetic_check(w));
            refreshed = true;
        } else {
            fire_tick(w);
            ++ticks;
            const float level = w.model.blood_glucose;
            const bool held = level >= 30 && level <= 180;
            // A tick that fails its arithmetic leaves the faulty sum, which
            // overflowed or was invalid, and says so (or a box still open
            // says it already). Every other tick holds the level.
            QVERIFY2(
                held || (!std::isfinite(level) && visible_error_boxes(w).size() == 1),
                qPrintable(
                    QStringLiteral("step %1: level %2 after a tick").arg(step).arg(double(level))));
        }

        QCOMPARE(cmd_button(w, glukara::start_button)->text() == QLatin1String("Stop"),
                 glucose_timer(w)->isActive());
        if (refreshed && visible_error_boxes(w).isEmpty())
            QCOMPARE(glycogen_level(w),
                     QString::fromStdString(glukara_code::value_to_text(w.model.glycogen_store)));
        const auto boxes = visible_error_boxes(w);
        QVERIFY(boxes.size() <= 1);
        if (!boxes.isEmpty() && boxes.at(0) != last_report) {
            last_report = boxes.at(0);
            ++reports;
        }
        if (!boxes.isEmpty() && coin(random)) {
            boxes.at(0)->accept();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    QVERIFY(ticks > steps / 10);
    QVERIFY(reports > 0);
    qInfo("%d steps, %d ticks, %d run-time errors reported", steps, ticks, reports);
}

QTEST_MAIN(TestRandomActions)
#include "tst_random_actions.moc"
