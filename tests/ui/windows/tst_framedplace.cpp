// SPDX-License-Identifier: MIT

#include "windows/framedplace.h"
#include "windows/frameevents.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPaintEvent>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <xcb/xcb.h>

using namespace moravelt;

namespace {

// The event by which the X window system tells that a window was configured, as a window
// manager sends it when it frames one.
bool deliverX11Configure()
{
    xcb_configure_notify_event_t configure{};
    configure.response_type = XCB_CONFIGURE_NOTIFY | 0x80;
    return QAbstractEventDispatcher::instance()->filterNativeEvent(
        QByteArrayLiteral("xcb_generic_event_t"), &configure, nullptr);
}

// A window shown and on screen, with no place of its own yet and nothing left to handle.
std::unique_ptr<QWidget> exposedWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setGeometry(60, 70, 240, 160);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    QCoreApplication::processEvents();
    return window;
}

} // namespace

class TestFramedPlace : public QObject
{
    Q_OBJECT
private slots:
    void frameEventsAreWatchedWhileAPlaceWaits();
    void paintQueuesTheCheck();
    void x11FrameEventChecksTheWaitingPlaces();
};

void TestFramedPlace::frameEventsAreWatchedWhileAPlaceWaits()
{
    QVERIFY(!FrameEvents::isInstalled());
    auto first = std::make_unique<QWidget>();
    auto second = std::make_unique<QWidget>();
    FramedPlace::of(*first);
    FramedPlace::of(*second);
    FramedPlace::of(*first); // the same place again
    QVERIFY(FrameEvents::isInstalled());
    first.reset();
    QVERIFY(FrameEvents::isInstalled());
    second.reset();
    QVERIFY(!FrameEvents::isInstalled());
    QVERIFY(!deliverX11Configure()); // reaches no place that is gone

    // Framed, a place has nothing more to wait for; the filter goes with the last one waiting.
    QWidget shown;
    auto unshown = std::make_unique<QWidget>();
    FramedPlace& place = FramedPlace::of(shown);
    FramedPlace::of(*unshown);
    shown.show();
    QTRY_VERIFY(place.isFramed());
    QVERIFY(FrameEvents::isInstalled());
    unshown.reset();
    QVERIFY(!FrameEvents::isInstalled());
}

void TestFramedPlace::paintQueuesTheCheck()
{
    const std::unique_ptr<QWidget> window = exposedWindow();
    QVERIFY(window);
    FramedPlace& place = FramedPlace::of(*window);
    QSignalSpy framed(&place, &FramedPlace::framed);
    const QRect asked(150, 120, 320, 220);
    place.setLeft(asked.left());
    place.setTop(asked.top());
    place.setOuterWidth(asked.width());
    place.setOuterHeight(asked.height());
    // The player (or the window system) puts it elsewhere before the framing is seen.
    window->setGeometry(400, 300, 200, 100);
    const QRect before = window->geometry();

    for (int i = 0; i < 3; ++i) {
        QPaintEvent paint(window->rect());
        QCoreApplication::sendEvent(window.get(), &paint);
        QCOMPARE(window->geometry(), before);
        QVERIFY(!place.isFramed());
    }
    QCOMPARE(framed.size(), 0);
    QTRY_VERIFY(place.isFramed());
    QCOMPARE(framed.size(), 1);
    QCOMPARE(window->frameGeometry(), asked);
}

void TestFramedPlace::x11FrameEventChecksTheWaitingPlaces()
{
    const std::unique_ptr<QWidget> window = exposedWindow();
    QVERIFY(window);
    FramedPlace& place = FramedPlace::of(*window);
    QCoreApplication::processEvents();
    QVERIFY(!place.isFramed()); // nothing Qt handles told of the frame

    QVERIFY(!deliverX11Configure()); // the event goes on to Qt
    QVERIFY(!place.isFramed());      // checked afterwards, not inside the filter
    QTRY_VERIFY(place.isFramed());
    QVERIFY(!FrameEvents::isInstalled());
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestFramedPlace test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_framedplace.moc"
