#include "app/HelpWindow.h"
#include "base/UiText.h"
#include "widgets/ScreenPlacement.h"

#include <QShowEvent>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace cw {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(UiText::tr("Casewright ヘルプ"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *tools = new QToolBar(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    tools->addAction(UiText::tr("目次"), this, &HelpWindow::showContents);
    tools->addAction(UiText::tr("戻る"), m_browser, &QTextBrowser::backward);
    tools->addAction(UiText::tr("進む"), m_browser, &QTextBrowser::forward);
    layout->addWidget(tools);
    layout->addWidget(m_browser);
    resize(640, 560);
}

void HelpWindow::showEvent(QShowEvent *event)
{
    // Before the window is mapped, so that the window manager puts it there:
    // wholly on the screen, first over the main window.
    if (!event->spontaneous())
        placeOnScreen(*this, parentWidget() ? parentWidget()->window() : nullptr, m_placedBefore);
    QWidget::showEvent(event);
}

void HelpWindow::showContents()
{
    // The help speaks the interface's language.
    m_browser->setSource(
        QUrl(currentUiLanguage() == UiLanguage::English ? QStringLiteral("qrc:/help/index.en.html")
                                                        : QStringLiteral("qrc:/help/index.html")));
    show();
    raise();
    activateWindow();
}

} // namespace cw
