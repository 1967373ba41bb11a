// SPDX-License-Identifier: MIT

#include "coastlinefile.h"

#include "base/moravelterror.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <cmath>

namespace moravelt {

namespace {

struct CoastFault
{
    int line;
    QString why;
};

std::vector<LandPolygon> readOrThrow(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw CoastFault{
            1, QStringLiteral("cannot read the land extract: %1").arg(file.errorString())};
    std::vector<LandPolygon> polygons;
    QTextStream in(&file);
    int lineNumber = 0;
    const auto fail = [&](const QString& why) { throw CoastFault{lineNumber, why}; };
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QStringLiteral("polygon "))) {
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.size() < 3 ||
                (parts[1] != QStringLiteral("J") && parts[1] != QStringLiteral("N")))
                fail(QStringLiteral("expected \"polygon J|N COUNTRY\""));
            polygons.push_back(
                {parts.mid(2).join(QLatin1Char(' ')), parts[1] == QStringLiteral("J"), {}});
        } else if (line == QStringLiteral("ring")) {
            if (polygons.empty())
                fail(QStringLiteral("ring before any polygon"));
            polygons.back().rings << QPolygonF();
        } else {
            const QStringList parts = line.split(QLatin1Char(' '));
            bool okX = false, okY = false;
            const double lon = parts.value(0).toDouble(&okX);
            const double lat = parts.value(1).toDouble(&okY);
            if (parts.size() != 2 || !okX || !okY)
                fail(QStringLiteral("expected \"LONGITUDE LATITUDE\""));
            // "nan" and "inf" read as numbers but would stall the drawing.
            if (!std::isfinite(lon) || !std::isfinite(lat) || std::abs(lon) > 180 ||
                std::abs(lat) > 90)
                fail(QStringLiteral("\"%1\" is no point on the globe: longitude and latitude "
                                    "must be finite degrees")
                         .arg(line));
            if (polygons.empty() || polygons.back().rings.isEmpty())
                fail(QStringLiteral("point before any ring"));
            polygons.back().rings.last() << QPointF(lon, lat);
        }
    }
    return polygons;
}

} // namespace

std::vector<LandPolygon> CoastlineFile::read(const QString& path)
{
    try {
        return readOrThrow(path);
    } catch (const CoastFault& fault) {
        throw MoraveltError(QStringLiteral("%1:%2: %3").arg(path).arg(fault.line).arg(fault.why));
    }
}

std::vector<LandPolygon> CoastlineFile::read(const QString& path, Diagnostics& diag)
{
    try {
        return readOrThrow(path);
    } catch (const CoastFault& fault) {
        diag.error({path, fault.line}, fault.why);
        return {};
    }
}

void CoastlineFile::write(const QString& path, const std::vector<LandPolygon>& polygons,
                          const QStringList& notes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw MoraveltError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    QTextStream out(&file);
    for (const QString& note : notes)
        out << "# " << note << '\n';
    for (const LandPolygon& polygon : polygons) {
        out << "polygon " << (polygon.japan ? 'J' : 'N') << ' ' << polygon.country << '\n';
        for (const QPolygonF& ring : polygon.rings) {
            out << "ring\n";
            for (const QPointF& p : ring)
                out << QString::number(p.x(), 'f', 4) << ' ' << QString::number(p.y(), 'f', 4)
                    << '\n';
        }
    }
    out.flush();
    if (!file.commit())
        throw MoraveltError(QStringLiteral("%1: %2").arg(path, file.errorString()));
}

} // namespace moravelt
