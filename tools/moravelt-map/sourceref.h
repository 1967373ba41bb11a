// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt {

// Where a row of the sample world came from, for messages of the form FILE:LINE.
struct SourceRef
{
    QString file;
    int line = 0;
};

} // namespace moravelt
