// SPDX-License-Identifier: MIT

#include "windows/form3.h"

#include "base/moravelterror.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navicopytext.h"
#include "navilist/routelistmodel.h"
#include "windows/designlayout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QTableView>

namespace moravelt {

Form3::Form3(QWidget* parent)
    : QMainWindow(parent), m_label1(new QLabel(QStringLiteral("出発地"))), m_text1(new QLineEdit),
      m_label2(new QLabel(QStringLiteral("目的地"))), m_text2(new QLineEdit),
      m_grid(new QTableView), m_list1(new QListView), m_routeList(new RouteListModel(this)),
      m_naviGrid(new FlexGridModel(this))
{
    setWindowTitle(QStringLiteral("モラベルト ナビリスト"));
    auto* client = new QWidget;
    setCentralWidget(client);
    struct Place
    {
        QWidget* widget;
        const char* name;
        QRect rect;
    };
    // The grid first: the route list lies over it in the same place.
    for (const Place& p : {Place{m_label1, "Label1", DesignLayout::rect(120, 120, 540, 180)},
                           Place{m_text1, "Text1", DesignLayout::rect(720, 60, 1275, 315)},
                           Place{m_label2, "Label2", DesignLayout::rect(2220, 120, 540, 180)},
                           Place{m_text2, "Text2", DesignLayout::rect(2820, 60, 1275, 315)},
                           Place{m_grid, "MSFlexGrid1", DesignLayout::rect(60, 480, 5595, 4035)},
                           Place{m_list1, "List1", DesignLayout::rect(60, 480, 5595, 4020)}}) {
        p.widget->setParent(client);
        p.widget->setObjectName(QString::fromLatin1(p.name));
        p.widget->setGeometry(p.rect);
    }
    m_grid->setFont(DesignLayout::proportionalGothic());
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(18);
    m_grid->setContextMenuPolicy(Qt::PreventContextMenu);
    m_grid->setModel(m_naviGrid);
    // Design widths: towns, arrow or hidden town, town or event, distance; the answer column
    // gets its width at start-up.
    const int designWidths[] = {900, 900, 1440, 780};
    for (int c = 0; c < 4; ++c)
        m_grid->setColumnWidth(c, Twips::toPixels(float(designWidths[c])));
    // The fixed top row is the grid's header: a right click there opens the pop-up as well.
    m_grid->viewport()->installEventFilter(this);
    m_grid->horizontalHeader()->viewport()->installEventFilter(this);
    m_list1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list1->setUniformItemSizes(true);
    m_list1->setModel(m_routeList);
    // A double-click anywhere in the list, on an entry or below the last one, acts on the
    // selected entry.
    m_list1->viewport()->installEventFilter(this);
    buildMenus();
    resize(DesignLayout::size(5745, 4605) + QSize(0, menuBar()->sizeHint().height()));
}

void Form3::buildMenus()
{
    QMenuBar* bar = menuBar();
    m_menu[0] = bar->addAction(QStringLiteral("ナビ作成"));
    m_menu[0]->setEnabled(false);

    m_gridPopup = bar->addMenu(QStringLiteral("menu"));
    m_menu[1] = m_gridPopup->menuAction();
    m_mn1[0] = m_gridPopup->addAction(QStringLiteral("戻る"));
    m_mn1[1] = m_gridPopup->addSeparator();
    m_mn1[2] = m_gridPopup->addAction(QStringLiteral("コピー"));
    for (int i = 0; i < 3; ++i)
        connect(m_mn1[std::size_t(i)], &QAction::triggered, this, [this, i] { mn1_Click(i); });

    QMenu* precision = bar->addMenu(QStringLiteral("ナビ精度"));
    m_menu[2] = precision->menuAction();
    const char* const captions[] = {"最悪（速い）", "悪い", "普通", "良い", "最良（遅い）"};
    for (int i = 0; i < 5; ++i) {
        QAction* entry = precision->addAction(QString::fromUtf8(captions[i]));
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this, [this, i] { checkLevel(std::int16_t(i)); });
        m_mn2[std::size_t(i)] = entry;
    }
}

void Form3::SeidoCheck(std::int16_t level)
{
    if (!checkLevel(level))
        throw MoraveltError(QStringLiteral("ナビ精度 %1 はありません").arg(level));
}

bool Form3::checkLevel(std::int16_t level)
{
    for (QAction* entry : m_mn2)
        entry->setChecked(false);
    if (level < 0 || level >= std::int16_t(m_mn2.size()))
        return false;
    m_mn2[std::size_t(level)]->setChecked(true);
    emit seidoLevelChanged(level);
    return true;
}

void Form3::List1_DblClick()
{
    const QModelIndex chosen = m_list1->currentIndex();
    if (!chosen.isValid() || !m_list1->selectionModel()->isSelected(chosen))
        return;
    m_list1->hide();
    emit routeChosen(m_routeList->text(chosen.row()));
}

bool Form3::List1_MouseEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    if (type == QEvent::MouseButtonDblClick) {
        List1_DblClick();
        return true;
    }
    // A click below the last entry leaves the selection as it is, as a list box does.
    if (m_list1->indexAt(mouse->position().toPoint()).isValid())
        return false;
    m_list1->setFocus(Qt::MouseFocusReason);
    return true;
}

void Form3::mn1_Click(int index)
{
    if (index == 0)
        m_list1->show();
    else if (index == 2)
        NaviCopy();
}

void Form3::NaviCopy()
{
    const QString text = naviCopyText(*m_naviGrid);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    emit copied(text);
}

bool Form3::eventFilter(QObject* watched, QEvent* event)
{
    const bool overGrid =
        watched == m_grid->viewport() || watched == m_grid->horizontalHeader()->viewport();
    if (overGrid && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        m_gridPopup->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    if (watched == m_list1->viewport())
        return List1_MouseEvent(event);
    return QMainWindow::eventFilter(watched, event);
}

void Form3::showEvent(QShowEvent* event)
{
    m_loaded = true;
    QMainWindow::showEvent(event);
}

void Form3::closeEvent(QCloseEvent* event)
{
    if (m_loaded) {
        m_loaded = false;
        emit unloaded(WindowGeometry::get(*this), m_text1->text(), m_text2->text());
    }
    event->accept();
}

} // namespace moravelt
