// SPDX-License-Identifier: MIT

#include "navi/townnameindex.h"

#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"

#include <QHash>
#include <algorithm>

namespace moravelt {

namespace {

// Katakana letters to their hiragana, the script the readings are kept in.
QString hiragana(QString text)
{
    for (QChar& c : text) {
        if (c >= QChar(0x30A1) && c <= QChar(0x30F6))
            c = QChar(c.unicode() - 0x60);
    }
    return text;
}

QString sortKey(const TownNameIndex::Town& town)
{
    return town.readings.isEmpty() ? town.name : town.readings.first();
}

} // namespace

TownNameIndex TownNameIndex::load(const MapDatabase& cn)
{
    const RecordsetPtr names = cn.open(QueryTexts::townNames());
    std::vector<Town> towns;
    QHash<QString, std::size_t> position;
    for (int i = 0; i < names->rowCount(); ++i) {
        const QString name = names->row(i).value(0).toString();
        if (!name.isEmpty() && !position.contains(name)) {
            position.insert(name, towns.size());
            towns.push_back({name, {}});
        }
    }
    const RecordsetPtr table = cn.open(QueryTexts::tableExists(QStringLiteral("tbl_読み")));
    if (table->row(0).value(0).toInt() > 0) {
        const RecordsetPtr readings = cn.open(QueryTexts::readings());
        for (int i = 0; i < readings->rowCount(); ++i) {
            const QVariantList& row = readings->row(i);
            const auto found = position.constFind(row.value(0).toString());
            const QString reading = row.value(1).toString();
            if (found != position.constEnd() && !reading.isEmpty())
                towns[found.value()].readings << reading;
        }
    }
    return TownNameIndex(std::move(towns));
}

TownNameIndex::TownNameIndex(std::vector<Town> towns) : m_towns(std::move(towns))
{
    std::stable_sort(m_towns.begin(), m_towns.end(),
                     [](const Town& a, const Town& b) { return sortKey(a) < sortKey(b); });
}

QStringList TownNameIndex::complete(const QString& typed, int limit) const
{
    QStringList names;
    if (typed.isEmpty())
        return names;
    const QString reading = hiragana(typed);
    for (const Town& town : m_towns) {
        if (names.size() >= limit)
            break;
        if (town.name.startsWith(typed) ||
            std::any_of(town.readings.begin(), town.readings.end(),
                        [&](const QString& r) { return r.startsWith(reading); }))
            names << town.name;
    }
    return names;
}

bool TownNameIndex::contains(const QString& name) const
{
    return std::any_of(m_towns.begin(), m_towns.end(),
                       [&](const Town& town) { return town.name == name; });
}

} // namespace moravelt
