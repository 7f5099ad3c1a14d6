// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Return and Enter on the command buttons and on the other controls.
#include "window_access.h"

#include <QPushButton>
#include <QSignalSpy>

#include <memory>
#include <vector>

namespace
{

struct Spies {
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    explicit Spies(const QWidget& w)
    {
        for (int i = 0; i < glukara::button_count; ++i)
            clicks.push_back(
                std::make_unique<QSignalSpy>(cmd_button(w, i), &QAbstractButton::clicked));
    }
    QList<int> counts() const
    {
        QList<int> c;
        for (const auto& spy : clicks)
            c << int(spy->count());
        return c;
    }
};

// Through the window, as a key from the keyboard arrives: Qt gives it to the
// focus widget.
void press(QWidget& w, Qt::Key key)
{
    QTest::keyClick(w.windowHandle(), key,
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

void show(QWidget& w)
{
    w.show();
    if (!QTest::qWaitForWindowActive(&w))
        qFatal("window did not become active");
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

  private slots:
    void enter_presses_focused_button_data();
    void enter_presses_focused_button();
    void held_enter_presses_once();
    void enter_elsewhere_presses_no_button_data();
    void enter_elsewhere_presses_no_button();
    void space_still_ticks_the_box();
};

void TestKeyboard::enter_presses_focused_button_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("kind");
    QTest::newRow("Start") << int(glukara::start_button) << "QPushButton";
    QTest::newRow("Eat a meal") << int(glukara::meal_button) << "QToolButton";
    QTest::newRow("Go for a run") << int(glukara::run_button) << "QToolButton";
    // Outside the event loop the program's quit has nothing to end, so the
    // test run goes on; the click itself is what is checked.
    QTest::newRow("Quit") << int(glukara::quit_button) << "QPushButton";
    QTest::newRow("Reset") << int(glukara::reset_button) << "QPushButton";
    QTest::newRow("Secrete Insulin") << int(glukara::insulin_button) << "QToolButton";
    QTest::newRow("Secrete Glucagon") << int(glukara::glucagon_button) << "QToolButton";
}

void TestKeyboard::enter_presses_focused_button()
{
    QFETCH(int, index);
    QFETCH(QString, kind);
    glukara w;
    show(w);
    QAbstractButton* button = cmd_button(w, index);
    QCOMPARE(button->metaObject()->className(), kind);
    button->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), button);
    Spies spies(w);
    QList<int> expected(glukara::button_count, 0);
    press(w, Qt::Key_Return);
    expected[index] = 1;
    QCOMPARE(spies.counts(), expected);
    press(w, Qt::Key_Enter);
    expected[index] = 2;
    QCOMPARE(spies.counts(), expected);
    QCOMPARE(QApplication::focusWidget(), button);
    // The button's own handling ran: Start became Stop and back again, the
    // person ran and rested again.
    if (index == glukara::start_button) {
        QCOMPARE(button->text(), QStringLiteral("Start"));
        QVERIFY(!glucose_timer(w)->isActive());
    }
    if (index == glukara::run_button) {
        QCOMPARE(button->text(), QStringLiteral("Go for a run"));
        QVERIFY(!w.model.is_running);
    }
}

// Space presses once however long it is held; Enter does the same.
void TestKeyboard::held_enter_presses_once()
{
    glukara w;
    show(w);
    QAbstractButton* start = cmd_button(w, glukara::start_button);
    start->setFocus(Qt::TabFocusReason);
    QSignalSpy clicks(start, &QAbstractButton::clicked);
    QKeyEvent first(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(start, &first);
    for (int i = 0; i < 5; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         true);
        QApplication::sendEvent(start, &repeat);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(start, &release);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(start->text(), QStringLiteral("Stop"));
}

void TestKeyboard::enter_elsewhere_presses_no_button_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("focus_after");
    // The value box keeps its own Enter: the focus moves to the list.
    QTest::newRow("value box") << "value_inputbox"
                               << "variable_combo";
    QTest::newRow("list") << "variable_combo"
                          << "variable_combo";
    QTest::newRow("check box") << "diabetic_check"
                               << "diabetic_check";
}

void TestKeyboard::enter_elsewhere_presses_no_button()
{
    QFETCH(QString, focus);
    QFETCH(QString, focus_after);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        glukara w;
        show(w);
        control<QWidget>(w, focus)->setFocus(Qt::TabFocusReason);
        Spies spies(w);
        press(w, key);
        QCOMPARE(spies.counts(), QList<int>(glukara::button_count, 0));
        QCOMPARE(QApplication::focusWidget()->objectName(), focus_after);
        QVERIFY(!diabetic_check(w)->isChecked());
        QVERIFY(!glucose_timer(w)->isActive());
        for (auto* b : w.findChildren<QPushButton*>())
            QVERIFY(!b->isDefault() && !b->autoDefault());
    }
}

void TestKeyboard::space_still_ticks_the_box()
{
    glukara w;
    show(w);
    diabetic_check(w)->setFocus(Qt::TabFocusReason);
    Spies spies(w);
    QTest::keyClick(w.windowHandle(), Qt::Key_Space);
    QVERIFY(diabetic_check(w)->isChecked());
    QVERIFY(w.model.is_diabetic);
    QCOMPARE(spies.counts(), QList<int>(glukara::button_count, 0));
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
