#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace moravelt {

class QuerySlots;

// The search as first written, kept only to measure against: one query per partial route,
// partial routes as texts "-A-B-total", and the towns met as one text searched by substring.
class BaselineSearch
{
public:
    BaselineSearch(QuerySlots& rs, const QString& departure, const QString& destination, int level);

    // Runs the next step, stopping early once `maxExpanded` partial routes have been expanded.
    void step(std::int64_t maxExpanded);
    bool isOver() const { return m_over; }
    std::int64_t expanded() const { return m_expanded; }
    std::int64_t routes() const { return m_routes; }
    // The texts held: frontier, next frontier and step record.
    std::size_t textBytes() const;

private:
    QuerySlots& m_rs;
    QString m_destination;
    int m_lookBack;
    QStringList m_frontier;
    QStringList m_next;
    QString m_record;
    bool m_over = false;
    std::int64_t m_expanded = 0;
    std::int64_t m_routes = 0;
};

} // namespace moravelt
