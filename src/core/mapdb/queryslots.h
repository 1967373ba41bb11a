// SPDX-License-Identifier: MIT

#pragma once

#include "mapdb/mapdatabase.h"

namespace moravelt {

// The two query slots "Rs" and "Rs1". Refilling a slot drops only the slot's own reference,
// so a grid still showing the old result keeps its rows.
class QuerySlots
{
public:
    explicit QuerySlots(const MapDatabase& cn) : m_cn(cn) {}

    void SetSQL(const SqlText& sql) { m_rs = m_cn.open(sql); }
    void SetSQL1(const SqlText& sql) { m_rs1 = m_cn.open(sql); }

    const RecordsetPtr& Rs() const { return m_rs; }
    const RecordsetPtr& Rs1() const { return m_rs1; }
    void releaseRs1() { m_rs1.reset(); }

private:
    const MapDatabase& m_cn;
    RecordsetPtr m_rs;
    RecordsetPtr m_rs1;
};

} // namespace moravelt
