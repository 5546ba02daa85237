#include "app/PicturePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "base/UiText.h"
#include "base/Units.h"
#include "document/PicturePlacementOps.h"
#include "widgets/CommitEdit.h"
#include "widgets/QuietChecks.h"

namespace cw {

namespace {

// The three groups share one column layout, so that the values of every row
// stand under each other: a caption, a value, "×", a value, then the lists.
constexpr int kCaptionColumn = 0, kFirstValue = 1, kTimes = 2, kSecondValue = 3, kExtra = 4;
constexpr int kCaptionWidth = 44;
constexpr int kValueWidth = 59;
constexpr int kTimesWidth = 12;
// Right-aligned values sit as far from their right edge as an edit's text.
constexpr int kValueIndent = 3;

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
    label->setIndent(kValueIndent);
    label->setFixedWidth(kValueWidth);
    return label;
}

QLabel *times(QWidget *parent)
{
    auto *label = makeLabel(QStringLiteral("×"), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedWidth(kTimesWidth);
    return label;
}

QGridLayout *valueGrid(QWidget *group)
{
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(3, 2, 3, 4);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    grid->setColumnMinimumWidth(kCaptionColumn, kCaptionWidth);
    grid->setColumnMinimumWidth(kFirstValue, kValueWidth);
    grid->setColumnMinimumWidth(kTimes, kTimesWidth);
    grid->setColumnMinimumWidth(kSecondValue, kValueWidth);
    grid->setColumnStretch(kExtra + 1, 1);
    return grid;
}

// One row of two values with "×" between them, under a caption.
void addPair(QGridLayout *grid, int row, const QString &caption, QWidget *first, QWidget *second,
    bool withTimes = true)
{
    QWidget *group = grid->parentWidget();
    // Also without a caption the column holds a label: the grid leaves out
    // the spacing after an empty column, which would shift the values.
    grid->addWidget(makeLabel(caption, group), row, kCaptionColumn);
    grid->addWidget(first, row, kFirstValue);
    if (withTimes)
        grid->addWidget(times(group), row, kTimes);
    grid->addWidget(second, row, kSecondValue);
}

void setTextIfChanged(QLineEdit *edit, const QString &text, bool includeFocused)
{
    if (edit->text() == text)
        return;
    if (!includeFocused && edit->hasFocus())
        return;
    edit->setText(text);
}

// The number fields take six characters when typed into; a value the program
// computed (a resolution change, an alignment) may be longer and is shown whole.
constexpr int kNumberFieldChars = 6;
void setNumberIfChanged(QLineEdit *edit, const QString &text, bool includeFocused)
{
    if (edit->text() == text || (!includeFocused && edit->hasFocus()))
        return;
    edit->setMaxLength(std::max<int>(kNumberFieldChars, int(text.size())));
    edit->setText(text);
}

} // namespace

void setTabOrderChain(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

QString PicturePanel::name(const char *part) const
{
    return (m_slot.isPage() ? QStringLiteral("Page") : surfacePrefix(m_slot.surface))
        + QLatin1String(part);
}

PicturePanel::PicturePanel(PictureSlot slot, QWidget *parent)
    : QWidget(parent)
    , m_slot(slot)
{
    const Surface surface = slot.isPage() ? Surface::Top : slot.surface;
    setObjectName(name("GraphicPanel"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(3);

    // "画像" and, on the followers, the link.
    auto *useRow = new QHBoxLayout;
    m_use = new QCheckBox(UiText::tr("画像"), this);
    m_use->setObjectName(name("GraphicUse"));
    useRow->addWidget(m_use);
    useRow->addStretch(1);
    if (surface == Surface::Bottom) {
        m_link = new QCheckBox(UiText::tr("表と同じ"), this);
        m_link->setObjectName(QStringLiteral("SameGraphic"));
    } else if (surface == Surface::Right) {
        m_link = new QCheckBox(UiText::tr("背表紙(左)と同じ"), this);
        m_link->setObjectName(QStringLiteral("SameGraphicLeft"));
    }
    if (m_link) {
        // The title group has a link of the same caption.
        m_link->setAccessibleDescription(m_use->text());
        useRow->addWidget(m_link);
    }
    outer->addLayout(useRow);

    auto *fileRow = new QHBoxLayout;
    m_fileLabel = makeLabel(UiText::tr("ファイル名"), this, name("GraphLabel"));
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(name("GraphicFileName"));
    m_fileName->setReadOnly(true);
    m_fileSelect = new QPushButton(UiText::tr("ファイル選択"), this);
    m_fileSelect->setObjectName(name("GraphicFileSelect"));
    fileRow->addWidget(m_fileLabel);
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_fileSelect);
    outer->addLayout(fileRow);

    // "画像情報": the picture's own size.
    auto *info = new QGroupBox(UiText::tr("画像情報"), this);
    info->setObjectName(name("GraphicInfo"));
    auto *infoGrid = valueGrid(info);
    m_grids.append(infoGrid);
    m_pixelWidth = valueLabel(info, name("GraphicWidth"));
    m_pixelHeight = valueLabel(info, name("GraphicHeight"));
    m_pixelWidthMm = valueLabel(info, name("GraphicPWidth"));
    m_pixelHeightMm = valueLabel(info, name("GraphicPHeight"));
    addPair(infoGrid, 0, UiText::tr("画像ｻｲｽﾞ"), m_pixelWidth, m_pixelHeight);
    addPair(infoGrid, 1, UiText::tr("印刷ｻｲｽﾞ"), m_pixelWidthMm, m_pixelHeightMm);
    outer->addWidget(info);

    // "印刷設定": what is printed, where.
    auto *pset = new QGroupBox(UiText::tr("印刷設定"), this);
    pset->setObjectName(name("PSet"));
    auto *grid = valueGrid(pset);
    m_grids.append(grid);
    const bool top = surface == Surface::Top;
    const QString sizeMask = top ? QStringLiteral("\\d{1,6}") : QStringLiteral("\\d{1,5}");
    const QString posMask = top ? QStringLiteral("[-+0-9]\\d{0,5}") : QStringLiteral("\\d{1,5}");
    auto edit = [&](const char *part, const QString &mask) {
        auto *e = new CommitEdit(pset);
        e->setObjectName(name(part));
        e->setMask(mask);
        e->setMaxLength(kNumberFieldChars);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(kValueWidth);
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
    addPair(grid, 0, UiText::tr("画像ｻｲｽﾞ"), m_width2, m_height2);
    addPair(grid, 1, UiText::tr("印刷ｻｲｽﾞ"), m_width2Mm, m_height2Mm);
    addPair(grid, 2, UiText::tr("印刷位置"), m_posX, m_posY, false);
    addPair(grid, 3, QString(), m_posXMm, m_posYMm, false);

    m_sizeMode = new QComboBox(pset);
    m_sizeMode->setObjectName(name("GSizeChange"));
    m_sizeMode->setToolTip(UiText::tr("画像サイズ調整"));
    m_sizeMode->addItems(
        { UiText::tr("幅合わせ"), UiText::tr("高さ合わせ"), UiText::tr("カスタム") });
    m_alignMode = new QComboBox(pset);
    m_alignMode->setObjectName(name("GPosChange"));
    m_alignMode->setToolTip(UiText::tr("印刷位置調整"));
    m_alignMode->addItems(
        { UiText::tr("左寄せ"), UiText::tr("横ｾﾝﾀﾘﾝｸﾞ"), UiText::tr("右寄せ"), UiText::tr("上寄せ"),
            UiText::tr("縦ｾﾝﾀﾘﾝｸﾞ"), UiText::tr("下寄せ"), UiText::tr("カスタム") });
    m_keepAspect = new QCheckBox(UiText::tr("縦横比固定"), pset);
    m_keepAspect->setObjectName(name("SizeRateFixed"));
    m_keepAspect->setChecked(true);
    grid->addWidget(m_sizeMode, 0, kExtra);
    grid->addWidget(m_keepAspect, 1, kExtra);
    grid->addWidget(m_alignMode, 2, kExtra);
    outer->addWidget(pset);

    // "用紙情報": the surface's size.
    auto *paper = new QGroupBox(UiText::tr("用紙情報"), this);
    paper->setObjectName(name("PInfo"));
    auto *paperGrid = valueGrid(paper);
    m_grids.append(paperGrid);
    m_surfaceWidth = valueLabel(paper, name("PWidth"));
    m_surfaceHeight = valueLabel(paper, name("PHeight"));
    auto *mmWidth = m_surfaceWidthMm = valueLabel(paper, name("PWidthMm"));
    auto *mmHeight = m_surfaceHeightMm = valueLabel(paper, name("PHeightMm"));
    showSurfaceMm(surfaceWidthMm(surface), surfaceHeightMm(surface));
    addPair(paperGrid, 0, QString(), m_surfaceWidth, m_surfaceHeight);
    paperGrid->addWidget(makeLabel(UiText::tr("ﾋﾟｸｾﾙ"), paper), 0, kExtra);
    addPair(paperGrid, 1, QString(), mmWidth, mmHeight);
    outer->addWidget(paper);
    outer->addStretch(1);

    // Names for screen readers: an edit is named by its label, and the two
    // edits of one row by the label and what each holds.
    m_fileLabel->setBuddy(m_fileName);
    m_fileName->setAccessibleName(UiText::tr("ファイル名"));
    m_width2->setAccessibleName(UiText::tr("画像ｻｲｽﾞ 幅"));
    m_height2->setAccessibleName(UiText::tr("画像ｻｲｽﾞ 高さ"));
    m_posX->setAccessibleName(UiText::tr("印刷位置 横"));
    m_posY->setAccessibleName(UiText::tr("印刷位置 縦"));
    m_sizeMode->setAccessibleName(m_sizeMode->toolTip());
    m_alignMode->setAccessibleName(m_alignMode->toolTip());
    // Tab order: the rows of "印刷設定" left to right, top to bottom.
    for (QWidget *w : { static_cast<QWidget *>(m_use), static_cast<QWidget *>(m_link),
             static_cast<QWidget *>(m_fileName), static_cast<QWidget *>(m_fileSelect),
             static_cast<QWidget *>(m_width2), static_cast<QWidget *>(m_height2),
             static_cast<QWidget *>(m_sizeMode), static_cast<QWidget *>(m_keepAspect),
             static_cast<QWidget *>(m_posX), static_cast<QWidget *>(m_posY),
             static_cast<QWidget *>(m_alignMode) }) {
        if (w)
            m_readingOrder.append(w);
    }
    setTabOrderChain(m_readingOrder);

    m_controls = { m_fileLabel, m_fileName, m_fileSelect, info, pset };
    showPlacement(LabelDocument());
}

void PicturePanel::showEvent(QShowEvent *event)
{
    // The fonts are final by now (the tab is in the window).
    alignColumns();
    QWidget::showEvent(event);
}

void PicturePanel::alignColumns()
{
    // The caption column is as wide as the widest caption of any group, in
    // the font the panel has now, so that the value columns line up.
    int width = kCaptionWidth;
    for (QGridLayout *grid : std::as_const(m_grids)) {
        for (int row = 0; row < grid->rowCount(); ++row) {
            QLayoutItem *item = grid->itemAtPosition(row, kCaptionColumn);
            if (item && item->widget())
                width = std::max(width, item->widget()->sizeHint().width());
        }
    }
    for (QGridLayout *grid : std::as_const(m_grids))
        grid->setColumnMinimumWidth(kCaptionColumn, width);
}

void PicturePanel::showPlacement(const LabelDocument &doc, bool includeFocused)
{
    const PicturePlacement &p = shownPlacement(doc, m_slot);
    const PlacementTexts t = placementTexts(doc, m_slot);
    setCheckedQuietly(m_use, p.use);
    setTextIfChanged(m_fileName, t.fileName, true);
    // The field shows the start of a long path; its tool tip the whole of it.
    m_fileName->setToolTip(t.fileName);
    m_pixelWidth->setText(t.pixelWidth);
    m_pixelHeight->setText(t.pixelHeight);
    m_pixelWidthMm->setText(t.pixelWidthMm);
    m_pixelHeightMm->setText(t.pixelHeightMm);
    setNumberIfChanged(m_width2, t.printWidth, includeFocused);
    setNumberIfChanged(m_height2, t.printHeight, includeFocused);
    setNumberIfChanged(m_posX, t.posX, includeFocused);
    setNumberIfChanged(m_posY, t.posY, includeFocused);
    m_width2Mm->setText(t.printWidthMm);
    m_height2Mm->setText(t.printHeightMm);
    m_posXMm->setText(t.posXMm);
    m_posYMm->setText(t.posYMm);
    m_sizeMode->setCurrentIndex(int(p.sizeMode));
    m_alignMode->setCurrentIndex(int(p.alignMode));
    setCheckedQuietly(m_keepAspect, p.keepAspect);
}

void PicturePanel::showSurfaceMm(double width, double height)
{
    m_surfaceWidthMm->setText(formatMm(width));
    m_surfaceHeightMm->setText(formatMm(height));
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
    setCheckedQuietly(m_link, on);
}

} // namespace cw
