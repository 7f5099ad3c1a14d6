// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeping the window's frame inside the area that panels leave free, and the
// window at its fixed size.
#include "glukara.h"
#include "window_placement.h"

#include <QWindow>
#include <QtTest>

class TestPlacement : public QObject
{
    Q_OBJECT

  private slots:
    void least_move_inside_data();
    void least_move_inside();
    void window_states_data();
    void window_states();
};

void TestPlacement::least_move_inside_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1024, 768);
    const QRect above_panel(0, 0, 1024, 570);
    QTest::newRow("already inside stays")
        << QRect(136, 105, 752, 559) << screen << QPoint(136, 105);
    QTest::newRow("touching every edge stays") << QRect(0, 0, 1024, 768) << screen << QPoint(0, 0);
    QTest::newRow("under a bottom panel moves up")
        << QRect(136, 21, 752, 559) << above_panel << QPoint(136, 11);
    QTest::newRow("under a top panel moves down")
        << QRect(136, 21, 752, 559) << QRect(0, 30, 1024, 738) << QPoint(136, 30);
    QTest::newRow("beyond the right edge moves left")
        << QRect(300, 100, 752, 559) << screen << QPoint(272, 100);
    QTest::newRow("beyond the left edge of a panel moves right")
        << QRect(10, 100, 752, 559) << QRect(48, 0, 976, 768) << QPoint(48, 100);
    QTest::newRow("off a corner moves on both axes")
        << QRect(-5, -7, 752, 559) << screen << QPoint(0, 0);
    QTest::newRow("area not at the origin")
        << QRect(1900, 1000, 752, 559) << QRect(1920, 0, 1280, 1024) << QPoint(1920, 465);
    QTest::newRow("too tall goes to the top, keeps its left")
        << QRect(136, -10, 752, 559) << QRect(0, 0, 1024, 500) << QPoint(136, 0);
    QTest::newRow("too wide goes to the left, keeps its top")
        << QRect(-20, 5, 752, 559) << QRect(0, 0, 640, 600) << QPoint(0, 5);
    QTest::newRow("fits nowhere goes to the top-left corner")
        << QRect(-24, -10, 752, 559) << QRect(8, 4, 640, 480) << QPoint(8, 4);
    QTest::newRow("exactly the area's size")
        << QRect(3, 3, 640, 480) << QRect(0, 0, 640, 480) << QPoint(0, 0);
}

void TestPlacement::least_move_inside()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, area);
    QFETCH(QPoint, expected);
    const QPoint placed = window_placement::least_move_inside(frame, area);
    QCOMPARE(placed, expected);
    const QRect moved(placed, frame.size());
    // Where it fits, it ends inside; where it moved, no shorter move would do.
    if (frame.width() <= area.width() && frame.height() <= area.height())
        QVERIFY(area.contains(moved));
}

void TestPlacement::window_states_data()
{
    QTest::addColumn<Qt::WindowStates>("asked");
    QTest::addColumn<Qt::WindowStates>("kept");
    QTest::newRow("maximised") << Qt::WindowStates(Qt::WindowMaximized)
                               << Qt::WindowStates(Qt::WindowNoState);
    QTest::newRow("full screen") << Qt::WindowStates(Qt::WindowFullScreen)
                                 << Qt::WindowStates(Qt::WindowNoState);
    QTest::newRow("maximised and full screen")
        << (Qt::WindowMaximized | Qt::WindowFullScreen) << Qt::WindowStates(Qt::WindowNoState);
    QTest::newRow("minimised stays minimised")
        << Qt::WindowStates(Qt::WindowMinimized) << Qt::WindowStates(Qt::WindowMinimized);
}

// As the title bar's buttons ask the window system for a state.
void TestPlacement::window_states()
{
    QFETCH(Qt::WindowStates, asked);
    QFETCH(Qt::WindowStates, kept);
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.windowHandle()->setWindowStates(asked);
    QCOMPARE(w.windowHandle()->windowStates(), kept);
    QApplication::processEvents();
    QCOMPARE(w.windowHandle()->windowStates(), kept);
    QCOMPARE(w.size(), QSize(750, 538));
}

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
