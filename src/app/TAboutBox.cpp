#include "app/TAboutBox.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "base/ProgramFolders.h"
#include "base/UiText.h"
#include "render/WindowPlacement.h"

namespace cw {

namespace {
QFont arial(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    return font;
}
} // namespace

TAboutBox::TAboutBox(QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(UiText::tr("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(258, 179);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 242, 122);

    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/casewright.svg")).pixmap(40, 40));
    icon->setGeometry(10, 10, 40, 40);

    auto *product = new QLabel(QStringLiteral("Casewright"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    product->setFont(arial(16));
    product->setGeometry(62, 14, 170, 24);

    auto *version = new QLabel(QStringLiteral("Version ") + programVersion(), panel);
    version->setObjectName(QStringLiteral("Version"));
    QFont versionFont = arial(12);
    version->setFont(versionFont);
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    version->setGeometry(62, 50, 166, 20);

    const QDate released = programReleaseDate();
    auto *date = new QLabel(
        UiText::tr("%1年%2月 リリース").arg(released.year()).arg(released.month()), panel);
    date->setObjectName(QStringLiteral("Comments"));
    date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    date->setGeometry(62, 80, 166, 20);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    ok->setGeometry(93, 142, 72, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(2000);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &TAboutBox::Timer1Timer);

    icon->setAccessibleName(QStringLiteral("Casewright"));
    if (m_mainWindow)
        m_mainWindow->installEventFilter(this);
}

void TAboutBox::centreOverMainWindow()
{
    if (!m_mainWindow)
        return;
    const QRect mainFrame = m_mainWindow->frameGeometry();
    QSize frame = frameGeometry().size();
    if (frame == size()) {
        // Not decorated yet: the window manager frames it like the main window.
        frame = framedSize(size(), decorationOf(mainFrame, m_mainWindow->geometry()));
    }
    move(centredOver(mainFrame, frame));
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mainWindow && isVisible()
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        centreOverMainWindow();
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showBox()
{
    // Modal to the whole application, but the caller's event handler returns
    // at once: the splash must not hold up the main window's own showing.
    show();
    raise();
    activateWindow();
}

void TAboutBox::showEvent(QShowEvent *event)
{
    centreOverMainWindow();
    if (!m_shownBefore) {
        m_shownBefore = true;
        m_timer->start();
    }
    QDialog::showEvent(event);
}

void TAboutBox::hideEvent(QHideEvent *event)
{
    // A splash closed early with "OK" must not close a later showing.
    m_timer->stop();
    QDialog::hideEvent(event);
}

void TAboutBox::Timer1Timer()
{
    m_timer->stop();
    accept();
}

} // namespace cw
