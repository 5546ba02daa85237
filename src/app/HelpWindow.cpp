#include "app/HelpWindow.h"
#include "base/UiText.h"

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
