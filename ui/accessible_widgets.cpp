// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_widgets.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>

namespace
{

QAccessibleInterface* widget_interface(const QString& class_name, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    // Qt calls the factories with every class name of the object, most
    // derived first; a plain top-level widget reaches this as "QWidget" and
    // would otherwise be a filler without a title.
    if (class_name == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (class_name == QLatin1String("QLineEdit"))
        return new AccessibleLineEdit(static_cast<QLineEdit*>(widget));
    return nullptr;
}

} // namespace

void install_accessible_widgets()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(widget_interface);
}

AccessibleLineEdit::AccessibleLineEdit(QLineEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit* AccessibleLineEdit::edit() const
{
    return static_cast<QLineEdit*>(widget());
}

QString AccessibleLineEdit::shown() const
{
    switch (edit()->echoMode()) {
    case QLineEdit::Normal:
        return edit()->text();
    case QLineEdit::NoEcho:
        return QString();
    default:
        return QString(edit()->text().size(), QLatin1Char('*'));
    }
}

QString AccessibleLineEdit::text(QAccessible::Text t) const
{
    QString str;
    if (t == QAccessible::Value)
        str = shown();
    if (str.isEmpty())
        str = QAccessibleWidget::text(t);
    if (str.isEmpty() && t == QAccessible::Description)
        str = edit()->placeholderText();
    return str;
}

void AccessibleLineEdit::setText(QAccessible::Text t, const QString& text)
{
    if (t == QAccessible::Value)
        edit()->setText(text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State AccessibleLineEdit::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (edit()->isReadOnly())
        s.readOnly = true;
    else
        s.editable = true;
    s.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
    s.selectableText = true;
    return s;
}

void* AccessibleLineEdit::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void AccessibleLineEdit::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !edit()->hasSelectedText())
        return;
    *startOffset = edit()->selectionStart();
    *endOffset = edit()->selectionEnd();
}

int AccessibleLineEdit::selectionCount() const
{
    return edit()->hasSelectedText() ? 1 : 0;
}

void AccessibleLineEdit::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleLineEdit::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        edit()->deselect();
}

void AccessibleLineEdit::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        edit()->setSelection(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::cursorPosition() const
{
    return edit()->cursorPosition();
}

void AccessibleLineEdit::setCursorPosition(int position)
{
    edit()->setCursorPosition(position);
}

QString AccessibleLineEdit::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset)
        return QString();
    return shown().mid(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::characterCount() const
{
    return int(shown().size());
}

QRect AccessibleLineEdit::characterRect(int offset) const
{
    // Where the line edit draws its text, as its style aligns it; the edit
    // scrolls only text wider than itself.
    const QString t = shown();
    if (offset < 0 || offset >= t.size())
        return QRect();
    const QFontMetrics metrics(edit()->font());
    const QRect area = edit()->contentsRect().marginsRemoved(edit()->textMargins());
    const QRect line =
        QStyle::alignedRect(edit()->layoutDirection(), edit()->alignment(),
                            QSize(metrics.horizontalAdvance(t), metrics.height()), area);
    const QRect character(line.left() + metrics.horizontalAdvance(t.left(offset)), line.top(),
                          metrics.horizontalAdvance(t.at(offset)), line.height());
    return QRect(edit()->mapToGlobal(character.topLeft()), character.size());
}

int AccessibleLineEdit::offsetAtPoint(const QPoint& point) const
{
    return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
}

void AccessibleLineEdit::scrollToSubstring(int, int endIndex)
{
    edit()->setCursorPosition(endIndex);
}

QString AccessibleLineEdit::attributes(int offset, int* startOffset, int* endOffset) const
{
    // One run over the whole text: the line edit draws it all in one font.
    *startOffset = 0;
    *endOffset = qMax(characterCount(), offset);
    return QString();
}

void AccessibleLineEdit::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void AccessibleLineEdit::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void AccessibleLineEdit::replaceText(int startOffset, int endOffset, const QString& text)
{
    QString t = edit()->text();
    t.replace(startOffset, endOffset - startOffset, text);
    edit()->setText(t);
}
