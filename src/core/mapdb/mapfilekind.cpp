// SPDX-License-Identifier: MIT

#include "mapdb/mapfilekind.h"

#include "mapdb/mapschemacheck.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace moravelt {

MapFileKind mapFileKind(const QString& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(QFile::encodeName(path).toStdString(), error);
    if (status.type() == fs::file_type::not_found)
        return MapFileKind::Missing;
    if (status.type() == fs::file_type::directory)
        return MapFileKind::Folder;
    if (error)
        return MapFileKind::Unreadable;
    if (status.type() != fs::file_type::regular)
        return MapFileKind::NotRegular;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return MapFileKind::Unreadable;
    const QByteArray head = file.read(32);
    if (head.isEmpty())
        return MapFileKind::Empty;
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return MapFileKind::Sqlite;
    // Jet and ACE files name their engine at byte 4; byte 20 gives the Jet version.
    const QByteArray engine = head.mid(4, 15);
    if (engine == QByteArrayLiteral("Standard ACE DB"))
        return MapFileKind::Ace;
    if (engine == QByteArrayLiteral("Standard Jet DB") && head.size() > 20) {
        if (head.at(20) == 0)
            return MapFileKind::Jet3;
        if (head.at(20) == 1)
            return MapFileKind::Jet4;
    }
    return MapFileKind::Unknown;
}

QString mapFileFault(MapFileKind kind, const QString& path)
{
    const QString named = mapFileNamed(path);
    switch (kind) {
    case MapFileKind::Missing:
        return QStringLiteral("「%1」がありません: %2").arg(QFileInfo(path).fileName(), path);
    case MapFileKind::Folder:
        return QStringLiteral("%1はフォルダです。ファイルを置いてください。").arg(named);
    case MapFileKind::NotRegular:
        return QStringLiteral("%1は普通のファイルではありません（装置やパイプです）。").arg(named);
    case MapFileKind::Unreadable:
        return QStringLiteral("%1を読めません（読む権限がありません）。").arg(named);
    case MapFileKind::Empty:
        return QStringLiteral("%1は空（0 バイト）です。").arg(named);
    case MapFileKind::Ace:
        return QStringLiteral("%1は Access 2007 以降の形式（ACE、.accdb）で、読めません。"
                              "Access で「Access 2002-2003 データベース (*.mdb)」として"
                              "保存し直してください。")
            .arg(named);
    case MapFileKind::Unknown:
        return QStringLiteral("%1はデータベースではありません（SQLite 3 でも Jet 3/4 でも"
                              "ありません）。")
            .arg(named);
    case MapFileKind::Sqlite:
    case MapFileKind::Jet3:
    case MapFileKind::Jet4:
        break;
    }
    return {};
}

} // namespace moravelt
