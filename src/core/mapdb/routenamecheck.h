// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

class QSqlDatabase;

namespace moravelt {

// Town and hidden-town names a route cannot carry: a route string separates its parts with
// "-" and "+", and a tab, CR or LF would break the navigation list's copied text. Every such
// name of the map, each once, in text order; throws MoraveltError when the query fails.
QStringList namesRoutesCannotCarry(const QSqlDatabase& db);

// Throws MoraveltError naming the map file and the first few such names, if it has any. A
// map whose name columns cannot be read passes: the reads that need them report it.
void checkRouteNames(const QString& file, const QSqlDatabase& db);

} // namespace moravelt
