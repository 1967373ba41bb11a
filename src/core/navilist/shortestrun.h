// SPDX-License-Identifier: MIT

#pragma once

#include "navi/shortestroutes.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace moravelt {

class Prompt;
class RoadGraph;
class RouteListModel;

// Runs "最短ルート": fetches the roads and finds the k shortest routes on a worker thread
// while the windows go on answering, then puts them into the route list, in place of what it
// held, on the thread that owns this object. One run at a time.
//
// The worker gets its work by value and hands back a value through a QPromise, whose end a
// QFutureWatcher reports here; the two share only the run's stop flag, which the route
// search looks at inside its loops. A failure, the worker's or the listing's, is reported
// once through Prompt::reportError, worded by playerMessage(); the list then stays as it was.
class ShortestRun : public QObject
{
    Q_OBJECT
public:
    // Where a run gets its roads. Called on the worker; it may wait, returns nothing once
    // `cancel` is set, and throws MoraveltError when the roads cannot be read.
    using RoadsSource =
        std::function<std::shared_ptr<const RoadGraph>(const std::atomic<bool>& cancel)>;

    ShortestRun(RoadsSource roads, RouteListModel& routeList, Prompt& prompt,
                QObject* parent = nullptr);
    // Cancels a running search and joins its worker. Not while this object's error box is
    // open: deleteLater() it then.
    ~ShortestRun() override;

    // Starts a search and returns at once; false, doing nothing, while one is running.
    // `hidden` names the hidden towns among the two, so that they are told apart from
    // unknown names.
    bool start(const QString& departure, const QString& destination,
               TownPairCheck::HiddenRoads hidden = {}, int k = ShortestRoutes::kCount);
    bool isRunning() const { return m_running; }
    // Stops a running search and joins its worker; no signal follows and the list is left
    // as it was. For the exit sequence too.
    void cancel();

signals:
    void started();
    // The run is over: `listed` when its routes are in the list, false after a failure.
    void finished(bool listed);

private:
    struct Outcome
    {
        QStringList routes;
        std::exception_ptr failure;
    };

    void handleOutcome();
    void stopWorker();

    RoadsSource m_roads;
    RouteListModel& m_routeList;
    Prompt& m_prompt;
    bool m_running = false;
    quint64 m_run = 0; // counts starts, cancels and ends, so that a handler knows its run
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::thread m_worker; // joinable while a run is out
    QFutureWatcher<Outcome> m_watcher;
};

} // namespace moravelt
