// SPDX-License-Identifier: MIT

#include "mapdb/recordset.h"

#include "base/moravelterror.h"

namespace moravelt {

Recordset::Recordset(QStringList columns, std::vector<QVariantList> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

void Recordset::moveNext()
{
    if (eof())
        throw MoraveltError(QStringLiteral("結果の最後を越えて読もうとしました"));
    ++m_current;
}

QVariant Recordset::value(const QString& column) const
{
    const int index = columnIndex(column);
    if (index < 0)
        throw MoraveltError(QStringLiteral("列「%1」がありません").arg(column));
    return value(index);
}

QVariant Recordset::value(int position) const
{
    if (eof())
        throw MoraveltError(QStringLiteral("該当する行がありません"));
    const QVariantList& current = m_rows[m_current];
    if (position < 0 || position >= current.size())
        throw MoraveltError(QStringLiteral("列 %1 がありません").arg(position));
    return current[position];
}

} // namespace moravelt
