// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How glukara's widgets reach screen readers where Qt's own description of
// them falls short: the main window as a window, so that a screen reader can
// read its title, and line edits whose text a screen reader reads whole.
#pragma once

#include <QAccessibleWidget>

class QLineEdit;

// Installs the interfaces below for every widget created from now on. Needs
// the QApplication: Qt asks the factories installed last first, and the
// application installs Qt's own when it starts. Installs them once only.
void install_accessible_widgets();

// A line edit whose text comes in one run of text attributes. Qt 6.4 reports
// a run of length zero at every offset, and a screen reader that follows
// that run reads '-1' as '-'.
class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
  public:
    explicit AccessibleLineEdit(QLineEdit* edit);

    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

  private:
    QLineEdit* edit() const;
    // What the line edit shows: its text, or nothing of a hidden password.
    QString shown() const;
};
