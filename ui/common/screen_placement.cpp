#include "ui/common/screen_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

namespace tavlo {

namespace {

// An owned window opens on its owner's screen.
QScreen* ScreenOf(const QWidget* owner)
{
    return owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
}

// Before the first showing the window system has not told the frame yet; the
// style's title bar and frame width stand in for it.
QMargins FrameMargins(const QWidget& window)
{
    if (const QWindow* handle = window.windowHandle()) {
        const QMargins margins = handle->frameMargins();
        if (!margins.isNull())
            return margins;
    }
    const int border = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &window);
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {border, title + border, border, border};
}

}  // namespace

QRect KeepWhollyVisible(const QRect& frame, const QRect& available)
{
    QRect placed = frame;
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

void PlaceAtDesignedCorner(QWidget& window, const QWidget* owner, QPoint corner)
{
    const QScreen* screen = ScreenOf(owner);
    if (screen == nullptr)
        return;
    const QPoint designed = screen->geometry().topLeft() + corner;
    const QMargins frame = FrameMargins(window);
    const QRect placed =
        KeepWhollyVisible(QRect(designed, window.size()).marginsAdded(frame), screen->availableGeometry());
    window.setGeometry(QRect(placed.topLeft() + QPoint(frame.left(), frame.top()), window.size()));
}

void PlaceAtDesignedBox(QWidget& window, const QWidget* owner, QRect client)
{
    const QScreen* screen = ScreenOf(owner);
    if (screen == nullptr) {
        window.setGeometry(client);
        return;
    }
    client.translate(screen->geometry().topLeft());
    const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    const QRect room = screen->availableGeometry().adjusted(0, titleBar, 0, 0);
    if (room.isValid()) {
        client.setSize(client.size().boundedTo(room.size()));
        client = KeepWhollyVisible(client, room);
    }
    window.setGeometry(client);
}

}  // namespace tavlo
