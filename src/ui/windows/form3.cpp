// SPDX-License-Identifier: MIT

#include "windows/form3.h"

#include "base/moravelterror.h"
#include "navilist/flexgridmodel.h"
#include "navilist/navicopytext.h"
#include "navilist/routelistmodel.h"
#include "navilist/routesummary.h"
#include "windows/cuttexttips.h"
#include "windows/designlayout.h"
#include "windows/growinglayout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>

namespace moravelt {

namespace {

// Design widths of the grid's columns: towns, arrow or hidden town, town or event, distance,
// answer (the last one set again at start-up).
constexpr int kDesignWidths[] = {900, 900, 1440, 780, 1500};

} // namespace

Form3::Form3(QWidget* parent)
    : QMainWindow(parent), m_label1(new QLabel(QStringLiteral("出発地"))), m_text1(new QLineEdit),
      m_label2(new QLabel(QStringLiteral("目的地"))), m_text2(new QLineEdit),
      m_grid(new QTableView), m_list1(new QListView), m_routeList(new RouteListModel(this)),
      m_naviGrid(new FlexGridModel(this)), m_status(new QLabel), m_summary(new QLabel),
      m_tips(new CutTextTips(this))
{
    setWindowTitle(QStringLiteral("モラベルト ナビリスト"));
    buildLayout();
    m_grid->setFont(DesignLayout::proportionalGothic());
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(18);
    m_grid->setContextMenuPolicy(Qt::PreventContextMenu);
    m_grid->setModel(m_naviGrid);
    m_grid->setItemDelegate(m_tips);
    // Rows are one line high: a text too long for its cell ends in "…" and has a tooltip.
    m_grid->setWordWrap(false);
    for (int c = 0; c < 4; ++c)
        m_grid->setColumnWidth(c, Twips::toPixels(float(kDesignWidths[c])));
    // The fixed top row is the grid's header: a right click there opens the pop-up as well.
    m_grid->viewport()->installEventFilter(this);
    m_grid->horizontalHeader()->viewport()->installEventFilter(this);
    m_grid->installEventFilter(this);
    m_list1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list1->setUniformItemSizes(true);
    m_list1->setModel(m_routeList);
    m_list1->setItemDelegate(m_tips);
    // A double-click anywhere in the list, on an entry or below the last one, acts on the
    // selected entry.
    m_list1->viewport()->installEventFilter(this);
    m_list1->installEventFilter(this);
    buildMenus();
    resize(DesignLayout::size(5745, 4605) +
           QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
}

void Form3::buildLayout()
{
    // The design places in a client area of the design size; the lists take what the window
    // has more. The status line lies below that area, so the controls open at their design
    // sizes.
    auto* client = new QWidget;
    setCentralWidget(client);
    auto* layout = new GrowingLayout(client, DesignLayout::size(5745, 4605));
    const GrowingLayout::Shares fixed{};
    const GrowingLayout::Shares growing{0, 0, 1, 1};
    struct Place
    {
        QWidget* widget;
        const char* name;
        QRect rect;
        GrowingLayout::Shares shares;
    };
    // The grid first: the route list lies over it in the same place.
    for (const Place& p :
         {Place{m_label1, "Label1", DesignLayout::rect(120, 120, 540, 180), fixed},
          Place{m_text1, "Text1", DesignLayout::rect(720, 60, 1275, 315), fixed},
          Place{m_label2, "Label2", DesignLayout::rect(2220, 120, 540, 180), fixed},
          Place{m_text2, "Text2", DesignLayout::rect(2820, 60, 1275, 315), fixed},
          Place{m_grid, "MSFlexGrid1", DesignLayout::rect(60, 480, 5595, 4035), growing},
          Place{m_list1, "List1", DesignLayout::rect(60, 480, 5595, 4020), growing}}) {
        p.widget->setObjectName(QString::fromLatin1(p.name));
        layout->addWidget(p.widget, p.rect, p.shares);
    }

    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setIndent(m_status->fontMetrics().averageCharWidth());
    // A long reason is cut, never widens the window.
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->hide();
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_summary);
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
    const QString route = m_routeList->text(chosen.row());
    emit routeChosen(route);
    // The list is built by now (or as far as it could be).
    fitNaviColumns();
    m_summary->setText(RouteSummary::text(route));
    m_summary->setVisible(!m_summary->text().isEmpty());
    m_grid->setFocus(Qt::OtherFocusReason);
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
    if (index == 0) {
        m_list1->show();
        m_list1->setFocus(Qt::OtherFocusReason);
    } else if (index == 2) {
        NaviCopy();
    }
}

QString Form3::copyNaviList()
{
    const QString text = naviCopyText(*m_naviGrid);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    return text;
}

void Form3::NaviCopy()
{
    emit copied(copyNaviList());
}

void Form3::setStatusText(const QString& text)
{
    m_status->setText(text);
    m_status->setToolTip(text);
}

void Form3::fitNaviColumns()
{
    std::vector<int> design;
    for (const int twips : kDesignWidths)
        design.push_back(Twips::toPixels(float(twips)));
    m_tips->fitColumns(*m_grid, design);
}

bool Form3::keyPressed(QObject* watched, QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (watched == m_list1 && enter && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        // A held key chooses once.
        if (!event->isAutoRepeat())
            List1_DblClick();
        return true;
    }
    if (watched == m_grid && event->matches(QKeySequence::Copy)) {
        // The whole list, as "コピー" has it; the status line confirms it without a box.
        copyNaviList();
        setStatusText(QStringLiteral("ナビリストをコピーしました"));
        return true;
    }
    return false;
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
    // The viewport, not the grid: it has its new width by the time it is told.
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize)
        fitNaviColumns();
    if (watched == m_list1 || watched == m_grid) {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Copy is the grid's own, not a window shortcut's.
            if (watched == m_grid && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
                event->accept();
            return false;
        case QEvent::KeyPress:
            return keyPressed(watched, static_cast<QKeyEvent*>(event));
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            // The total belongs to the navigation list: gone while the route list covers it.
            if (watched == m_list1)
                m_summary->setVisible(m_list1->isHidden() && !m_summary->text().isEmpty());
            return false;
        default:
            return false;
        }
    }
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
