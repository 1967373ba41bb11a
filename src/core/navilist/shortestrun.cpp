// SPDX-License-Identifier: MIT

#include "navilist/shortestrun.h"

#include "base/playermessage.h"
#include "base/prompt.h"
#include "navi/roadgraph.h"
#include "navilist/routelistmodel.h"

#include <QPointer>
#include <QPromise>

namespace moravelt {

ShortestRun::ShortestRun(RoadsSource roads, RouteListModel& routeList, Prompt& prompt,
                         QObject* parent)
    : QObject(parent), m_roads(std::move(roads)), m_routeList(routeList), m_prompt(prompt)
{
    // Queued, so that the outcome is handled outside the watcher's own signal: the error
    // box runs an event loop, and cancel() resets the watcher.
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &ShortestRun::handleOutcome,
            Qt::QueuedConnection);
}

ShortestRun::~ShortestRun()
{
    cancel();
}

bool ShortestRun::start(const QString& departure, const QString& destination,
                        TownPairCheck::HiddenRoads hidden, int k)
{
    if (m_running)
        return false;
    m_running = true;
    ++m_run;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    emit started();

    QPromise<Outcome> promise;
    promise.start();
    m_watcher.setFuture(promise.future());
    m_worker = std::thread([promise = std::move(promise), roads = m_roads, stop = m_stop, departure,
                            destination, hidden = std::move(hidden), k]() mutable {
        Outcome outcome;
        try {
            // Reading a large table must not hold the windows either.
            const std::shared_ptr<const RoadGraph> graph = roads(*stop);
            if (graph && !*stop)
                outcome.routes =
                    ShortestRoutes::find(*graph, departure, destination, k, hidden, stop.get());
        } catch (...) {
            outcome.failure = std::current_exception();
        }
        try {
            promise.addResult(std::move(outcome));
        } catch (...) {
            promise.setException(std::current_exception());
        }
        promise.finish();
    });
    return true;
}

void ShortestRun::handleOutcome()
{
    // Any call but the one for the run that is out is a notice of a run cancel() took back.
    if (!m_worker.joinable() || !m_watcher.future().isFinished())
        return;
    m_worker.join();
    const quint64 run = m_run;
    const QPointer<ShortestRun> self(this);
    std::exception_ptr failure;
    try {
        Outcome outcome = m_watcher.future().takeResult();
        failure = outcome.failure;
        if (!failure) {
            m_routeList.clear();
            m_routeList.addRoutes(outcome.routes);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    m_watcher.setFuture(QFuture<Outcome>());
    if (failure) {
        try {
            m_prompt.reportError(playerMessage(failure));
        } catch (...) {
            // Not even the report could be shown; the run still ends below.
        }
        // The box ran an event loop: the run may have been cancelled, or this object
        // deleted, meanwhile.
        if (!self || m_run != run)
            return;
    }
    ++m_run;
    m_running = false;
    emit finished(!failure);
}

void ShortestRun::stopWorker()
{
    if (!m_worker.joinable())
        return;
    m_stop->store(true);
    m_worker.join();
    // The outcome of the run taken back goes with its future, here and now.
    m_watcher.setFuture(QFuture<Outcome>());
}

void ShortestRun::cancel()
{
    if (!m_running)
        return;
    ++m_run;
    m_running = false;
    stopWorker();
}

} // namespace moravelt
