// SPDX-License-Identifier: MIT

#include "checkcommand.h"
#include "ferrysourcecheck.h"
#include "worldcheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace moravelt;

namespace {

const QString fixtures = QStringLiteral(MORAVELT_TOOL_FIXTURES);

void copyFiles(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files)) {
        if (name == QStringLiteral("expect.txt"))
            continue;
        QFile::remove(QDir(to).filePath(name));
        QVERIFY(QFile::copy(source.filePath(name), QDir(to).filePath(name)));
    }
}

QByteArray validBytes(const QString& name)
{
    QFile file(fixtures + QStringLiteral("/valid/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray utf16(const QByteArray& utf8)
{
    const QString text = QString::fromUtf8(utf8);
    return QByteArray("\xFF\xFE") +
           QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// The valid table with its line `line` (from 1) replaced.
QByteArray withLine(const QString& name, int line, const QByteArray& replacement)
{
    QList<QByteArray> lines = validBytes(name).split('\n');
    lines[line - 1] = replacement;
    return lines.join('\n');
}

} // namespace

// Every fault of the sample world's tables is reported with its file and line, once.
class TestWorldValidator : public QObject
{
    Q_OBJECT

private slots:
    void validFixturePasses()
    {
        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(fixtures + QStringLiteral("/valid"), layout);
        QVERIFY2(!check.diag.hasErrors(), qPrintable(check.diag.lines().join(QLatin1Char('\n'))));
        QCOMPARE(check.visibleTowns(), 4);
        QCOMPARE(check.hiddenTowns(), 2);
        QCOMPARE(check.placed.size(), std::size_t(6));
    }

    void readsWindowsLineEndingsAndByteOrderMark()
    {
        QTemporaryDir dir;
        copyFiles(fixtures + QStringLiteral("/valid"), dir.path());
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files)) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QByteArray bytes = file.readAll();
            file.close();
            bytes.replace("\n", "\r\n");
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("\xEF\xBB\xBF" + bytes);
        }
        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout);
        QVERIFY2(!check.diag.hasErrors(), qPrintable(check.diag.lines().join(QLatin1Char('\n'))));
        QCOMPARE(check.world->towns.front().name, QStringLiteral("東京"));
        QCOMPARE(check.world->events.front().text,
                 QStringLiteral("箱根の関所を通りました。\r\n名物は黒たまご。"));
    }

    void checkCommandExitCodes()
    {
        QCOMPARE(runCheckCommand({QStringLiteral("--data"), fixtures + QStringLiteral("/valid")}),
                 0);
        QTemporaryDir dir;
        copyFiles(fixtures + QStringLiteral("/valid"), dir.path());
        copyFiles(fixtures + QStringLiteral("/one-way-road"), dir.path());
        QCOMPARE(runCheckCommand({QStringLiteral("--data"), dir.path()}), 1);
        // A missing table is a fault of the data, reported like the others.
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("events.tsv"))));
        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout);
        // It is the only fault reported: the checks across tables would only repeat it.
        QCOMPARE(check.diag.count(), 1);
        QVERIFY(
            check.diag.lines().first().startsWith(dir.filePath(QStringLiteral("events.tsv:1: "))));
        QCOMPARE(runCheckCommand({}), 2);
        QCOMPARE(runCheckCommand({QStringLiteral("--date"), dir.path()}), 2);
    }

    // Every km the game would leave out of its roads is refused, on its own line.
    void unusableKmIsRefused_data()
    {
        QTest::addColumn<QByteArray>("km");
        QTest::newRow("negative") << QByteArray("-500");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("not a number") << QByteArray("遠い");
        QTest::newRow("NaN") << QByteArray("nan");
        QTest::newRow("date") << QByteArray("2024-05-01");
        QTest::newRow("beyond five digits") << QByteArray("100000");
        QTest::newRow("absurd") << QByteArray("9000000000000");
    }

    void unusableKmIsRefused()
    {
        QFETCH(QByteArray, km);
        QTemporaryDir dir;
        copyFiles(fixtures + QStringLiteral("/valid"), dir.path());
        QFile file(dir.filePath(QStringLiteral("roads.tsv")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(withLine(QStringLiteral("roads.tsv"), 2, "東京\t大阪\t" + km + "\t道"));
        file.close();
        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout);
        const QStringList lines = check.diag.lines();
        const QString fault = file.fileName() + QStringLiteral(":2: km must be");
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [&](const QString& line) { return line.startsWith(fault); }),
                 qPrintable(lines.join(QLatin1Char('\n'))));
        QCOMPARE(runCheckCommand({QStringLiteral("--data"), dir.path()}), 1);
    }

    // A table that cannot be read as a table is one fault, however many rows it has.
    void structuralFaultIsReportedOnce_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QByteArray>("bytes"); // null: the file is missing
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("part");
        const QString towns = QStringLiteral("towns.tsv");
        const QString roads = QStringLiteral("roads.tsv");
        QTest::newRow("missing") << towns << QByteArray() << 1 << "cannot read the file";
        QTest::newRow("zero bytes") << towns << QByteArray("") << 1 << "the file is empty";
        QTest::newRow("only blank lines")
            << roads << QByteArray("\n\r\n\n") << 1 << "the file is empty";
        QTest::newRow("only comments")
            << towns << QByteArray("# towns\n# none yet\n") << 1 << "no header line";
        QTest::newRow("header only")
            << roads << validBytes(roads).left(validBytes(roads).indexOf('\n') + 1) << 1
            << "the table has no rows";
        QTest::newRow("Shift_JIS row") << towns
                                       << withLine(towns, 4,
                                                   "\x91\xE5\x8D\xE3\t\x82\xA8\x82\xA8\x82"
                                                   "\xB3\x82\xA9\t\x91\xE5\x8D\xE3\x95{\t"
                                                   "\x92\xAC\t34.7025\t135.4959")
                                       << 4 << "not valid UTF-8";
        QTest::newRow("UTF-16") << QStringLiteral("events.tsv")
                                << utf16(validBytes(QStringLiteral("events.tsv"))) << 1 << "UTF-16";
        QTest::newRow("NUL") << roads << withLine(roads, 3, QByteArray("\0\0\0", 3)) << 3 << "NUL";
        QTest::newRow("CR line endings")
            << QStringLiteral("quiz-west.tsv")
            << validBytes(QStringLiteral("quiz-west.tsv")).replace('\n', '\r') << 1 << "CR alone";
        QTest::newRow("one CR line ending")
            << towns << withLine(towns, 5, "金沢\tかなざわ\t石川県\t町\t36.5780\t136.6480\r箱根")
            << 5 << "CR alone";
        QTest::newRow("header of another table")
            << towns << withLine(towns, 1, validBytes(roads).split('\n').first()) << 1
            << "the header must be";
    }

    void structuralFaultIsReportedOnce()
    {
        QFETCH(QString, table);
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, part);
        QTemporaryDir dir;
        copyFiles(fixtures + QStringLiteral("/valid"), dir.path());
        QFile file(dir.filePath(table));
        if (bytes.isNull()) {
            QVERIFY(file.remove());
        } else {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
            file.close();
        }
        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout);
        const QString all = check.diag.lines().join(QLatin1Char('\n'));
        QVERIFY2(check.diag.count() == 1, qPrintable(all));
        QVERIFY2(all.startsWith(QStringLiteral("%1:%2: ").arg(file.fileName()).arg(line)),
                 qPrintable(all));
        QVERIFY2(all.contains(part), qPrintable(all));
        QCOMPARE(runCheckCommand({QStringLiteral("--data"), dir.path()}), 1);
    }

    void missingQuizTablesAreOneFault()
    {
        QTemporaryDir dir;
        copyFiles(fixtures + QStringLiteral("/valid"), dir.path());
        for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("quiz*.tsv")}))
            QVERIFY(QFile::remove(dir.filePath(name)));
        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout);
        QCOMPARE(check.diag.lines(),
                 QStringList(dir.filePath(QStringLiteral(
                     "quiz.tsv:1: no quiz table: neither quiz.tsv nor quiz-*.tsv"))));
    }

    void emptyWorldIsAFault()
    {
        QTemporaryDir dir;
        copyFiles(fixtures + QStringLiteral("/valid"), dir.path());
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files)) {
            const QByteArray header = validBytes(name).split('\n').first();
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(header + '\n');
        }
        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout);
        QCOMPARE(check.diag.lines(),
                 QStringList({dir.filePath(QStringLiteral("roads.tsv:1: the table has no rows; "
                                                          "the world needs at least one")),
                              dir.filePath(QStringLiteral("towns.tsv:1: the table has no rows; "
                                                          "the world needs at least one"))}));
        QCOMPARE(runCheckCommand({QStringLiteral("--data"), dir.path()}), 1);
    }

    // The line naming a long ferry: both towns and the row's whole km, with or without a comma.
    void longFerryIsNamed_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("named");
        QTest::newRow("plain") << "- 大阪–那覇 1066 km: a car ferry" << true;
        QTest::newRow("thousands") << "那覇–大阪: 1,066 km (1,061 km at sea)" << true;
        QTest::newRow("no space") << "大阪 to 那覇, 1066km" << true;
        QTest::newRow("one town") << "- 大阪–宮崎 1066 km" << false;
        QTest::newRow("other km") << "- 大阪–那覇 1061 km at sea" << false;
        QTest::newRow("longer number") << "大阪–那覇 11066 km" << false;
        QTest::newRow("decimal") << "大阪–那覇 0.1066 km" << false;
        QTest::newRow("no unit") << "大阪–那覇 1066" << false;
    }

    void longFerryIsNamed()
    {
        QFETCH(QString, line);
        QFETCH(bool, named);
        WorldRoad road;
        road.from = QStringLiteral("大阪");
        road.to = QStringLiteral("那覇");
        road.km = 1066;
        road.ferry = true;
        QCOMPARE(FerrySourceCheck::namesFerry(line, road), named);
    }

    void faultIsReported_data()
    {
        QTest::addColumn<QString>("folder");
        const QStringList folders =
            QDir(fixtures).entryList({QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& folder : folders) {
            if (QFile::exists(QDir(fixtures).filePath(folder + QStringLiteral("/expect.txt"))))
                QTest::newRow(qPrintable(folder)) << folder;
        }
        QVERIFY(folders.size() > 20);
    }

    void faultIsReported()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        copyFiles(fixtures + QStringLiteral("/valid"), dir.path());
        const QString coast = dir.filePath(QStringLiteral("coast.txt"));
        QVERIFY(QFile::copy(fixtures + QStringLiteral("/coast.txt"), coast));
        copyFiles(fixtures + QLatin1Char('/') + folder, dir.path());

        QFile expectFile(fixtures + QLatin1Char('/') + folder + QStringLiteral("/expect.txt"));
        QVERIFY(expectFile.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList expected =
            QString::fromUtf8(expectFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!expected.isEmpty());

        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout, coast);
        const QStringList reported = check.diag.lines();
        const QString all = reported.join(QLatin1Char('\n'));
        for (const QString& line : expected) {
            // "FILE:LINE: part of the message"
            const qsizetype split = line.indexOf(QStringLiteral(": "));
            const QString where =
                dir.path() + QLatin1Char('/') + line.left(split) + QStringLiteral(": ");
            const QString part = line.mid(split + 2);
            const bool found = std::any_of(reported.begin(), reported.end(), [&](const QString& r) {
                return r.startsWith(where) && r.contains(part);
            });
            QVERIFY2(found, qPrintable(QStringLiteral("expected %1\ngot:\n%2").arg(line, all)));
        }
        // One message per fault: nothing else is reported.
        QVERIFY2(reported.size() == expected.size(), qPrintable(all));
    }
};

QTEST_MAIN(TestWorldValidator)
#include "tst_worldvalidator.moc"
