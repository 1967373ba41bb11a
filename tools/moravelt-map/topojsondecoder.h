// SPDX-License-Identifier: MIT

#pragma once

#include "landpolygon.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <vector>

namespace moravelt {

// Decodes the polygons of one object of a TopoJSON topology: shared arcs, quantized and
// delta-encoded, stitched back into rings. Each geometry's "name" property becomes the
// polygon's country. Throws MoraveltError on input it does not understand.
class TopoJsonDecoder
{
public:
    std::vector<LandPolygon> decode(const QByteArray& json, const QString& objectName);

private:
    void readArcs(const QJsonObject& topology);
    QPolygonF ring(const QJsonArray& arcIndexes) const;
    LandPolygon polygon(const QJsonArray& rings, const QString& country) const;

    std::vector<QPolygonF> m_arcs;
};

} // namespace moravelt
