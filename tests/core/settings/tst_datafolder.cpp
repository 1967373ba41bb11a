// SPDX-License-Identifier: MIT

#include "base/moravelterror.h"
#include "settings/datafolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace moravelt;

namespace {

// Puts the named entries into folder: "mdb" and "jpg" as files, "mdb/" as a folder of that name.
void fill(const QString& folder, const QStringList& entries)
{
    QVERIFY(QDir().mkpath(folder));
    for (const QString& entry : entries) {
        const QString name = entry.startsWith(QLatin1String("mdb")) ? QStringLiteral("mapdata.mdb")
                                                                    : QStringLiteral("map.jpg");
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir(folder).mkdir(name));
        } else {
            QFile file(folder + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
}

} // namespace

class TestDataFolder : public QObject
{
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void placesOfAnInstalledProgram();
};

void TestDataFolder::search_data()
{
    QTest::addColumn<QStringList>("beside");  // in the program's folder
    QTest::addColumn<QStringList>("shared");  // in ../share/moravelt
    QTest::addColumn<int>("foundAt");         // index of the found place, -1 for none
    QTest::addColumn<QStringList>("lacking"); // what the message says each place lacks
    const QStringList none;
    const QStringList both{QStringLiteral("mdb"), QStringLiteral("jpg")};
    const QString mdb = QStringLiteral("mapdata.mdb");
    const QString jpg = QStringLiteral("map.jpg");
    const QString all = QStringLiteral("mapdata.mdb、map.jpg");
    QTest::newRow("build folder") << both << none << 0 << QStringList();
    QTest::newRow("build folder shadows an install") << both << both << 0 << QStringList();
    QTest::newRow("installed") << none << both << 1 << QStringList();
    QTest::newRow("half a world beside, whole one shared")
        << QStringList{QStringLiteral("mdb")} << both << 1 << QStringList();
    QTest::newRow("split between the places")
        << QStringList{QStringLiteral("mdb")} << QStringList{QStringLiteral("jpg")} << -1
        << QStringList{jpg, mdb};
    QTest::newRow("a folder named like the database")
        << QStringList{QStringLiteral("mdb/"), QStringLiteral("jpg")} << none << -1
        << QStringList{mdb, all};
    QTest::newRow("nothing anywhere") << none << none << -1 << QStringList{all, all};
}

void TestDataFolder::search()
{
    QFETCH(QStringList, beside);
    QFETCH(QStringList, shared);
    QFETCH(int, foundAt);
    QFETCH(QStringList, lacking);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString share = root.filePath(QStringLiteral("usr/share/moravelt"));
    fill(bin, beside);
    fill(share, shared);
    const QStringList places{bin + QLatin1Char('/'), share + QLatin1Char('/')};

    const DataFolder data = DataFolder::find(bin);
    QCOMPARE(data.found(), foundAt >= 0);
    if (foundAt >= 0) {
        QCOMPARE(data.folder(), places[foundAt]);
        QCOMPARE(data.require(), places[foundAt]);
        QCOMPARE(data.placesTried(), places.mid(0, foundAt + 1));
        return;
    }
    QCOMPARE(data.placesTried(), places);
    try {
        data.require();
        QFAIL("no world found, yet no error");
    } catch (const MoraveltError& error) {
        const QStringList lines = error.message().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 1 + places.size());
        for (qsizetype i = 0; i < places.size(); ++i) {
            QVERIFY2(lines[i + 1].startsWith(places[i]), qPrintable(lines[i + 1]));
            QVERIFY2(lines[i + 1].contains(lacking[i] + QStringLiteral(" がありません")),
                     qPrintable(lines[i + 1]));
        }
    }
}

void TestDataFolder::placesOfAnInstalledProgram()
{
    const QStringList expected{QStringLiteral("/usr/bin/"), QStringLiteral("/usr/share/moravelt/")};
    QCOMPARE(DataFolder::places(QStringLiteral("/usr/bin")), expected);
    QCOMPARE(DataFolder::places(QStringLiteral("/usr/bin/")), expected);
    QCOMPARE(DataFolder::places(QStringLiteral("/opt/game/./bin")),
             (QStringList{QStringLiteral("/opt/game/./bin/"),
                          QStringLiteral("/opt/game/share/moravelt/")}));
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
