#include "app/windowgeometry.h"

#include "app/twips.h"

#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace moravelt::WindowGeometry {

namespace {

// A window manager frames a window only once it is on screen, and until then Qt places the
// client area where the frame should go. The place asked for is kept and asked for again
// after the window is shown, when the frame exists.
const char* const kLeft = "moraveltFrameLeft";
const char* const kTop = "moraveltFrameTop";
const char* const kOuterWidth = "moraveltOuterWidth";
const char* const kOuterHeight = "moraveltOuterHeight";

int pending(const QWidget& w, const char* name, int otherwise)
{
    const QVariant v = w.property(name);
    return v.isValid() ? v.toInt() : otherwise;
}

void apply(QWidget& w)
{
    const QRect frame = w.frameGeometry();
    const int extraWidth = frame.width() - w.width();
    const int extraHeight = frame.height() - w.height();
    const QPoint place(pending(w, kLeft, frame.x()), pending(w, kTop, frame.y()));
    const QSize size(qMax(1, pending(w, kOuterWidth, frame.width()) - extraWidth),
                     qMax(1, pending(w, kOuterHeight, frame.height()) - extraHeight));
    if (size != w.size())
        w.resize(size);
    if (place != w.frameGeometry().topLeft())
        w.move(place);
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
    window.setProperty(kLeft, Twips::toPixels(twips));
    apply(window);
}

void setTop(QWidget& window, float twips)
{
    window.setProperty(kTop, Twips::toPixels(twips));
    apply(window);
}

void setWidth(QWidget& window, float twips)
{
    window.setProperty(kOuterWidth, Twips::toPixels(twips));
    apply(window);
}

void setHeight(QWidget& window, float twips)
{
    window.setProperty(kOuterHeight, Twips::toPixels(twips));
    apply(window);
}

void pin(QWidget& window)
{
    const QRect frame = window.frameGeometry();
    window.setProperty(kLeft, frame.x());
    window.setProperty(kTop, frame.y());
    apply(window);
}

void settleAfterShow(QWidget& window, const std::function<void()>& settled)
{
    apply(window);
    QTimer::singleShot(0, &window, [&window] { apply(window); });
    QTimer::singleShot(250, &window, [&window, settled] {
        apply(window);
        for (const char* name : {kLeft, kTop, kOuterWidth, kOuterHeight})
            window.setProperty(name, QVariant());
        if (settled)
            settled();
    });
}

} // namespace moravelt::WindowGeometry
