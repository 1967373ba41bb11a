#pragma once

#include "mapview/mappointer.h"
#include "mapview/placelookup.h"

#include <QObject>
#include <memory>

namespace moravelt {

class Form1;
class MapImage;

// The map's mouse handling: drags the picture, runs the town lookup when the pointer has moved
// far enough, fills the information window and opens the departure/destination pop-up.
class MapInput : public QObject
{
    Q_OBJECT
public:
    MapInput(Form1& main, MapImage& image);

    // The query slots exist only once the database is open.
    void setSlots(QuerySlots* querySlots);

    void Image1_MouseDown(int button, float x, float y);
    void Image1_MouseMove(int button, float x, float y);
    void Image1_MouseUp(int button, float x, float y);
    void MapMoveImg(float x, float y);
    void MapNameGet(float x, float y);

    const MapPointer& pointer() const { return m_pointer; }

private:
    void show(const PlaceLookupResult& place);
    // A failing lookup is reported once, not on every move.
    void reportLookupFailure(const QString& message);

    Form1& m_main;
    MapImage& m_image;
    MapPointer m_pointer;
    std::unique_ptr<PlaceLookup> m_lookup;
    QString m_lastFailure;
};

} // namespace moravelt
