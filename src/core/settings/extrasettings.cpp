// SPDX-License-Identifier: MIT

#include "settings/extrasettings.h"

#include <QStandardPaths>

namespace moravelt {

QString ExtraSettings::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/moravelt/moravelt.conf");
}

ExtraSettings::ExtraSettings(const QString& path)
    : m_path(path), m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
}

QVariant ExtraSettings::value(const QString& key, const QVariant& fallback) const
{
    if (m_settings->status() != QSettings::NoError)
        return fallback;
    return m_settings->value(key, fallback);
}

void ExtraSettings::setValue(const QString& key, const QVariant& value)
{
    m_settings->setValue(key, value);
}

bool ExtraSettings::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace moravelt
