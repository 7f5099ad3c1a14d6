// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// For the start-up benchmark: shows a window, and once its first frame has
// been painted and flushed prints the monotonic clock in nanoseconds and ends.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

class FirstFrame : public QObject
{
  public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The backing store is flushed right after the paint, in the same
        // round of event processing; a zero timer runs after that.
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                timespec now;
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("%lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

inline int run_until_first_frame(QWidget& window)
{
    FirstFrame first_frame;
    window.installEventFilter(&first_frame);
    window.show();
    return QApplication::exec();
}
