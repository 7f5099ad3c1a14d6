// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// glukara's speed and memory, each as a figure from one run, start-up and
// memory as ratios against a bare Qt Widgets window measured in the same run.
// Run it on a real display (bench/run starts one under Xvfb).
#include "control_names.h"
#include "glukara.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

struct Start {
    double milliseconds;
    double peak_megabytes;
};

long long monotonic_ns()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Starts a program that prints the clock at its first painted frame.
Start start_once(const std::string& program)
{
    int out[2];
    if (pipe(out) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const long long started = monotonic_ns();
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (text.empty() || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not report its first frame\n", program.c_str());
        std::exit(1);
    }
    return {double(std::stoll(text) - started) / 1e6, double(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double cpu_ms()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](timeval t) { return double(t.tv_sec) * 1000 + double(t.tv_usec) / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void run_event_loop_for(int milliseconds)
{
    QTimer::singleShot(milliseconds, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::string dir = QCoreApplication::applicationDirPath().toStdString();
    const int rounds = 15;

    std::vector<double> start_glukara, start_bare, start_text, memory_glukara, memory_bare,
        memory_text;
    for (int i = 0; i < rounds; ++i) {
        // Alternating, so that a slow spell of the machine hits all alike.
        const Start g = start_once(dir + "/startup_glukara");
        const Start b = start_once(dir + "/startup_bare");
        const Start t = start_once(dir + "/startup_bare_text");
        start_glukara.push_back(g.milliseconds);
        start_bare.push_back(b.milliseconds);
        start_text.push_back(t.milliseconds);
        memory_glukara.push_back(g.peak_megabytes);
        memory_bare.push_back(b.peak_megabytes);
        memory_text.push_back(t.peak_megabytes);
    }
    std::printf("start-up to first frame (median of %d): glukara %.1f ms, bare window %.1f ms, "
                "ratio %.2f (goal <= 1.3)\n",
                rounds, median(start_glukara), median(start_bare),
                median(start_glukara) / median(start_bare));
    std::printf("peak resident memory: glukara %.1f MB, bare window %.1f MB, ratio %.2f "
                "(goal <= 1.3)\n",
                median(memory_glukara), median(memory_bare),
                median(memory_glukara) / median(memory_bare));
    std::printf("  against the bare window with one line of text (%.1f ms, %.1f MB): start-up "
                "ratio %.2f, memory ratio %.2f\n",
                median(start_text), median(memory_text), median(start_glukara) / median(start_text),
                median(memory_glukara) / median(memory_text));

    glukara window;
    window.show();
    run_event_loop_for(500);
    auto* timer = window.findChild<QTimer*>(QLatin1String(control_names::glucose_timer));
    auto* start_stop = window.findChild<QAbstractButton*>(
        control_names::element(control_names::cmd_button, glukara::start_button));

    std::vector<double> tick_ms;
    QElapsedTimer clock;
    for (int i = 0; i < 300; ++i) {
        // A level that moves at every tick, so the label and the bar change.
        window.model.blood_glucose = float(60 + i % 100);
        clock.start();
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        QCoreApplication::processEvents(); // the repaint of label and chart
        tick_ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("tick with its label and chart update: median %.3f ms (goal <= 1 ms)\n",
                median(tick_ms));

    double cpu = cpu_ms();
    run_event_loop_for(10000);
    std::printf("CPU with time stopped over 10 s: %.1f ms (goal <= 10 ms)\n", cpu_ms() - cpu);

    std::vector<long long> tick_times;
    QObject::connect(timer, &QTimer::timeout, [&] {
        tick_times.push_back(monotonic_ns());
        if (tick_times.size() == 31)
            QCoreApplication::exit(0);
    });
    cpu = cpu_ms();
    const long long began = monotonic_ns();
    start_stop->click();
    QApplication::exec();
    const double wall_ms = double(monotonic_ns() - began) / 1e6;
    std::printf("CPU with time running over %.1f s: %.2f %% (goal <= 1 %%)\n", wall_ms / 1000,
                (cpu_ms() - cpu) / wall_ms * 100);
    double sum = 0;
    double worst = 0;
    for (std::size_t i = 1; i < tick_times.size(); ++i) {
        const double period = double(tick_times[i] - tick_times[i - 1]) / 1e6;
        sum += period;
        worst = std::max(worst, std::fabs(period - 1000));
    }
    std::printf("tick period over 30 ticks: mean %.2f ms (goal within 1 ms of 1000), worst "
                "deviation %.2f ms (goal <= 10 ms)\n",
                sum / 30, worst);
    return 0;
}
