// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/recordset.h"

#include <QAbstractTableModel>

namespace moravelt {

// Shows a query result in a grid with the query's own column names. The model holds its
// result, so the grid keeps its rows while the slot it came from is reused.
class RecordsetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RecordsetModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setRecordset(RecordsetPtr recordset);
    const RecordsetPtr& recordset() const { return m_recordset; }

    // The grid's current row: -1 for an empty result, else 0.
    int currentRow() const { return m_recordset && m_recordset->rowCount() > 0 ? 0 : -1; }
    // Text of a cell of the first row; throws when there is no such cell.
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    RecordsetPtr m_recordset;
};

} // namespace moravelt
