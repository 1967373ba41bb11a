// SPDX-License-Identifier: MIT

#include "quiz/journeyplanner.h"

#include "base/moravelterror.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"
#include "navi/routestring.h"
#include "quiz/quizcard.h"
#include "quiz/seededshuffle.h"

namespace moravelt {

const QString JourneyPlanner::kRandomName = QStringLiteral("ランダム");

JourneyPlan JourneyPlanner::along(const QString& route, quint32 seed) const
{
    const QStringList towns = RouteString::split(route).mid(1);
    if (towns.isEmpty() || towns.contains(QString()))
        throw MoraveltError(QStringLiteral("ルート「%1」には町がありません").arg(route));
    return plan(route, towns, seed, true);
}

JourneyPlan JourneyPlanner::random(quint32 seed, int count) const
{
    const RecordsetPtr rows = m_cn.open(QueryTexts::quizTowns());
    if (rows->rowCount() == 0)
        throw MoraveltError(QStringLiteral("地図にクイズのある町がありません"));
    const std::vector<int> order = SeededShuffle(seed).permutation(rows->rowCount(), 0);
    QStringList towns;
    for (int i = 0; i < std::min(count, rows->rowCount()); ++i)
        towns << rows->row(order[std::size_t(i)]).value(0).toString();
    return plan(kRandomName + QLatin1Char('-') + towns.join(QLatin1Char('-')), towns, seed, false);
}

JourneyPlan JourneyPlanner::plan(const QString& route, const QStringList& towns, quint32 seed,
                                 bool withDetours) const
{
    JourneyPlan plan{route, towns, seed, {}};
    const SeededShuffle shuffle(seed);
    for (qsizetype k = 0; k < towns.size(); ++k) {
        const RecordsetPtr quiz = m_cn.open(QueryTexts::quiz(towns[k]));
        plan.stops.push_back(QuizCard::read(towns[k], *quiz, shuffle, plan.stops.size() + 1));
        if (withDetours && k + 1 < towns.size())
            addDetours(towns[k], towns[k + 1], plan.stops);
    }
    return plan;
}

void JourneyPlanner::addDetours(const QString& from, const QString& to,
                                std::vector<JourneyStop>& stops) const
{
    // As the navigation list does: the leg's own road row names the destination that the
    // hidden towns must lead to; a leg without one has none.
    const RecordsetPtr leg = m_cn.open(QueryTexts::oneLeg(from, to));
    if (leg->eof())
        return;
    const QVariant legDestination = leg->value(QStringLiteral("目的地"));
    if (legDestination.isNull())
        return;
    const RecordsetPtr hidden = m_cn.open(QueryTexts::hiddenOnRoad(from));
    for (; !hidden->eof(); hidden->moveNext()) {
        const QVariant destination = hidden->value(QStringLiteral("目的地"));
        if (destination.isNull() || destination.toString() != legDestination.toString())
            continue;
        JourneyStop stop;
        stop.kind = JourneyStop::Kind::Detour;
        stop.town = hidden->value(QStringLiteral("隠れ")).toString();
        stop.from = from;
        stop.to = to;
        stop.distance = hidden->value(QStringLiteral("隠れた街までの距離")).toString();
        const RecordsetPtr event = m_cn.open(QueryTexts::hiddenEvent(stop.town));
        if (!event->eof())
            stop.text = event->value(QStringLiteral("イベント")).toString();
        stops.push_back(std::move(stop));
    }
}

} // namespace moravelt
