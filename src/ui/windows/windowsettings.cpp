// SPDX-License-Identifier: MIT

#include "windows/windowsettings.h"

#include "base/twips.h"
#include "mapview/mapimage.h"
#include "mapview/mapnavigator.h"
#include "settings/placement.h"
#include "settings/settingsfile.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/framedplace.h"
#include "windows/mapcommands.h"
#include "windows/workareaget.h"

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

WindowSettings::WindowSettings(Form1& main, Form2& info, Form3& navi, const Form1Setup& setup)
    : m_main(main), m_info(info), m_navi(navi), m_path(setup.settingsPath),
      m_placesReported(setup.windowPlacesReported)
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
}

void WindowSettings::applyFirstStartDefaults()
{
    // The main window opens where the window system puts it. The two others line up beside
    // it now, and once more when the window manager has placed and framed the main window
    // and framed the information window, whose outer height places the navi list window.
    placeSecondaryWindowsBeside();
    m_firstStart = true;
    for (QWidget* window : {static_cast<QWidget*>(&m_main), static_cast<QWidget*>(&m_info)})
        QObject::connect(&FramedPlace::of(*window), &FramedPlace::framed, &m_main,
                         [this] { lineUpOnceFramed(); });
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

void WindowSettings::lineUpOnceFramed()
{
    if (!m_firstStart || !FramedPlace::of(m_main).isFramed() || !FramedPlace::of(m_info).isFramed())
        return;
    m_firstStart = false;
    if (m_info.isLoaded() && m_navi.isLoaded())
        placeSecondaryWindowsBeside();
}

void WindowSettings::SaveDataPut()
{
    m_record.ImgLeft = Twips::round(m_main.Image1()->leftTwips());
    m_record.ImgTop = Twips::round(m_main.Image1()->topTwips());
    store(m_record.Frm1Left, m_record.Frm1Top, m_record.Frm1Width, m_record.Frm1Height,
          WindowGeometry::get(m_main));
    m_record.AnsCheck = m_main.mn0(0)->isChecked() ? -1 : 0;
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
}

void WindowSettings::storeNaviWindow(const TwipsRect& geometry, const QString& depart,
                                     const QString& dest)
{
    store(m_record.Frm3Left, m_record.Frm3Top, m_record.Frm3Width, m_record.Frm3Height, geometry);
    m_record.DepartText = depart;
    m_record.DestText = dest;
}

} // namespace moravelt
