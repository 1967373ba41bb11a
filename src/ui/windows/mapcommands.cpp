// SPDX-License-Identifier: MIT

#include "windows/mapcommands.h"

#include "base/twips.h"
#include "lookup/mapscale.h"
#include "mapview/mapimage.h"
#include "mapview/mapinput.h"
#include "mapview/mapnavigator.h"
#include "mapview/routeonmap.h"
#include "navi/townnameindex.h"
#include "windows/form1.h"
#include "windows/form3.h"
#include "windows/townfindbox.h"

#include <QActionGroup>
#include <QCursor>
#include <QListView>
#include <QMenu>
#include <QMenuBar>

namespace moravelt {

namespace {

// A stored switch reads as on unless it says off.
bool storedSwitch(const QVariant& stored)
{
    const QString text = stored.toString().trimmed().toLower();
    return text != QLatin1String("false") && text != QLatin1String("0");
}

} // namespace

MapCommands::MapCommands(Form1& main)
    : QObject(&main), m_main(main),
      m_navigator(new MapNavigator(*main.Image1(), *main.centralWidget(), main, this)),
      m_findBox(new TownFindBox(&main))
{
    buildMenus();
    ExtraSettings& extra = main.extraSettings();
    main.Image1()->setZoomLevel(MapScale::fromStored(extra.value(QLatin1String(kZoomKey))));
    levelChanged(m_navigator->level());
    connect(m_navigator, &MapNavigator::levelChanged, this, &MapCommands::levelChanged);

    QAction* routeItem = main.routeOnMapItem();
    routeItem->setChecked(storedSwitch(extra.value(QLatin1String(kRouteKey), true)));
    main.Image1()->setRouteShown(routeItem->isChecked());
    connect(routeItem, &QAction::toggled, this, [this](bool shown) {
        m_main.Image1()->setRouteShown(shown);
        m_main.extraSettings().setValue(QLatin1String(kRouteKey), shown);
    });
    connect(m_findBox, &TownFindBox::townChosen, this, &MapCommands::showTown);
}

MapCommands::~MapCommands()
{
    closeMap();
}

void MapCommands::buildMenus()
{
    QMenuBar* bar = m_main.menuBar();
    m_viewMenu = bar->addMenu(QStringLiteral("表示"));
    m_zoomIn = m_viewMenu->addAction(QStringLiteral("拡大"));
    m_zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(QStringLiteral("Ctrl+="))});
    connect(m_zoomIn, &QAction::triggered, m_navigator, &MapNavigator::zoomIn);
    m_zoomOut = m_viewMenu->addAction(QStringLiteral("縮小"));
    m_zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(m_zoomOut, &QAction::triggered, m_navigator, &MapNavigator::zoomOut);
    m_viewMenu->addSeparator();
    auto* levels = new QActionGroup(this);
    for (int level = 0; level < MapScale::kLevels; ++level) {
        const QString text = level == 0 ? QStringLiteral("1/1 (等倍)")
                                        : QStringLiteral("1/%1").arg(MapScale::denominator(level));
        QAction* item = m_viewMenu->addAction(text);
        item->setCheckable(true);
        levels->addAction(item);
        connect(item, &QAction::triggered, this, [this, level] { m_navigator->zoomTo(level); });
        m_levels[std::size_t(level)] = item;
    }
    m_levels[0]->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));

    m_find = bar->addAction(QStringLiteral("地名検索"));
    m_find->setShortcut(QKeySequence::Find);
    connect(m_find, &QAction::triggered, this,
            [this] { m_findBox->showOver(*m_main.centralWidget()); });
}

void MapCommands::levelChanged(int level)
{
    m_levels[std::size_t(level)]->setChecked(true);
    m_zoomIn->setEnabled(level > MapScale::kFull);
    m_zoomOut->setEnabled(level < MapScale::kSmallest);
    m_main.extraSettings().setValue(QLatin1String(kZoomKey), MapScale::denominator(level));
}

void MapCommands::openMap(const TownPlaces& places, std::shared_ptr<const TownNameIndex> names)
{
    closeMap();
    m_places = places;
    Form3& navi = m_main.navi();
    m_routeOnMap = new RouteOnMap(*m_navigator, *navi.List1(), places, this);
    connect(&navi, &Form3::routeChosen, m_routeOnMap, &RouteOnMap::centre);
    std::vector<QPointF> dots;
    if (names) {
        for (const TownNameIndex::Town& town : names->towns()) {
            if (const std::optional<QPointF> at = places.place(town.name))
                dots.push_back(*at / Twips::kPerPixel);
        }
    }
    m_main.Image1()->setTownDots(std::move(dots));
    m_findBox->setNames(std::move(names));
}

void MapCommands::closeMap()
{
    delete m_routeOnMap;
    m_routeOnMap = nullptr;
}

void MapCommands::showTown(const QString& town)
{
    const std::optional<QPointF> at = m_places.place(town);
    if (!at)
        return;
    m_navigator->showPoint(*at);
    m_main.mapInput()->lookUp(float(at->x()), float(at->y()));
    MapImage* image = m_main.Image1();
    QCursor::setPos(image->mapToGlobal((*at / Twips::kPerPixel).toPoint()));
    m_main.activateWindow();
}

} // namespace moravelt
