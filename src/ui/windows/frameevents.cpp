// SPDX-License-Identifier: MIT

#include "windows/frameevents.h"

#include "windows/framedplace.h"
#include "windows/x11frameextents.h"

#include <QCoreApplication>
#include <algorithm>

namespace moravelt {

namespace {

FrameEvents* g_installed = nullptr;

} // namespace

FrameEvents::FrameEvents()
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

FrameEvents::~FrameEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void FrameEvents::watch(FramedPlace& place)
{
    if (!g_installed)
        g_installed = new FrameEvents;
    if (std::find(g_installed->m_places.begin(), g_installed->m_places.end(), &place) ==
        g_installed->m_places.end())
        g_installed->m_places.push_back(&place);
}

void FrameEvents::forget(FramedPlace& place)
{
    if (!g_installed)
        return;
    std::erase(g_installed->m_places, &place);
    if (g_installed->m_places.empty()) {
        delete g_installed;
        g_installed = nullptr;
    }
}

bool FrameEvents::isInstalled()
{
    return g_installed != nullptr;
}

bool FrameEvents::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (isX11FrameEvent(eventType, message)) {
        // Checked once Qt has handled the event.
        for (FramedPlace* place : m_places)
            place->checkFramedLater();
    }
    return false;
}

} // namespace moravelt
