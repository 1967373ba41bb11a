// SPDX-License-Identifier: MIT

#include "jetfixture.h"

#include "toolrun.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <unistd.h>

using namespace moravelt::test;

namespace {

// Tables and indexes of a map file, with their statements.
QByteArray bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QStringList schemaOf(const QString& file)
{
    QStringList schema;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("s"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(db);
        if (db.open() &&
            query.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master "
                                      "WHERE name NOT LIKE 'sqlite_%' ORDER BY name"))) {
            while (query.next())
                schema << query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString() +
                              QLatin1Char(' ') + query.value(2).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("s"));
    return schema;
}

} // namespace

class TestMapImport : public QObject
{
    Q_OBJECT
private slots:
    void importedMapAnswersAsTheJetFile_data();
    void importedMapAnswersAsTheJetFile();
    void refusesWhatItCannotImport_data();
    void refusesWhatItCannotImport();
    void neverWritesItsInput();
    void hostileJetFilesAreReportedNotCrashedOn_data();
    void hostileJetFilesAreReportedNotCrashedOn();
    void standardOutputCarriesOnlyTheToolsOwn();
    void routesRefuseNamesTheyCannotCarry();
};

void TestMapImport::importedMapAnswersAsTheJetFile_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("Jet 4") << QStringLiteral("game_jet4.mdb");
    QTest::newRow("Jet 3") << QStringLiteral("game_jet3.mdb");
}

void TestMapImport::importedMapAnswersAsTheJetFile()
{
    QFETCH(QString, fixture);
    const QString jet = jetFixture(fixture);
    const TestMapDb sqlite(jetFixtureRows());
    QTemporaryDir out;
    const QString imported = out.filePath(QStringLiteral("mapdata.mdb"));
    const ToolRun import = runTool({"import", "--mdb", jet, "--out", out.path()});
    QVERIFY2(import.exitCode == 0, import.err.constData());
    QVERIFY(import.out.contains("tbl_距離 11"));
    // The map tool's own tables and indexes: the schema a built map has.
    QCOMPARE(schemaOf(imported), schemaOf(sqlite.fileName()));

    for (const char* level : {"0", "1", "2"}) {
        const QStringList args{"route", "--level", level, "--db", jet, "京都", "和歌山"};
        const ToolRun onJet = runTool(args);
        QCOMPARE(onJet.exitCode, 0);
        QVERIFY(onJet.out.contains("-京都-大阪-堺-和歌山\n"));
        // The road with a NULL km is no road: no route leads straight to 和歌山.
        QVERIFY(!onJet.out.contains("-京都-和歌山\n"));
        QCOMPARE(runTool(QStringList(args).replaceInStrings(jet, imported)).out, onJet.out);
        QCOMPARE(runTool(QStringList(args).replaceInStrings(jet, sqlite.fileName())).out,
                 onJet.out);
    }
    const QStringList navi{"navi", "--answers", "--db", jet, "00120-京都-大阪-堺-和歌山"};
    const ToolRun onJet = runTool(navi);
    QCOMPARE(onJet.exitCode, 0);
    QVERIFY(onJet.out.contains(kJetFixtureEvent));
    QCOMPARE(runTool(QStringList(navi).replaceInStrings(jet, imported)).out, onJet.out);
}

void TestMapImport::refusesWhatItCannotImport_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such file") << QStringLiteral("/nonexistent/map.mdb") << 1
                                  << QStringLiteral("/nonexistent/map.mdb");
    QTest::newRow("already SQLite") << QStringLiteral("SQLITE") << 1 << QStringLiteral("already");
    QTest::newRow("a table missing")
        << jetFixture(QStringLiteral("no_quiz.mdb")) << 1 << QStringLiteral("tbl_Quiz");
    QTest::newRow("a town without a name") << jetFixture(QStringLiteral("variety_jet4.mdb")) << 1
                                           << QStringLiteral("「tbl_座標」の 6 行目");
    QTest::newRow("no --mdb") << QString() << 2 << QStringLiteral("--mdb");
    QTest::newRow("300 columns") << jetFixture(QStringLiteral("wide_jet4.mdb")) << 1
                                 << QStringLiteral("列が 300 個あります");
    QTest::newRow("names a route cannot carry") << jetFixture(QStringLiteral("names_jet4.mdb")) << 1
                                                << QStringLiteral("「大-阪」「山+崎」");
}

void TestMapImport::refusesWhatItCannotImport()
{
    QFETCH(QString, input);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const TestMapDb sqlite(jetFixtureRows());
    QTemporaryDir out;
    QStringList args{"import", "--out", out.filePath(QStringLiteral("new"))};
    if (!input.isEmpty())
        args << "--mdb" << (input == QStringLiteral("SQLITE") ? sqlite.fileName() : input);
    const ToolRun run = runTool(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("new/mapdata.mdb"))));
}

void TestMapImport::neverWritesItsInput()
{
    QTemporaryDir dir;
    const QString jet = dir.filePath(QStringLiteral("mapdata.mdb"));
    QVERIFY(QFile::copy(jetFixture(QStringLiteral("game_jet4.mdb")), jet));
    const QByteArray bytes = bytesOf(jet);
    QTemporaryDir elsewhere;
    const QString linkedFolder = elsewhere.filePath(QStringLiteral("link"));
    QVERIFY(QFile::link(dir.path(), linkedFolder));
    const QString hardLinked = elsewhere.filePath(QStringLiteral("hard"));
    QVERIFY(QDir().mkdir(hardLinked));
    QCOMPARE(::link(QFile::encodeName(jet).constData(),
                    QFile::encodeName(hardLinked + QStringLiteral("/mapdata.mdb")).constData()),
             0);

    const QList<QStringList> refused = {
        {"--out", dir.path()},                              // its own folder
        {"--out", linkedFolder},                            // the same, through a link
        {"--out", hardLinked},                              // the same file under another name
        {"--out", dir.path(), "--name", "mapdata.mdb"},     // named as itself
        {"--out", linkedFolder, "--name", "./mapdata.mdb"}, // no file name
    };
    for (const QStringList& out : refused) {
        const ToolRun run = runTool(QStringList{"import", "--mdb", jet} + out);
        QVERIFY2(run.exitCode == 1, qPrintable(out.join(' ') + run.out));
        QVERIFY2(run.err.contains("never written") || run.err.contains("file name"),
                 run.err.constData());
        QCOMPARE(bytesOf(jet), bytes);
        QCOMPARE(listing(dir.path()), QStringList{QStringLiteral("mapdata.mdb")});
    }

    // Told a new name, it writes beside the Jet file and leaves that alone.
    const ToolRun named =
        runTool({"import", "--mdb", jet, "--out", dir.path(), "--name", "new.mdb"});
    QVERIFY2(named.exitCode == 0, named.err.constData());
    QCOMPARE(bytesOf(jet), bytes);
    QVERIFY(bytesOf(dir.filePath(QStringLiteral("new.mdb"))).startsWith("SQLite format 3"));
}

void TestMapImport::hostileJetFilesAreReportedNotCrashedOn_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("300 columns") << QStringLiteral("wide_jet4.mdb");
    QTest::newRow("usage map pointing at no row") << QStringLiteral("usage_map_jet4.mdb");
    QTest::newRow("the catalog's usage map pointing at no row")
        << QStringLiteral("catalog_map_jet4.mdb");
}

void TestMapImport::hostileJetFilesAreReportedNotCrashedOn()
{
    QFETCH(QString, fixture);
    const QString jet = jetFixture(fixture);
    for (const QStringList& args :
         {QStringList{"route", "--db", jet, "京都", "和歌山"},
          QStringList{"navi", "--db", jet, "00120-京都-大阪-堺-和歌山"}}) {
        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(QString::fromUtf8(run.err).contains(
                     QStringLiteral("壊れているか、対応していない Jet ファイルです")),
                 run.err.constData());
        QVERIFY(run.err.contains(fixture.toUtf8()));
        QCOMPARE(run.out, QByteArray());
    }
}

void TestMapImport::standardOutputCarriesOnlyTheToolsOwn()
{
    // libmdb told to dump every row it takes apart onto standard output.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MDBOPTS"), QStringLiteral("debug_row"));
    const QString jet = jetFixture(QStringLiteral("game_jet4.mdb"));
    const TestMapDb sqlite(jetFixtureRows());
    for (const QStringList& args :
         {QStringList{"route", "--db", jet, "京都", "和歌山"},
          QStringList{"navi", "--answers", "--db", jet, "00120-京都-大阪-堺-和歌山"}}) {
        const ToolRun onJet = runTool(args, environment);
        QCOMPARE(onJet.exitCode, 0);
        QCOMPARE(onJet.out,
                 runTool(QStringList(args).replaceInStrings(jet, sqlite.fileName())).out);
    }
}

void TestMapImport::routesRefuseNamesTheyCannotCarry()
{
    TestMap map = jetFixtureRows();
    // Only a road end: tbl_距離 is where routes come from.
    for (QVariantList& road : map.roads) {
        for (QVariant& value : road) {
            if (value.toString() == QStringLiteral("堺"))
                value = QStringLiteral("堺+");
        }
    }
    const TestMapDb sqlite(map);
    for (const QString& db : {jetFixture(QStringLiteral("names_jet4.mdb")), sqlite.fileName()}) {
        const ToolRun run = runTool({"route", "--db", db, "京都", "和歌山"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("「大-阪」「山+崎」") || run.err.contains("「堺+」"),
                 run.err.constData());
        QCOMPARE(run.out, QByteArray());
    }
}

QTEST_GUILESS_MAIN(TestMapImport)
#include "tst_mapimport.moc"
