#include "app/HelpWindow.h"

#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace cw {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Casewright ヘルプ"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *tools = new QToolBar(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    tools->addAction(QStringLiteral("目次"), this, &HelpWindow::showContents);
    tools->addAction(QStringLiteral("戻る"), m_browser, &QTextBrowser::backward);
    tools->addAction(QStringLiteral("進む"), m_browser, &QTextBrowser::forward);
    layout->addWidget(tools);
    layout->addWidget(m_browser);
    resize(640, 560);
}

void HelpWindow::showContents()
{
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    show();
    raise();
    activateWindow();
}

} // namespace cw
