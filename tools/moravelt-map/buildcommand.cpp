#include "buildcommand.h"

#include "app/moravelterror.h"
#include "coastlinefile.h"
#include "commandoptions.h"
#include "mapdbwriter.h"
#include "maprenderer.h"
#include "mapstyle.h"
#include "outputfile.h"
#include "worldcheck.h"

#include <QDir>
#include <QFileInfo>
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

void writePicture(const QImage& image, const QString& path, int quality)
{
    QImageWriter writer(path, "jpg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (!writer.write(image))
        throw MoraveltError(QStringLiteral("%1: %2").arg(path, writer.errorString()));
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
    const WorldCheck check = WorldCheck::run(settings.dataDir, layout);
    if (check.diag.hasErrors()) {
        for (const QString& line : check.diag.lines())
            err << line << '\n';
        throw MoraveltError(QStringLiteral("%1 faults; nothing written").arg(check.diag.count()));
    }
    requireMapFont();
    const std::vector<LandPolygon> land = CoastlineFile::read(settings.coastFile);
    const QImage picture = MapRenderer(layout, land).render(*check.world, check.placed);

    if (!QDir().mkpath(settings.outDir))
        throw MoraveltError(QStringLiteral("cannot create %1").arg(settings.outDir));
    const QDir out(settings.outDir);
    OutputFile database(out.filePath(QStringLiteral("mapdata.mdb")));
    OutputFile jpeg(out.filePath(QStringLiteral("map.jpg")));
    MapDbWriter::write(database.tempPath(), *check.world, check.placed);
    writePicture(picture, jpeg.tempPath(), settings.quality);
    const qint64 jpegBytes = QFileInfo(jpeg.tempPath()).size();
    database.commit();
    jpeg.commit();
    return QStringLiteral("wrote %1 and map.jpg (%2x%3, %4 KiB): %5")
        .arg(database.finalPath())
        .arg(picture.width())
        .arg(picture.height())
        .arg(jpegBytes / 1024)
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
