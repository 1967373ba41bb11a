// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace moravelt {

// Where the game finds "mapdata.mdb" and "map.jpg": the program's own folder (a build folder,
// or a copied folder), then "../share/moravelt/" beside it (an installed game). A place counts
// only when it holds both files, so the two always come from the same world.
class DataFolder
{
public:
    // Looks in the places that belong to a program in programFolder, in their order.
    static DataFolder find(const QString& programFolder);

    // The places in the order they are looked in, each ending in the folder separator.
    static QStringList places(const QString& programFolder);

    bool found() const { return !m_folder.isEmpty(); }
    // The first place holding both files; empty when none does.
    const QString& folder() const { return m_folder; }
    // Every place looked in, the found one last.
    const QStringList& placesTried() const { return m_tried; }

    // The found folder; throws MoraveltError naming every place tried and what it lacks.
    QString require() const;

private:
    QString m_folder;
    QStringList m_tried;
    QStringList m_missing; // per place tried: the files it lacks, comma-separated
};

} // namespace moravelt
