// SPDX-License-Identifier: MIT

#pragma once

#include "lookup/mappointer.h"
#include "lookup/placelookup.h"

#include <QObject>
#include <QPoint>
#include <memory>

namespace moravelt {

class MapImage;
class Prompt;

// The map's mouse handling: drags the picture and runs the town lookup when the pointer has
// moved far enough. A drag goes no further than leaves the map in view (MapFrame::keptInView),
// at every zoom level and wherever the button is released. What it finds, and a right click
// over a town, are reported by signals; a failing lookup is reported once through the prompt.
class MapInput : public QObject
{
    Q_OBJECT
public:
    MapInput(MapImage& image, Prompt& prompt, QObject* parent = nullptr);

    // The query slots exist only once the map is open. The lookup keeps them alive.
    void setSlots(std::shared_ptr<QuerySlots> querySlots);
    // Whether the quiz's answers keep their marks ("答えも表示").
    void setAnswersShown(bool shown) { m_answersShown = shown; }

    void Image1_MouseDown(int button, float x, float y);
    void Image1_MouseMove(int button, float x, float y);
    void Image1_MouseUp(int button, float x, float y);
    void MapMoveImg(float x, float y);
    void MapNameGet(float x, float y);
    // The lookup a hover at X, Y runs when it is due, run now.
    void lookUp(float x, float y);

    const MapPointer& pointer() const { return m_pointer; }

signals:
    void placeFound(const moravelt::PlaceLookupResult& place);
    // A right click over a town whose quiz is shown: the departure/destination pop-up.
    void destinationMenuRequested(const QPoint& globalPos);

private:
    // A failing lookup is reported once, not on every move.
    void reportLookupFailure(const QString& message);

    MapImage& m_image;
    Prompt& m_prompt;
    MapPointer m_pointer;
    std::shared_ptr<QuerySlots> m_slots; // outlives the lookup that refers to it
    std::unique_ptr<PlaceLookup> m_lookup;
    bool m_answersShown = false;
    QString m_lastFailure;
};

} // namespace moravelt
