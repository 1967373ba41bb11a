// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace moravelt {

class MapDatabase;

// The town names offered while the player types a departure or a destination: the towns of
// "tbl_座標" without the hidden towns, with their hiragana readings when the map has them.
class TownNameIndex
{
public:
    struct Town
    {
        QString name;
        QStringList readings;
    };

    // Throws MoraveltError on a failed query; a map without "tbl_読み" gives names alone.
    static TownNameIndex load(const MapDatabase& cn);
    explicit TownNameIndex(std::vector<Town> towns = {});

    // The towns whose name, or one of whose readings, begins with the typed text, as typed
    // (no case or width folding; katakana typed also matches a hiragana reading), in reading
    // order. Nothing for an empty text.
    QStringList complete(const QString& typed, int limit = 50) const;
    // Whether the name is one of the offered towns (never a hidden one).
    bool contains(const QString& name) const;
    const std::vector<Town>& towns() const { return m_towns; }

private:
    std::vector<Town> m_towns; // in reading order
};

} // namespace moravelt
