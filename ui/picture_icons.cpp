#include "picture_icons.h"

#include <QLabel>

namespace
{
const char* const held_icon = "glukara_picture";
}

QIcon picture_icon(const QString& name)
{
    // Both files are named outright: QIcon's own search for an "@2x" file
    // happens only when the program starts on a high-density screen, and the
    // window may be moved to one later.
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/%1.bmp").arg(name));
    icon.addFile(QStringLiteral(":/pictures/%1@2x.png").arg(name));
    return icon;
}

QSize picture_size(const QIcon& picture)
{
    QSize smallest;
    for (const QSize& size : picture.availableSizes())
        if (!smallest.isValid() || size.width() < smallest.width())
            smallest = size;
    return smallest;
}

void hold_picture(QLabel* holder, const QIcon& picture)
{
    holder->setPixmap(picture.pixmap(picture_size(picture), 1.0));
    holder->setProperty(held_icon, QVariant::fromValue(picture));
}

QIcon held_picture(const QLabel* holder)
{
    return holder->property(held_icon).value<QIcon>();
}
