// SPDX-License-Identifier: MIT

#pragma once

#include "base/moravelterror.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace moravelt {

// Opens the SQLite file `path` on a connection of its own, runs `work` on it and closes it
// again, so that the connection is gone before a failure is passed on as MoraveltError.
template <typename Work> void writeSqliteFile(const QString& path, const QString& name, Work&& work)
{
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        try {
            if (!db.open())
                throw MoraveltError(db.lastError().text());
            work(db);
        } catch (const MoraveltError& e) {
            failure = e.message();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty())
        throw MoraveltError(failure);
}

} // namespace moravelt
