// SPDX-License-Identifier: MIT

#pragma once

#include "navilist/routelistmodel.h"

#include <QStringList>

namespace moravelt::test {

// Every route of the list, in the list's order.
inline QStringList texts(const RouteListModel& list)
{
    QStringList all;
    for (int row = 0; row < list.count(); ++row)
        all << list.text(row);
    return all;
}

} // namespace moravelt::test
