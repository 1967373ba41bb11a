#include "mapview/mapinput.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/moravelterror.h"
#include "app/prompt.h"
#include "app/windowrefs.h"
#include "mapview/mapimage.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <exception>

namespace moravelt {

MapInput::MapInput(Form1& main, MapImage& image) : QObject(&main), m_main(main), m_image(image)
{
    connect(&image, &MapImage::mousePressed, this, &MapInput::Image1_MouseDown);
    connect(&image, &MapImage::mouseMoved, this, &MapInput::Image1_MouseMove);
    connect(&image, &MapImage::mouseReleased, this, &MapInput::Image1_MouseUp);
}

void MapInput::setSlots(QuerySlots* querySlots)
{
    m_lookup = querySlots ? std::make_unique<PlaceLookup>(*querySlots) : nullptr;
}

void MapInput::Image1_MouseDown(int button, float x, float y)
{
    if (button == 2) {
        if (m_pointer.menuEnabled())
            m_main.destinationPopup()->popup(QCursor::pos());
        return;
    }
    m_pointer.startDrag(x, y);
}

void MapInput::Image1_MouseMove(int /*button*/, float x, float y)
{
    if (m_pointer.lookupDue(x, y)) {
        m_pointer.setMenuEnabled(false);
        MapNameGet(x, y);
    }
    if (m_pointer.dragging())
        MapMoveImg(x, y);
}

void MapInput::Image1_MouseUp(int /*button*/, float /*x*/, float /*y*/)
{
    m_pointer.endDrag();
}

void MapInput::MapMoveImg(float x, float y)
{
    const QPointF offset = m_pointer.dragOffset(x, y);
    m_image.setTopTwips(m_image.topTwips() + float(offset.y()));
    m_image.setLeftTwips(m_image.leftTwips() + float(offset.x()));
}

void MapInput::MapNameGet(float x, float y)
{
    if (!m_lookup)
        return;
    try {
        const std::optional<PlaceLookupResult> place =
            m_lookup->MapNameGet(x, y, m_main.mn0(0)->isChecked());
        if (!place)
            return;
        m_lastFailure.clear();
        show(*place);
        m_pointer.lookupFound(x, y);
    } catch (const MoraveltError& error) {
        reportLookupFailure(error.message());
    } catch (const std::exception& error) {
        // Nothing may leave a mouse handler through Qt's event delivery.
        reportLookupFailure(QString::fromLocal8Bit(error.what()));
    }
}

void MapInput::reportLookupFailure(const QString& message)
{
    if (message != m_lastFailure) {
        m_lastFailure = message;
        m_main.prompt().reportError(
            QStringLiteral("町の情報を読めませんでした。\n%1").arg(message));
    }
}

void MapInput::show(const PlaceLookupResult& place)
{
    m_main.DataGrid1()->setRecordset(place.hit);
    Form2& info = form2();
    info.setWindowTitle(place.town);
    info.DataGrid2Model()->setRecordset(place.roads);
    m_main.DataGrid2()->setRecordset(place.lastReadRow);
    if (place.text)
        info.setInfoText(*place.text);
    if (place.quizShown)
        m_pointer.setMenuEnabled(true);
}

} // namespace moravelt
