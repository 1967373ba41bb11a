// SPDX-License-Identifier: MIT

#pragma once

#include "navi/searchlimits.h"
#include "navi/searchstep.h"
#include "navilist/routelistmodel.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace moravelt {

class Prompt;
class RoadGraph;
class RouteSearch;

// Runs the route search the way the "ナビ作成" command does: it clears the route list, runs
// one step after the other, adds each step's routes to the list, asks after a step that
// found one whether to search on and shows the towns first met as progress. Reading the
// roads and each step run on a worker thread while the windows go on answering; the steps'
// results are handled on the thread that owns this object. One search at a time.
class NaviSearchRun : public QObject
{
    Q_OBJECT
public:
    // Where a search gets its roads. Called on the worker; it may wait, returns nothing once
    // `cancel` is set, and throws MoraveltError when the roads cannot be read.
    using RoadsSource =
        std::function<std::shared_ptr<const RoadGraph>(const std::atomic<bool>& cancel)>;

    static const QString kQuestion;      // asked after a step that found a route
    static const QString kNormalCaption; // the main window's caption after a search

    NaviSearchRun(RoadsSource roads, RouteListModel& routeList, Prompt& prompt,
                  QObject* parent = nullptr);
    ~NaviSearchRun() override;

    void setLimits(const SearchLimits& limits) { m_limits = limits; }
    const SearchLimits& limits() const { return m_limits; }

    // Starts a search and returns at once; false, doing nothing, while one is running. The
    // roads are fetched on the worker first; a failure there is reported and ends the search.
    bool start(const QString& departure, const QString& destination, int level);
    bool isRunning() const { return m_running; }
    // Stops a running search and joins its worker. No signal follows, so the exit sequence
    // may call it while the windows are going away.
    void cancel();

signals:
    void started();                              // the route list should be in view
    void captionChanged(const QString& caption); // for the main window's caption
    void finished();

private:
    void runStep();
    void handleStep(quint64 generation);
    void finish();
    static QString limitMessage(SearchStop stop);

    RoadsSource m_roads;
    RouteListModel& m_routeList;
    Prompt& m_prompt;
    SearchLimits m_limits;
    std::shared_ptr<const RoadGraph> m_graph;
    std::unique_ptr<RouteSearch> m_search;
    QString m_departure;
    QString m_destination;
    int m_level = 0;
    bool m_running = false;
    std::atomic<bool> m_cancelled{false};
    QThread* m_worker = nullptr;
    SearchStep m_result;
    bool m_found = false;
    RouteListModel::Merge m_merge;
    QString m_failure;
    quint64 m_generation = 0;
};

} // namespace moravelt
