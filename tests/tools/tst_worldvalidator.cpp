#include "checkcommand.h"
#include "worldcheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
        QVERIFY(
            check.diag.lines().first().startsWith(dir.filePath(QStringLiteral("events.tsv:1: "))));
        QCOMPARE(runCheckCommand({}), 2);
        QCOMPARE(runCheckCommand({QStringLiteral("--date"), dir.path()}), 2);
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
        copyFiles(fixtures + QLatin1Char('/') + folder, dir.path());

        QFile expectFile(fixtures + QLatin1Char('/') + folder + QStringLiteral("/expect.txt"));
        QVERIFY(expectFile.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList expected =
            QString::fromUtf8(expectFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!expected.isEmpty());

        const MapLayout layout;
        const WorldCheck check = WorldCheck::run(dir.path(), layout);
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
