// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

namespace moravelt {

class GameSession;
class Prompt;

// Names, once per game, the road rows of the map that no search can use. The session reads
// its roads on a thread of its own from start-up; this looks on the window's thread now and
// then until they are there. While a search runs (hold) the message waits for its end, so
// that it never comes between a search's own boxes.
class RoadNotice : public QObject
{
    Q_OBJECT
public:
    RoadNotice(std::shared_ptr<const GameSession> session, Prompt& prompt,
               QObject* parent = nullptr);

    void hold(bool held);

signals:
    // The roads were there and looked at, whether or not a row was dropped.
    void checked();

private:
    void look();
    void tell();

    std::shared_ptr<const GameSession> m_session;
    Prompt& m_prompt;
    QTimer m_timer;
    bool m_held = false;
    QString m_message; // what is still to be said
};

} // namespace moravelt
