// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Build step: renders the SVG drawings into the pictures that the program
// carries. Buttons take 24-bit uncompressed bitmaps at 96 dots per inch, and
// for screens of twice that density a PNG of twice the size (NAME@2x.png); the
// icon is a .ico of three images (32 and 16 pixels in 16 colours, 32 pixels in
// black and white), each with its transparency mask. Desktop menus get the
// icon at the usual theme sizes as PNG, and so does the web page's manifest,
// which names it at 192 and 512 pixels for installing the page as an app.
//
// render_pictures SOURCE_DIR OUTPUT_DIR
#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <vector>

namespace
{

struct Picture {
    const char* name;
    int width;
    int height;
};

const Picture pictures[] = {
    {"meal_picture", 119, 56},
    {"runners_picture", 109, 60},
    {"pancreas_picture", 109, 60},
    {"resting_picture", 110, 60},
};

constexpr int dots_per_metre = 3780; // 96 dots per inch

QImage render(const QString& svg, int width, int height, QImage::Format format, QColor ground)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_pictures: cannot read %s\n", qPrintable(svg));
        std::exit(1);
    }
    QImage image(width, height, format);
    image.fill(ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    return image;
}

// The 16 colours of the standard Windows palette.
const QRgb sixteen_colours[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};
const QRgb two_colours[2] = {qRgb(0, 0, 0), qRgb(255, 255, 255)};

int nearest(QRgb c, const QRgb* palette, int count)
{
    int best = 0;
    long best_distance = -1;
    for (int i = 0; i < count; ++i) {
        const long dr = qRed(c) - qRed(palette[i]);
        const long dg = qGreen(c) - qGreen(palette[i]);
        const long db = qBlue(c) - qBlue(palette[i]);
        const long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
        if (best_distance < 0 || d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return best;
}

void put16(std::vector<char>& out, quint16 v)
{
    out.push_back(char(v & 0xff));
    out.push_back(char(v >> 8));
}

void put32(std::vector<char>& out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xff));
}

// One icon image: a bitmap header of double height (colour and mask), the
// palette, the colour rows and the mask rows, bottom row first.
std::vector<char> icon_image(const QImage& argb, int bits, const QRgb* palette)
{
    const int w = argb.width();
    const int h = argb.height();
    const int colours = 1 << bits;
    const int colour_row = ((w * bits + 31) / 32) * 4;
    const int mask_row = ((w + 31) / 32) * 4;
    std::vector<char> out;
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(2 * h));
    put16(out, 1);
    put16(out, quint16(bits));
    put32(out, 0);
    put32(out, quint32((colour_row + mask_row) * h));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int i = 0; i < colours; ++i) {
        out.push_back(char(qBlue(palette[i])));
        out.push_back(char(qGreen(palette[i])));
        out.push_back(char(qRed(palette[i])));
        out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<unsigned char> row(std::size_t(colour_row), 0);
        for (int x = 0; x < w; ++x) {
            const QRgb c = argb.pixel(x, y);
            // Transparent pixels are black in the colour image and set in the mask.
            const int index = qAlpha(c) < 128 ? 0 : nearest(c, palette, colours);
            const int bit = x * bits;
            row[std::size_t(bit / 8)] |= (unsigned char)(index << (8 - bits - bit % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<unsigned char> row(std::size_t(mask_row), 0);
        for (int x = 0; x < w; ++x)
            if (qAlpha(argb.pixel(x, y)) < 128)
                row[std::size_t(x / 8)] |= (unsigned char)(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

bool write_icon(const QString& svg, const QString& path)
{
    struct Entry {
        int size;
        int bits;
        const QRgb* palette;
    };
    const Entry entries[] = {
        {32, 4, sixteen_colours}, {16, 4, sixteen_colours}, {32, 1, two_colours}};
    std::vector<std::vector<char>> images;
    for (const Entry& e : entries) {
        const QImage argb = render(svg, e.size, e.size, QImage::Format_ARGB32, Qt::transparent);
        images.push_back(icon_image(argb, e.bits, e.palette));
    }
    std::vector<char> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(char(entries[i].size));
        out.push_back(char(entries[i].size));
        out.push_back(char(1 << entries[i].bits));
        out.push_back(0);
        put16(out, 1);
        put16(out, quint16(entries[i].bits));
        put32(out, quint32(images[i].size()));
        put32(out, offset);
        offset += quint32(images[i].size());
    }
    for (const auto& image : images)
        out.insert(out.end(), image.begin(), image.end());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(out.data(), qint64(out.size())) == qint64(out.size());
}

} // namespace

int main(int argc, char** argv)
{
    // For the fonts of the text in a drawing, and Qt Widgets' own pictures.
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_pictures SOURCE_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QDir source(QString::fromLocal8Bit(argv[1]));
    const QDir output(QString::fromLocal8Bit(argv[2]));
    for (const Picture& p : pictures) {
        const QString name = QString::fromLatin1(p.name);
        // Opaque: the drawing's own grey ground fills the whole rectangle.
        QImage image = render(source.filePath(name + ".svg"), p.width, p.height,
                              QImage::Format_RGB32, Qt::black);
        image.setDotsPerMeterX(dots_per_metre);
        image.setDotsPerMeterY(dots_per_metre);
        if (!image.save(output.filePath(name + ".bmp"), "BMP")) {
            std::fprintf(stderr, "render_pictures: cannot write %s.bmp\n", p.name);
            return 1;
        }
        QImage sharp = render(source.filePath(name + ".svg"), 2 * p.width, 2 * p.height,
                              QImage::Format_RGB32, Qt::black);
        sharp.setDotsPerMeterX(2 * dots_per_metre);
        sharp.setDotsPerMeterY(2 * dots_per_metre);
        if (!sharp.save(output.filePath(name + "@2x.png"), "PNG")) {
            std::fprintf(stderr, "render_pictures: cannot write %s@2x.png\n", p.name);
            return 1;
        }
    }
    const QString icon = source.filePath("glukara.svg");
    if (!write_icon(icon, output.filePath("glukara.ico"))) {
        std::fprintf(stderr, "render_pictures: cannot write glukara.ico\n");
        return 1;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 192, 256, 512}) {
        const QImage image = render(icon, size, size, QImage::Format_ARGB32, Qt::transparent);
        if (!image.save(output.filePath(QStringLiteral("glukara-%1.png").arg(size)), "PNG")) {
            std::fprintf(stderr, "render_pictures: cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    // The page links none of Qt's style pictures but the one its style,
    // Fusion, draws: the frame of a group box, taken from this Qt.
    QFile frame(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
    QFile frame_copy(output.filePath(QStringLiteral("fusion_groupbox.png")));
    if (!frame.open(QIODevice::ReadOnly) || !frame_copy.open(QIODevice::WriteOnly) ||
        frame_copy.write(frame.readAll()) != frame.size()) {
        std::fprintf(stderr, "render_pictures: cannot write Qt's group box frame\n");
        return 1;
    }
    return 0;
}
