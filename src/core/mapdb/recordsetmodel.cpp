// SPDX-License-Identifier: MIT

#include "mapdb/recordsetmodel.h"

#include "base/moravelterror.h"

namespace moravelt {

void RecordsetModel::setRecordset(RecordsetPtr recordset)
{
    beginResetModel();
    m_recordset = std::move(recordset);
    endResetModel();
}

QString RecordsetModel::cellText(int row, int column) const
{
    if (!m_recordset || row < 0 || row >= m_recordset->rowCount())
        throw MoraveltError(QStringLiteral("該当する行がありません"));
    const QVariantList& values = m_recordset->row(row);
    if (column < 0 || column >= values.size())
        throw MoraveltError(QStringLiteral("列 %1 がありません").arg(column));
    return values[column].toString();
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_recordset ? 0 : m_recordset->rowCount();
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_recordset ? 0 : m_recordset->columnCount();
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!m_recordset || !index.isValid() || role != Qt::DisplayRole)
        return {};
    return m_recordset->row(index.row()).value(index.column()).toString();
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_recordset)
        return {};
    if (orientation == Qt::Horizontal)
        return m_recordset->columns().value(section);
    return section + 1;
}

} // namespace moravelt
