// SPDX-License-Identifier: MIT

#include "navilist/flexgridmodel.h"

#include "base/moravelterror.h"

#include <algorithm>

namespace moravelt {

FlexGridModel::FlexGridModel(QObject* parent)
    : QAbstractTableModel(parent), m_cells(std::size_t(m_rows * m_cols))
{
}

void FlexGridModel::setRows(int rows)
{
    rows = std::max(rows, 1);
    if (rows > m_rows) {
        beginInsertRows({}, m_rows - 1, rows - 2);
        m_cells.resize(std::size_t(rows) * std::size_t(m_cols));
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows - 1, m_rows - 2);
        m_cells.resize(std::size_t(rows) * std::size_t(m_cols));
        m_rows = rows;
        endRemoveRows();
    }
}

void FlexGridModel::clear()
{
    std::fill(m_cells.begin(), m_cells.end(), QString());
    if (m_rows > 1)
        emit dataChanged(index(0, 0), index(m_rows - 2, m_cols - 1));
    emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
}

std::size_t FlexGridModel::cell(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        throw MoraveltError(
            QStringLiteral("ナビリストに %1 行 %2 列のセルはありません").arg(row).arg(col));
    return std::size_t(row) * std::size_t(m_cols) + std::size_t(col);
}

const QString& FlexGridModel::textMatrix(int row, int col) const
{
    return m_cells[cell(row, col)];
}

void FlexGridModel::setTextMatrix(int row, int col, const QString& text)
{
    m_cells[cell(row, col)] = text;
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, col, col);
    else
        emit dataChanged(index(row - 1, col), index(row - 1, col));
}

int FlexGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows - 1;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const
{
    // Long events do not fit their column; the tool tip shows them whole.
    const bool shown = role == Qt::DisplayRole || role == Qt::ToolTipRole;
    if (!index.isValid() || !shown || index.row() + 1 >= m_rows)
        return {};
    return m_cells[std::size_t(index.row() + 1) * std::size_t(m_cols) +
                   std::size_t(index.column())];
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_cols ? m_cells[std::size_t(section)] : QString();
    return QString();
}

} // namespace moravelt
