// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractNativeEventFilter>
#include <vector>

namespace moravelt {

class FramedPlace;

// The native event filter that tells the places still waiting for their frame of the events
// that may bring it (see isX11FrameEvent): the window itself may neither move nor resize when
// it is framed. It is installed with the first place watched and removed with the last one
// forgotten, so nothing stays in the application's event dispatcher once every window is
// framed or gone.
class FrameEvents final : public QAbstractNativeEventFilter
{
public:
    static void watch(FramedPlace& place);
    static void forget(FramedPlace& place);
    // Whether the filter is in the event dispatcher now: while any place is watched.
    static bool isInstalled();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    FrameEvents();
    ~FrameEvents() override;

    std::vector<FramedPlace*> m_places;
};

} // namespace moravelt
