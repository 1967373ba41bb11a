// SPDX-License-Identifier: MIT

#include "ferrysourcecheck.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace moravelt {

namespace {

QString withThousands(int km)
{
    QString text = QString::number(km);
    for (qsizetype i = text.size() - 3; i > 0; i -= 3)
        text.insert(i, QLatin1Char(','));
    return text;
}

} // namespace

bool FerrySourceCheck::namesFerry(const QString& line, const WorldRoad& road)
{
    if (!line.contains(road.from) || !line.contains(road.to))
        return false;
    // The whole number: "1066 km" does not name a ferry of 66 km.
    const QRegularExpression km(QStringLiteral("(?<![0-9,.])(%1|%2) ?km")
                                    .arg(QString::number(road.km), withThousands(road.km)));
    return km.match(line).hasMatch();
}

void FerrySourceCheck::run(const WorldData& world)
{
    const QString notes = QFileInfo(world.notes.file).fileName();
    // Both directions of a ferry share their line; each pair is reported once, at its first row.
    QSet<QString> checked;
    for (const WorldRoad& road : world.roads) {
        if (!road.ferry || road.km <= kLongFerryKm)
            continue;
        const QString key = std::min(road.from, road.to) + QLatin1Char('/') +
                            std::max(road.from, road.to) + QLatin1Char('/') +
                            QString::number(road.km);
        if (checked.contains(key))
            continue;
        checked.insert(key);
        const bool named = std::any_of(world.notes.lines.begin(), world.notes.lines.end(),
                                       [&](const QString& line) { return namesFerry(line, road); });
        if (!named)
            m_diag.error(road.at, QStringLiteral("ferry %1%2%3 of %4 km: no line of %5 names its "
                                                 "service with both towns and \"%4 km\"")
                                      .arg(road.from, QChar(0x2192), road.to)
                                      .arg(road.km)
                                      .arg(notes));
    }
}

} // namespace moravelt
