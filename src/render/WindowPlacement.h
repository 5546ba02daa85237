#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace cw {

// The top-left corner that centres a window of the given size over another
// window: left = outer left + (outer width - width) / 2, likewise for the top,
// with integer division truncating toward zero.
inline QPoint centredOver(const QRect &outer, const QSize &size)
{
    return QPoint(outer.left() + (outer.width() - size.width()) / 2,
        outer.top() + (outer.height() - size.height()) / 2);
}

// The size of a window's frame: its client size grown by the decoration the
// window manager puts round it. A window that has not been shown yet has no
// known decoration; `decoration` is then that of another window of the
// program (the main window), which the window manager decorates alike.
QSize framedSize(const QSize &client, const QMargins &decoration);

// The room a window manager's title bar takes beside the title: the window
// menu's icon, the minimise, maximise and close buttons, and their padding.
constexpr int kTitleBarRoom = 128;

// The least frame width at which a window's title shows whole: the title's
// width (measured in a bold face of the interface's size, as window managers
// commonly draw titles) and the room beside it.
inline int widthForTitle(int titleWidth)
{
    return titleWidth + kTitleBarRoom;
}

// The decoration round a window: how far its frame reaches past its client
// area on each side. Zero for a window that has not been framed yet.
QMargins decorationOf(const QRect &frame, const QRect &client);

// The frame `frame` moved, and shrunk where it is larger, so that it lies
// wholly inside `available` (a screen's available area). A frame that fits
// keeps its place; one that runs off an edge is moved back to that edge.
// An empty `available` (no screen known) leaves the frame as it is.
QRect keptOnScreen(const QRect &frame, const QRect &available);

// Where a secondary window first shows: its frame centred over the main
// window's frame, then kept wholly on the main window's screen.
QRect placedOver(const QRect &mainFrame, const QSize &frameSize, const QRect &available);

} // namespace cw
