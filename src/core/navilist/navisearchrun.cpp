// SPDX-License-Identifier: MIT

#include "navilist/navisearchrun.h"

#include "base/playermessage.h"
#include "base/prompt.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"
#include "navilist/routelistmodel.h"

#include <QPromise>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace moravelt {

const QString NaviSearchRun::kQuestion =
    QStringLiteral("目的地へのルートを発見しました\r\nまだ検索しますか？");
const QString NaviSearchRun::kNormalCaption = QStringLiteral("!モラベルト");

// The search of one run, made by its first step. Owned by the runner between steps and by
// the worker during one; never by both.
struct NaviSearchRun::Walk
{
    std::shared_ptr<std::atomic<bool>> stop; // the search looks at it
    std::shared_ptr<const RoadGraph> graph;  // the search reads it
    std::unique_ptr<RouteSearch> search;     // declared last: goes first
};

// All a step needs on the worker, by value.
struct NaviSearchRun::StepWork
{
    std::unique_ptr<Walk> walk; // none before the first step
    // For the first step. A copy; the runner's own keeps what it refers to alive until
    // the worker is joined.
    RoadsSource roads;
    QString departure;
    QString destination;
    int level = 0;
    SearchLimits limits;
    std::int64_t keep = 0; // routes the list keeps
    std::shared_ptr<std::atomic<bool>> stop;
    RouteListModel::Merge merge; // the list as the step started
};

NaviSearchRun::StepOutcome::StepOutcome() = default;
NaviSearchRun::StepOutcome::StepOutcome(StepOutcome&&) noexcept = default;
NaviSearchRun::StepOutcome& NaviSearchRun::StepOutcome::operator=(StepOutcome&&) noexcept = default;
NaviSearchRun::StepOutcome::~StepOutcome() = default;

NaviSearchRun::NaviSearchRun(RoadsSource roads, RouteListModel& routeList, Prompt& prompt,
                             QObject* parent)
    : QObject(parent), m_roads(std::move(roads)), m_routeList(routeList), m_prompt(prompt)
{
    // Queued, so that the step is handled outside the watcher's own signal: a message box
    // of the handler's may run an event loop, and cancel() resets the watcher.
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &NaviSearchRun::handleStep,
            Qt::QueuedConnection);
}

NaviSearchRun::~NaviSearchRun()
{
    cancel();
    stopWorker(); // a worker is out only while a run is, but std::thread must not be left
}

bool NaviSearchRun::start(const QString& departure, const QString& destination, int level)
{
    if (isRunning())
        return false;
    m_departure = departure;
    m_destination = destination;
    m_level = level;
    m_running = true;
    m_walkedToTheEnd = false;
    ++m_run;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_routeList.clear();
    emit started();
    const Ticket ticket{this, m_run};
    try {
        runStep();
    } catch (...) {
        fail(ticket, std::current_exception());
    }
    return true;
}

void NaviSearchRun::runStep()
{
    StepWork work;
    work.walk = std::move(m_walk);
    if (!work.walk) {
        work.roads = m_roads;
        work.departure = m_departure;
        work.destination = m_destination;
        work.level = m_level;
        work.limits = m_limits;
    }
    work.keep = m_limits.maxRoutes;
    work.stop = m_stop;
    work.merge = m_routeList.startMerge();

    QPromise<StepOutcome> promise;
    promise.start();
    m_watcher.setFuture(promise.future());
    m_worker = std::thread([promise = std::move(promise), work = std::move(work)]() mutable {
        try {
            promise.addResult(walkStep(std::move(work)));
        } catch (...) {
            // No room for the outcome: the future carries the failure instead.
            promise.setException(std::current_exception());
        }
        promise.finish();
    });
}

NaviSearchRun::StepOutcome NaviSearchRun::walkStep(StepWork work) noexcept
{
    StepOutcome outcome;
    // A step stopped by cancel() reads as cancelled, though nobody reads it.
    const auto stopped = [&outcome] {
        outcome.step.stop = SearchStop::Cancelled;
        return std::move(outcome);
    };
    try {
        if (!work.walk) {
            // The first step fetches the roads: a large table must not hold the windows.
            auto walk = std::make_unique<Walk>();
            walk->stop = work.stop;
            walk->graph = work.roads(*work.stop);
            if (*work.stop || !walk->graph)
                return stopped();
            walk->search =
                std::make_unique<RouteSearch>(*walk->graph, work.departure, work.destination,
                                              work.level, work.limits, walk->stop.get());
            work.walk = std::move(walk);
        }
        outcome.step = work.walk->search->step();
        outcome.walk = std::move(work.walk);
        // Sorting and merging a large step's routes is the slow part of listing them.
        if (!outcome.step.routes.sortTextOrder(work.stop.get()))
            return stopped();
        outcome.found = outcome.step.found();
        if (!work.merge.prepare(std::make_shared<const RouteBatch>(std::move(outcome.step.routes)),
                                work.stop.get(), work.keep))
            return stopped();
        outcome.merge = std::move(work.merge);
    } catch (...) {
        outcome.failure = std::current_exception();
    }
    return outcome;
}

void NaviSearchRun::handleStep()
{
    // Handles the step that is out once its outcome is there. Any other call is a notice of
    // a step that cancel() has taken back, or that was handled already.
    if (!m_worker.joinable() || !m_watcher.future().isFinished())
        return;
    const Ticket ticket{this, m_run};
    try {
        handleOutcome(ticket);
    } catch (...) {
        fail(ticket, std::current_exception());
    }
}

void NaviSearchRun::handleOutcome(const Ticket& ticket)
{
    m_worker.join();
    QFuture<StepOutcome> future = m_watcher.future();
    StepOutcome outcome = future.takeResult(); // rethrows what the worker could not put in one
    if (outcome.failure) {
        fail(ticket, outcome.failure);
        return;
    }
    m_walk = std::move(outcome.walk);
    const SearchStep& step = outcome.step;
    if (m_beforeListing)
        m_beforeListing();
    m_routeList.addRoutes(std::move(outcome.merge));
    if (step.listFilled)
        emit captionChanged(listFullCaption(m_limits.maxRoutes));

    // The message boxes run their own event loops: the run may be cancelled, or this object
    // deleted, before they return.
    if (step.stop != SearchStop::None && step.stop != SearchStop::Cancelled) {
        m_prompt.inform(limitMessage(step.stop, m_routeList.count() > 0));
        if (ticket.current())
            finish();
        return;
    }
    if (step.stop == SearchStop::Cancelled || step.frontierEmpty) {
        m_walkedToTheEnd = step.stop == SearchStop::None;
        finish();
        return;
    }
    if (outcome.found) {
        const bool searchOn = m_prompt.askYesNo(kQuestion);
        if (!ticket.current())
            return;
        if (!searchOn) {
            finish();
            return;
        }
    }
    if (step.index > 0)
        emit captionChanged(step.caption());
    runStep();
}

void NaviSearchRun::fail(const Ticket& ticket, std::exception_ptr failure)
{
    if (!ticket.current())
        return;
    try {
        m_prompt.reportError(playerMessage(failure));
    } catch (...) {
        // Not even the report could be shown; the run still ends below.
    }
    if (ticket.current())
        finish();
}

void NaviSearchRun::stopWorker()
{
    if (!m_worker.joinable())
        return;
    m_stop->store(true);
    m_worker.join();
    // The outcome of the step taken back goes with its future, here and now.
    m_watcher.setFuture(QFuture<StepOutcome>());
}

void NaviSearchRun::finish()
{
    ++m_run;
    m_running = false;
    stopWorker();
    releaseWalk();
    emit captionChanged(kNormalCaption);
    emit finished();
}

void NaviSearchRun::cancel()
{
    if (!isRunning())
        return;
    ++m_run;
    m_running = false;
    stopWorker();
    releaseWalk();
}

void NaviSearchRun::releaseWalk()
{
    m_walk.reset();
    // The search's table and batches were allocated on worker threads, whose malloc arenas
    // keep what is freed for themselves: handed back now, a few searches in a row on a dense
    // map do not add up beyond one search's budget.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

QString NaviSearchRun::listFullCaption(qint64 kept)
{
    return QStringLiteral("+ルート一覧が %1 件になりました。以後は短い順に %1 件を残して検索します")
        .arg(kept);
}

QString NaviSearchRun::limitMessage(SearchStop stop, bool listed)
{
    const QString lower = QStringLiteral("\r\nナビ精度を下げると、速く検索できます。");
    // The table of what partial routes can reach is set up before any route is found.
    if (stop == SearchStop::StateCap)
        return QStringLiteral("ルートの候補が多すぎるため、検索できませんでした。") + lower;
    const QString reason =
        stop == SearchStop::TimeBudget
            ? QStringLiteral("ルートの検索に時間がかかりすぎるため、途中で止めました。")
            : QStringLiteral("検索に使えるメモリの上限に達したため、検索を途中で止めました。");
    if (!listed)
        return reason + lower;
    return reason + QStringLiteral("\r\nここまでに見つかったルートを一覧に表示しています。") +
           lower;
}

} // namespace moravelt
