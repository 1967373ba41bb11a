// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace moravelt {

// The main window's "ウィンドウ" menu, after its other entries: brings the information
// window and the navi list window back, shown and raised, after the player closed,
// minimised or buried them. Closing either only hides it, so it comes back as it was.
// A narrow main window folds the last menus behind the menu bar's overflow button, so the
// two entries also sit in `alsoIn` (the "表示" menu) and answer Ctrl+1 / Ctrl+2 from any
// of the game's windows.
class WindowMenu : public QObject
{
    Q_OBJECT
public:
    WindowMenu(QMenuBar& bar, QWidget& info, QWidget& navi, QMenu* alsoIn = nullptr,
               QObject* parent = nullptr);

    QMenu* menu() const { return m_menu; }
    QAction* infoItem() const { return m_info; }
    QAction* naviItem() const { return m_navi; }

    // Shows the navi list window and raises it, leaving the keyboard where it is.
    void showNavi();

    // Shows a top-level window as it was before it was closed or minimised, raises it and,
    // when asked, makes it the active window.
    static void bringBack(QWidget& window, bool activate);

private:
    QWidget& m_naviWindow;
    QMenu* m_menu;
    QAction* m_info;
    QAction* m_navi;
};

} // namespace moravelt
