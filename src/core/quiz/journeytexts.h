// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt::JourneyTexts {

// A time taken as the player reads it: "45秒", "3分05秒", "1時間02分03秒".
QString duration(int seconds);
// "80 / 120 点"
QString score(int score, int possible);
// "4 / 6 問"
QString right(int right, int questions);

} // namespace moravelt::JourneyTexts
