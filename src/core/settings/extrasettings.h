// SPDX-License-Identifier: MIT

#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace moravelt {

// What the game keeps between runs beside "Moravelt.ini", and never in it: the map's zoom,
// switches, window states. An INI file under the XDG config folder,
// $XDG_CONFIG_HOME/moravelt/moravelt.conf (else ~/.config/moravelt/moravelt.conf). A missing or
// damaged file reads as every value's default.
class ExtraSettings
{
public:
    static QString defaultPath();

    explicit ExtraSettings(const QString& path = defaultPath());

    const QString& path() const { return m_path; }
    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    void setValue(const QString& key, const QVariant& value);
    // Writes what was set; false when the file could not be written.
    bool sync();

private:
    QString m_path;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace moravelt
