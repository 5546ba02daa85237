#include "app/PicturePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CommitEdit.h"
#include "render/Geometry.h"

namespace {

QLabel *makeLabel(const QString &text, QWidget *parent, const QString &name = QString())
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

QLabel *valueLabel(QWidget *parent, const QString &name)
{
    auto *label = makeLabel(QString(), parent, name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(52);
    return label;
}

QLabel *times(QWidget *parent)
{
    auto *label = makeLabel(QStringLiteral("×"), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

void setTextIfChanged(QLineEdit *edit, const QString &text, bool includeFocused)
{
    if (edit->text() == text)
        return;
    if (!includeFocused && edit->hasFocus())
        return;
    edit->setText(text);
}

QString paperMm(Surface s, bool width)
{
    switch (s) {
    case Surface::Top:
        return width ? QStringLiteral("121.0mm") : QStringLiteral("119.5mm");
    case Surface::Bottom:
        return width ? QStringLiteral("138.0mm") : QStringLiteral("117.5mm");
    default:
        return width ? QStringLiteral("6.0mm") : QStringLiteral("117.5mm");
    }
}

} // namespace

QString PicturePanel::name(const char *part) const
{
    return surfacePrefix(m_surface) + QLatin1String(part);
}

PicturePanel::PicturePanel(Surface surface, QWidget *parent)
    : QWidget(parent)
    , m_surface(surface)
{
    setObjectName(name("GraphicPanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(3);

    // "画像" and, on the followers, the link.
    auto *useRow = new QHBoxLayout;
    m_use = new QCheckBox(QStringLiteral("画像"), this);
    m_use->setObjectName(name("GraphicUse"));
    useRow->addWidget(m_use);
    useRow->addStretch(1);
    if (surface == Surface::Bottom) {
        m_link = new QCheckBox(QStringLiteral("表と同じ"), this);
        m_link->setObjectName(QStringLiteral("SameGraphic"));
    } else if (surface == Surface::Right) {
        m_link = new QCheckBox(QStringLiteral("背表紙(左)と同じ"), this);
        m_link->setObjectName(QStringLiteral("SameGraphicLeft"));
    }
    if (m_link)
        useRow->addWidget(m_link);
    outer->addLayout(useRow);

    auto *fileRow = new QHBoxLayout;
    m_fileLabel = makeLabel(QStringLiteral("ファイル名"), this, name("GraphLabel"));
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(name("GraphicFileName"));
    m_fileName->setReadOnly(true);
    m_fileSelect = new QPushButton(QStringLiteral("ファイル選択"), this);
    m_fileSelect->setObjectName(name("GraphicFileSelect"));
    fileRow->addWidget(m_fileLabel);
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_fileSelect);
    outer->addLayout(fileRow);

    // "画像情報": the picture's own size.
    auto *info = new QGroupBox(QStringLiteral("画像情報"), this);
    info->setObjectName(name("GraphicInfo"));
    auto *infoGrid = new QGridLayout(info);
    infoGrid->setContentsMargins(6, 2, 6, 4);
    infoGrid->setVerticalSpacing(1);
    m_pixelWidth = valueLabel(info, name("GraphicWidth"));
    m_pixelHeight = valueLabel(info, name("GraphicHeight"));
    m_pixelWidthMm = valueLabel(info, name("GraphicPWidth"));
    m_pixelHeightMm = valueLabel(info, name("GraphicPHeight"));
    infoGrid->addWidget(makeLabel(QStringLiteral("画像ｻｲｽﾞ"), info), 0, 0);
    infoGrid->addWidget(m_pixelWidth, 0, 1);
    infoGrid->addWidget(times(info), 0, 2);
    infoGrid->addWidget(m_pixelHeight, 0, 3);
    infoGrid->addWidget(makeLabel(QStringLiteral("印刷ｻｲｽﾞ"), info), 1, 0);
    infoGrid->addWidget(m_pixelWidthMm, 1, 1);
    infoGrid->addWidget(times(info), 1, 2);
    infoGrid->addWidget(m_pixelHeightMm, 1, 3);
    infoGrid->setColumnStretch(4, 1);
    outer->addWidget(info);

    // "印刷設定": what is printed, where.
    auto *pset = new QGroupBox(QStringLiteral("印刷設定"), this);
    pset->setObjectName(name("PSet"));
    auto *grid = new QGridLayout(pset);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(3);
    const bool top = surface == Surface::Top;
    const QString sizeMask = top ? QStringLiteral("\\d{1,6}") : QStringLiteral("\\d{1,5}");
    const QString posMask = top ? QStringLiteral("[-+0-9]\\d{0,5}") : QStringLiteral("\\d{1,5}");
    auto edit = [&](const char *part, const QString &mask) {
        auto *e = new CommitEdit(pset);
        e->setObjectName(name(part));
        e->setMask(mask);
        e->setMaxLength(6);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(50);
        return e;
    };
    m_width2 = edit("GraphicWidth2", sizeMask);
    m_height2 = edit("GraphicHeight2", sizeMask);
    m_posX = edit("GraphicPosX", posMask);
    m_posY = edit("GraphicPosY", posMask);
    m_width2Mm = valueLabel(pset, name("GraphicPWidth2"));
    m_height2Mm = valueLabel(pset, name("GraphicPHeight2"));
    m_posXMm = valueLabel(pset, name("GraphicPPosX"));
    m_posYMm = valueLabel(pset, name("GraphicPPosY"));
    grid->addWidget(makeLabel(QStringLiteral("画像ｻｲｽﾞ"), pset), 0, 0);
    grid->addWidget(m_width2, 0, 1);
    grid->addWidget(times(pset), 0, 2);
    grid->addWidget(m_height2, 0, 3);
    grid->addWidget(makeLabel(QStringLiteral("印刷ｻｲｽﾞ"), pset), 1, 0);
    grid->addWidget(m_width2Mm, 1, 1);
    grid->addWidget(times(pset), 1, 2);
    grid->addWidget(m_height2Mm, 1, 3);
    grid->addWidget(makeLabel(QStringLiteral("印刷位置"), pset), 2, 0);
    grid->addWidget(m_posX, 2, 1);
    grid->addWidget(m_posY, 2, 3);
    grid->addWidget(m_posXMm, 3, 1);
    grid->addWidget(m_posYMm, 3, 3);

    m_sizeMode = new QComboBox(pset);
    m_sizeMode->setObjectName(name("GSizeChange"));
    m_sizeMode->setToolTip(QStringLiteral("画像サイズ調整"));
    m_sizeMode->addItems(
        { QStringLiteral("幅合わせ"), QStringLiteral("高さ合わせ"), QStringLiteral("カスタム") });
    m_alignMode = new QComboBox(pset);
    m_alignMode->setObjectName(name("GPosChange"));
    m_alignMode->setToolTip(QStringLiteral("印刷位置調整"));
    m_alignMode->addItems({ QStringLiteral("左寄せ"), QStringLiteral("横ｾﾝﾀﾘﾝｸﾞ"),
        QStringLiteral("右寄せ"), QStringLiteral("上寄せ"), QStringLiteral("縦ｾﾝﾀﾘﾝｸﾞ"),
        QStringLiteral("下寄せ"), QStringLiteral("カスタム") });
    m_keepAspect = new QCheckBox(QStringLiteral("縦横比固定"), pset);
    m_keepAspect->setObjectName(name("SizeRateFixed"));
    m_keepAspect->setChecked(true);
    grid->addWidget(m_sizeMode, 0, 4);
    grid->addWidget(m_keepAspect, 1, 4);
    grid->addWidget(m_alignMode, 2, 4);
    grid->setColumnStretch(5, 1);
    outer->addWidget(pset);

    // "用紙情報": the surface's size.
    auto *paper = new QGroupBox(QStringLiteral("用紙情報"), this);
    paper->setObjectName(name("PInfo"));
    auto *paperGrid = new QGridLayout(paper);
    paperGrid->setContentsMargins(6, 2, 6, 4);
    paperGrid->setVerticalSpacing(1);
    m_surfaceWidth = valueLabel(paper, name("PWidth"));
    m_surfaceHeight = valueLabel(paper, name("PHeight"));
    paperGrid->addWidget(m_surfaceWidth, 0, 0);
    paperGrid->addWidget(times(paper), 0, 1);
    paperGrid->addWidget(m_surfaceHeight, 0, 2);
    paperGrid->addWidget(makeLabel(QStringLiteral("ﾋﾟｸｾﾙ"), paper), 0, 3);
    auto *mmWidth = valueLabel(paper, name("PWidthMm"));
    auto *mmHeight = valueLabel(paper, name("PHeightMm"));
    mmWidth->setText(paperMm(surface, true));
    mmHeight->setText(paperMm(surface, false));
    paperGrid->addWidget(mmWidth, 1, 0);
    paperGrid->addWidget(times(paper), 1, 1);
    paperGrid->addWidget(mmHeight, 1, 2);
    paperGrid->setColumnStretch(4, 1);
    outer->addWidget(paper);
    outer->addStretch(1);

    m_controls = { m_fileLabel, m_fileName, m_fileSelect, info, pset };
    showPlacement(PicturePlacement());
}

void PicturePanel::showPlacement(const PicturePlacement &p, bool includeFocused)
{
    if (m_use->isChecked() != p.use)
        m_use->setChecked(p.use);
    setTextIfChanged(m_fileName, p.fileName, true);
    m_pixelWidth->setText(QString::asprintf("%d", p.pixelWidth));
    m_pixelHeight->setText(QString::asprintf("%d", p.pixelHeight));
    m_pixelWidthMm->setText(formatMm(PixelsToMmX(p.pixelWidth)));
    m_pixelHeightMm->setText(formatMm(PixelsToMmY(p.pixelHeight)));
    setTextIfChanged(m_width2, QString::asprintf("%d", p.printWidth), includeFocused);
    setTextIfChanged(m_height2, QString::asprintf("%d", p.printHeight), includeFocused);
    setTextIfChanged(m_posX, QString::asprintf("%d", p.posX), includeFocused);
    setTextIfChanged(m_posY, QString::asprintf("%d", p.posY), includeFocused);
    m_width2Mm->setText(formatMm(PixelsToMmX(p.printWidth)));
    m_height2Mm->setText(formatMm(PixelsToMmY(p.printHeight)));
    m_posXMm->setText(formatMm(PixelsToMmX(p.posX)));
    m_posYMm->setText(formatMm(PixelsToMmY(p.posY)));
    if (p.sizeMode >= 0 && p.sizeMode < m_sizeMode->count())
        m_sizeMode->setCurrentIndex(p.sizeMode);
    if (p.alignMode >= 0 && p.alignMode < m_alignMode->count())
        m_alignMode->setCurrentIndex(p.alignMode);
    if (m_keepAspect->isChecked() != p.keepAspect)
        m_keepAspect->setChecked(p.keepAspect);
}

void PicturePanel::showSurfaceSize(int width, int height)
{
    m_surfaceWidth->setText(QString::asprintf("%d", width));
    m_surfaceHeight->setText(QString::asprintf("%d", height));
}

void PicturePanel::setControlsEnabled(bool enabled)
{
    for (QWidget *w : m_controls)
        w->setEnabled(enabled);
}

void PicturePanel::setLinkEnabled(bool enabled)
{
    if (m_link)
        m_link->setEnabled(enabled);
}

void PicturePanel::setLinkChecked(bool on)
{
    if (m_link && m_link->isChecked() != on)
        m_link->setChecked(on);
}
