// SPDX-License-Identifier: MIT

#include "windows/windowmenu.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace moravelt {

WindowMenu::WindowMenu(QMenuBar& bar, QWidget& info, QWidget& navi, QMenu* alsoIn, QObject* parent)
    : QObject(parent), m_naviWindow(navi), m_menu(bar.addMenu(QStringLiteral("ウィンドウ"))),
      m_info(m_menu->addAction(QStringLiteral("情報"))),
      m_navi(m_menu->addAction(QStringLiteral("ナビリスト")))
{
    m_info->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    m_navi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    for (QAction* item : {m_info, m_navi})
        item->setShortcutContext(Qt::ApplicationShortcut);
    if (alsoIn) {
        alsoIn->addSeparator();
        alsoIn->addActions({m_info, m_navi});
    }
    connect(m_info, &QAction::triggered, this, [&info] { bringBack(info, true); });
    connect(m_navi, &QAction::triggered, this, [&navi] { bringBack(navi, true); });
}

void WindowMenu::showNavi()
{
    bringBack(m_naviWindow, false);
}

void WindowMenu::bringBack(QWidget& window, bool activate)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    if (activate)
        window.activateWindow();
}

} // namespace moravelt
