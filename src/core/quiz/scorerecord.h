// SPDX-License-Identifier: MIT

#pragma once

#include <QDateTime>
#include <QString>

namespace moravelt {

// One finished journey as the records keep it.
struct ScoreRecord
{
    QDateTime when;
    QString route; // the route string, or "ランダム-" and the towns
    int score = 0;
    int possible = 0;
    int right = 0;
    int questions = 0;
    int seconds = 0;
    quint32 seed = 0;

    friend bool operator==(const ScoreRecord&, const ScoreRecord&) = default;
};

} // namespace moravelt
