// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QPolygonF>
#include <QString>

namespace moravelt {

// One polygon of land in longitude (x) and latitude (y): the outline first, then its holes.
struct LandPolygon
{
    QString country;
    bool japan = false; // drawn in the home colour, the others muted
    QList<QPolygonF> rings;
};

} // namespace moravelt
