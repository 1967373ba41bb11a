// SPDX-License-Identifier: MIT

// The map view's costs: the hit test on a large "tbl_座標" with and without its index, a whole
// town lookup on the sample world, painting one frame of the dragged picture, and on the sample
// world's picture with its longest route drawn: a change of zoom level, a drag frame at every
// level, and making the scaled-down pictures.
#include "lookup/mapscale.h"
#include "lookup/placelookup.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "mapdb/schema.h"
#include "mapview/mapimage.h"
#include "mapview/mapnavigator.h"
#include "mapview/mappyramid.h"
#include "navi/shortestroutes.h"
#include "session/gamesession.h"

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

// The sample world's picture in a map area of the given size, with the towns' dots and the
// shortest route between the far ends 石垣 and 知床 drawn, shown as the game shows it.
class SampleView
{
public:
    explicit SampleView(QSize area)
        : m_session(MapDatabase::connectionString(sampleFolder())),
          m_image(new MapImage(&m_window)), m_navigator(*m_image, m_window, m_window)
    {
        m_window.resize(area);
        m_image->loadPicture(sampleFolder() + QStringLiteral("map.jpg"));
        m_image->pyramid().level(MapScale::kSmallest); // every level made
        const QString route = ShortestRoutes::find(*m_session.roads(), QStringLiteral("石垣"),
                                                   QStringLiteral("知床"), 1)
                                  .first();
        std::vector<QPointF> pixels = m_session.townPlaces().routePoints(route);
        for (QPointF& p : pixels)
            p /= 15.0;
        m_routeTowns = int(pixels.size());
        m_image->setRoute(std::move(pixels));
        std::vector<QPointF> dots;
        for (const TownNameIndex::Town& town : m_session.names()->towns())
            dots.push_back(*m_session.townPlaces().place(town.name) / 15.0);
        m_image->setTownDots(std::move(dots));
        m_window.show();
        QCoreApplication::processEvents();
    }
    QWidget& window() { return m_window; }
    MapImage& image() { return *m_image; }
    MapNavigator& navigator() { return m_navigator; }
    int routeTowns() const { return m_routeTowns; }
    // Lets the window paint what changed, as the event loop does between two mouse moves.
    void paintChanges()
    {
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&m_window, &request);
    }

private:
    GameSession m_session;
    QWidget m_window;
    MapImage* m_image;
    MapNavigator m_navigator;
    int m_routeTowns = 0;
};

// A level change about the area's middle (1:1 → 1/2 → 1/4 → 1/8 → 1/4 → …) and the whole
// repaint of the area that follows it.
void BM_LevelChange(benchmark::State& state)
{
    SampleView view(QSize(int(state.range(0)), int(state.range(1))));
    view.navigator().fit(QRectF(0, 0, 75000, 66000)); // all of Japan at the smallest level
    view.navigator().zoomTo(0);
    int step = 1;
    for (auto _ : state) {
        const int level = view.navigator().level();
        if (level + step < 0 || level + step >= MapScale::kLevels)
            step = -step;
        view.navigator().zoomTo(level + step);
        view.window().repaint();
    }
    state.counters["route_towns"] = view.routeTowns();
}

// One frame of a drag at a level: the picture moves a pixel, kept in view, and the window
// paints what the move changed (what the event loop does between two mouse moves).
void BM_DragFrameAtLevel(benchmark::State& state)
{
    SampleView view(QSize(int(state.range(1)), int(state.range(2))));
    MapImage& image = view.image();
    const int level = int(state.range(0));
    view.navigator().zoomTo(level);
    // The middle of the route under the middle of the area.
    const QPointF middle = image.route().points()[image.route().points().size() / 2] * 15.0;
    image.setView(level, image.frame().centredOn(middle, image.scale()));
    view.paintChanges();
    const double step = 15.0 / image.scale(); // one screen pixel
    double across = -step;
    int moved = 0;
    for (auto _ : state) {
        if (++moved % 40 == 0)
            across = -across; // back and forth over the route
        const QPointF next = image.offsetTwips() + QPointF(across, 0);
        image.setView(level, image.frame().keptInView(next, image.scale()));
        view.paintChanges();
    }
    state.counters["route_towns"] = view.routeTowns();
}

// The scaled-down pictures, made once per start on a thread of their own.
void BM_MakeScaledPictures(benchmark::State& state)
{
    QImage picture;
    picture.load(sampleFolder() + QStringLiteral("map.jpg"));
    picture = picture.convertToFormat(QImage::Format_RGB32);
    for (auto _ : state) {
        MapPyramid pyramid;
        pyramid.setPicture(picture);
        benchmark::DoNotOptimize(pyramid.level(MapScale::kSmallest));
    }
}

} // namespace

BENCHMARK(BM_HitTestIndexed)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitTestWithoutIndex)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeLookupSampleWorld)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintDragFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelChange)
    ->Args({449, 563})
    ->Args({1280, 990})
    ->Args({1920, 1020})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragFrameAtLevel)
    ->ArgsProduct({{0, 1, 2, 3}, {1280}, {990}})
    ->Args({0, 1920, 1020})
    ->Args({3, 1920, 1020})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakeScaledPictures)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
