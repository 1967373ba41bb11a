// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

namespace moravelt {

class Form2;
class Form3;

// A first start's places. The main window opens where the window system puts it; once it is
// framed, the three windows move as one group into the work area of its screen, the two others
// beside it as at any first start, and only then do the two others appear: neither is ever seen
// at a place it leaves at once. Where the main window is never framed (no window manager),
// they appear after a while at the places worked out from what is known.
class FirstStartPlaces : public QObject
{
    Q_OBJECT
public:
    FirstStartPlaces(QWidget& main, Form2& info, Form3& navi);

    bool isDone() const { return m_done; }

signals:
    // The group stands and the two others are shown.
    void placed();

private:
    void place();

    QWidget& m_main;
    Form2& m_info;
    Form3& m_navi;
    QTimer m_unframed;
    bool m_done = false;
};

} // namespace moravelt
