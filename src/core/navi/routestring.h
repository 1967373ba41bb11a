// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace moravelt::RouteString {

// A route string is the total in at least five digits followed by "-" and each town of the
// route: "00123-A-B-C". Town names never contain "-", so splitting needs no escaping.

// A total of zero or more in whole kilometres, halves away from zero.
std::int64_t wholeKm(std::int64_t microKm);
// A total of zero or more made whole (halves away from zero) in at least five digits.
QString formatTotal(std::int64_t microKm);
// The route string of a path of towns and its total.
QString make(std::int64_t microKm, const QStringList& towns);
// Parts 0..n: the total and the towns in travel order.
QStringList split(const QString& route);
// A total of digits and at least one non-empty town.
bool isWellFormed(const QString& route);

} // namespace moravelt::RouteString
