// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screen_readers.h"

#include "announcements.h"
#include "control_names.h"
#include "live_region.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>

namespace
{

QString accessible_name(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

void name_list_fields(QWidget* window)
{
    for (QComboBox* list : window->findChildren<QComboBox*>()) {
        QLineEdit* field = list->lineEdit();
        if (field && field->accessibleName().isEmpty())
            field->setAccessibleName(accessible_name(list));
    }
}

void pass_on_announcements(QWidget* window)
{
    auto* announcements =
        window->findChild<Announcements*>(QLatin1String(control_names::announcements));
    if (!announcements)
        return;
    auto* region = new LiveRegion(window);
    QObject::connect(announcements, &Announcements::spoken, region, &LiveRegion::say);
}

// An error box shows its text in a label beside an icon, above its OK button
// in a group of buttons. When it opens, the focus goes to OK, and a screen
// reader says the names of the groups that the focus enters on its way: the
// icon and the group are named by the error, so that the error is said with
// OK, as Windows' own message boxes are read, and nothing in the box is a
// nameless "image" or "group".
void name_error_box(QMessageBox* box)
{
    const QString text = box->text().simplified();
    for (QWidget* part : box->findChildren<QWidget*>()) {
        if (accessible_name(part).isEmpty())
            part->setAccessibleName(text);
    }
}

class FirstShow : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType() ||
            !static_cast<QWidget*>(watched)->isWindow())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            name_error_box(box);
        } else if (!window->findChild<LiveRegion*>(QString(), Qt::FindDirectChildrenOnly)) {
            name_list_fields(window);
            pass_on_announcements(window);
        }
        return false;
    }
};

} // namespace

void serve_screen_readers()
{
    qApp->installEventFilter(new FirstShow(qApp));
}
