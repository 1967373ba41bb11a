// SPDX-License-Identifier: MIT

#pragma once

#include "navi/searchlimits.h"
#include "navi/searchstep.h"
#include "navilist/routelistmodel.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace moravelt {

class Prompt;
class RoadGraph;

// Runs the route search the way the "ナビ作成" command does: it clears the route list, runs
// one step after the other, adds each step's routes to the list, asks after a step that
// found one whether to search on and shows the towns first met as progress. Reading the
// roads and each step run on a worker thread while the windows go on answering; the steps'
// results are handled on the thread that owns this object. One search at a time.
//
// Threads. Each step runs on a thread of its own, started for it and joined before its
// outcome is handled. It is handed its work as a value (StepWork) and hands back a value
// (StepOutcome) through a QPromise, whose end a QFutureWatcher reports here; it touches
// nothing of this object. The search itself (the roads and the RouteSearch: a Walk) goes
// along: this object owns it between steps, the worker during one, and a step taken back
// by cancel() leaves it in its outcome, which goes with the future. What both threads see
// at once is the run's stop flag (atomic) and the route batches already in the list, which
// the list's merge copy shares and nobody changes.
//
// Failures. A failure of the worker's, or of the handling of its outcome here, ends the run
// with one report through Prompt::reportError, worded by playerMessage(); no exception
// leaves a handler.
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
    // Shown once, when the route list first holds all the routes it keeps (%1).
    static QString listFullCaption(qint64 kept);

    NaviSearchRun(RoadsSource roads, RouteListModel& routeList, Prompt& prompt,
                  QObject* parent = nullptr);
    // Cancels a running search and joins its worker. Not while one of this object's own
    // message boxes is open: deleteLater() it then.
    ~NaviSearchRun() override;

    void setLimits(const SearchLimits& limits) { m_limits = limits; }
    const SearchLimits& limits() const { return m_limits; }

    // Starts a search and returns at once; false, doing nothing, while one is running. The
    // roads are fetched on the worker first; a failure there is reported and ends the search.
    bool start(const QString& departure, const QString& destination, int level);
    bool isRunning() const { return m_running; }
    // The last run ended because no partial route was left to grow, so its list holds every
    // route the precision allows; not after a limit, a failure or a cancel.
    bool walkedToTheEnd() const { return m_walkedToTheEnd; }
    // Stops a running search and joins its worker. No signal follows, so the exit sequence
    // may call it while the windows are going away, and a message box of this object's that
    // is open meanwhile returns to a run that is over.
    void cancel();

    // For tests: called on this object's thread just before a step's routes go into the
    // list; what it throws is a failure of that step.
    void setBeforeListing(std::function<void()> hook) { m_beforeListing = std::move(hook); }

signals:
    void started();                              // the route list should be in view
    void captionChanged(const QString& caption); // for the main window's caption
    void finished();

private:
    struct Walk;
    struct StepWork;
    // What a step hands back from the worker. Moved, never copied: a step's routes may be
    // a million.
    struct StepOutcome
    {
        std::unique_ptr<Walk> walk; // the search, for the next step
        SearchStep step;            // its routes moved into `merge`
        bool found = false;
        RouteListModel::Merge merge;
        std::exception_ptr failure;

        StepOutcome();
        StepOutcome(StepOutcome&&) noexcept;
        StepOutcome& operator=(StepOutcome&&) noexcept;
        ~StepOutcome();
    };
    // A run as a handler saw it before a message box: once the box has returned, the
    // handler goes on only while this is still current (this object alive, the run neither
    // cancelled nor over).
    struct Ticket
    {
        QPointer<NaviSearchRun> self;
        quint64 run;
        bool current() const { return self && self->m_run == run; }
    };

    static StepOutcome walkStep(StepWork work) noexcept;
    void runStep();
    void handleStep();
    void handleOutcome(const Ticket& ticket);
    void fail(const Ticket& ticket, std::exception_ptr failure);
    void stopWorker();
    void releaseWalk();
    void finish();
    static QString limitMessage(SearchStop stop, bool listed);

    RoadsSource m_roads;
    RouteListModel& m_routeList;
    Prompt& m_prompt;
    SearchLimits m_limits;
    std::function<void()> m_beforeListing;
    QString m_departure;
    QString m_destination;
    int m_level = 0;
    bool m_running = false;
    bool m_walkedToTheEnd = false;
    quint64 m_run = 0; // counts starts, cancels and ends, so that a handler knows its run
    // This run's stop flag, shared with its worker and its search.
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::unique_ptr<Walk> m_walk; // between steps; the worker has it during one
    std::thread m_worker;         // joinable while a step is out
    QFutureWatcher<StepOutcome> m_watcher;
};

} // namespace moravelt
