// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "buildcommand.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/querytexts.h"
#include "maplayout.h"
#include "mapstyle.h"
#include "outputfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace moravelt;

namespace {

const QString fixtures = QStringLiteral(MORAVELT_TOOL_FIXTURES);
constexpr double scale = 0.4;

int build(const QString& data, const QString& out)
{
    return runBuildCommand({QStringLiteral("--data"), data, QStringLiteral("--out"), out,
                            QStringLiteral("--coast"), fixtures + QStringLiteral("/coast.txt"),
                            QStringLiteral("--scale"), QString::number(scale)});
}

int colourDistance(QRgb a, const QColor& b)
{
    return std::abs(qRed(a) - b.red()) + std::abs(qGreen(a) - b.green()) +
           std::abs(qBlue(a) - b.blue());
}

QVariantList rowOf(const RecordsetPtr& rs, int index)
{
    return index < rs->rowCount() ? rs->row(index) : QVariantList{};
}

} // namespace

// The small valid world built into a database the game's own queries read, and a picture
// with every visible town's dot where its coordinates say.
class TestMapBuild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_out.isValid());
        QCOMPARE(build(fixtures + QStringLiteral("/valid"), m_out.path()), 0);
        m_db = std::make_unique<MapDatabase>(
            MapDatabase::connectionString(m_out.path() + QLatin1Char('/')));
    }

    void townsAreFoundWhereTheyAre()
    {
        const RecordsetPtr towns =
            m_db->open({QStringLiteral("SELECT 地名, x, y FROM tbl_座標 ORDER BY rowid"), {}});
        QStringList names;
        for (int i = 0; i < towns->rowCount(); ++i) {
            const QVariantList row = towns->row(i);
            names << row[0].toString();
            // Whole twips, and the hit test at that point finds the town itself first.
            QCOMPARE(row[1].toDouble(), std::round(row[1].toDouble()));
            const RecordsetPtr hit =
                m_db->open(QueryTexts::hitTest(row[1].toFloat(), row[2].toFloat()));
            QVERIFY(!hit->eof());
            QCOMPARE(hit->value(0).toString(), row[0].toString());
        }
        // Visible and hidden towns, in the order of towns.tsv.
        QCOMPARE(names, QStringList({"東京", "大阪", "金沢", "那覇", "箱根", "白川郷"}));
        // Each with its reading, in a table of its own.
        const RecordsetPtr readings =
            m_db->open({QStringLiteral("SELECT 地名, 読み FROM tbl_読み ORDER BY rowid"), {}});
        QCOMPARE(readings->rowCount(), int(names.size()));
        QCOMPARE(rowOf(readings, 0), QVariantList({"東京", "とうきょう"}));
        QCOMPARE(rowOf(readings, 5), QVariantList({"白川郷", "しらかわごう"}));
        // North up, east right: Tokyo lies east and north of Osaka.
        const auto at = [&](int i) {
            return QPointF(towns->row(i)[1].toDouble(), towns->row(i)[2].toDouble());
        };
        QVERIFY(at(0).x() > at(1).x());
        QVERIFY(at(0).y() < at(1).y());
        // Naha is drawn inside the inset box.
        QVERIFY(MapLayout(scale).insetBox().contains(at(3) / 15.0));
    }

    void roadsAndHiddenTownsKeepTheirOrder()
    {
        const RecordsetPtr roads = m_db->open(QueryTexts::distances(QStringLiteral("東京")));
        QCOMPARE(roads->rowCount(), 2);
        QCOMPARE(rowOf(roads, 0), QVariantList({"東京", "大阪", 500.0}));
        QCOMPARE(rowOf(roads, 1), QVariantList({"東京", "金沢", 450.0}));

        const RecordsetPtr hidden = m_db->open(QueryTexts::hiddenDistances(QStringLiteral("箱根")));
        QCOMPARE(hidden->rowCount(), 2);
        QCOMPARE(rowOf(hidden, 0), QVariantList({"東京", "大阪", 90.0}));
        QCOMPARE(rowOf(hidden, 1), QVariantList({"大阪", "東京", 410.0}));

        const RecordsetPtr onRoad = m_db->open(QueryTexts::hiddenOnRoad(QStringLiteral("東京")));
        QCOMPARE(onRoad->rowCount(), 2);
        QCOMPARE(onRoad->value(QStringLiteral("隠れ")).toString(), QStringLiteral("箱根"));
        onRoad->moveNext();
        QCOMPARE(onRoad->value(QStringLiteral("隠れ")).toString(), QStringLiteral("白川郷"));
    }

    void eventAndQuizReadByPosition()
    {
        const RecordsetPtr event = m_db->open(QueryTexts::hiddenEvent(QStringLiteral("箱根")));
        QCOMPARE(event->value(1).toString(),
                 QStringLiteral("箱根の関所を通りました。\r\n名物は黒たまご。"));

        const RecordsetPtr quiz = m_db->open(QueryTexts::quiz(QStringLiteral("東京")));
        QCOMPARE(quiz->value(1).toString(), QStringLiteral("東京タワーの高さは？\r\n（メートル）"));
        QCOMPARE(quiz->value(2).toString(), QStringLiteral("不正：333.5"));
        QCOMPARE(quiz->value(3).toString(), QStringLiteral("正解：333"));
        QCOMPARE(quiz->value(4).toString(), QStringLiteral("不正：634"));
        QCOMPARE(quiz->value(5).toInt(), 20);
        QCOMPARE(quiz->value(QStringLiteral("Ans2")).toString(), QStringLiteral("正解：333"));

        // quiz.tsv first, then quiz-*.tsv by name.
        const RecordsetPtr all =
            m_db->open({QStringLiteral("SELECT 地名 FROM tbl_Quiz ORDER BY rowid"), {}});
        QStringList towns;
        for (; !all->eof(); all->moveNext())
            towns << all->value(0).toString();
        QCOMPARE(towns, QStringList({"東京", "金沢", "大阪", "那覇"}));
    }

    void dotsAreDrawnAtTheirCoordinates()
    {
        const QImage picture(QDir(m_out.path()).filePath(QStringLiteral("map.jpg")));
        QCOMPARE(picture.size(), MapLayout(scale).pictureSize());
        QCOMPARE(picture.size(), QSize(2000, 1760));
        const RecordsetPtr towns =
            m_db->open({QStringLiteral("SELECT 地名, x, y FROM tbl_座標 ORDER BY rowid"), {}});
        for (int i = 0; i < towns->rowCount(); ++i) {
            const QString name = towns->row(i)[0].toString();
            const QPoint px(qRound(towns->row(i)[1].toDouble() / 15),
                            qRound(towns->row(i)[2].toDouble() / 15));
            const QRgb colour = picture.pixel(px);
            const bool hidden = name == QStringLiteral("箱根") || name == QStringLiteral("白川郷");
            // JPEG blurs colours a little; the dot is far from sea, land and road alike.
            QVERIFY2((colourDistance(colour, MapStyle::townDot) < 100) == !hidden,
                     qPrintable(name));
            if (!hidden) {
                QVERIFY(colourDistance(colour, MapStyle::sea) > 150);
                QVERIFY(colourDistance(colour, MapStyle::japanLand) > 150);
            }
        }
    }

    void failedBuildLeavesFilesAlone()
    {
        QTemporaryDir broken;
        QVERIFY(broken.isValid());
        for (const QString& name : QDir(fixtures + QStringLiteral("/valid")).entryList(QDir::Files))
            QVERIFY(
                QFile::copy(fixtures + QStringLiteral("/valid/") + name, broken.filePath(name)));
        QVERIFY(QFile::remove(broken.filePath(QStringLiteral("quiz-west.tsv"))));

        const QString db = QDir(m_out.path()).filePath(QStringLiteral("mapdata.mdb"));
        QFile before(db);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray old = before.readAll();
        before.close();

        QCOMPARE(build(broken.path(), m_out.path()), 1);
        QFile after(db);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), old);
        QCOMPARE(QDir(m_out.path()).entryList(QDir::Files).size(), 2);

        QTemporaryDir empty;
        QCOMPARE(build(broken.path(), empty.path()), 1);
        QVERIFY(QDir(empty.path()).entryList(QDir::Files).isEmpty());
    }

    void failedWriteSaysWhyAndKeepsOldOutput()
    {
        // A full disk is named in words, not as an unknown error.
        try {
            OutputFile::writeWhole(QStringLiteral("/dev/full"), QByteArray(1 << 16, 'x'));
            QFAIL("writing to a full device must fail");
        } catch (const MoraveltError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("No space left on device")),
                     qPrintable(e.message()));
        }
        // A land extract with a point that is no number stops the build at its line.
        QTemporaryDir dir;
        const QString coast = dir.filePath(QStringLiteral("coast.txt"));
        QVERIFY(QFile::copy(fixtures + QStringLiteral("/coast-not-a-number/coast.txt"), coast));
        const QString jpeg = QDir(m_out.path()).filePath(QStringLiteral("map.jpg"));
        const QString db = QDir(m_out.path()).filePath(QStringLiteral("mapdata.mdb"));
        const QDateTime before = QFileInfo(jpeg).lastModified();
        const QDateTime dbBefore = QFileInfo(db).lastModified();
        QCOMPARE(runBuildCommand({QStringLiteral("--data"), fixtures + QStringLiteral("/valid"),
                                  QStringLiteral("--out"), m_out.path(), QStringLiteral("--coast"),
                                  coast, QStringLiteral("--scale"), QString::number(scale)}),
                 1);
        QCOMPARE(QFileInfo(jpeg).lastModified(), before);
        QCOMPARE(QDir(m_out.path()).entryList(QDir::Files).size(), 2);

        // The picture cannot be written where it would go: the old pair stays as it was.
        const QString blocked =
            QStringLiteral("%1.%2.tmp").arg(jpeg).arg(QCoreApplication::applicationPid());
        QVERIFY(QDir().mkdir(blocked));
        QCOMPARE(build(fixtures + QStringLiteral("/valid"), m_out.path()), 1);
        QVERIFY(QDir().rmdir(blocked));
        QCOMPARE(QFileInfo(jpeg).lastModified(), before);
        QCOMPARE(QFileInfo(db).lastModified(), dbBefore);
        QCOMPARE(QDir(m_out.path()).entryList(QDir::Files).size(), 2);
    }

    void badArgumentsAreRefused()
    {
        QCOMPARE(runBuildCommand({QStringLiteral("--data")}), 2);
        QCOMPARE(runBuildCommand({QStringLiteral("--data"), m_out.path()}), 2);
        QCOMPARE(runBuildCommand({QStringLiteral("--data"), m_out.path(), QStringLiteral("--out"),
                                  m_out.path(), QStringLiteral("--scale"), QStringLiteral("x")}),
                 2);
    }

    void cleanupTestCase() { m_db.reset(); }

private:
    QTemporaryDir m_out;
    std::unique_ptr<MapDatabase> m_db;
};

QTEST_MAIN(TestMapBuild)
#include "tst_mapbuild.moc"
