// SPDX-License-Identifier: MIT

#pragma once

#include "navi/townpaircheck.h"

#include <QObject>
#include <memory>

namespace moravelt {

class Form3;
class GameSession;

// The navi list window's status line for the searches: cleared as one starts, and saying
// why "ナビ作成" ends with an empty route list, in TownPairCheck's words.
class SearchStatus : public QObject
{
    Q_OBJECT
public:
    SearchStatus(std::shared_ptr<GameSession> session, Form3& navi, QObject* parent = nullptr);

    // Before a search at `level`: clears the line; when the pair cannot give a route, empties
    // the route list, shows it with the reason and returns false. Waits for the roads to be
    // read; throws MoraveltError when they, or the hidden towns, cannot be.
    bool allowSearch(const QString& departure, const QString& destination, int level);
    // After that search: a route list left empty by a search that walked to its end gets
    // "no route at this precision".
    void searchEnded(bool walkedToTheEnd);

    // For "最短ルート": clears the line and gives the hidden towns among the two names.
    TownPairCheck::HiddenRoads hiddenRoads(const QString& departure, const QString& destination);

private:
    std::shared_ptr<GameSession> m_session;
    Form3& m_navi;
    QString m_departure;
    QString m_destination;
    int m_level = 0;
};

} // namespace moravelt
