// SPDX-License-Identifier: MIT

#include "windows/roadnotice.h"

#include "base/prompt.h"
#include "navi/roadgraph.h"
#include "session/gamesession.h"

#include <utility>

namespace moravelt {

RoadNotice::RoadNotice(std::shared_ptr<const GameSession> session, Prompt& prompt, QObject* parent)
    : QObject(parent), m_session(std::move(session)), m_prompt(prompt)
{
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &RoadNotice::look);
    m_timer.start();
}

void RoadNotice::hold(bool held)
{
    m_held = held;
    tell();
}

void RoadNotice::look()
{
    if (!m_session->roadsReady())
        return;
    m_timer.stop();
    try {
        m_message = m_session->roads()->droppedRowsMessage();
    } catch (...) {
        // Roads that cannot be read at all are reported by the search that asks for them.
    }
    emit checked();
    tell();
}

void RoadNotice::tell()
{
    if (m_held || m_message.isEmpty())
        return;
    m_prompt.inform(std::exchange(m_message, QString()));
}

} // namespace moravelt
