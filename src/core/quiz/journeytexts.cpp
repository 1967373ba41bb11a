// SPDX-License-Identifier: MIT

#include "quiz/journeytexts.h"

namespace moravelt::JourneyTexts {

QString duration(int seconds)
{
    seconds = std::max(seconds, 0);
    const int hours = seconds / 3600;
    const int minutes = seconds / 60 % 60;
    const int rest = seconds % 60;
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    if (hours > 0)
        return QStringLiteral("%1時間%2分%3秒").arg(hours).arg(two(minutes), two(rest));
    if (minutes > 0)
        return QStringLiteral("%1分%2秒").arg(minutes).arg(two(rest));
    return QStringLiteral("%1秒").arg(rest);
}

QString score(int score, int possible)
{
    return QStringLiteral("%1 / %2 点").arg(score).arg(possible);
}

QString right(int right, int questions)
{
    return QStringLiteral("%1 / %2 問").arg(right).arg(questions);
}

} // namespace moravelt::JourneyTexts
