// SPDX-License-Identifier: MIT

#include "windows/windowsettings.h"

#include "base/twips.h"
#include "mapview/mapimage.h"
#include "mapview/mapnavigator.h"
#include "settings/extrasettings.h"
#include "settings/placement.h"
#include "settings/settingsfile.h"
#include "windows/firststartplaces.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/framedplace.h"
#include "windows/mapcommands.h"
#include "windows/workareaget.h"
#include "windows/x11frameextents.h"

#include <QAction>
#include <QLineEdit>

namespace moravelt {

namespace {

void place(QWidget& w, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    WindowGeometry::setLeft(w, float(left));
    WindowGeometry::setTop(w, float(top));
    WindowGeometry::setWidth(w, float(width));
    WindowGeometry::setHeight(w, float(height));
}

struct WholeTwips
{
    std::int32_t left, top, width, height;
};

WholeTwips whole(const TwipsRect& g)
{
    return {Twips::round(g.left), Twips::round(g.top), Twips::round(g.width),
            Twips::round(g.height)};
}

} // namespace

const QString WindowSettings::kMainMaximized = QStringLiteral("windows/mainMaximized");
const QString WindowSettings::kInfoMaximized = QStringLiteral("windows/infoMaximized");
const QString WindowSettings::kNaviMaximized = QStringLiteral("windows/naviMaximized");

WindowSettings::WindowSettings(Form1& main, Form2& info, Form3& navi, const Form1Setup& setup,
                               ExtraSettings& extra)
    : m_main(main), m_info(info), m_navi(navi), m_path(setup.settingsPath),
      m_placesReported(setup.windowPlacesReported), m_extra(extra)
{
}

void WindowSettings::store(std::int32_t& left, std::int32_t& top, std::int32_t& width,
                           std::int32_t& height, const TwipsRect& geometry) const
{
    const WholeTwips g = whole(geometry);
    if (m_placesReported) {
        left = g.left;
        top = g.top;
    }
    width = g.width;
    height = g.height;
}

void WindowSettings::SaveDataGet()
{
    // A save killed part-way at an earlier exit leaves its temporary file beside the record.
    SettingsFile::removeLeftovers(m_path);
    // The frames, known before the windows appear, let each appear at once at its place and
    // size, frame included.
    requestX11FrameExtents({&m_main, &m_info, &m_navi}, 300);
    const std::optional<SaveData> stored = SettingsFile::read(m_path);
    if (!stored) {
        applyFirstStartDefaults();
        return;
    }
    m_record = *stored;
    const SaveData& d = m_record;
    m_main.Image1()->setLeftTwips(float(d.ImgLeft));
    m_main.Image1()->setTopTwips(float(d.ImgTop));
    m_main.mapCommands().navigator().keepMapShownWhenShown();
    place(m_main, d.Frm1Left, d.Frm1Top, d.Frm1Width, d.Frm1Height);
    place(m_info, d.Frm2Left, d.Frm2Top, d.Frm2Width, d.Frm2Height);
    m_main.mn0(0)->setChecked(d.AnsCheck != 0);
    place(m_navi, d.Frm3Left, d.Frm3Top, d.Frm3Width, d.Frm3Height);
    m_navi.Text1()->setText(d.DepartText);
    m_navi.Text2()->setText(d.DestText);
    m_navi.SeidoCheck(d.SeidoLevel);
    SettingFrm(m_main);
    SettingFrm(m_info);
    SettingFrm(m_navi);
    // Maximised on top of the place just applied, which stays the place it is restored to.
    restoreMaximized(m_main, kMainMaximized);
    restoreMaximized(m_info, kInfoMaximized);
    restoreMaximized(m_navi, kNaviMaximized);
}

void WindowSettings::restoreMaximized(QWidget& window, const QString& key) const
{
    if (m_extra.value(key, false).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void WindowSettings::storeMaximized(const QWidget& window, const QString& key)
{
    m_extra.setValue(key, window.isMaximized());
}

void WindowSettings::showSecondaryWindows()
{
    if (m_firstStart && !m_firstStart->isDone())
        return; // shown once the group is placed
    m_info.show();
    m_navi.show();
}

void WindowSettings::applyFirstStartDefaults()
{
    // The main window opens where the window system puts it. The two others line up beside
    // it now; where the window system tells places, the group is placed again once the main
    // window is framed.
    placeSecondaryWindowsBeside();
    if (m_placesReported)
        m_firstStart = new FirstStartPlaces(m_main, m_info, m_navi);
    m_main.Image1()->setTopTwips(-17805);
    m_main.Image1()->setLeftTwips(-16590);
    m_navi.SeidoCheck(1);
}

void WindowSettings::placeSecondaryWindowsBeside()
{
    const TwipsRect main = WindowGeometry::get(m_main);
    WindowGeometry::setTop(m_info, main.top);
    WindowGeometry::setLeft(m_info, main.width + main.left);
    const TwipsRect info = WindowGeometry::get(m_info);
    WindowGeometry::setTop(m_navi, info.height + main.top);
    WindowGeometry::setLeft(m_navi, main.width + main.left);
}

void WindowSettings::SaveDataPut()
{
    m_record.ImgLeft = Twips::round(m_main.Image1()->leftTwips());
    m_record.ImgTop = Twips::round(m_main.Image1()->topTwips());
    store(m_record.Frm1Left, m_record.Frm1Top, m_record.Frm1Width, m_record.Frm1Height,
          WindowGeometry::get(m_main));
    m_record.AnsCheck = m_main.mn0(0)->isChecked() ? -1 : 0;
    storeMaximized(m_main, kMainMaximized);
    SettingsFile::write(m_path, m_record);
}

void WindowSettings::SettingFrm(QWidget& frm)
{
    const TwipsRect place = WindowGeometry::get(frm);
    if (settingFrmCoordinate(place.top, WorkAreaGet(QStringLiteral("height"))) != place.top)
        WindowGeometry::setTop(frm, 0);
    if (settingFrmCoordinate(place.left, WorkAreaGet(QStringLiteral("width"))) != place.left)
        WindowGeometry::setLeft(frm, 0);
}

void WindowSettings::storeInfoWindow(const TwipsRect& geometry)
{
    store(m_record.Frm2Left, m_record.Frm2Top, m_record.Frm2Width, m_record.Frm2Height, geometry);
    storeMaximized(m_info, kInfoMaximized);
}

void WindowSettings::storeNaviWindow(const TwipsRect& geometry, const QString& depart,
                                     const QString& dest)
{
    store(m_record.Frm3Left, m_record.Frm3Top, m_record.Frm3Width, m_record.Frm3Height, geometry);
    m_record.DepartText = depart;
    m_record.DestText = dest;
    storeMaximized(m_navi, kNaviMaximized);
}

} // namespace moravelt
