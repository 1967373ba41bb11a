// SPDX-License-Identifier: MIT

#pragma once

#include "base/twips.h"

#include <QFont>
#include <QRect>

namespace moravelt::DesignLayout {

// A control's design place given in twips.
inline QRect rect(int left, int top, int width, int height)
{
    return {Twips::toPixels(float(left)), Twips::toPixels(float(top)),
            Twips::toPixels(float(width)), Twips::toPixels(float(height))};
}

inline QSize size(int width, int height)
{
    return {Twips::toPixels(float(width)), Twips::toPixels(float(height))};
}

inline QFont font(const char* family)
{
    QFont f(QString::fromUtf8(family));
    f.setPointSize(9);
    return f;
}

inline QFont proportionalGothic()
{
    return font("ＭＳ Ｐゴシック");
}

inline QFont fixedGothic()
{
    return font("ＭＳ ゴシック");
}

} // namespace moravelt::DesignLayout
