#include "coastlinefile.h"

#include "app/moravelterror.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace moravelt {

std::vector<LandPolygon> CoastlineFile::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw MoraveltError(
            QStringLiteral("%1: cannot read the land extract: %2").arg(path, file.errorString()));
    std::vector<LandPolygon> polygons;
    QTextStream in(&file);
    int lineNumber = 0;
    const auto fail = [&](const QString& why) {
        throw MoraveltError(QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(why));
    };
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
            if (polygons.empty() || polygons.back().rings.isEmpty())
                fail(QStringLiteral("point before any ring"));
            polygons.back().rings.last() << QPointF(lon, lat);
        }
    }
    return polygons;
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
