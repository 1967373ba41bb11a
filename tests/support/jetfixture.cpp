// SPDX-License-Identifier: MIT

#include "jetfixture.h"

#include "mapdb/jetreader.h"

namespace moravelt::test {

QString jetFixture(const QString& name)
{
    return QStringLiteral(MORAVELT_JET_FIXTURES "/") + name;
}

QString builtJetReader()
{
    return QStringLiteral(MORAVELT_JET_READ);
}

void useBuiltJetReader()
{
    JetReader::setProgram(builtJetReader());
}

TestMap jetFixtureRows()
{
    TestMap map;
    map.towns = {{"京都", 1500.0, 1800.0},
                 {"大阪", 1200.0, 2100.0},
                 {"和歌山", 900.0, 2700.0},
                 {"堺", 1100.0, 2300.0},
                 {"大津", 1700.0, 1750.0}};
    map.road("京都", "大阪", 50);
    map.road("大阪", "堺", 12);
    map.road("堺", "和歌山", 58);
    map.road("京都", "大津", 12);
    map.road("大津", "大阪", 60);
    map.roads.push_back({"京都", "和歌山", QVariant()});
    map.hidden = {{"京都", "大阪", "山崎", 20.0}, {"大阪", "京都", "山崎", 30.0}};
    map.events = {{"山崎", QString::fromUtf8(kJetFixtureEvent)}};
    map.quizzes = {
        {"京都", "京都にある金色の寺の名前は？", "正解：金閣寺", "不正：銀閣寺", "不正：東大寺",
         10},
        {"大阪", "大阪城を築いたのは誰？", "正解：豊臣秀吉", "不正：徳川家康", "不正：織田信長",
         20},
        {"和歌山", "和歌山県の名産の果物は？", "正解：みかん", "不正：りんご", "不正：さくらんぼ",
         30},
        {"堺", "堺で古くから作られている刃物は？", "正解：包丁", "不正：はさみ", "不正：のこぎり",
         40},
        {"大津", "大津が面している湖は？", "正解：琵琶湖", "不正：浜名湖", "不正：諏訪湖", 50},
    };
    return map;
}

} // namespace moravelt::test
