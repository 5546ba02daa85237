#include "render/OutputWarmUp.h"

#include <QFontMetrics>
#include <QImageWriter>

#include "canvas/QPainterCanvas.h"
#include "fonts/Font.h"

namespace cw {

OutputWarmUp::OutputWarmUp(Target target)
{
    m_thread = std::thread([target] {
        // A PDF file embeds each picture through the image writers, and the
        // first picture makes Qt load every image plug-in to list them.
        if (target == Vector)
            (void)QImageWriter::supportedImageFormats();
        // The list, the titles and the spines are written in the default face
        // unless the document says otherwise: matching it loads the font
        // database and the face's fall-backs, which every thread shares.
        const QFont font = QPainterCanvas::makeFont(defaultFont(), 300);
        (void)QFontMetrics(font).horizontalAdvance(QStringLiteral("1. トラック Track 4:12"));
    });
}

OutputWarmUp::~OutputWarmUp()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace cw
