// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "jetfixture.h"
#include "mapdb/mapdatabase.h"
#include "mapdb/schema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <filesystem>
#include <sys/stat.h>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Only a regular file is read: a FIFO would wait for a writer.
QByteArray bytesOf(const QString& file)
{
    if (!std::filesystem::is_regular_file(QFile::encodeName(file).toStdString()))
        return {};
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The game's schema with one statement changed ("" drops the table).
void writeSqlite(const QString& file, const QString& table, const QString& statement)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("w"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& sql : Schema::createStatements()) {
            const bool changed = sql.startsWith(QStringLiteral("CREATE TABLE %1 ").arg(table));
            if (!changed || !statement.isEmpty())
                QVERIFY(query.exec(changed ? statement : sql));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("w"));
}

using Make = std::function<void(const QString& file)>;

} // namespace

Q_DECLARE_METATYPE(Make)

class TestMapFileCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { useBuiltJetReader(); }
    void startUpStopsNamingWhatIsMissing_data();
    void startUpStopsNamingWhatIsMissing();
    void startUpRefusesNamesRoutesCannotCarry_data();
    void startUpRefusesNamesRoutesCannotCarry();
};

void TestMapFileCheck::startUpStopsNamingWhatIsMissing_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<QStringList>("named");
    const auto sqlite = [](const char* table, const char* statement) -> Make {
        return [=](const QString& file) {
            writeSqlite(file, QString::fromUtf8(table), QString::fromUtf8(statement));
        };
    };
    const auto jetCut = [](const char* name, qsizetype size) -> Make {
        return [=](const QString& file) {
            const QByteArray bytes = bytesOf(jetFixture(QString::fromUtf8(name)));
            writeBytes(file, size < 0 ? bytes : bytes.left(size));
        };
    };
    QTest::newRow("no file") << Make([](const QString&) {})
                             << QStringList{"「mapdata.mdb」がありません"};
    QTest::newRow("a folder") << Make([](const QString& file) { QDir().mkdir(file); })
                              << QStringList{"mapdata.mdb", "フォルダ"};
    QTest::newRow("/dev/null") << Make([](const QString& file) {
        QFile::link(QStringLiteral("/dev/null"), file);
    }) << QStringList{"mapdata.mdb", "普通のファイルではありません"};
    QTest::newRow("a FIFO") << Make([](const QString& file) {
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
    }) << QStringList{"mapdata.mdb", "普通のファイルではありません"};
    QTest::newRow("0 bytes") << Make([](const QString& file) { writeBytes(file, {}); })
                             << QStringList{"mapdata.mdb", "0 バイト"};
    QTest::newRow("text") << Make([](const QString& file) { writeBytes(file, "x;y\n1;2\n"); })
                          << QStringList{"mapdata.mdb", "データベースではありません"};
    QTest::newRow("damaged SQLite") << Make([](const QString& file) {
        writeBytes(file, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x7f'));
    }) << QStringList{"mapdata.mdb", "壊れています"};
    QTest::newRow("SQLite without tbl_Quiz")
        << sqlite("tbl_Quiz", "") << QStringList{"mapdata.mdb", "表「tbl_Quiz」がありません"};
    QTest::newRow("SQLite without km")
        << sqlite("tbl_距離", "CREATE TABLE tbl_距離 (出発地 TEXT, 目的地 TEXT, kilometre REAL)")
        << QStringList{"mapdata.mdb", "表「tbl_距離」に列「km」がありません"};
    QTest::newRow("SQLite spelling KM")
        << sqlite("tbl_距離", "CREATE TABLE tbl_距離 (出発地 TEXT, 目的地 TEXT, KM REAL)")
        << QStringList{"表「tbl_距離」に列「km」がありません"};
    QTest::newRow("SQLite quiz without points")
        << sqlite("tbl_Quiz", "CREATE TABLE tbl_Quiz (地名 TEXT, 問題 TEXT, Ans1 TEXT, Ans2 "
                              "TEXT, Ans3 TEXT)")
        << QStringList{"表「tbl_Quiz」は列が 5 個"};
    QTest::newRow("Jet without tbl_Quiz")
        << jetCut("no_quiz.mdb", -1) << QStringList{"mapdata.mdb", "表「tbl_Quiz」がありません"};
    QTest::newRow("Jet without km")
        << jetCut("no_km.mdb", -1) << QStringList{"表「tbl_距離」に列「km」がありません"};
    QTest::newRow("Jet cut in its catalog")
        << jetCut("game_jet4.mdb", 8192) << QStringList{"mapdata.mdb", "カタログ", "libmdb"};
    QTest::newRow("Jet cut in its data")
        << jetCut("game_jet4.mdb", 20480) << QStringList{"mapdata.mdb", "tbl_", "libmdb"};
    QTest::newRow("Access 2007") << Make([](const QString& file) {
        QByteArray bytes = bytesOf(jetFixture(QStringLiteral("game_jet4.mdb")));
        bytes.replace(13, 3, "ACE");
        writeBytes(file, bytes);
    }) << QStringList{"mapdata.mdb", "Access 2007", "保存し直して"};
}

void TestMapFileCheck::startUpStopsNamingWhatIsMissing()
{
    QFETCH(Make, make);
    QFETCH(QStringList, named);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mapdata.mdb"));
    make(file);
    const auto listing = [&] {
        QStringList entries;
        for (const QFileInfo& info :
             QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            entries << info.fileName() + QString::number(info.size());
        return entries;
    };
    const QStringList before = listing();
    const QByteArray bytes = bytesOf(file);
    try {
        MapDatabase cn(MapDatabase::connectionString(dir.path() + QLatin1Char('/')));
        QFAIL("the map opened");
    } catch (const MoraveltError& error) {
        for (const QString& words : named)
            QVERIFY2(error.message().contains(words), qPrintable(error.message()));
    }
    QCOMPARE(listing(), before);
    QCOMPARE(bytesOf(file), bytes);
}

void TestMapFileCheck::startUpRefusesNamesRoutesCannotCarry_data()
{
    // Names of the fixture map and what each becomes, everywhere it stands.
    QTest::addColumn<QStringList>("renamed");
    QTest::addColumn<QString>("jetFixture");
    QTest::addColumn<QStringList>("named");
    QTest::newRow("- in a town") << QStringList{"大阪", "大-阪"} << QString()
                                 << QStringList{"「大-阪」"};
    QTest::newRow("+ in a hidden town")
        << QStringList{"山崎", "山+崎"} << QString() << QStringList{"「山+崎」"};
    QTest::newRow("tab, CR, LF") << QStringList{"堺",       "堺\t", "和歌山",
                                                "和歌\r山", "大津", "大\n津"}
                                 << QString()
                                 << QStringList{"「和歌<CR>山」「堺<TAB>」「大<LF>津」"};
    QTest::newRow("the first five of six")
        << QStringList{"京都",   "京-都",   "大阪", "大-阪", "堺",   "堺-",
                       "和歌山", "和-歌山", "大津", "大-津", "山崎", "山-崎"}
        << QString() << QStringList{"「京-都」「和-歌山」「堺-」「大-津」「大-阪」ほか 1 個"};
    QTest::newRow("Jet") << QStringList() << QStringLiteral("names_jet4.mdb")
                         << QStringList{"「大-阪」「山+崎」"};
}

void TestMapFileCheck::startUpRefusesNamesRoutesCannotCarry()
{
    QFETCH(QStringList, renamed);
    QFETCH(QString, jetFixture);
    QFETCH(QStringList, named);
    TestMap map = jetFixtureRows();
    for (std::vector<QVariantList>* rows :
         {&map.towns, &map.roads, &map.hidden, &map.events, &map.quizzes}) {
        for (QVariantList& row : *rows) {
            for (QVariant& value : row) {
                const qsizetype at = renamed.indexOf(value.toString());
                if (at >= 0 && at % 2 == 0)
                    value = renamed[at + 1];
            }
        }
    }
    const TestMapDb sqlite(map);
    QTemporaryDir jetDir;
    const QString file =
        jetFixture.isEmpty() ? sqlite.fileName() : jetDir.filePath(QStringLiteral("mapdata.mdb"));
    if (!jetFixture.isEmpty())
        QVERIFY(QFile::copy(moravelt::test::jetFixture(jetFixture), file));
    try {
        MapDatabase cn(MapDatabase::connectionString(QFileInfo(file).path() + QLatin1Char('/')));
        QFAIL("the map opened");
    } catch (const MoraveltError& error) {
        QVERIFY2(error.message().contains(file) &&
                     error.message().contains(QStringLiteral("ルート")),
                 qPrintable(error.message()));
        for (const QString& words : named)
            QVERIFY2(error.message().contains(words), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestMapFileCheck)
#include "tst_mapfilecheck.moc"
