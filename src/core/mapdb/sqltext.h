// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVariantList>

namespace moravelt {

// A query as its literal SQL pieces with "?" placeholders and the values bound to them.
// No value is ever spliced into the text, so a name with an apostrophe simply finds nothing.
struct SqlText
{
    QString text;
    QVariantList values;
};

} // namespace moravelt
