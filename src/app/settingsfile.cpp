#include "app/settingsfile.h"

#include "app/moravelterror.h"
#include "app/savedatacodec.h"

#include <QFile>
#include <QSaveFile>

namespace moravelt::SettingsFile {

std::optional<SaveData> read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return SaveDataCodec::decode(file.readAll());
}

void write(const QString& path, const SaveData& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw MoraveltError(QStringLiteral("「%1」を書けません: %2").arg(path, file.errorString()));
    const QByteArray bytes = SaveDataCodec::encode(data);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw MoraveltError(QStringLiteral("「%1」を書けません: %2").arg(path, file.errorString()));
}

} // namespace moravelt::SettingsFile
