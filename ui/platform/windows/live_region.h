// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a window says to Windows screen readers by itself. Qt 6.4 tells UI
// Automation of focus, names and values, but has nothing that makes NVDA,
// Narrator or JAWS speak a text that is not where the focus is. They speak a
// live region's text when it raises its LiveRegionChanged event, as Windows
// Forms and WPF labels do: each text goes out as a polite live region of the
// window, which UI Automation finds through the window's handle.
#pragma once

#include <QObject>

class QString;
class QWidget;

class LiveRegion : public QObject
{
    Q_OBJECT

  public:
    // The region belongs to window and lives as long as it does.
    explicit LiveRegion(QWidget* window);

    // Tells the screen readers listening to this window; does nothing while
    // none listens.
    void say(const QString& text);

  private:
    QWidget* window;
};
