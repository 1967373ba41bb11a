// SPDX-License-Identifier: MIT

#include "mapview/routeonmap.h"

#include "base/twips.h"
#include "mapview/mapimage.h"
#include "mapview/mapnavigator.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QRectF>
#include <algorithm>

namespace moravelt {

RouteOnMap::RouteOnMap(MapNavigator& navigator, QAbstractItemView& routeList, TownPlaces places,
                       QObject* parent)
    : QObject(parent), m_navigator(navigator), m_image(navigator.image()), m_list(routeList),
      m_places(std::move(places))
{
    connect(m_list.selectionModel(), &QItemSelectionModel::currentChanged, this,
            &RouteOnMap::showSelected);
    QAbstractItemModel* model = m_list.model();
    connect(model, &QAbstractItemModel::modelReset, this, &RouteOnMap::showSelected);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &RouteOnMap::showSelected);
}

void RouteOnMap::showSelected()
{
    const QModelIndex current = m_list.currentIndex();
    std::vector<QPointF> pixels;
    if (current.isValid()) {
        pixels = m_places.routePoints(current.data().toString());
        for (QPointF& p : pixels)
            p /= Twips::kPerPixel;
    }
    m_image.setRoute(std::move(pixels));
}

void RouteOnMap::setShown(bool shown)
{
    m_image.setRouteShown(shown);
}

void RouteOnMap::centre(const QString& route)
{
    const std::vector<QPointF> points = m_places.routePoints(route);
    if (points.empty())
        return;
    QPointF low = points.front();
    QPointF high = points.front();
    for (const QPointF& p : points) {
        low = {std::min(low.x(), p.x()), std::min(low.y(), p.y())};
        high = {std::max(high.x(), p.x()), std::max(high.y(), p.y())};
    }
    m_navigator.fit(QRectF(low, high));
}

void RouteOnMap::markStop(const QString& town)
{
    const std::optional<QPointF> dot = m_places.place(town);
    if (!dot) {
        clearStop();
        return;
    }
    m_image.setStop(*dot / Twips::kPerPixel);
    m_navigator.showPoint(*dot);
}

void RouteOnMap::clearStop()
{
    m_image.setStop(std::nullopt);
}

} // namespace moravelt
