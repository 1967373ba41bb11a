// SPDX-License-Identifier: MIT

#pragma once

#include "navilist/navisearchrun.h"
#include "navilist/shortestrun.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QAction;

namespace moravelt {

class Form3;
class GameSession;
class Prompt;
class SearchStatus;

// The navi list's commands on an open map: "ナビ作成" (the step-wise search), "最短ルート"
// and turning a chosen route into the navigation list. Both runners live as long as the
// session they read from; the commands are ignored while either search runs.
class NaviCommands : public QObject
{
    Q_OBJECT
public:
    NaviCommands(std::shared_ptr<GameSession> session, Form3& navi, Prompt& prompt,
                 const QAction& answers, QObject* parent = nullptr);
    ~NaviCommands() override;

    NaviSearchRun* searchRun() const { return m_searchRun; }
    ShortestRun* shortestRun() const { return m_shortestRun; }

    // Searches at the precision level given.
    void MoraveltNavi(int level);
    void ShortestNavi();
    // Turns a route string into the navigation list; throws MoraveltError.
    void NaveSet(const QString& strRuto);
    // Stops a running search of either kind; no signal follows. For the exit sequence.
    void cancel();

signals:
    // A search started (true) or ended (false); the commands wait for it.
    void searchRunning(bool running);
    void captionChanged(const QString& caption);
    // A search emptied the route list to fill it, or "最短ルート" filled it: the navi list
    // window is to be seen.
    void routeListFilled();

private:
    bool searching() const;

    std::shared_ptr<GameSession> m_session;
    Form3& m_navi;
    Prompt& m_prompt;
    const QAction& m_answers;
    QPointer<NaviSearchRun> m_searchRun;
    SearchStatus* m_status;
    QPointer<ShortestRun> m_shortestRun;
};

} // namespace moravelt
