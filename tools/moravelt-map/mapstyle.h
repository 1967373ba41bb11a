// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>
#include <algorithm>

namespace moravelt::MapStyle {

// Colours and sizes of the map picture; sizes are pixels of the full-size picture.
inline const QColor sea{0xC4, 0xDF, 0xF0};
inline const QColor graticule{0xA9, 0xCB, 0xE2};
inline const QColor japanLand{0xF5, 0xEC, 0xD2};
inline const QColor neighbourLand{0xDD, 0xDD, 0xD8};
inline const QColor coast{0x7F, 0x93, 0xA3};
inline const QColor road{0xCF, 0x5B, 0x3F};
inline const QColor ferry{0x2E, 0x6D, 0xA4};
inline const QColor townDot{0xA8, 0x1E, 0x2A};
inline const QColor townRing{0xFF, 0xFF, 0xFF};
inline const QColor label{0x2A, 0x2A, 0x2A};
inline const QColor halo{0xFF, 0xFF, 0xFF, 0xE0};
inline const QColor frame{0x55, 0x66, 0x74};
inline const QColor paper{0xFF, 0xFA, 0xEE, 0xF2};
inline const QColor paperBorder{0x8B, 0x6A, 0x3E};
inline const QColor ink{0x3A, 0x2E, 0x22};
inline const QColor seaName{0x5E, 0x8F, 0xB8};
inline const QColor countryName{0x9A, 0x9A, 0x92};

constexpr double coastWidth = 1.0;
constexpr double roadWidth = 2.6;
constexpr double ferryWidth = 2.2;
constexpr double dotDiameter = 10;
constexpr double dotRingWidth = 2;
constexpr double labelSize = 17;
constexpr double haloWidth = 4;
constexpr double labelGap = 4;

// The gothic face of the map, at a pixel size; falls back to the proportional or the
// fixed-width IPA face, whichever is installed.
inline QFont font(double pixelSize, bool bold = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    f.setPixelSize(std::max(1, qRound(pixelSize)));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace moravelt::MapStyle
