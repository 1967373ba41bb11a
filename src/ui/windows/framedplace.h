// SPDX-License-Identifier: MIT

#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <optional>

class QWidget;

namespace moravelt {

// A top-level window's place as the settings keep it: the frame's top-left corner and the
// outer size, in pixels. A window manager frames a window only once it is on screen, and until
// then Qt knows the window without its frame. So the place asked for is kept, and answered,
// until the window system reports the frame (the move or resize that follows the framing);
// then it is applied once with the frame's real margins, and from there on the window is
// wherever the player puts it. The check is never made inside the event that prompts it (a
// paint may not change a geometry): it is queued, once however many events ask for it.
class FramedPlace : public QObject
{
    Q_OBJECT
public:
    // The place of a top-level window, made on first use.
    static FramedPlace& of(QWidget& window);
    ~FramedPlace() override;

    // The frame: what was asked for while the window is unframed, else where it is now; for a
    // maximised window, where it goes back to when restored.
    QRect frame() const;
    // The frame around the client area as the window system has it now; none until it tells.
    QMargins margins() const;
    void setLeft(int pixels);
    void setTop(int pixels);
    void setOuterWidth(int pixels);
    void setOuterHeight(int pixels);

    bool isFramed() const { return m_framed; }
    // Queues a check whether the window system has framed the window by now.
    void checkFramedLater();

signals:
    void framed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FramedPlace(QWidget& window);
    void apply();
    void forgetAskedPlace();
    // Neither maximised nor full screen.
    bool isNormal() const;
    // Applies the place asked for if the window system has framed the window by now.
    void checkFramed();

    QWidget& m_window;
    std::optional<int> m_left;
    std::optional<int> m_top;
    std::optional<int> m_outerWidth;
    std::optional<int> m_outerHeight;
    mutable QMargins m_normalMargins;
    bool m_framed = false;
    bool m_checkQueued = false;
};

} // namespace moravelt
