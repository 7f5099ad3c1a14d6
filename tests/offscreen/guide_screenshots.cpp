// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// guide_screenshots GUIDE.md OUTDIR: takes the pictures of a class guide
// from the real window in the guide's language, driven through its controls:
// the overview with its numbered labels, and each experiment at the row that
// the guide marks.
// scripts/guide-screenshots runs it and makes the pictures small.
#include "guide_replay.h"
#include "window_access.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

namespace
{

int fail(const QString& why)
{
    std::fprintf(stderr, "guide_screenshots: %s\n", qPrintable(why));
    return 1;
}

bool save(const QImage& image, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    std::printf("%s\n", qPrintable(path));
    return image.save(path);
}

// A numbered disc by each part, where it hides none of the window's texts.
void draw_labels(QImage& image, const QWidget& w)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    constexpr int size = 22;
    for (const guide::Part& part : guide::parts) {
        const auto* c = control<QWidget>(w, QString::fromLatin1(part.beside));
        const QRect r(c->mapTo(&w, QPoint(0, 0)), c->size());
        QRect disc(0, 0, size, size);
        switch (part.side) {
        case guide::Part::inside_top_right:
            disc.moveTopRight(r.topRight());
            break;
        case guide::Part::right_of:
            disc.moveCenter(QPoint(r.left() + c->sizeHint().width() + size, r.center().y()));
            break;
        case guide::Part::above:
            disc.moveBottomLeft(r.topLeft());
            break;
        }
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(QColor(200, 0, 0));
        p.drawEllipse(disc);
        p.setPen(Qt::white);
        p.drawText(disc, Qt::AlignCenter, QString::number(part.label));
    }
}

QImage grab(glukara& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3)
        return fail(QStringLiteral("usage: guide_screenshots GUIDE.md OUTDIR"));
    QString error;
    const auto doc = guide::read(QString::fromLocal8Bit(argv[1]), &error);
    if (!doc)
        return fail(error);
    guide::install_language(*doc);
    const QList<guide::Experiment> experiments = guide::experiments(*doc, &error);
    if (!error.isEmpty())
        return fail(error);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot make %1").arg(out.path()));
    const QMap<QString, QString> messages = guide::band_messages(*doc);

    {
        glukara w;
        w.show();
        if (!QTest::qWaitForWindowActive(&w))
            return fail(QStringLiteral("the window did not open"));
        click(cmd_button(w, glukara::start_button));
        fire_tick(w);
        QImage overview = grab(w);
        draw_labels(overview, w);
        if (!save(overview, out, QStringLiteral("overview.png")))
            return fail(QStringLiteral("cannot write the overview"));
    }

    for (const guide::Experiment& e : experiments) {
        int marked = -1;
        for (int s = 0; s < e.steps.size(); ++s)
            if (e.steps[s].picture)
                marked = s;
        if (marked < 0)
            return fail(QStringLiteral("%1 marks no row for its picture").arg(e.title));
        glukara w;
        w.show();
        if (!QTest::qWaitForWindowActive(&w))
            return fail(QStringLiteral("the window did not open"));
        const QString problem = guide::replay(w, *doc, e, marked, &messages);
        if (!problem.isEmpty())
            return fail(QStringLiteral("%1: %2").arg(e.title, problem));
        if (!save(grab(w), out, QStringLiteral("experiment-%1.png").arg(e.number)))
            return fail(QStringLiteral("cannot write the picture of %1").arg(e.title));
    }
    return 0;
}
