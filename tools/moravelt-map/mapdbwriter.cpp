// SPDX-License-Identifier: MIT

#include "mapdbwriter.h"

#include "base/moravelterror.h"
#include "mapdb/schema.h"
#include "sqlitefilewrite.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

namespace moravelt {

namespace {

class Writer
{
public:
    explicit Writer(QSqlDatabase& db) : m_query(db) {}

    void exec(const QString& sql, const QVariantList& values = {})
    {
        if (!m_query.prepare(sql))
            fail(sql);
        for (const QVariant& v : values)
            m_query.addBindValue(v);
        if (!m_query.exec())
            fail(sql);
    }

    void insert(const QString& table, const QVariantList& values)
    {
        QStringList marks;
        for (qsizetype i = 0; i < values.size(); ++i)
            marks << QStringLiteral("?");
        exec(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(QLatin1Char(','))),
             values);
    }

private:
    [[noreturn]] void fail(const QString& sql)
    {
        throw MoraveltError(QStringLiteral("%1: %2").arg(sql, m_query.lastError().text()));
    }

    QSqlQuery m_query;
};

void fill(Writer& w, const WorldData& world, const std::vector<PlacedTown>& towns)
{
    for (const QString& sql : Schema::createStatements())
        w.exec(sql);
    for (const PlacedTown& t : towns)
        w.insert(QStringLiteral("tbl_座標"),
                 {t.town->name, double(t.twips.x()), double(t.twips.y())});
    for (const WorldRoad& r : world.roads)
        w.insert(QStringLiteral("tbl_距離"), {r.from, r.to, double(r.km)});
    for (const WorldHiddenLeg& h : world.hiddenLegs)
        w.insert(QStringLiteral("tbl_隠距"), {h.from, h.to, h.hidden, double(h.distance)});
    for (const WorldEvent& e : world.events)
        w.insert(QStringLiteral("tbl_隠れ"), {e.hidden, e.text});
    for (const WorldQuiz& q : world.quizzes)
        w.insert(QStringLiteral("tbl_Quiz"),
                 {q.town, q.question, q.answers[0], q.answers[1], q.answers[2], q.points});
    w.exec(Schema::readingsCreateStatement());
    for (const PlacedTown& t : towns)
        w.insert(QStringLiteral("tbl_読み"), {t.town->name, t.town->reading});
    for (const QString& sql : Schema::indexStatements())
        w.exec(sql);
}

} // namespace

void MapDbWriter::write(const QString& path, const WorldData& world,
                        const std::vector<PlacedTown>& towns)
{
    try {
        writeSqliteFile(path, QStringLiteral("moravelt-map-writer"), [&](QSqlDatabase& db) {
            Writer w(db);
            w.exec(QStringLiteral("BEGIN"));
            fill(w, world, towns);
            w.exec(QStringLiteral("COMMIT"));
            w.exec(QStringLiteral("ANALYZE"));
            w.exec(QStringLiteral("VACUUM"));
        });
    } catch (const MoraveltError& e) {
        throw MoraveltError(QStringLiteral("%1: %2").arg(path, e.message()));
    }
}

} // namespace moravelt
