// SPDX-License-Identifier: MIT

#pragma once

#include "navi/routebatch.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace moravelt {

// Why a step stopped before its end.
enum class SearchStop
{
    None,
    MemoryBudget,
    TimeBudget,
    Cancelled,
    StateCap,
};

// What one step of the route search did.
struct SearchStep
{
    int index = 0;              // steps count from 0
    RouteBatch routes;          // routes found, in the order they were found
    QStringList firstMet;       // towns met for the first time, in that order
    bool frontierEmpty = false; // nothing is left to expand: the search is over
    SearchStop stop = SearchStop::None;
    std::int64_t expanded = 0; // partial routes walked
    bool listFilled = false;   // the route list became full in this step, and keeps the best

    bool found() const { return !routes.isEmpty(); }
    // The progress caption: "+" and "-" before each town first met in this step.
    QString caption() const
    {
        QString text = QStringLiteral("+");
        for (const QString& town : firstMet)
            text += u'-' + town;
        return text;
    }
};

} // namespace moravelt
