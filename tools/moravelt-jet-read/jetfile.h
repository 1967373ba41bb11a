// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace moravelt {

// A Jet 3 or Jet 4 database file, read through mdbtools' libmdb. The file is opened for
// reading only and never locked. Text comes back as Unicode (Jet 4 UCS-2, compressed or not;
// Jet 3 in the file's code page), whole numbers as integers, Single, Double and Currency as
// doubles, NULL as a null QVariant. Failures throw MoraveltError in words that name the file.
//
// libmdb believes what the file says, and some damaged files crash it; so only the reader
// program (a child of the game) uses this class, and libmdb's own words go to that program's
// standard error.
class JetFile
{
public:
    // A column as its table definition declares it.
    struct Column
    {
        QString name;
        int type = 0; // libmdb's MDB_* type number
        bool fixed = false;
        int size = 0; // bytes
    };

    explicit JetFile(const QString& path);
    ~JetFile();
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    const QString& path() const { return m_path; }
    // The user tables, in catalog order.
    const QStringList& tableNames() const { return m_tables; }
    // The columns of a user table (named without regard to case) in their order, or nothing
    // when the file has no such table. A table the catalog lists in a damaged row, or one
    // missing from a damaged catalog, throws instead: that is damage, not a missing table.
    std::optional<std::vector<Column>> columns(const QString& table) const;
    std::optional<QStringList> columnNames(const QString& table) const;

    // Every row of a table in stored order, one call per row with the values in column order.
    using RowRead = std::function<void(const QVariantList& values)>;
    void readRows(const QString& table, const RowRead& rowRead) const;

private:
    struct Handle;
    // A row of the catalog: an object's name, libmdb's type for it and its flags.
    struct Entry
    {
        QString name;
        int type = 0;
        int flags = 0;
        unsigned int index = 0; // in libmdb's catalog
        bool userTable = false;
    };

    void readCatalog();
    // The catalog's row of a user table; throws when the table is missing for damage.
    const Entry* userTable(const QString& table) const;
    struct TableDef;
    std::unique_ptr<TableDef> readDefinition(const Entry& entry) const;
    [[noreturn]] void fail(const QString& what) const;

    std::unique_ptr<Handle> m_handle;
    QString m_path;
    QStringList m_tables;
    std::vector<Entry> m_catalog;
    // Why the catalog cannot be trusted to list every table, or nothing.
    QString m_catalogFault;
};

} // namespace moravelt
