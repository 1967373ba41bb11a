// SPDX-License-Identifier: MIT

#pragma once

#include "testmapdb.h"

namespace moravelt::test {

// A Jet file of tests/mapdb/fixtures/jet.
QString jetFixture(const QString& name);

// The Jet reader program of this build, which a test starts wherever it runs from; call it
// before opening a Jet map.
QString builtJetReader();
void useBuiltJetReader();

// What the game fixtures (game_jet4.mdb, game_jet4_pw.mdb, game_jet3.mdb) hold, row for row,
// for writing their SQLite equivalent.
TestMap jetFixtureRows();

// The event of the hidden town 山崎 in the fixtures, with its CR LF.
inline const char* const kJetFixtureEvent = "ウイスキーの香りがする。\r\n次の町へ。";

} // namespace moravelt::test
