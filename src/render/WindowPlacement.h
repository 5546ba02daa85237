#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The top-left corner that centres a window of the given size over another
// window: left = outer left + (outer width - width) / 2, likewise for the top,
// with integer division truncating toward zero.
inline QPoint centredOver(const QRect &outer, const QSize &size)
{
    return QPoint(outer.left() + (outer.width() - size.width()) / 2,
        outer.top() + (outer.height() - size.height()) / 2);
}
