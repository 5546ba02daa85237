#include "widgets/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "render/WindowPlacement.h"

namespace cw {

namespace {

QMargins decorationOf(const QWidget &w)
{
    return cw::decorationOf(w.frameGeometry(), w.geometry());
}

} // namespace

void placeOnScreen(QWidget &window, const QWidget *main, bool &placedBefore)
{
    QScreen *screen = main ? main->screen() : window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const bool framed = window.frameGeometry() != window.geometry();
    const QMargins decoration = framed || !main ? decorationOf(window) : decorationOf(*main);
    const QSize frameSize = framedSize(window.size(), decoration);
    QRect frame;
    if (!placedBefore && main) {
        frame = placedOver(main->frameGeometry(), frameSize, available);
    } else {
        // Kept on the screen the window is on (the main window's, when it
        // is on none).
        frame = QRect(window.frameGeometry().topLeft(), frameSize);
        QScreen *own = QGuiApplication::screenAt(frame.center());
        frame = keptOnScreen(frame, own ? own->availableGeometry() : available);
    }
    placedBefore = true;
    const QSize client = frame.size().shrunkBy(decoration);
    if (client != window.size())
        window.resize(client);
    window.move(frame.topLeft());
}

} // namespace cw
