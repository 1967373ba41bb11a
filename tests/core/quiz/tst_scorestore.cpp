// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "quiz/scorestore.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

using namespace moravelt;

namespace {

ScoreRecord record(int n, const QString& route = QStringLiteral("00045-京都-奈良"))
{
    return {QDateTime(QDate(2024, 5, 1), QTime(9, 0).addSecs(n * 60)),
            route,
            n * 10 % 70,
            60,
            n % 4,
            3,
            30 + n,
            quint32(1000 + n)};
}

QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), data.size());
}

// Runs SQL on a file of the test's own, beside the store.
void sql(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "test-side");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            QVERIFY2(query.exec(statement), qPrintable(statement));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test-side"));
}

// The helper mode: writes records until it is killed, saying each one once it is committed.
int writeForever(const QString& path)
{
    ScoreStore store(path);
    for (int n = 0;; ++n) {
        store.add(record(n, QStringLiteral("writer")));
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}

} // namespace

class TestScoreStore : public QObject
{
    Q_OBJECT
private slots:
    void storesAndReadsBack();
    void livesUnderTheDataFolder();
    void refusesFilesItMustNotWrite_data();
    void refusesFilesItMustNotWrite();
    void lockedFileIsRefusedAndLeftAlone();
    void killedWriterKeepsEarlierRecords();

private:
    QTemporaryDir m_dir;
};

void TestScoreStore::storesAndReadsBack()
{
    const QString path = m_dir.filePath(QStringLiteral("new/folder/scores.sqlite"));
    {
        ScoreStore store(path);
        QVERIFY(store.latest(10).empty());
        QVERIFY(!store.bestOf(QStringLiteral("00045-京都-奈良")));
        for (int n : {1, 5, 3})
            store.add(record(n));
        store.add(record(4, QStringLiteral("ランダム-札幌-那覇")));
    }
    ScoreStore again(path); // read back by another connection, as the next game does
    const std::vector<ScoreRecord> latest = again.latest(10);
    QCOMPARE(latest.size(), std::size_t(4));
    QCOMPARE(latest[0], record(4, QStringLiteral("ランダム-札幌-那覇")));
    QCOMPARE(latest[1], record(3));
    QCOMPARE(latest[3], record(1));
    QCOMPARE(again.latest(2).size(), std::size_t(2));
    // Highest score first: 50 (n 5), 40 (n 4), 30 (n 3), 10 (n 1).
    const std::vector<ScoreRecord> best = again.best(3);
    QCOMPARE(best.size(), std::size_t(3));
    QCOMPARE(best[0], record(5));
    QCOMPARE(best[1].route, QStringLiteral("ランダム-札幌-那覇"));
    QCOMPARE(best[2], record(3));
    QCOMPARE(again.bestOf(QStringLiteral("00045-京都-奈良")).value_or(-1), 50);
    QVERIFY(!again.bestOf(QStringLiteral("00046-京都-奈良")));
    // Equal scores: the quicker first.
    ScoreRecord slow = record(5);
    slow.seconds = 500;
    ScoreRecord quick = record(5);
    quick.seconds = 5;
    again.add(slow);
    again.add(quick);
    QCOMPARE(again.best(1).front(), quick);
}

void TestScoreStore::livesUnderTheDataFolder()
{
    // ctest gives each suite a data folder of its own.
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        QSKIP("XDG_DATA_HOME is not set");
    QCOMPARE(ScoreStore::defaultPath(), data + QStringLiteral("/moravelt/scores.sqlite"));
}

void TestScoreStore::refusesFilesItMustNotWrite_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only") << "read-only"
                               << "読み取り専用";
    QTest::newRow("truncated") << "truncated"
                               << "壊れています";
    QTest::newRow("scrambled pages") << "scrambled"
                                     << "壊れています";
    QTest::newRow("not SQLite") << "text"
                                << "SQLite のデータベースではありません";
    QTest::newRow("another program's database") << "foreign"
                                                << "記録のデータベースではありません";
    QTest::newRow("a table without the columns") << "columns"
                                                 << "列「秒」";
    QTest::newRow("a folder") << "folder"
                              << "ファイルではありません";
}

void TestScoreStore::refusesFilesItMustNotWrite()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scores.sqlite"));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("text")) {
        writeBytes(path, "my scores: 100, 90, 80\n");
    } else if (kind == QLatin1String("foreign")) {
        sql(path, {"CREATE TABLE photos (name TEXT)", "INSERT INTO photos VALUES ('fuji.jpg')"});
    } else if (kind == QLatin1String("columns")) {
        sql(path, {"CREATE TABLE tbl_記録 (日時 TEXT, ルート TEXT, 得点 INTEGER, 満点 INTEGER, "
                   "正解数 INTEGER, 問題数 INTEGER)"});
    } else {
        ScoreStore(path).add(record(0));
        // Some pages' worth of records, in one go: a commit each would wait for the disk.
        sql(path, {"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                   "INSERT INTO tbl_記録 SELECT '2024-05-01 09:00:00', "
                   "'00161-京都-奈良-橿原-堺-和歌山-' || i, i % 60, 60, 1, 3, 30 + i, i FROM n"});
        QByteArray data = bytes(path);
        QVERIFY(data.size() > 8 * 4096);
        if (kind == QLatin1String("truncated"))
            data.truncate(data.size() / 2);
        if (kind == QLatin1String("scrambled")) // the page headers of pages 2 to 5
            for (int page = 1; page < 5; ++page)
                for (int i = 0; i < 12; ++i)
                    data[page * 4096 + i] = char(0xA5);
        writeBytes(path, data);
        if (kind == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    }
    const QByteArray before = bytes(path);
    const QStringList filesBefore =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    try {
        ScoreStore store(path);
        QFAIL("the file was taken");
    } catch (const MoraveltError& error) {
        QVERIFY2(error.message().contains(path) && error.message().contains(reason),
                 qPrintable(error.message()));
    }
    QCOMPARE(bytes(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), filesBefore);
}

void TestScoreStore::lockedFileIsRefusedAndLeftAlone()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scores.sqlite"));
    {
        ScoreStore store(path);
        store.add(record(1));
    }
    const QByteArray before = bytes(path);
    {
        // Another program holds the file for itself.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery hold(other);
        QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        try {
            ScoreStore store(path);
            QFAIL("a locked file was taken");
        } catch (const MoraveltError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("ほかのプログラム")),
                     qPrintable(error.message()));
        }
        QVERIFY(hold.exec(QStringLiteral("ROLLBACK")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    QCOMPARE(bytes(path), before);
    QCOMPARE(ScoreStore(path).latest(5).size(), std::size_t(1));
}

void TestScoreStore::killedWriterKeepsEarlierRecords()
{
    const QString path = m_dir.filePath(QStringLiteral("killed.sqlite"));
    {
        ScoreStore store(path);
        for (int n = 0; n < 3; ++n)
            store.add(record(n));
    }
    int committed = 0;
    for (int round = 0; round < 4; ++round) {
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--write-forever"), path});
        QVERIFY(writer.waitForStarted());
        // Killed at whatever point it has reached once it has committed some records: in the
        // middle of a transaction, most of the time.
        int said = -1;
        while (said < 20 + round * 7) {
            QVERIFY2(writer.waitForReadyRead(30000), writer.readAllStandardError().constData());
            const QList<QByteArray> lines = writer.readAllStandardOutput().trimmed().split('\n');
            said = lines.last().toInt();
        }
        writer.kill();
        QVERIFY(writer.waitForFinished());
        committed += said + 1;

        ScoreStore store(path); // rolls the unfinished transaction back
        const std::vector<ScoreRecord> all = store.latest(1000000);
        QVERIFY2(int(all.size()) >= 3 + committed, qPrintable(QString::number(all.size())));
        committed = int(all.size()) - 3; // what actually got in, including any unsaid commit
        QCOMPARE(all[all.size() - 1], record(0));
        QCOMPARE(all[all.size() - 3], record(2));
    }
}

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--write-forever") == 0) {
        QCoreApplication app(argc, argv);
        return writeForever(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestScoreStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scorestore.moc"
