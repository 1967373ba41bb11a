// SPDX-License-Identifier: MIT

// A Jet map of 10,000 towns and 50,000 road rows: the game's start-up on it (the Jet reader
// run as a child to copy it into a private SQLite file, checked, the road graph read and one
// town looked up), the child's copy alone, the same copy made in this process (the reader's
// own work, without starting a process), the map tool's import into an SQLite file, and the
// same start-up on that SQLite file.
#include "importcommand.h"
#include "jetfile.h"
#include "jetimport.h"
#include "mapdb/jetreader.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "navi/roadgraph.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace moravelt;

namespace {

constexpr int kTowns = 10'000;
constexpr int kRoads = 50'000;

// The Jet map written once into this benchmark's scratch folder, and its SQLite import.
class BigJetMap
{
public:
    static const BigJetMap& instance()
    {
        static const BigJetMap map;
        return map;
    }
    QString jetFolder() const { return m_dir.filePath(QStringLiteral("jet/")); }
    QString sqliteFolder() const { return m_dir.filePath(QStringLiteral("sqlite/")); }
    QString scratch() const { return m_dir.filePath(QStringLiteral("scratch")); }
    bool ok() const { return m_ok; }

private:
    BigJetMap()
    {
        QDir().mkpath(jetFolder());
        const int written = QProcess::execute(QStringLiteral("python3"),
                                              {QStringLiteral(MORAVELT_BIG_JET_SCRIPT),
                                               jetFolder() + QStringLiteral("mapdata.mdb"),
                                               QString::number(kTowns), QString::number(kRoads)});
        m_ok = written == 0 && runImportCommand({QStringLiteral("--mdb"),
                                                 jetFolder() + QStringLiteral("mapdata.mdb"),
                                                 QStringLiteral("--out"), sqliteFolder()}) == 0;
    }
    QTemporaryDir m_dir;
    bool m_ok = false;
};

// What start-up reads of the map: the connection with its checks, the roads, one hover.
void startUp(benchmark::State& state, const QString& folder)
{
    for (auto _ : state) {
        const MapDatabase cn(MapDatabase::connectionString(folder));
        const RoadGraph graph = RoadGraph::load(cn);
        QuerySlots rs(cn);
        rs.SetSQL(QueryTexts::hitTest(1000.0f, 1000.0f));
        const QString town = rs.Rs()->value(0).toString();
        rs.SetSQL(QueryTexts::distances(town));
        rs.SetSQL(QueryTexts::quiz(town));
        if (graph.roadCount() != kRoads || rs.Rs()->eof())
            state.SkipWithError("the map did not read back whole");
    }
}

void BM_GameStartUpOnJet(benchmark::State& state)
{
    if (!BigJetMap::instance().ok())
        return state.SkipWithError("python3 could not write the Jet map");
    startUp(state, BigJetMap::instance().jetFolder());
}

void BM_GameStartUpOnItsSqliteImport(benchmark::State& state)
{
    if (!BigJetMap::instance().ok())
        return state.SkipWithError("python3 could not write the Jet map");
    startUp(state, BigJetMap::instance().sqliteFolder());
}

void BM_JetReaderChild(benchmark::State& state)
{
    if (!BigJetMap::instance().ok())
        return state.SkipWithError("python3 could not write the Jet map");
    const QString file = BigJetMap::instance().jetFolder() + QStringLiteral("mapdata.mdb");
    for (auto _ : state) {
        QTemporaryDir dir;
        benchmark::DoNotOptimize(JetReader::copy(file, dir.filePath(QStringLiteral("copy.sqlite")),
                                                 JetReader::Nulls::Keep));
    }
}

void BM_JetCopyIntoMemory(benchmark::State& state)
{
    if (!BigJetMap::instance().ok())
        return state.SkipWithError("python3 could not write the Jet map");
    const QString file = BigJetMap::instance().jetFolder() + QStringLiteral("mapdata.mdb");
    for (auto _ : state) {
        const JetFile jet(file);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench");
            db.setDatabaseName(QStringLiteral(":memory:"));
            db.open();
            benchmark::DoNotOptimize(JetImport::copy(jet, db, JetImport::Nulls::Keep));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    }
}

// libmdb's share of the copy: every row of the five tables read, nothing written.
void BM_JetReadOnly(benchmark::State& state)
{
    if (!BigJetMap::instance().ok())
        return state.SkipWithError("python3 could not write the Jet map");
    const QString file = BigJetMap::instance().jetFolder() + QStringLiteral("mapdata.mdb");
    for (auto _ : state) {
        const JetFile jet(file);
        std::int64_t rows = 0;
        for (const QString& table : jet.tableNames())
            jet.readRows(table, [&rows](const QVariantList&) { ++rows; });
        benchmark::DoNotOptimize(rows);
    }
}

void BM_ImportCommand(benchmark::State& state)
{
    if (!BigJetMap::instance().ok())
        return state.SkipWithError("python3 could not write the Jet map");
    const QStringList args{QStringLiteral("--mdb"),
                           BigJetMap::instance().jetFolder() + QStringLiteral("mapdata.mdb"),
                           QStringLiteral("--out"), BigJetMap::instance().scratch()};
    for (auto _ : state) {
        if (runImportCommand(args) != 0)
            state.SkipWithError("import failed");
    }
}

} // namespace

BENCHMARK(BM_GameStartUpOnJet)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GameStartUpOnItsSqliteImport)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_JetReaderChild)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_JetCopyIntoMemory)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_JetReadOnly)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportCommand)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    JetReader::setProgram(QStringLiteral(MORAVELT_JET_READ));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
