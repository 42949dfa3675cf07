// Build-time tool: renders the program's vector icon to an opaque raster
// icon of a given size, as PNG (for the desktop's icon theme) or ICO (for
// the executable's resources).
//
//   tervalin_icon_render <source.svg> <size> <output.png|output.ico>
//
// The picture is drawn on an opaque ground, so it has no transparent pixel.
// The PNG gets a colour table when the picture has 256 colours or fewer, and
// stays true-colour otherwise. The ICO is always one 8-bit picture with 256
// table entries and an all-opaque mask, the classic form of a program icon.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>

namespace {

int fail(const QString& why) {
    std::fprintf(stderr, "tervalin_icon_render: %s\n", qPrintable(why));
    return 1;
}

QImage render(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, size, size));
    return image;
}

// The same picture with a colour table, when it uses 256 colours or fewer.
QImage toEightBitWhenLossless(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(line[x]);
            if (colours.size() > 256)
                return image;
        }
    }
    // A sorted table: the same picture always gives the same file.
    QList<QRgb> table(colours.begin(), colours.end());
    std::sort(table.begin(), table.end());
    return image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

void putLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// One 8-bit icon image: the icon directory, its one entry, and the bitmap
// (header, 256-entry colour table, pixel rows and mask rows, bottom row first).
QByteArray eightBitIco(const QImage& source) {
    const QImage image = source.format() == QImage::Format_Indexed8
                             ? source
                             : source.convertToFormat(QImage::Format_Indexed8);
    const int w = image.width();
    const int h = image.height();
    const int pixelRow = (w + 3) / 4 * 4;
    const int maskRow = (w + 31) / 32 * 4;
    const quint32 bitmapSize = 40 + 256 * 4 + quint32(pixelRow + maskRow) * quint32(h);

    QByteArray out;
    putLe(out, 0, 2); // reserved
    putLe(out, 1, 2); // an icon, not a cursor
    putLe(out, 1, 2); // one image
    out.append(char(w == 256 ? 0 : w));
    out.append(char(h == 256 ? 0 : h));
    putLe(out, 0, 1); // 256 colours or more
    putLe(out, 0, 1); // reserved
    putLe(out, 1, 2); // planes
    putLe(out, 8, 2); // bits per pixel
    putLe(out, bitmapSize, 4);
    putLe(out, 6 + 16, 4); // the bitmap follows the directory

    putLe(out, 40, 4);    // header size
    putLe(out, w, 4);     // width
    putLe(out, 2 * h, 4); // height of the pixels and the mask together
    putLe(out, 1, 2);     // planes
    putLe(out, 8, 2);     // bits per pixel
    putLe(out, 0, 4);     // no compression
    putLe(out, quint32(pixelRow + maskRow) * quint32(h), 4);
    putLe(out, 0, 4);   // horizontal resolution
    putLe(out, 0, 4);   // vertical resolution
    putLe(out, 256, 4); // colours in the table
    putLe(out, 0, 4);   // all colours important

    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        out.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
    for (int y = h - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char*>(image.constScanLine(y)), w);
        out.append(QByteArray(pixelRow - w, '\0'));
    }
    out.append(QByteArray(maskRow * h, '\0')); // every pixel opaque
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return fail(QStringLiteral("usage: tervalin_icon_render <source.svg> <size> <output>"));

    QSvgRenderer svg(args[1]);
    if (!svg.isValid())
        return fail(QStringLiteral("cannot read the picture %1").arg(args[1]));
    bool ok = false;
    const int size = args[2].toInt(&ok);
    if (!ok || size < 1 || size > 256)
        return fail(QStringLiteral("bad size %1").arg(args[2]));

    const QImage icon = toEightBitWhenLossless(render(svg, size));
    if (QFileInfo(args[3]).suffix().compare(u"ico", Qt::CaseInsensitive) == 0) {
        QFile file(args[3]);
        if (!file.open(QIODevice::WriteOnly) || file.write(eightBitIco(icon)) < 0 || !file.flush())
            return fail(QStringLiteral("cannot write %1: %2").arg(args[3], file.errorString()));
        return 0;
    }
    QImageWriter writer(args[3]);
    if (!writer.write(icon))
        return fail(QStringLiteral("cannot write %1: %2").arg(args[3], writer.errorString()));
    return 0;
}
