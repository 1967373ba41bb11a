// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "jetfile.h"
#include "jetfixture.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "navi/roadgraph.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navicopytext.h"
#include "navilist/navilistbuilder.h"

#include <QDir>
#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

QByteArray bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A fixture copied in as "mapdata.mdb", alone in its folder.
struct JetFolder
{
    explicit JetFolder(const QString& name)
    {
        QFile::copy(jetFixture(name), file());
        QFile::setPermissions(file(), QFile::ReadOwner | QFile::WriteOwner);
    }
    QString file() const { return dir.filePath(QStringLiteral("mapdata.mdb")); }
    QString connectionString() const
    {
        return MapDatabase::connectionString(dir.path() + QLatin1Char('/'));
    }
    QStringList listing() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QTemporaryDir dir;
};

const QString kEvent = QString::fromUtf8(kJetFixtureEvent);

// Every query text of the game, with the fixtures' towns.
std::vector<SqlText> gameQueries()
{
    std::vector<SqlText> queries = {
        QueryTexts::hitTest(1500.0f, 1800.0f),
        QueryTexts::hitTest(1150.0f, 2200.0f),
        QueryTexts::distances("京都"),
        QueryTexts::quiz("京都"),
        QueryTexts::hiddenDistances("山崎"),
        QueryTexts::hiddenEvent("山崎"),
        QueryTexts::oneLeg("京都", "和歌山"),
        QueryTexts::hiddenOnRoad("京都"),
        QueryTexts::allRoads(),
    };
    for (const char* town : {"大阪", "和歌山", "堺", "大津"})
        queries.push_back(QueryTexts::quiz(town));
    return queries;
}

QString naviList(const MapDatabase& cn, const QString& route)
{
    QuerySlots slots_(cn);
    FlexGridModel grid;
    NaviListBuilder(slots_).NaveSet(route, true, grid);
    return naviCopyText(grid);
}

} // namespace

class TestJetMap : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyQueryAnswersAsTheSqliteMap_data();
    void everyQueryAnswersAsTheSqliteMap();
    void valuesComeAsStored_data();
    void valuesComeAsStored();
    void quizIsReadByNameAndPlace();
    void rowsSpanningPagesComeInOrder();

private:
    std::unique_ptr<TestMapDb> m_sqlite;
    std::unique_ptr<MapDatabase> m_sqliteCn;
};

void TestJetMap::initTestCase()
{
    useBuiltJetReader();
    m_sqlite = std::make_unique<TestMapDb>(jetFixtureRows());
    m_sqliteCn = std::make_unique<MapDatabase>(m_sqlite->connectionString());
}

void TestJetMap::everyQueryAnswersAsTheSqliteMap_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("Jet 4") << QStringLiteral("game_jet4.mdb");
    QTest::newRow("Jet 4 with a password") << QStringLiteral("game_jet4_pw.mdb");
    QTest::newRow("Jet 3, code page 932") << QStringLiteral("game_jet3.mdb");
}

void TestJetMap::everyQueryAnswersAsTheSqliteMap()
{
    QFETCH(QString, fixture);
    const JetFolder folder(fixture);
    const QByteArray before = bytesOf(folder.file());
    {
        const MapDatabase jet(folder.connectionString());
        for (const SqlText& sql : gameQueries()) {
            const RecordsetPtr expected = m_sqliteCn->open(sql);
            const RecordsetPtr got = jet.open(sql);
            QCOMPARE(got->columns(), expected->columns());
            QCOMPARE(got->rowCount(), expected->rowCount());
            for (int r = 0; r < got->rowCount(); ++r)
                QCOMPARE(got->row(r), expected->row(r));
        }
        // What the comparison rests on: the event keeps its CR LF, the missing km stays NULL
        // and is no road at all.
        QCOMPARE(jet.open(QueryTexts::hiddenEvent("山崎"))->value(1).toString(), kEvent);
        const RecordsetPtr direct = jet.open(QueryTexts::oneLeg("京都", "和歌山"));
        QVERIFY(direct->value(QStringLiteral("km")).isNull());
        const RoadGraph graph = RoadGraph::load(jet);
        QCOMPARE(graph.roadCount(), 10);
        QCOMPARE(graph.skippedRows(), 1);
        for (const RoadGraph::Road& road : graph.roadsFrom(graph.townId("京都")))
            QVERIFY(road.to != graph.townId("和歌山"));

        QVERIFY_THROWS_EXCEPTION(MoraveltError,
                                 jet.open({QStringLiteral("DELETE FROM tbl_距離"), {}}));

        const QString navi = naviList(jet, QStringLiteral("00120-京都-大阪-堺-和歌山"));
        QCOMPARE(navi, naviList(*m_sqliteCn, QStringLiteral("00120-京都-大阪-堺-和歌山")));
        QVERIFY(navi.contains(kEvent) && navi.contains(QStringLiteral("金閣寺")));
    }
    QCOMPARE(bytesOf(folder.file()), before);
    QCOMPARE(folder.listing(), QStringList{QStringLiteral("mapdata.mdb")});
}

void TestJetMap::valuesComeAsStored_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("Jet 4") << QStringLiteral("variety_jet4.mdb");
    QTest::newRow("Jet 3") << QStringLiteral("variety_jet3.mdb");
}

void TestJetMap::valuesComeAsStored()
{
    QFETCH(QString, fixture);
    const JetFile jet(jetFixture(fixture));
    // Byte, Integer, Long, Single, Double, Currency, then a compressed and a plain text.
    const std::vector<QVariantList> expected = {
        {"plain ascii", 255, -32768, qint64(-2147483648LL), double(0.1f), 0.1, 12345678.9012, ""},
        {"", 0, 32767, 2147483647, -1.5, 1e300, -0.0001, "ナル以外"},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant()},
    };
    QCOMPARE(jet.columnNames(QStringLiteral("TBL_型")),
             QStringList({"名前", "b", "i", "l", "f", "d", "m", "t"}));
    std::vector<QVariantList> rows;
    jet.readRows(QStringLiteral("tbl_型"), [&](const QVariantList& row) { rows.push_back(row); });
    QCOMPARE(rows.size(), expected.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QVariant& got = rows[r][c];
            const QVariant& want = expected[r][c];
            QVERIFY2(got.isNull() == want.isNull() && (got.isNull() || got == want),
                     qPrintable(
                         QStringLiteral("row %1 column %2: %3").arg(r).arg(c).arg(got.toString())));
            // An empty text is a text, not a NULL; a NULL is no text.
            if (!got.isNull() && want.typeId() == QMetaType::QString)
                QCOMPARE(got.typeId(), int(QMetaType::QString));
        }
    }
    QVERIFY(!jet.columnNames(QStringLiteral("tbl_無い")));
}

void TestJetMap::quizIsReadByNameAndPlace()
{
    // The file names the question 質問, the points 配点 and spells ANS1 in capitals.
    const JetFolder folder(QStringLiteral("variety_jet4.mdb"));
    const MapDatabase jet(folder.connectionString());
    const RecordsetPtr quiz = jet.open(QueryTexts::quiz("堺"));
    QCOMPARE(quiz->columns(), m_sqliteCn->open(QueryTexts::quiz("堺"))->columns());
    QCOMPARE(quiz->value(1).toString(), QStringLiteral("堺で古くから作られている刃物は？"));
    QCOMPARE(quiz->value(QStringLiteral("Ans1")).toString(), QStringLiteral("正解：包丁"));
    QCOMPARE(quiz->value(5).toInt(), 40);
    // A town without a name is kept as the file has it, not refused or made "".
    const RecordsetPtr nameless = jet.open(QueryTexts::hitTest(100.0f, 100.0f));
    QCOMPARE(nameless->rowCount(), 1);
    QVERIFY(nameless->value(0).isNull());
}

void TestJetMap::rowsSpanningPagesComeInOrder()
{
    const JetFile jet(jetFixture(QStringLiteral("variety_jet4.mdb")));
    int next = 0;
    bool inOrder = true;
    jet.readRows(QStringLiteral("tbl_多"), [&](const QVariantList& row) {
        inOrder =
            inOrder && row.value(0).toInt() == next &&
            row.value(1).toString() == QStringLiteral("町%1").arg(next, 5, 10, QLatin1Char('0'));
        ++next;
    });
    QCOMPARE(next, 3000);
    QVERIFY(inOrder);
}

QTEST_GUILESS_MAIN(TestJetMap)
#include "tst_jetmap.moc"
