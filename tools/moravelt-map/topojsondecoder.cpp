// SPDX-License-Identifier: MIT

#include "topojsondecoder.h"

#include "base/moravelterror.h"

#include <QJsonDocument>
#include <algorithm>

namespace moravelt {

namespace {

[[noreturn]] void fail(const QString& what)
{
    throw MoraveltError(QStringLiteral("TopoJSON: %1").arg(what));
}

} // namespace

std::vector<LandPolygon> TopoJsonDecoder::decode(const QByteArray& json, const QString& objectName)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (doc.isNull())
        fail(error.errorString());
    const QJsonObject topology = doc.object();
    if (topology.value(QStringLiteral("type")).toString() != QStringLiteral("Topology"))
        fail(QStringLiteral("not a topology"));
    readArcs(topology);

    const QJsonObject object =
        topology.value(QStringLiteral("objects")).toObject().value(objectName).toObject();
    if (object.isEmpty())
        fail(QStringLiteral("no object \"%1\"").arg(objectName));
    const QJsonArray geometries =
        object.value(QStringLiteral("type")).toString() == QStringLiteral("GeometryCollection")
            ? object.value(QStringLiteral("geometries")).toArray()
            : QJsonArray{object};
    std::vector<LandPolygon> result;
    for (const QJsonValue& value : geometries) {
        const QJsonObject geometry = value.toObject();
        const QString type = geometry.value(QStringLiteral("type")).toString();
        const QString country = geometry.value(QStringLiteral("properties"))
                                    .toObject()
                                    .value(QStringLiteral("name"))
                                    .toString();
        const QJsonArray arcs = geometry.value(QStringLiteral("arcs")).toArray();
        if (type == QStringLiteral("Polygon")) {
            result.push_back(polygon(arcs, country));
        } else if (type == QStringLiteral("MultiPolygon")) {
            for (const QJsonValue& rings : arcs)
                result.push_back(polygon(rings.toArray(), country));
        }
    }
    return result;
}

void TopoJsonDecoder::readArcs(const QJsonObject& topology)
{
    // Without a transform the positions are absolute; with one they are deltas of integers.
    const QJsonObject transform = topology.value(QStringLiteral("transform")).toObject();
    const bool quantized = !transform.isEmpty();
    const QJsonArray scale = transform.value(QStringLiteral("scale")).toArray();
    const QJsonArray translate = transform.value(QStringLiteral("translate")).toArray();
    if (quantized && (scale.size() != 2 || translate.size() != 2))
        fail(QStringLiteral("bad transform"));
    const double sx = quantized ? scale[0].toDouble() : 1;
    const double sy = quantized ? scale[1].toDouble() : 1;
    const double tx = quantized ? translate[0].toDouble() : 0;
    const double ty = quantized ? translate[1].toDouble() : 0;

    m_arcs.clear();
    for (const QJsonValue& arcValue : topology.value(QStringLiteral("arcs")).toArray()) {
        QPolygonF arc;
        double x = 0, y = 0;
        for (const QJsonValue& positionValue : arcValue.toArray()) {
            const QJsonArray position = positionValue.toArray();
            if (position.size() < 2)
                fail(QStringLiteral("bad position in arc %1").arg(m_arcs.size()));
            if (quantized) {
                x += position[0].toDouble();
                y += position[1].toDouble();
                arc << QPointF(x * sx + tx, y * sy + ty);
            } else {
                arc << QPointF(position[0].toDouble(), position[1].toDouble());
            }
        }
        m_arcs.push_back(arc);
    }
}

QPolygonF TopoJsonDecoder::ring(const QJsonArray& arcIndexes) const
{
    QPolygonF result;
    for (const QJsonValue& value : arcIndexes) {
        const int index = value.toInt();
        // A negative index ~i is arc i walked backwards.
        const int arcNumber = index >= 0 ? index : ~index;
        if (arcNumber >= int(m_arcs.size()))
            fail(QStringLiteral("arc %1 does not exist").arg(arcNumber));
        QPolygonF arc = m_arcs[std::size_t(arcNumber)];
        if (index < 0)
            std::reverse(arc.begin(), arc.end());
        // Consecutive arcs share their joining point.
        if (!result.isEmpty() && !arc.isEmpty())
            arc.removeFirst();
        result << arc;
    }
    return result;
}

LandPolygon TopoJsonDecoder::polygon(const QJsonArray& rings, const QString& country) const
{
    LandPolygon result;
    result.country = country;
    for (const QJsonValue& arcs : rings)
        result.rings << ring(arcs.toArray());
    return result;
}

} // namespace moravelt
