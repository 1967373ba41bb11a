// SPDX-License-Identifier: MIT

#pragma once

#include "windows/windowgeometry.h"

#include <QMainWindow>
#include <array>
#include <cstdint>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QTableView;

namespace moravelt {

class CutTextTips;
class FlexGridModel;
class RouteListModel;

// The navi list window: departure, destination, the found routes and the navigation list.
class Form3 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    QLineEdit* Text1() const { return m_text1; }
    QLineEdit* Text2() const { return m_text2; }
    QListView* List1() const { return m_list1; }
    QTableView* MSFlexGrid1() const { return m_grid; }
    RouteListModel& routeList() const { return *m_routeList; }
    FlexGridModel& naviGrid() const { return *m_naviGrid; }

    // Menu arrays, addressed by index as the windows address them.
    QAction* menu(int index) const { return m_menu.at(std::size_t(index)); }
    QAction* mn1(int index) const { return m_mn1.at(std::size_t(index)); }
    QAction* mn2(int index) const { return m_mn2.at(std::size_t(index)); }
    QMenu* gridPopup() const { return m_gridPopup; }

    // Checks the precision entry of the level alone and stores the level. A level without an
    // entry leaves every entry unchecked and throws.
    void SeidoCheck(std::int16_t level);

    // Double-click on the route list: the chosen route becomes the navigation list.
    void List1_DblClick();
    // The grid's pop-up menu: 0 back to the route list, 2 copy the navigation list.
    void mn1_Click(int index);
    // Copies the navigation list to the clipboard and confirms it.
    void NaviCopy();

    // The one-line status under the lists: why a search found nothing, or what a key did.
    // The whole text is its tooltip, as a narrow window cuts it.
    QLabel* statusLabel() const { return m_status; }
    void setStatusText(const QString& text);
    // The chosen route's total and legs, shown while its navigation list is.
    QLabel* summaryLabel() const { return m_summary; }
    // Fits the navigation list's columns to their texts and the grid's width (never below
    // the design widths); a cell still cut shows its text as a tooltip.
    void fitNaviColumns();

    // Closed by the player, the window is unloaded until it is shown again.
    bool isLoaded() const { return m_loaded; }

signals:
    void routeChosen(const QString& strRuto);
    void copied(const QString& text);
    void seidoLevelChanged(std::int16_t level);
    void unloaded(const moravelt::TwipsRect& geometry, const QString& depart, const QString& dest);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    // SeidoCheck without the throw, for the menu's own entries.
    bool checkLevel(std::int16_t level);
    // Left clicks over the route list: a double-click anywhere acts on the selected entry.
    bool List1_MouseEvent(QEvent* event);
    // Enter on the route list is a double-click; Ctrl+C on the grid copies the whole list.
    bool keyPressed(QObject* watched, QKeyEvent* event);
    // Puts the navigation list's copy text on the clipboard.
    QString copyNaviList();
    void buildLayout();

    QLabel* m_label1;
    QLineEdit* m_text1;
    QLabel* m_label2;
    QLineEdit* m_text2;
    QTableView* m_grid;
    QListView* m_list1;
    RouteListModel* m_routeList;
    FlexGridModel* m_naviGrid;
    std::array<QAction*, 3> m_menu{};
    std::array<QAction*, 3> m_mn1{};
    std::array<QAction*, 5> m_mn2{};
    QMenu* m_gridPopup = nullptr;
    QLabel* m_status;
    QLabel* m_summary;
    CutTextTips* m_tips;
    bool m_loaded = true;
};

} // namespace moravelt
