#pragma once

class QWidget;

namespace cw {

// Places a secondary window just before it is shown, so that it opens wholly
// on a screen: the first time (`placedBefore` false) its frame is centred over
// the frame of `main`, the window it belongs to; later it stays where it
// stood. Either way a frame that runs off the screen is moved back onto it,
// and one larger than the screen's free area is shrunk to it. Before its
// first mapping a window has no frame yet; it is taken to be framed like
// `main`.
void placeOnScreen(QWidget &window, const QWidget *main, bool &placedBefore);

} // namespace cw
