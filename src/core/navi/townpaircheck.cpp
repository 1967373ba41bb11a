// SPDX-License-Identifier: MIT

#include "navi/townpaircheck.h"

#include "navi/roadgraph.h"

namespace moravelt {

TownPairCheck::TownPairCheck(const RoadGraph& graph, HiddenRoads hidden)
    : m_graph(graph), m_hidden(std::move(hidden))
{
}

TownPairCheck::Finding TownPairCheck::check(const QString& departure,
                                            const QString& destination) const
{
    Finding finding = checkOne(departure, true);
    if (finding.reason == Reason::None)
        finding = checkOne(destination, false);
    if (finding.reason == Reason::None && departure == destination)
        finding = {Reason::SameTown,
                   QStringLiteral("出発地と目的地が同じ町「%1」です").arg(departure)};
    return finding;
}

TownPairCheck::Finding TownPairCheck::checkOne(const QString& name, bool departure) const
{
    const QString role = departure ? QStringLiteral("出発地") : QStringLiteral("目的地");
    const auto pick = [departure](Reason asDeparture, Reason asDestination) {
        return departure ? asDeparture : asDestination;
    };
    if (name.isEmpty())
        return {pick(Reason::EmptyDeparture, Reason::EmptyDestination),
                QStringLiteral("%1を入力してください").arg(role)};
    // A name the roads know is a town, whatever else the map says of it.
    if (m_graph.townId(name) >= 0)
        return {};
    const auto hidden = m_hidden.constFind(name);
    if (hidden == m_hidden.cend())
        return {pick(Reason::UnknownDeparture, Reason::UnknownDestination),
                QStringLiteral("%1「%2」という町は地図にありません").arg(role, name)};
    QString message =
        QStringLiteral("%1「%2」は隠れた街です。ルートは町と町を結びます").arg(role, name);
    if (!hidden->isEmpty())
        message += QStringLiteral("（「%1」は %2 の途中にあります）")
                       .arg(name, hidden->join(QStringLiteral("、")));
    return {pick(Reason::HiddenDeparture, Reason::HiddenDestination), message};
}

TownPairCheck::Finding TownPairCheck::noRoute(const QString& departure, const QString& destination,
                                              const QString& precision)
{
    return {Reason::NoRoute,
            QStringLiteral("「%1」から「%2」へのルートは、ナビ精度「%3」では見つかりませんでした")
                .arg(departure, destination, precision)};
}

} // namespace moravelt
