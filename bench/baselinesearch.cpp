#include "baselinesearch.h"

#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"

#include <cmath>

namespace moravelt {

BaselineSearch::BaselineSearch(QuerySlots& rs, const QString& departure, const QString& destination,
                               int level)
    : m_rs(rs), m_destination(destination),
      m_lookBack(level + 1), m_frontier{u'-' + departure + QStringLiteral("-0")}
{
}

void BaselineSearch::step(std::int64_t maxExpanded)
{
    for (const QString& entry : std::as_const(m_frontier)) {
        if (m_expanded >= maxExpanded) {
            m_over = true;
            return;
        }
        ++m_expanded;
        if (entry.isEmpty())
            continue;
        const qsizetype cut = entry.lastIndexOf(u'-');
        const QString path = entry.left(cut);
        const double total = std::nearbyint(entry.mid(cut + 1).toDouble());
        const QString town = path.mid(path.lastIndexOf(u'-') + 1);
        m_rs.SetSQL(QueryTexts::distances(town));
        const RecordsetPtr roads = m_rs.Rs();
        for (; !roads->eof(); roads->moveNext()) {
            const QString candidate = roads->value(QStringLiteral("目的地")).toString();
            const double km = roads->value(QStringLiteral("km")).toDouble();
            if (path.contains(candidate))
                continue;
            if (candidate == m_destination) {
                const QString route =
                    QString::number(std::llround(total + km)).rightJustified(5, u'0') + path +
                    u'-' + candidate;
                m_routes += route.isEmpty() ? 0 : 1;
                continue;
            }
            const QStringList segments = m_record.isEmpty() ? QStringList() : m_record.split(u'+');
            const qsizetype s = segments.size() - 1;
            bool pruned = false;
            if (s >= m_lookBack) {
                for (qsizetype j = 0; j <= s - m_lookBack && !pruned; ++j)
                    pruned = segments[j].contains(candidate);
            }
            if (!pruned)
                m_next << path + u'-' + candidate + u'-' + QString::number(total + km);
            if (!m_record.contains(candidate))
                m_record += u'-' + candidate;
        }
    }
    if (m_next.isEmpty()) {
        m_over = true;
        return;
    }
    m_frontier = std::move(m_next);
    m_next.clear();
    m_record += u'+';
}

std::size_t BaselineSearch::textBytes() const
{
    std::size_t bytes = std::size_t(m_record.capacity()) * 2;
    for (const QStringList* list : {&m_frontier, &m_next}) {
        for (const QString& text : *list)
            bytes += sizeof(QString) + std::size_t(text.capacity()) * 2 + 16;
    }
    return bytes;
}

} // namespace moravelt
