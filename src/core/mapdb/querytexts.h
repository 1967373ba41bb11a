// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/sqltext.h"

namespace moravelt::QueryTexts {

// Every query the game sends to the map database, in one place.
SqlText hitTest(float x, float y);                      // tbl_座標 square of 180 twips
SqlText distances(const QString& town);                 // roads leaving a town
SqlText hiddenDistances(const QString& hiddenTown);     // roads a hidden town lies on
SqlText hiddenEvent(const QString& hiddenTown);         // tbl_隠れ row
SqlText quiz(const QString& town);                      // tbl_Quiz row
SqlText oneLeg(const QString& from, const QString& to); // one tbl_距離 row
SqlText hiddenOnRoad(const QString& from);              // tbl_隠距 by 出発, by distance
SqlText allRoads();                                     // the whole of tbl_距離, source order
SqlText townPlaces();                                   // every tbl_座標 row, source order
SqlText townNames();                       // the towns of tbl_座標 that are not hidden towns
SqlText tableExists(const QString& table); // 1 when the database has the table, else 0
SqlText readings();                        // tbl_読み: the hiragana reading of a town
SqlText quizTowns();                       // the towns with a quiz row, once each, by name

// The player's records, "scores.sqlite" beside the game's other data: never the map.
SqlText scoresQuickCheck(); // "ok", or what is damaged
SqlText scoresTables();     // the names of the file's own tables
SqlText scoresCreate();     // the table tbl_記録
SqlText
scoreInsert(const QVariantList& row); // 日時, ルート, 得点, 満点, 正解数, 問題数, 秒, シード
SqlText scoresBest(int limit);                   // highest score first, then quickest, then oldest
SqlText scoresLatest(int limit);                 // the latest written first
SqlText scoresBestOfRoute(const QString& route); // the highest score of one route, or null
SqlText namesRoutesCannotCarry(); // names with a route string's separators, tabs or line breaks

} // namespace moravelt::QueryTexts
