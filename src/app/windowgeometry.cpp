#include "app/windowgeometry.h"

#include "app/twips.h"

#include <QVariant>
#include <QWidget>

namespace moravelt::WindowGeometry {

namespace {

const char* const kOuterWidth = "moraveltOuterWidth";
const char* const kOuterHeight = "moraveltOuterHeight";

int frameExtraWidth(const QWidget& w)
{
    return w.frameGeometry().width() - w.width();
}

int frameExtraHeight(const QWidget& w)
{
    return w.frameGeometry().height() - w.height();
}

} // namespace

TwipsRect get(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    return {Twips::fromPixels(frame.x()), Twips::fromPixels(frame.y()),
            Twips::fromPixels(frame.width()), Twips::fromPixels(frame.height())};
}

void setLeft(QWidget& window, float twips)
{
    window.move(Twips::toPixels(twips), window.frameGeometry().y());
}

void setTop(QWidget& window, float twips)
{
    window.move(window.frameGeometry().x(), Twips::toPixels(twips));
}

void setWidth(QWidget& window, float twips)
{
    const int outer = Twips::toPixels(twips);
    window.setProperty(kOuterWidth, outer);
    window.resize(qMax(1, outer - frameExtraWidth(window)), window.height());
}

void setHeight(QWidget& window, float twips)
{
    const int outer = Twips::toPixels(twips);
    window.setProperty(kOuterHeight, outer);
    window.resize(window.width(), qMax(1, outer - frameExtraHeight(window)));
}

void reapplyOuterSize(QWidget& window, bool final)
{
    const QVariant w = window.property(kOuterWidth);
    const QVariant h = window.property(kOuterHeight);
    if (w.isValid())
        window.resize(qMax(1, w.toInt() - frameExtraWidth(window)), window.height());
    if (h.isValid())
        window.resize(window.width(), qMax(1, h.toInt() - frameExtraHeight(window)));
    if (final) {
        window.setProperty(kOuterWidth, QVariant());
        window.setProperty(kOuterHeight, QVariant());
    }
}

} // namespace moravelt::WindowGeometry
