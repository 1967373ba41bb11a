// SPDX-License-Identifier: MIT

#include "navilist/navicopytext.h"

#include "navilist/flexgridmodel.h"

namespace moravelt {

QString naviCopyText(const FlexGridModel& grid)
{
    QString text;
    const int rows = grid.rows();
    for (int r = 1; r < rows; ++r) {
        const int cols = grid.cols();
        for (int c = 0; c < cols; ++c) {
            text += grid.textMatrix(r, c);
            text += u'\t';
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace moravelt
