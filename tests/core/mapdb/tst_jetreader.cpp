// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "jetfixture.h"
#include "mapdb/jetreader.h"
#include "mapdb/mapdatabase.h"

#include <QDir>
#include <QProcess>
#include <QtEndian>
#include <QtTest>
#include <functional>

using namespace moravelt;
using namespace moravelt::test;

namespace {

QByteArray bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The Jet 4 fixtures as jetwriter lays them out: 4,096-byte pages, the catalog's rows on
// page 3, each table's definition followed by its data (tbl_距離's definition on page 6).
constexpr int kPage = 4096;
constexpr int kCatalogPage = 3;
constexpr int kRoadsDefinitionPage = 6;

// Where row `index` of a data page starts, as its offset table says.
int rowStart(const QByteArray& file, int page, int index)
{
    const auto* p = reinterpret_cast<const uchar*>(file.constData()) + page * kPage;
    return page * kPage + (qFromLittleEndian<quint16>(p + 14 + 2 * index) & 0x1fff);
}

// The catalog row naming a table. A name stands in UTF-16, or after FF FE one byte a
// character when every character fits in one ("compressed").
int catalogRow(const QByteArray& file, const QString& name)
{
    const QByteArray stored =
        name.toLatin1() == name.toUtf8()
            ? QByteArray("\xff\xfe") + name.toLatin1()
            : QByteArray(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
    const auto* p = reinterpret_cast<const uchar*>(file.constData()) + kCatalogPage * kPage;
    const int rows = qFromLittleEndian<quint16>(p + 12);
    for (int i = 0; i < rows; ++i) {
        const int start = rowStart(file, kCatalogPage, i);
        const int end = i == 0 ? (kCatalogPage + 1) * kPage : rowStart(file, kCatalogPage, i - 1);
        if (file.mid(start, end - start).contains(stored))
            return i;
    }
    qFatal("no catalog row names %s", qPrintable(name));
}

using Patch = std::function<void(QByteArray& file)>;

// game_jet4.mdb with one damage done to it.
QByteArray damaged(const Patch& patch)
{
    QByteArray file = bytesOf(jetFixture(QStringLiteral("game_jet4.mdb")));
    patch(file);
    return file;
}

void putU16(QByteArray& file, int at, quint16 value)
{
    qToLittleEndian(value, file.data() + at);
}

// A catalog row's Type (Integer) after its column count, Id and ParentId (Long).
constexpr int kTypeField = 2 + 8;

// The type byte of column `column` in tbl_距離's definition (63 bytes of head, 25 a column).
int roadColumnType(int column)
{
    return kRoadsDefinitionPage * kPage + 63 + 25 * column;
}

// A program standing in for the reader, written into `dir`.
QString fakeReader(const QTemporaryDir& dir, const QByteArray& script)
{
    const QString path = dir.filePath(QStringLiteral("fake-reader"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + script + "\n") < 0)
        return {};
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

Q_DECLARE_METATYPE(Patch)

class TestJetReader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void hostileFilesGiveOneMessage_data();
    void hostileFilesGiveOneMessage();
    void libmdbStaysOutOfTheGame();
    void readerFailuresBecomeOneMessage_data();
    void readerFailuresBecomeOneMessage();
    void readerAnswersOnItsOwnStream();
};

void TestJetReader::initTestCase()
{
    useBuiltJetReader();
}

void TestJetReader::cleanup()
{
    useBuiltJetReader();
}

void TestJetReader::hostileFilesGiveOneMessage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("named");
    const QString broken = QStringLiteral("壊れているか、対応していない Jet ファイルです");
    const auto fixture = [](const char* name) {
        return bytesOf(jetFixture(QString::fromUtf8(name)));
    };

    // Each of these crashed libmdb inside the game.
    QTest::newRow("300 columns") << fixture("wide_jet4.mdb")
                                 << QStringList{broken, "tbl_Quiz", "300", "256"};
    QTest::newRow("usage map pointing at no row")
        << fixture("usage_map_jet4.mdb") << QStringList{broken};
    QTest::newRow("the catalog's usage map pointing at no row")
        << fixture("catalog_map_jet4.mdb") << QStringList{broken};

    // A damaged catalog is damage, not a missing table.
    QTest::newRow("catalog row of another type") << damaged([](QByteArray& f) {
        putU16(f, rowStart(f, kCatalogPage, catalogRow(f, "tbl_座標")) + kTypeField, 0x42);
    }) << QStringList{broken, "カタログ", "tbl_座標", "種類 66"};
    QTest::newRow("catalog row deleted") << damaged([](QByteArray& f) {
        const int index = catalogRow(f, "tbl_Quiz");
        const int at = kCatalogPage * kPage + 14 + 2 * index;
        putU16(f, at, qFromLittleEndian<quint16>(f.constData() + at) | 0x4000); // deleted
    }) << QStringList{broken, "カタログ", "9 行のうち 8 行", "tbl_Quiz"};
    QTest::newRow("catalog name with a byte changed") << damaged([](QByteArray& f) {
        const QString stored = QStringLiteral("tbl_隠距");
        const qsizetype at =
            f.indexOf(QByteArray(reinterpret_cast<const char*>(stored.utf16()), stored.size() * 2));
        f[at + 2] = 'X'; // "tXl_隠距"
    }) << QStringList{broken, "カタログ", "「tXl_隠距」", "「tbl_隠距」"};

    // Damaged column types are named, not read as something else.
    QTest::newRow("km of a type Jet does not have")
        << damaged([](QByteArray& f) { f[roadColumnType(2)] = char(0x2a); })
        << QStringList{broken, "tbl_距離", "「km」", "42"};
    QTest::newRow("km as a text") << damaged([](QByteArray& f) {
        f[roadColumnType(2)] = char(0x0a);
    }) << QStringList{broken, "tbl_距離", "「km」", "Text"};
    QTest::newRow("a town name as a Double")
        << damaged([](QByteArray& f) { f[roadColumnType(0)] = char(0x07); })
        << QStringList{broken, "tbl_距離", "「出発地」", "Double"};
}

void TestJetReader::hostileFilesGiveOneMessage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, named);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mapdata.mdb"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(bytes), bytes.size());
    }
    QFile::setPermissions(file, QFile::ReadOwner);
    try {
        const MapDatabase cn(MapDatabase::connectionString(dir.path() + QLatin1Char('/')));
        QFAIL("the map opened");
    } catch (const MoraveltError& error) {
        QVERIFY2(error.message().contains(file), qPrintable(error.message()));
        for (const QString& words : named)
            QVERIFY2(error.message().contains(words), qPrintable(error.message()));
    }
    QCOMPARE(bytesOf(file), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("mapdata.mdb")});
}

void TestJetReader::libmdbStaysOutOfTheGame()
{
    // A Jet map read whole, as the game reads it at start-up.
    QTemporaryDir dir;
    QVERIFY(QFile::copy(jetFixture(QStringLiteral("game_jet4.mdb")),
                        dir.filePath(QStringLiteral("mapdata.mdb"))));
    const MapDatabase cn(MapDatabase::connectionString(dir.path() + QLatin1Char('/')));
    QVERIFY(!cn.open({QStringLiteral("SELECT * FROM tbl_距離"), {}})->eof());
    // libmdb, and its use of the process's standard streams, lives in the reader only.
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("libmdb"));
}

void TestJetReader::readerFailuresBecomeOneMessage_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("limit"); // seconds
    QTest::addColumn<QStringList>("named");
    const QString broken = QStringLiteral("壊れているか、対応していない Jet ファイルです");
    QTest::newRow("crash") << QByteArray("echo 'mdb_read_table: Unable to read page 7' >&2\n"
                                         "kill -SEGV $$")
                           << 30
                           << QStringList{broken, "異常終了", "SIGSEGV",
                                          "libmdb の報告: mdb_read_table: Unable to read page 7"};
    QTest::newRow("hang") << QByteArray("exec sleep 60") << 1
                          << QStringList{broken, "1 秒たっても読み終わりません"};
    // A reader that never stops talking is read as it talks and cut short, not waited on.
    QTest::newRow("endless warnings")
        << QByteArray("yes 'warning: row 3 has a bad length' | head -c 20000000 >&2\nexit 1") << 30
        << QStringList{broken, "終了コード 1", "warning: row 3 has a bad length"};
    QTest::newRow("its own refusal")
        << QByteArray("printf '地図データベース「game_jet4.mdb」に表「tbl_距離」がありません。'\n"
                      "echo 'stray' >&2\nexit 3")
        << 30 << QStringList{"に表「tbl_距離」がありません。", "libmdb の報告: stray"};
    QTest::newRow("no answer") << QByteArray("exit 0") << 30
                               << QStringList{broken, "答えが読めません"};
}

void TestJetReader::readerFailuresBecomeOneMessage()
{
    QFETCH(QByteArray, script);
    QFETCH(int, limit);
    QFETCH(QStringList, named);
    QTemporaryDir dir;
    JetReader::setProgram(fakeReader(dir, script));
    const QString jet = jetFixture(QStringLiteral("game_jet4.mdb"));
    try {
        JetReader::copy(jet, dir.filePath(QStringLiteral("copy.sqlite")), JetReader::Nulls::Keep,
                        std::chrono::seconds(limit));
        QFAIL("the copy was made");
    } catch (const MoraveltError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("game_jet4.mdb")),
                 qPrintable(error.message()));
        for (const QString& words : named)
            QVERIFY2(error.message().contains(words), qPrintable(error.message()));
        QVERIFY2(error.message().size() < 2000, qPrintable(error.message().left(300)));
    }

    JetReader::setProgram(dir.filePath(QStringLiteral("no-such-reader")));
    QVERIFY_THROWS_EXCEPTION(
        MoraveltError,
        JetReader::copy(jet, dir.filePath(QStringLiteral("copy.sqlite")), JetReader::Nulls::Keep));
}

void TestJetReader::readerAnswersOnItsOwnStream()
{
    // libmdb's row dumps go to standard output; the reader's answer stays alone there.
    QTemporaryDir dir;
    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MDBOPTS"), QStringLiteral("debug_row"));
    reader.setProcessEnvironment(environment);
    reader.start(builtJetReader(), {jetFixture(QStringLiteral("game_jet4.mdb")),
                                    dir.filePath(QStringLiteral("copy.sqlite"))});
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(reader.exitCode(), 0);
    QCOMPARE(reader.readAllStandardOutput(), QByteArray("rows 5 11 2 1 5\n"));
    QVERIFY(reader.readAllStandardError().contains("bitmask_sz"));
}

QTEST_GUILESS_MAIN(TestJetReader)
#include "tst_jetreader.moc"
