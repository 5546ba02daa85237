#include "render/ui/TMessageWindow.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <algorithm>

#include "render/WindowPlacement.h"

namespace cw {

namespace {
constexpr int kClientHeight = 31;
constexpr int kMargin = 8;
} // namespace

TMessageWindow::TMessageWindow(QWidget *mainWindow)
    : QWidget(mainWindow,
        Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Message"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("Message"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(16);
    font.setBold(true);
    m_message->setFont(font);
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    m_message->setPalette(palette);
    m_message->move(kMargin, kMargin);
    setFixedSize(170, kClientHeight);
}

QString TMessageWindow::text() const
{
    return m_message->text();
}

void TMessageWindow::ShowText(const QString &text)
{
    m_message->setText(text);
    m_message->adjustSize();
    // As wide as the text, and never so narrow that the window manager cuts
    // the title.
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int titleWidth = widthForTitle(QFontMetrics(bold).horizontalAdvance(windowTitle()));
    setFixedSize(std::max(m_message->width() + 2 * kMargin, titleWidth), kClientHeight);
    QRect outer;
    if (m_mainWindow)
        outer = m_mainWindow->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        outer = screen->availableGeometry();
    move(centredOver(outer, size()));
    show();
    raise();
    QCoreApplication::processEvents();
}

} // namespace cw
