// Renders the project's SVG icon into the raster files the platforms want, so that only the SVG
// is kept in the repository:
//   icon-renderer SOURCE.svg OUTPUT.png SIZE
//   icon-renderer SOURCE.svg OUTPUT.icns
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDataStream>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

struct IcnsEntry
{
    const char *type;
    int size;
};

// PNG entries of an ICNS file, one rendering per pixel size so that small sizes stay sharp. Qt's
// own ICNS writer stores a single image and leaves the smaller sizes to downscaling.
constexpr IcnsEntry icnsEntries[] = {
    {"icp4", 16},  {"ic11", 32},  {"icp5", 32},  {"ic12", 64},  {"ic07", 128},
    {"ic13", 256}, {"ic08", 256}, {"ic14", 512}, {"ic09", 512}, {"ic10", 1024},
};

int fail(const QString &message)
{
    std::fprintf(stderr, "icon-renderer: %s\n", qUtf8Printable(message));
    return 1;
}

QByteArray renderPng(QSvgRenderer &svg, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// ICNS: the "icns" magic and the file length, then per entry its type, its length with the
// 8-byte header, and the PNG data; every number big-endian.
QByteArray icns(QSvgRenderer &svg)
{
    QByteArray entries;
    QDataStream out(&entries, QIODevice::WriteOnly);
    for (const IcnsEntry &entry : icnsEntries) {
        const QByteArray png = renderPng(svg, entry.size);
        out.writeRawData(entry.type, 4);
        out << static_cast<quint32>(png.size() + 8);
        out.writeRawData(png.constData(), static_cast<int>(png.size()));
    }

    QByteArray file;
    QDataStream header(&file, QIODevice::WriteOnly);
    header.writeRawData("icns", 4);
    header << static_cast<quint32>(entries.size() + 8);
    return file + entries;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString usage = QStringLiteral("usage: icon-renderer SOURCE.svg OUTPUT.png SIZE\n"
                                         "       icon-renderer SOURCE.svg OUTPUT.icns");
    if (args.size() < 3)
        return fail(usage);

    const QString source = args.at(1);
    const QString output = args.at(2);
    const QString suffix = QFileInfo(output).suffix().toLower();
    int size = 0;
    if (suffix == QLatin1String("png") && args.size() == 4) {
        bool ok = false;
        size = args.at(3).toInt(&ok);
        if (!ok || size < 1 || size > 4096)
            return fail(usage);
    } else if (suffix != QLatin1String("icns") || args.size() != 3) {
        return fail(usage);
    }

    QSvgRenderer svg(source);
    if (!svg.isValid())
        return fail(QStringLiteral("cannot read SVG %1").arg(source));

    // Written whole or not at all, so that a failed run leaves no file that looks up to date.
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
    file.write(size > 0 ? renderPng(svg, size) : icns(svg));
    if (!file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
    return 0;
}
