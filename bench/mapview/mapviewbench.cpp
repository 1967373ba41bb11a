// SPDX-License-Identifier: MIT

// The map view's costs: the hit test on a large "tbl_座標" with and without its index, a whole
// town lookup on the sample world, and painting one frame of the dragged picture.
#include "lookup/placelookup.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "mapdb/schema.h"
#include "mapview/mapimage.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

using namespace moravelt;

namespace {

constexpr double kWidthTwips = 5000.0 * 15;
constexpr double kHeightTwips = 4400.0 * 15;

// A "tbl_座標" of many towns spread over a picture the size of the sample world's.
class TownTable
{
public:
    TownTable(int towns, bool indexed)
    {
        const QString file = m_dir.filePath(QStringLiteral("mapdata.mdb"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench-writer");
            db.setDatabaseName(file);
            db.open();
            QSqlQuery q(db);
            for (const QString& table : Schema::createStatements())
                q.exec(table);
            db.transaction();
            q.prepare(QStringLiteral("INSERT INTO tbl_座標 VALUES (?, ?, ?)"));
            QRandomGenerator random(7);
            for (int i = 0; i < towns; ++i) {
                q.addBindValue(QStringLiteral("町%1").arg(i));
                q.addBindValue(random.bounded(kWidthTwips));
                q.addBindValue(random.bounded(kHeightTwips));
                q.exec();
            }
            db.commit();
            if (indexed)
                q.exec(Schema::hitTestIndexStatement());
            q.exec(QStringLiteral("ANALYZE"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench-writer"));
        m_cn = std::make_unique<MapDatabase>(MapDatabase::connectionString(m_dir.path() + '/'));
    }
    const MapDatabase& cn() const { return *m_cn; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MapDatabase> m_cn;
};

void hitTest(benchmark::State& state, bool indexed)
{
    const TownTable table(int(state.range(0)), indexed);
    QRandomGenerator random(11);
    std::int64_t found = 0;
    for (auto _ : state) {
        const float x = float(random.bounded(kWidthTwips));
        const float y = float(random.bounded(kHeightTwips));
        found += table.cn().open(QueryTexts::hitTest(x, y))->rowCount();
    }
    state.counters["towns_found_per_query"] =
        benchmark::Counter(double(found) / double(state.iterations()));
}

void BM_HitTestIndexed(benchmark::State& state)
{
    hitTest(state, true);
}
void BM_HitTestWithoutIndex(benchmark::State& state)
{
    hitTest(state, false);
}

QString sampleFolder()
{
    const QByteArray env = qgetenv("MORAVELT_SAMPLE_DB");
    const QString db =
        env.isEmpty() ? QStringLiteral(MORAVELT_SAMPLE_DB) : QString::fromLocal8Bit(env);
    return QFileInfo(db).absolutePath() + '/';
}

// A whole lookup as a pointer move runs it: hit test, roads, quiz and event, at each town.
void BM_WholeLookupSampleWorld(benchmark::State& state)
{
    MapDatabase cn(MapDatabase::connectionString(sampleFolder()));
    QuerySlots querySlots(cn);
    PlaceLookup lookup(querySlots);
    std::vector<std::pair<float, float>> towns;
    const RecordsetPtr all = cn.open({QStringLiteral("SELECT x, y FROM tbl_座標"), {}});
    for (int i = 0; i < all->rowCount(); ++i)
        towns.emplace_back(all->row(i)[0].toFloat(), all->row(i)[1].toFloat());
    std::size_t next = 0;
    for (auto _ : state) {
        const auto [x, y] = towns[next++ % towns.size()];
        benchmark::DoNotOptimize(lookup.MapNameGet(x, y, false));
    }
}

// One frame of a drag: the picture moves and the window's visible part is painted again.
void BM_PaintDragFrame(benchmark::State& state)
{
    QImage picture(5000, 4400, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QWidget window;
    window.resize(449, 563);
    MapImage image(&window);
    image.setPicture(picture);
    QImage frame(window.size(), QImage::Format_RGB32);
    float left = -16590;
    for (auto _ : state) {
        left -= 15;
        image.setLeftTwips(left);
        window.render(&frame);
    }
}

} // namespace

BENCHMARK(BM_HitTestIndexed)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitTestWithoutIndex)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeLookupSampleWorld)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintDragFrame)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
