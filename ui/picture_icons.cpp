// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_icons.h"

#include <QIconEngine>
#include <QLabel>
#include <QPainter>

namespace
{

const char* const held_icon = "glukara_picture";

// The bitmap at once, the 2x rendering only when a screen of higher density
// first asks for it: on a 96-dpi screen the second picture costs no memory
// and no start-up time. Qt's own icon engine reads every file it is given at
// once. The buttons are never disabled, so every mode shows the same picture.
class TwoDensities : public QIconEngine
{
  public:
    explicit TwoDensities(const QString& name)
        : one(QStringLiteral(":/pictures/%1.bmp").arg(name)),
          two_file(QStringLiteral(":/pictures/%1@2x.png").arg(name))
    {
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        if (size.width() <= one.width() && size.height() <= one.height())
            return fitted(one, size);
        if (two.isNull())
            two = QPixmap(two_file);
        return fitted(two, size);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatio();
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), picture);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const QSize largest = one.size() * 2;
        return largest.width() <= size.width() && largest.height() <= size.height()
                   ? largest
                   : largest.scaled(size, Qt::KeepAspectRatio);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {one.size(), one.size() * 2};
    }

    QIconEngine* clone() const override { return new TwoDensities(*this); }
    QString key() const override { return QStringLiteral("glukara_picture"); }

  private:
    static QPixmap fitted(const QPixmap& picture, const QSize& size)
    {
        if (picture.size() == size)
            return picture;
        return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    QPixmap one;
    QString two_file;
    QPixmap two;
};

} // namespace

QIcon picture_icon(const QString& name)
{
    return QIcon(new TwoDensities(name));
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
