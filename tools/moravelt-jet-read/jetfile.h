// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

namespace moravelt {

// A Jet 3 or Jet 4 database file, read through mdbtools' libmdb. The file is opened for
// reading only and never locked. Text comes back as Unicode (Jet 4 UCS-2, compressed or not;
// Jet 3 in the file's code page), whole numbers as integers, Single, Double and Currency as
// doubles, NULL as a null QVariant. Failures throw MoraveltError in words that name the file
// and add what libmdb reported.
class JetFile
{
public:
    explicit JetFile(const QString& path);
    ~JetFile();
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    const QString& path() const { return m_path; }
    // The user tables, in catalog order.
    const QStringList& tableNames() const { return m_tables; }
    // The columns of a user table (named without regard to case) in their order.
    std::optional<QStringList> columnNames(const QString& table) const;

    // Every row of a table in stored order, one call per row with the values in column order.
    using RowRead = std::function<void(const QVariantList& values)>;
    void readRows(const QString& table, const RowRead& rowRead) const;

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    QString m_path;
    QStringList m_tables;
};

} // namespace moravelt
