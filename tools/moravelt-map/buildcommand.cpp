// SPDX-License-Identifier: MIT

#include "buildcommand.h"

#include "base/moravelterror.h"
#include "commandoptions.h"
#include "mapdbwriter.h"
#include "maprenderer.h"
#include "mapstyle.h"
#include "outputfile.h"
#include "worldcheck.h"

#include <QBuffer>
#include <QDir>
#include <QFontInfo>
#include <QImageWriter>
#include <QTextStream>

namespace moravelt {

namespace {

void requireMapFont()
{
    const QString family = QFontInfo(MapStyle::font(MapStyle::labelSize)).family();
    if (!family.startsWith(QStringLiteral("IPA")))
        throw MoraveltError(QStringLiteral("the IPA Gothic font is not installed (got \"%1\"); "
                                           "install fonts-ipafont-gothic")
                                .arg(family));
}

// Encoded in memory first: the image writer cannot tell why a file write failed.
QByteArray encodePicture(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (!writer.write(image))
        throw MoraveltError(QStringLiteral("cannot encode map.jpg: %1").arg(writer.errorString()));
    return bytes;
}

struct BuildSettings
{
    QString dataDir;
    QString outDir;
    QString coastFile;
    double scale = 1;
    int quality = 92;
};

QString build(const BuildSettings& settings, QTextStream& err)
{
    const MapLayout layout(settings.scale);
    const WorldCheck check = WorldCheck::run(settings.dataDir, layout, settings.coastFile);
    if (check.diag.hasErrors()) {
        for (const QString& line : check.diag.lines())
            err << line << '\n';
        throw MoraveltError(QStringLiteral("%1 faults; nothing written").arg(check.diag.count()));
    }
    requireMapFont();
    const QImage picture = MapRenderer(layout, check.land).render(*check.world, check.placed);
    const QByteArray jpegBytes = encodePicture(picture, settings.quality);

    if (!QDir().mkpath(settings.outDir))
        throw MoraveltError(QStringLiteral("cannot create %1").arg(settings.outDir));
    const QDir out(settings.outDir);
    OutputFile database(out.filePath(QStringLiteral("mapdata.mdb")));
    OutputFile jpeg(out.filePath(QStringLiteral("map.jpg")));
    MapDbWriter::write(database.tempPath(), *check.world, check.placed);
    jpeg.write(jpegBytes);
    database.commit();
    jpeg.commit();
    return QStringLiteral("wrote %1 and map.jpg (%2x%3, %4 KiB): %5")
        .arg(database.finalPath())
        .arg(picture.width())
        .arg(picture.height())
        .arg(jpegBytes.size() / 1024)
        .arg(check.summary());
}

} // namespace

int runBuildCommand(const QStringList& args)
{
    QTextStream err(stderr);
    CommandOptions options(args,
                           {QStringLiteral("data"), QStringLiteral("out"), QStringLiteral("scale"),
                            QStringLiteral("coast"), QStringLiteral("quality")});
    BuildSettings settings;
    bool scaleOk = true, qualityOk = true;
    if (options.require({QStringLiteral("data"), QStringLiteral("out")})) {
        settings.dataDir = options.value(QStringLiteral("data"));
        settings.outDir = options.value(QStringLiteral("out"));
        settings.coastFile = options.value(
            QStringLiteral("coast"),
            QDir(settings.dataDir).filePath(QStringLiteral("naturalearth/coast.txt")));
        settings.scale =
            options.value(QStringLiteral("scale"), QStringLiteral("1")).toDouble(&scaleOk);
        settings.quality =
            options.value(QStringLiteral("quality"), QStringLiteral("92")).toInt(&qualityOk);
    }
    if (!options.ok() || !scaleOk || settings.scale <= 0 || settings.scale > 2 || !qualityOk ||
        settings.quality < 1 || settings.quality > 100) {
        err << "build: "
            << (options.ok() ? QStringLiteral("bad --scale or --quality") : options.error())
            << "\nusage: moravelt-map build --data DIR --out DIR [--scale S] [--coast FILE] "
               "[--quality Q]\n";
        return 2;
    }
    try {
        QTextStream(stdout) << "build: " << build(settings, err) << '\n';
        return 0;
    } catch (const MoraveltError& e) {
        err << "build: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
