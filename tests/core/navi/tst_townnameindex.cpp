// SPDX-License-Identifier: MIT

#include "mapdb/mapdatabase.h"
#include "navi/townnameindex.h"
#include "searchtestmaps.h"

#include <QtTest>

using namespace moravelt;
using namespace moravelt::test;

namespace {

// Towns, the hidden town 大原 (it has an event) and 大森 (it lies on a road only).
TestMap towns()
{
    TestMap map;
    for (const char* town : {"大阪", "大原", "京都", "大津", "大森", "Aomori"})
        map.towns.push_back({QString::fromUtf8(town), 0.0, 0.0});
    map.road(QStringLiteral("大阪"), QStringLiteral("京都"), 40);
    map.hidden = {{"大阪", "京都", "大森", 5.0}};
    map.events = {{"大原", "里で休んだ"}};
    return map;
}

} // namespace

class TestTownNameIndex : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void completes_data();
    void completes();
    void stopsAtTheLimit();

private:
    std::unique_ptr<TestMapDb> m_plain;
    std::unique_ptr<TestMapDb> m_withReadings;
};

void TestTownNameIndex::initTestCase()
{
    m_plain = std::make_unique<TestMapDb>(towns());
    m_withReadings = std::make_unique<TestMapDb>(towns());
    QVERIFY(alterMap(*m_withReadings, "CREATE TABLE tbl_読み (地名 TEXT, 読み TEXT)"));
    QVERIFY(alterMap(*m_withReadings,
                     "INSERT INTO tbl_読み VALUES ('大阪', 'おおさか'), ('大津', 'おおつ'), "
                     "('京都', 'きょうと'), ('大原', 'おはら'), ('Aomori', 'あおもり'), "
                     "('大津', 'おうみおおつ')"));
}

void TestTownNameIndex::completes_data()
{
    QTest::addColumn<bool>("readings");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    for (const bool readings : {false, true}) {
        const char* tag = readings ? "readings: " : "names: ";
        const auto row = [&](const char* what) {
            return &(QTest::newRow((tag + QByteArray(what)).constData()) << readings);
        };
        // In reading order when there are readings, else by name.
        *row("prefix of names") << "大"
                                << (readings ? QStringList{"大阪", "大津"}
                                             : QStringList{"大津", "大阪"});
        *row("whole name") << "京都" << QStringList{"京都"};
        *row("hidden town") << "大原" << QStringList{};
        *row("hidden town on a road") << "大森" << QStringList{};
        *row("nothing typed") << "" << QStringList{};
        *row("case as typed") << "ao" << QStringList{};
        *row("exact case") << "Ao" << QStringList{"Aomori"};
        *row("width as typed") << "Ａｏ" << QStringList{};
        *row("hiragana") << "おお" << (readings ? QStringList{"大阪", "大津"} : QStringList{});
        *row("katakana") << "オオ" << (readings ? QStringList{"大阪", "大津"} : QStringList{});
        *row("second reading") << "おうみ" << (readings ? QStringList{"大津"} : QStringList{});
        *row("reading of a hidden town") << "おは" << QStringList{};
    }
}

void TestTownNameIndex::completes()
{
    QFETCH(bool, readings);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    const MapDatabase cn((readings ? m_withReadings : m_plain)->connectionString());
    QCOMPARE(TownNameIndex::load(cn).complete(typed), expected);
}

void TestTownNameIndex::stopsAtTheLimit()
{
    std::vector<TownNameIndex::Town> many;
    for (int i = 0; i < 120; ++i)
        many.push_back({QStringLiteral("町%1").arg(i, 3, 10, QLatin1Char('0')), {}});
    const QStringList offered = TownNameIndex(many).complete(QStringLiteral("町"), 50);
    QCOMPARE(offered.size(), 50);
    QCOMPARE(offered.first(), QStringLiteral("町000"));
    QCOMPARE(offered.last(), QStringLiteral("町049"));
}

QTEST_GUILESS_MAIN(TestTownNameIndex)
#include "tst_townnameindex.moc"
