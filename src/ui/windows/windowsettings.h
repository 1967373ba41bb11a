// SPDX-License-Identifier: MIT

#pragma once

#include "settings/savedata.h"
#include "windows/firststartplaces.h"
#include "windows/windowgeometry.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace moravelt {

class ExtraSettings;
class Form1;
class Form2;
class Form3;
struct Form1Setup;

// The settings record and what it does to the windows: restored from "Moravelt.ini" at start
// (or the first-start places), kept up to date as the windows close, written at exit. Where
// the window system does not report window positions (Wayland), the record keeps the
// positions it was read with, so that such a session never overwrites the places an X
// session stored; the sizes and everything else are stored as usual.
class WindowSettings
{
public:
    WindowSettings(Form1& main, Form2& info, Form3& navi, const Form1Setup& setup,
                   ExtraSettings& extra);

    SaveData& record() { return m_record; }

    // Reads the file and applies it to the three windows, or places them for a first start.
    // Where a file is applied, each window opens maximised if it was at the last exit.
    void SaveDataGet();
    // Shows the information and navi list windows: at once, or at a first start once the
    // main window is framed and the group is placed (see FirstStartPlaces).
    void showSecondaryWindows();
    // The first start's placing, while it is under way or done; null after a restored start.
    FirstStartPlaces* firstStart() const { return m_firstStart; }
    // Gathers the main window's own values and writes the file whole.
    void SaveDataPut();
    // Brings a window whose top-left corner lies off the work area back to its edge.
    static void SettingFrm(QWidget& frm);

    void storeInfoWindow(const TwipsRect& geometry);
    void storeNaviWindow(const TwipsRect& geometry, const QString& depart, const QString& dest);

    // At a first start the two others sit beside the main window.
    void placeSecondaryWindowsBeside();

    // Keys of ExtraSettings for whether the windows were maximised ("windows/...").
    static const QString kMainMaximized;
    static const QString kInfoMaximized;
    static const QString kNaviMaximized;

private:
    // A window's place into four fields of the record, rounded; the position only where the
    // window system reports it.
    void store(std::int32_t& left, std::int32_t& top, std::int32_t& width, std::int32_t& height,
               const TwipsRect& geometry) const;
    void applyFirstStartDefaults();
    void restoreMaximized(QWidget& window, const QString& key) const;
    void storeMaximized(const QWidget& window, const QString& key);

    Form1& m_main;
    Form2& m_info;
    Form3& m_navi;
    QString m_path;
    bool m_placesReported;
    ExtraSettings& m_extra;
    SaveData m_record;
    QPointer<FirstStartPlaces> m_firstStart;
};

} // namespace moravelt
