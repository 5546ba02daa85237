#include "pictures/ui/TOpenPictureDialogEx.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "base/UiText.h"
#include "pictures/PictureDialogRules.h"
#include "text/FileFilter.h"
#include "widgets/FileDialogLocale.h"

namespace cw {

namespace {

// The preview button's glyph: a magnifying glass.
QIcon previewGlyph()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    p.setPen(QPen(QColor(64, 32, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
    return QIcon(pixmap);
}

void centreOnScreen(QWidget *w)
{
    QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = w->frameGeometry().size();
    w->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

} // namespace

PicturePaintBox::PicturePaintBox(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox"));
    setAutoFillBackground(true);
}

void PicturePaintBox::setPicture(QSize fullSize, const QImage &image)
{
    m_fullSize = fullSize;
    m_image = image;
    update();
}

QRect PicturePaintBox::target() const
{
    return paintBoxTarget(m_fullSize, size());
}

void PicturePaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_fullSize.width() <= 0 || m_image.isNull()) {
        const QString text = UiText::tr("(なし)");
        const QFontMetrics metrics(font());
        const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
        const QPoint origin = paintBoxTextOrigin(textSize, size());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(origin, textSize), Qt::AlignLeft | Qt::AlignTop, text);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target(), m_image);
}

void PicturePaintBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT doubleClicked();
}

TPicturePreviewWindow::TPicturePreviewWindow(const QImage &picture, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowTitle(UiText::tr("プレビュー"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The window takes the size given below, however small the picture.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    auto *scroll = new QScrollArea(this);
    scroll->setMinimumSize(1, 1);
    scroll->setObjectName(QStringLiteral("ScrollBox"));
    scroll->setAccessibleName(UiText::tr("プレビュー"));
    scroll->setFrameShape(QFrame::Box);
    scroll->setBackgroundRole(QPalette::Base);
    auto *image = new QLabel;
    image->setObjectName(QStringLiteral("Image"));
    image->setAccessibleName(UiText::tr("プレビュー"));
    image->setPixmap(QPixmap::fromImage(picture));
    image->resize(picture.size());
    scroll->setWidget(image);
    layout->addWidget(scroll);
    const QSize client = previewWindowClientSize(picture.size());
    if (client.isValid())
        resize(client);
    centreOnScreen(this);
}

void TPicturePreviewWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->text() == QString(QChar(0x27))) {
        event->accept();
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

TOpenPictureDialogEx::TOpenPictureDialogEx(QWidget *owner)
    : QFileDialog(owner)
{
    setObjectName(QStringLiteral("OpenPictureDialog"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::HideNameFilterDetails, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    listFilesInInterfaceLocale(*this);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("PicturePanel"));
    m_panel->setFrameShape(QFrame::NoFrame);
    m_panel->setFixedWidth(169);
    m_panel->setMinimumHeight(200);
    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(6, 6, 6, 6);
    panelLayout->setSpacing(0);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    m_label = new QLabel(m_panel);
    m_label->setObjectName(QStringLiteral("PictureLabel"));
    m_label->setFixedHeight(23);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_previewButton = new QToolButton(m_panel);
    m_previewButton->setObjectName(QStringLiteral("PreviewButton"));
    m_previewButton->setFixedSize(23, 22);
    m_previewButton->setIcon(previewGlyph());
    m_previewButton->setAutoRaise(true);
    m_previewButton->setToolTip(UiText::tr("プレビュー"));
    m_previewButton->setAccessibleName(UiText::tr("プレビュー"));
    m_previewButton->setEnabled(false);
    top->addWidget(m_label, 1);
    top->addWidget(m_previewButton);
    top->addSpacing(2);
    panelLayout->addLayout(top);

    m_paintPanel = new QFrame(m_panel);
    m_paintPanel->setObjectName(QStringLiteral("PaintPanel"));
    m_paintPanel->setFrameShape(QFrame::Panel);
    m_paintPanel->setFrameShadow(QFrame::Sunken);
    m_paintPanel->setLineWidth(2);
    auto *paintLayout = new QVBoxLayout(m_paintPanel);
    paintLayout->setContentsMargins(0, 0, 0, 0);
    m_paintBox = new PicturePaintBox(m_paintPanel);
    m_paintBox->setAccessibleName(UiText::tr("画像:"));
    paintLayout->addWidget(m_paintBox);
    panelLayout->addWidget(m_paintPanel, 1);

    // Qt's own dialog lays its controls out in a grid: the pane takes a
    // column of its own to the right, from the top row to the bottom.
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(m_panel, 0, grid->columnCount(), grid->rowCount(), 1);

    connect(this, &QFileDialog::currentChanged, this, &TOpenPictureDialogEx::showSelection);
    connect(&m_loader, &ThumbnailLoader::ready, this, &TOpenPictureDialogEx::showThumbnail);
    connect(m_previewButton, &QToolButton::clicked, this, &TOpenPictureDialogEx::openPreview);
    connect(m_paintBox, &PicturePaintBox::doubleClicked, this, &TOpenPictureDialogEx::openPreview);
}

void TOpenPictureDialogEx::setPictureFilter(const QString &filter)
{
    setNameFilters(toQtFilters(filter));
}

void TOpenPictureDialogEx::setStartFolder(const QString &folder)
{
    if (!folder.isEmpty())
        setDirectory(folder);
}

QString TOpenPictureDialogEx::fileName() const
{
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void TOpenPictureDialogEx::showSelection(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        // A folder or nothing: no decode, the pane empties at once.
        m_loader.cancel();
        showThumbnail(path, PictureThumbnail());
        return;
    }
    // The paint box is only known once the dialog is laid out; a hidden
    // dialog uses the pane's designed size.
    QSize box = m_paintBox->size();
    if (!isVisible() || box.width() < 8 || box.height() < 8)
        box = QSize(153, 141);
    m_loader.request(path, box);
}

void TOpenPictureDialogEx::waitForPreview()
{
    m_loader.waitForIdle();
    QCoreApplication::sendPostedEvents(&m_loader);
}

void TOpenPictureDialogEx::showThumbnail(const QString &path, const PictureThumbnail &thumbnail)
{
    m_shownFile = thumbnail.valid ? path : QString();
    m_label->setText(pictureSizeLabel(thumbnail.fullSize, thumbnail.valid));
    m_paintBox->setAccessibleName(m_label->text());
    m_previewButton->setEnabled(thumbnail.valid);
    m_paintBox->setPicture(thumbnail.valid ? thumbnail.fullSize : QSize(), thumbnail.image);
}

void TOpenPictureDialogEx::openPreview()
{
    if (m_shownFile.isEmpty())
        return;
    // The modules are not called from two threads at once.
    m_loader.waitForIdle();
    const QImage picture = loadPictureWhole(m_shownFile);
    if (picture.isNull())
        return;
    TPicturePreviewWindow preview(picture, this);
    preview.exec();
}

void TOpenPictureDialogEx::done(int result)
{
    QToolTip::hideText();
    m_loader.cancel();
    QFileDialog::done(result);
}

} // namespace cw
