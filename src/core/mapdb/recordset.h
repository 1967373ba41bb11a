// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace moravelt {

// A query result held in memory: a static, forward-walkable cursor over its rows, readable
// by column name or position. Grids share it, so a grid keeps its rows when a slot is refilled.
class Recordset
{
public:
    Recordset(QStringList columns, std::vector<QVariantList> rows);

    bool eof() const { return m_current >= m_rows.size(); }
    void moveNext();

    // Values of the current row; reading past the end or an unknown column throws.
    QVariant value(const QString& column) const;
    QVariant value(int position) const;

    const QStringList& columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    int rowCount() const { return int(m_rows.size()); }
    const QVariantList& row(int index) const { return m_rows.at(std::size_t(index)); }
    int columnIndex(const QString& column) const { return int(m_columns.indexOf(column)); }

private:
    QStringList m_columns;
    std::vector<QVariantList> m_rows;
    std::size_t m_current = 0;
};

using RecordsetPtr = std::shared_ptr<Recordset>;

} // namespace moravelt
