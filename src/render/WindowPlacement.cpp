#include "render/WindowPlacement.h"

#include <algorithm>

namespace cw {

QSize framedSize(const QSize &client, const QMargins &decoration)
{
    return QSize(client.width() + decoration.left() + decoration.right(),
        client.height() + decoration.top() + decoration.bottom());
}

QMargins decorationOf(const QRect &frame, const QRect &client)
{
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
        frame.right() - client.right(), frame.bottom() - client.bottom());
}

QRect keptOnScreen(const QRect &frame, const QRect &available)
{
    if (available.isEmpty())
        return frame;
    const int width = std::min(frame.width(), available.width());
    const int height = std::min(frame.height(), available.height());
    // Past the right or bottom edge: back to it; then past the left or top
    // edge: back to that one, which wins for a frame as large as the screen.
    int left = std::min(frame.left(), available.left() + available.width() - width);
    int top = std::min(frame.top(), available.top() + available.height() - height);
    left = std::max(left, available.left());
    top = std::max(top, available.top());
    return QRect(left, top, width, height);
}

QRect placedOver(const QRect &mainFrame, const QSize &frameSize, const QRect &available)
{
    return keptOnScreen(QRect(centredOver(mainFrame, frameSize), frameSize), available);
}

} // namespace cw
