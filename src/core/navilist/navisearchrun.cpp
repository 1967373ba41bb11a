// SPDX-License-Identifier: MIT

#include "navilist/navisearchrun.h"

#include "base/prompt.h"
#include "navi/roadgraph.h"
#include "navi/routesearch.h"
#include "navilist/routelistmodel.h"

#include <QPointer>
#include <QThread>
#include <exception>

namespace moravelt {

const QString NaviSearchRun::kQuestion =
    QStringLiteral("目的地へのルートを発見しました\r\nまだ検索しますか？");
const QString NaviSearchRun::kNormalCaption = QStringLiteral("!モラベルト");

NaviSearchRun::NaviSearchRun(RoadsSource roads, RouteListModel& routeList, Prompt& prompt,
                             QObject* parent)
    : QObject(parent), m_roads(std::move(roads)), m_routeList(routeList), m_prompt(prompt)
{
}

NaviSearchRun::~NaviSearchRun()
{
    cancel();
}

bool NaviSearchRun::start(const QString& departure, const QString& destination, int level)
{
    if (isRunning())
        return false;
    m_departure = departure;
    m_destination = destination;
    m_level = level;
    m_running = true;
    m_cancelled = false;
    m_routeList.clear();
    emit started();
    runStep();
    return true;
}

void NaviSearchRun::runStep()
{
    const quint64 generation = ++m_generation;
    m_failure.clear();
    m_found = false;
    m_merge = m_routeList.startMerge();
    // Between steps only this thread touches the search; during one, only the worker.
    m_worker = QThread::create([this] {
        try {
            if (!m_search) {
                // The first step fetches the roads: a large table must not hold the windows.
                m_graph = m_roads(m_cancelled);
                if (m_cancelled || !m_graph)
                    return;
                m_search = std::make_unique<RouteSearch>(*m_graph, m_departure, m_destination,
                                                         m_level, m_limits, &m_cancelled);
            }
            m_result = m_search->step();
            // Sorting and merging a large step's routes is the slow part of listing them.
            // A stopped sort or merge means the search was cancelled: nobody waits for it.
            if (!m_result.routes.sortTextOrder(&m_cancelled))
                return;
            m_found = m_result.found();
            if (!m_merge.prepare(std::make_shared<const RouteBatch>(std::move(m_result.routes)),
                                 &m_cancelled))
                return;
        } catch (const std::exception& e) {
            m_failure = QString::fromLocal8Bit(e.what());
        }
    });
    connect(
        m_worker, &QThread::finished, this, [this, generation] { handleStep(generation); },
        Qt::QueuedConnection);
    m_worker->start();
}

void NaviSearchRun::handleStep(quint64 generation)
{
    // A step that was cancelled, or whose thread is gone, reports nothing.
    if (generation != m_generation || m_worker == nullptr)
        return;
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    const SearchStep step = std::move(m_result);
    const bool found = m_found;
    m_routeList.addRoutes(std::move(m_merge));

    // The message boxes run their own event loops: the run may be cancelled, or this object
    // deleted, before they return.
    QPointer<NaviSearchRun> self(this);
    const auto stillRunning = [&] { return self && generation == m_generation; };
    if (!m_failure.isEmpty()) {
        m_prompt.reportError(m_failure);
        if (stillRunning())
            finish();
        return;
    }
    if (step.stop != SearchStop::None && step.stop != SearchStop::Cancelled) {
        m_prompt.inform(limitMessage(step.stop));
        if (stillRunning())
            finish();
        return;
    }
    if (step.stop == SearchStop::Cancelled || step.frontierEmpty) {
        finish();
        return;
    }
    if (found) {
        const bool searchOn = m_prompt.askYesNo(kQuestion);
        if (!stillRunning())
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

void NaviSearchRun::finish()
{
    ++m_generation;
    m_running = false;
    m_search.reset();
    m_graph.reset();
    emit captionChanged(kNormalCaption);
    emit finished();
}

void NaviSearchRun::cancel()
{
    if (!isRunning())
        return;
    ++m_generation;
    m_cancelled = true;
    if (m_worker != nullptr) {
        m_worker->wait();
        delete m_worker;
        m_worker = nullptr;
    }
    m_search.reset();
    m_graph.reset();
    m_running = false;
}

QString NaviSearchRun::limitMessage(SearchStop stop)
{
    const QString lower = QStringLiteral("\r\nナビ精度を下げると、速く検索できます。");
    // The table of what partial routes can reach is set up before any route is found.
    if (stop == SearchStop::StateCap)
        return QStringLiteral("ルートの候補が多すぎるため、検索できませんでした。") + lower;
    const QString reason =
        stop == SearchStop::TimeBudget
            ? QStringLiteral("ルートの検索に時間がかかりすぎるため、途中で止めました。")
            : QStringLiteral("見つかったルートが多すぎるため、検索を途中で止めました。");
    return reason + QStringLiteral("\r\nここまでに見つかったルートを一覧に表示しています。") +
           lower;
}

} // namespace moravelt
