// SPDX-License-Identifier: MIT

#include "windows/firststartplaces.h"

#include "settings/groupplacement.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/framedplace.h"

#include <QScreen>
#include <QWidget>

namespace moravelt {

namespace {

// Long enough for any window manager that frames at all, short enough for a player without
// one to wait.
constexpr int kUnframedMs = 2000;

void showWithoutActivating(QWidget& window)
{
    // The main window, shown before them, stays the active one.
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, false);
}

} // namespace

FirstStartPlaces::FirstStartPlaces(QWidget& main, Form2& info, Form3& navi)
    : QObject(&main), m_main(main), m_info(info), m_navi(navi)
{
    connect(&FramedPlace::of(main), &FramedPlace::framed, this, &FirstStartPlaces::place);
    m_unframed.setSingleShot(true);
    m_unframed.setInterval(kUnframedMs);
    connect(&m_unframed, &QTimer::timeout, this, &FirstStartPlaces::place);
    m_unframed.start();
}

void FirstStartPlaces::place()
{
    if (m_done)
        return;
    m_done = true;
    m_unframed.stop();
    FramedPlace& main = FramedPlace::of(m_main);
    const QRect mainFrame = main.frame();
    // A window not shown yet has a frame only where the window manager told it in advance;
    // else it gets what the main window has.
    auto outer = [&main](QWidget& window) {
        const QMargins told = FramedPlace::of(window).margins();
        return window.size().grownBy(told.isNull() ? main.margins() : told);
    };
    const QScreen* screen = m_main.screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(mainFrame.topLeft(), QSize());
    WindowGroup group = besideMain(mainFrame, outer(m_info), outer(m_navi));
    if (screen)
        group = fitGroupIn(group, area);
    if (group.main.topLeft() != mainFrame.topLeft()) {
        main.setLeft(group.main.x());
        main.setTop(group.main.y());
    }
    for (auto [window, frame] : {std::pair<QWidget*, QRect>{&m_info, group.info},
                                 std::pair<QWidget*, QRect>{&m_navi, group.navi}}) {
        FramedPlace::of(*window).setLeft(frame.x());
        FramedPlace::of(*window).setTop(frame.y());
    }
    // A window closed before it was shown (the exit sequence) stays closed.
    if (m_info.isLoaded())
        showWithoutActivating(m_info);
    if (m_navi.isLoaded())
        showWithoutActivating(m_navi);
    m_main.activateWindow();
    emit placed();
}

} // namespace moravelt
