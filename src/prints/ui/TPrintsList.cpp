#include "prints/ui/TPrintsList.h"


#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QButtonGroup>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/PreviewPage.h"
#include "base/UiText.h"
#include "base/UserPrompts.h"
#include "document/DocumentControls.h"
#include "document/StepLabels.h"
#include "fonts/FontQt.h"
#include "pictures/PictureDialogRules.h"
#include "pictures/PictureLoading.h"
#include "prints/ui/PrintsListView.h"
#include "text/TypedNumber.h"
#include "text/ui/UnicodeMark.h"
#include "widgets/ColorSwatch.h"
#include "widgets/CommitEdit.h"
#include "widgets/QuietChecks.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

const char *const kBlockFileFilter = QT_TRANSLATE_NOOP(
    "cw::UiText", "テキストファイル(*.txt)|*.TXT|全てのファイル(*.*)|*.*");

// The editor's tabs, in order, are the item kinds.
PrintsKind kindOfTab(int index)
{
    return index == 1 ? PrintsPicture : index == 2 ? PrintsTextBlock : PrintsText;
}

QLabel *makeLabel(const QString &text, QWidget *parent, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QLabel *valueLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(48);
    return label;
}

CommitEdit *numberEdit(QWidget *parent, const char *name, const QString &mask, int length)
{
    auto *edit = new CommitEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMask(mask);
    edit->setMaxLength(length);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(56);
    return edit;
}

QPushButton *button(const QString &caption, QWidget *parent, const char *name)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// Sets an edit's text only when it differs (the cursor stays otherwise).
void setEditText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

TPrintsList::TPrintsList(LabelDocument &document, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_editor(document)
{
    setObjectName(QStringLiteral("PrintsList"));
    setWindowTitle(QStringLiteral("Casewright [PrintsList]"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    buildList();
    auto *listBox = new QWidget(this);
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    listLayout->addWidget(m_header);
    listLayout->addWidget(m_view);
    outer->addWidget(listBox, 1);

    auto *lower = new QHBoxLayout;
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl"));
    m_tabs->addTab(buildTextTab(), UiText::tr("テキスト"));
    m_tabs->addTab(buildGraphicTab(), UiText::tr("グラフィック"));
    m_tabs->addTab(buildBlockTab(), UiText::tr("テキストブロック"));
    lower->addWidget(m_tabs, 1);
    auto *side = new QVBoxLayout;
    side->addWidget(buildCommands());
    side->addWidget(buildPaperInfo());
    side->addStretch(1);
    auto *preview = button(UiText::tr("プレビュー"), this, "Button1");
    auto *close = button(UiText::tr("閉じる"), this, "Button2");
    side->addWidget(preview);
    side->addWidget(close);
    lower->addLayout(side);
    outer->addLayout(lower);

    connect(m_tabs, &QTabWidget::currentChanged, this, &TPrintsList::tabChanged);
    connect(preview, &QPushButton::clicked, this, [this] {
        if (m_showPreview)
            m_showPreview();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    m_editor.open(PrintsList::Cover);
    showItem();
    setFixedSize(sizeHint());
}

TPrintsList::~TPrintsList() = default;

void TPrintsList::buildList()
{
    auto *sections = new QStandardItemModel(0, 4, this);
    sections->setHorizontalHeaderLabels({ UiText::tr("種類"), UiText::tr("印刷位置"),
        UiText::tr("印刷サイズ"), UiText::tr("内容") });
    m_header = new QHeaderView(Qt::Horizontal, this);
    m_header->setObjectName(QStringLiteral("HeaderControl1"));
    m_header->setModel(sections);
    m_header->setSectionsClickable(false);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setStretchLastSection(false);
    for (int c = 0; c < 4; ++c)
        m_header->resizeSection(c, kPrintsSectionWidths[c]);
    m_header->setFixedHeight(m_header->sizeHint().height());

    m_view = new PrintsListBox(this);
    m_view->setObjectName(QStringLiteral("ListBox"));
    m_view->setAccessibleName(UiText::tr("印刷項目"));
    m_view->setModel(&m_editor.model());
    m_view->setItemDelegate(new PrintsLineDelegate(m_header, m_view));
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setUniformItemSizes(true);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setMinimumSize(500, 150);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_header, &QHeaderView::sectionResized, m_view->viewport(),
        qOverload<>(&QWidget::update));
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &current) {
            if (m_filling)
                return;
            m_editor.select(current.isValid() ? current.row() : -1);
            showItem();
        });

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    m_moveUp = m_menu->addAction(UiText::tr("上へ"));
    m_moveUp->setObjectName(QStringLiteral("MoveUp"));
    m_moveDown = m_menu->addAction(UiText::tr("下へ"));
    m_moveDown->setObjectName(QStringLiteral("MoveDown"));
    connect(m_moveUp, &QAction::triggered, this, [this] {
        const QScopedValueRollback<bool> quiet(m_filling, true);
        if (m_editor.moveUp())
            showItem();
    });
    connect(m_moveDown, &QAction::triggered, this, [this] {
        const QScopedValueRollback<bool> quiet(m_filling, true);
        if (m_editor.moveDown())
            showItem();
    });
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        updatePopupMenu();
        if (m_moveUp->isVisible() || m_moveDown->isVisible())
            m_menu->popup(m_view->viewport()->mapToGlobal(pos));
    });
}

void TPrintsList::updatePopupMenu()
{
    const PrintsEditorState s = m_editor.state();
    m_moveUp->setVisible(s.canMoveUp);
    m_moveDown->setVisible(s.canMoveDown);
}

QWidget *TPrintsList::buildTextTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TextTab"));
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(6);

    m_text = new CommitEdit(tab);
    m_text->setObjectName(QStringLiteral("Text"));
    UnicodeMark::attach(m_text);
    m_textX = numberEdit(tab, "TextX", QStringLiteral("\\d{1,3}"), 3);
    m_textY = numberEdit(tab, "TextY", QStringLiteral("\\d{1,3}"), 3);
    m_fontRot = numberEdit(tab, "FontRot", QStringLiteral("\\d{1,3}"), 3);
    m_fontSelect = button(UiText::tr("フォント"), tab, "FontSelect");
    m_defaultFont = button(UiText::tr("ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ"), tab, "DefaultFontSelect");

    QLabel *content = makeLabel(UiText::tr("内容"), tab, m_text);
    QLabel *xLabel = makeLabel(UiText::tr("横"), tab, m_textX);
    QLabel *yLabel = makeLabel(UiText::tr("縦"), tab, m_textY);
    QLabel *rotLabel = makeLabel(UiText::tr("ﾌｫﾝﾄ角"), tab, m_fontRot);
    grid->addWidget(content, 0, 0);
    grid->addWidget(m_text, 0, 1, 1, 6);
    grid->addWidget(xLabel, 1, 0);
    grid->addWidget(m_textX, 1, 1);
    grid->addWidget(makeLabel(QStringLiteral("mm"), tab), 1, 2);
    grid->addWidget(yLabel, 1, 3);
    grid->addWidget(m_textY, 1, 4);
    grid->addWidget(makeLabel(QStringLiteral("mm"), tab), 1, 5);
    grid->addWidget(rotLabel, 2, 0);
    grid->addWidget(m_fontRot, 2, 1);
    grid->addWidget(makeLabel(UiText::tr("度"), tab), 2, 2);
    auto *fonts = new QHBoxLayout;
    fonts->addWidget(m_fontSelect);
    fonts->addWidget(m_defaultFont);
    fonts->addStretch(1);
    grid->addLayout(fonts, 3, 0, 1, 7);
    grid->addWidget(buildArcRow(tab), 4, 0, 1, 7);
    grid->setColumnStretch(6, 1);
    grid->setRowStretch(5, 1);

    connect(m_text, &CommitEdit::committed, this, [this] {
        m_editor.setText(m_text->text());
    });
    connect(m_textX, &CommitEdit::committed, this,
        [this] { commitNumber(m_textX, [this](int v) { m_editor.setTextX(v); }); });
    connect(m_textY, &CommitEdit::committed, this,
        [this] { commitNumber(m_textY, [this](int v) { m_editor.setTextY(v); }); });
    // The field keeps what was typed; the item takes it modulo 360.
    connect(m_fontRot, &CommitEdit::committed, this,
        [this] { commitNumber(m_fontRot, [this](int v) { m_editor.setAngle(v); }); });
    connect(m_fontSelect, &QPushButton::clicked, this, &TPrintsList::FontSelectClick);
    connect(m_defaultFont, &QPushButton::clicked, this, &TPrintsList::DefaultFontSelectClick);

    m_itemControls << content << m_text << xLabel << m_textX << yLabel << m_textY << rotLabel
                   << m_fontRot << m_fontSelect << m_defaultFont;
    return tab;
}

// The disc's text items only: where the text stands ("上の弧", "下の弧" or
// "任意", straight at its position) and its arc's radius and angle.
QWidget *TPrintsList::buildArcRow(QWidget *tab)
{
    m_arcRow = new QWidget(tab);
    m_arcRow->setObjectName(QStringLiteral("ArcRow"));
    // Two lines: where the text stands, then its arc's radius and angle,
    // named apart from the item's own turning angle.
    auto *lines = new QVBoxLayout(m_arcRow);
    lines->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    lines->addLayout(row);
    const QString placeCaption = UiText::tr("位置");
    row->addWidget(makeLabel(placeCaption, m_arcRow));
    m_arcPlace = new QButtonGroup(m_arcRow);
    const std::pair<DiscTextPlace, QString> places[] = {
        { DiscTextPlace::TopArc, UiText::tr("上の弧") },
        { DiscTextPlace::BottomArc, UiText::tr("下の弧") },
        { DiscTextPlace::Custom, UiText::tr("任意") },
    };
    for (const auto &[place, caption] : places) {
        auto *radio = new QRadioButton(caption, m_arcRow);
        radio->setObjectName(QStringLiteral("ArcPlace%1").arg(int(place)));
        radio->setAccessibleDescription(placeCaption);
        m_arcPlace->addButton(radio, int(place));
        row->addWidget(radio);
    }
    m_arcRadius = numberEdit(m_arcRow, "ArcRadius", QStringLiteral("[0-9.]{0,4}"), 4);
    m_arcAngle = numberEdit(m_arcRow, "ArcAngle", QStringLiteral("[-0-9.]{0,6}"), 6);
    m_arcRadius->setAccessibleName(UiText::tr("弧の半径"));
    m_arcAngle->setAccessibleName(UiText::tr("弧の角度"));
    row->addStretch(1);
    row = new QHBoxLayout;
    lines->addLayout(row);
    row->addWidget(makeLabel(UiText::tr("弧の半径"), m_arcRow, m_arcRadius));
    row->addWidget(m_arcRadius);
    row->addWidget(makeLabel(QStringLiteral("mm"), m_arcRow));
    row->addWidget(makeLabel(UiText::tr("弧の角度"), m_arcRow, m_arcAngle));
    row->addWidget(m_arcAngle);
    row->addWidget(makeLabel(QStringLiteral("°"), m_arcRow));
    row->addStretch(1);
    m_arcRow->setVisible(false);

    // idToggled: a radio chosen by any means places the text once.
    connect(m_arcPlace, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && !m_filling)
            m_editor.setArcPlace(DiscTextPlace(id));
        showItem();
    });
    auto commitArc = [this](CommitEdit *edit, bool radius) {
        const TPrintsData *p = m_editor.item();
        if (!p || m_filling)
            return;
        const QString typed = edit->text();
        const std::optional<int> value = radius ? parseDiscRadius(typed) : parseDiscAngle(typed);
        if (!value) {
            if (m_dialogs)
                m_dialogs->showMessage(radius ? invalidDiscRadiusMessage(typed)
                                              : invalidDiscAngleMessage(typed));
            edit->refuse();
        } else if (radius) {
            m_editor.setArc(*value, p->arc.angleTenths);
        } else {
            m_editor.setArc(p->arc.radiusTenths, *value);
        }
        showItem();
    };
    connect(m_arcRadius, &CommitEdit::committed, this,
        [this, commitArc] { commitArc(m_arcRadius, true); });
    connect(m_arcAngle, &CommitEdit::committed, this,
        [this, commitArc] { commitArc(m_arcAngle, false); });
    return m_arcRow;
}

QWidget *TPrintsList::buildGraphicTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("GraphicTab"));
    auto *outer = new QVBoxLayout(tab);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(4);

    auto *fileRow = new QHBoxLayout;
    m_fileName = new QLineEdit(tab);
    m_fileName->setObjectName(QStringLiteral("GraphicFileName"));
    m_fileName->setReadOnly(true);
    QLabel *fileLabel = makeLabel(UiText::tr("ファイル名"), tab, m_fileName);
    m_fileSelect = button(UiText::tr("ファイル選択"), tab, "GraphicFileSelect");
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_fileSelect);
    outer->addLayout(fileRow);

    auto *info = new QGroupBox(UiText::tr("画像情報"), tab);
    info->setObjectName(QStringLiteral("GraphicInfo"));
    auto *infoGrid = new QGridLayout(info);
    infoGrid->setContentsMargins(6, 2, 6, 4);
    m_pixelWidth = valueLabel(info, "GraphicWidth");
    m_pixelHeight = valueLabel(info, "GraphicHeight");
    m_pixelWidthMm = valueLabel(info, "GraphicPWidth");
    m_pixelHeightMm = valueLabel(info, "GraphicPHeight");
    infoGrid->addWidget(makeLabel(UiText::tr("画像ｻｲｽﾞ"), info), 0, 0);
    infoGrid->addWidget(m_pixelWidth, 0, 1);
    infoGrid->addWidget(makeLabel(QStringLiteral("×"), info), 0, 2);
    infoGrid->addWidget(m_pixelHeight, 0, 3);
    infoGrid->addWidget(m_pixelWidthMm, 1, 1);
    infoGrid->addWidget(makeLabel(QStringLiteral("×"), info), 1, 2);
    infoGrid->addWidget(m_pixelHeightMm, 1, 3);
    infoGrid->setColumnStretch(4, 1);
    outer->addWidget(info);

    auto *pset = new QGroupBox(UiText::tr("印刷設定"), tab);
    pset->setObjectName(QStringLiteral("PSet"));
    auto *grid = new QGridLayout(pset);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(2);
    m_width2 = numberEdit(pset, "GraphicWidth2", QStringLiteral("\\d{1,6}"), 6);
    m_height2 = numberEdit(pset, "GraphicHeight2", QStringLiteral("\\d{1,6}"), 6);
    m_posX = numberEdit(pset, "GraphicPosX", QStringLiteral("[-+0-9]\\d{0,5}"), 6);
    m_posY = numberEdit(pset, "GraphicPosY", QStringLiteral("[-+0-9]\\d{0,5}"), 6);
    m_width2Mm = valueLabel(pset, "GraphicPWidth2");
    m_height2Mm = valueLabel(pset, "GraphicPHeight2");
    m_posXMm = valueLabel(pset, "GraphicPPosX");
    m_posYMm = valueLabel(pset, "GraphicPPosY");
    m_keepAspect = new QCheckBox(UiText::tr("縦横比固定"), pset);
    m_keepAspect->setObjectName(QStringLiteral("SizeRateFixed"));
    m_keepAspect->setChecked(true);
    QLabel *sizeLabel = makeLabel(UiText::tr("画像ｻｲｽﾞ"), pset, m_width2);
    QLabel *posLabel = makeLabel(UiText::tr("印刷位置"), pset, m_posX);
    m_height2->setAccessibleName(UiText::tr("画像ｻｲｽﾞ"));
    m_posY->setAccessibleName(UiText::tr("印刷位置"));
    grid->addWidget(sizeLabel, 0, 0);
    grid->addWidget(m_width2, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("×"), pset), 0, 2);
    grid->addWidget(m_height2, 0, 3);
    grid->addWidget(m_keepAspect, 0, 4);
    grid->addWidget(m_width2Mm, 1, 1);
    grid->addWidget(m_height2Mm, 1, 3);
    grid->addWidget(posLabel, 2, 0);
    grid->addWidget(m_posX, 2, 1);
    grid->addWidget(m_posY, 2, 3);
    grid->addWidget(m_posXMm, 3, 1);
    grid->addWidget(m_posYMm, 3, 3);
    grid->setColumnStretch(5, 1);
    outer->addWidget(pset);

    auto *colorRow = new QHBoxLayout;
    m_transparency = new QCheckBox(UiText::tr("透明色"), tab);
    m_transparency->setObjectName(QStringLiteral("Transparency"));
    m_transColor = new ColorSwatch(tab);
    m_transColor->setObjectName(QStringLiteral("TransColor"));
    m_transColor->setAccessibleName(UiText::tr("透明色"));
    m_transColor->setFixedSize(33, 22);
    m_colSelect = button(UiText::tr("色選択"), tab, "ColSelect");
    m_colGet = button(UiText::tr("色取込"), tab, "ColGet");
    colorRow->addWidget(m_transparency);
    colorRow->addWidget(m_transColor);
    colorRow->addWidget(m_colSelect);
    colorRow->addWidget(m_colGet);
    colorRow->addStretch(1);
    outer->addLayout(colorRow);
    outer->addStretch(1);

    connect(m_fileSelect, &QPushButton::clicked, this, &TPrintsList::GraphicFileSelectClick);
    connect(m_width2, &CommitEdit::committed, this, &TPrintsList::GraphicWidth2Exit);
    connect(m_height2, &CommitEdit::committed, this, &TPrintsList::GraphicHeight2Exit);
    connect(m_posX, &CommitEdit::committed, this,
        [this] { commitNumber(m_posX, [this](int v) { m_editor.setPosX(v); }); });
    connect(m_posY, &CommitEdit::committed, this,
        [this] { commitNumber(m_posY, [this](int v) { m_editor.setPosY(v); }); });
    connect(m_transparency, &QCheckBox::toggled, this, &TPrintsList::TransparencyClick);
    connect(m_colSelect, &QPushButton::clicked, this, &TPrintsList::ColSelectClick);
    connect(m_transColor, &ColorSwatch::pressed, this, [this] {
        if (m_colSelect->isEnabled())
            ColSelectClick();
    });
    connect(m_colGet, &QPushButton::clicked, this, &TPrintsList::ColGetClick);

    m_itemControls << fileLabel << m_fileName << m_fileSelect << info << pset << m_transparency;
    return tab;
}

QWidget *TPrintsList::buildBlockTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("BlockTab"));
    auto *grid = new QGridLayout(tab);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(4);

    m_blockText = new QPlainTextEdit(tab);
    m_blockText->setObjectName(QStringLiteral("BlockText"));
    // Enter makes a new line; Tab goes on to the next field.
    m_blockText->setTabChangesFocus(true);
    m_blockText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_blockText->setMinimumHeight(90);
    m_blockText->installEventFilter(this);
    m_blockX = numberEdit(tab, "BlockX", QStringLiteral("\\d{1,3}"), 3);
    m_blockY = numberEdit(tab, "BlockY", QStringLiteral("\\d{1,3}"), 3);
    m_blockWidth = numberEdit(tab, "BlockWidth", QStringLiteral("\\d{1,3}"), 3);
    m_blockHeight = numberEdit(tab, "BlockHeight", QStringLiteral("\\d{1,3}"), 3);
    // Made in reading order, which is the order Tab visits them.
    m_blockAlign = new QComboBox(tab);
    m_blockAlign->setObjectName(QStringLiteral("BlockAlign"));
    m_blockAlign->addItems({ UiText::tr("左揃え"), UiText::tr("中央揃え"), UiText::tr("右揃え") });
    m_lineSpacing = numberEdit(tab, "LineSpacing", QStringLiteral("\\d{1,3}"), 3);
    m_blockFont = button(UiText::tr("フォント"), tab, "BlockFontSelect");
    m_blockRead = button(UiText::tr("ファイルから読み込む..."), tab, "BlockFileRead");
    m_blockCut = new QLabel(tab);
    m_blockCut->setObjectName(QStringLiteral("BlockCut"));

    QLabel *content = makeLabel(UiText::tr("内容"), tab, m_blockText);
    QLabel *xLabel = makeLabel(UiText::tr("横"), tab, m_blockX);
    QLabel *yLabel = makeLabel(UiText::tr("縦"), tab, m_blockY);
    QLabel *wLabel = makeLabel(UiText::tr("幅"), tab, m_blockWidth);
    QLabel *hLabel = makeLabel(UiText::tr("高さ"), tab, m_blockHeight);
    QLabel *alignLabel = makeLabel(UiText::tr("配置"), tab, m_blockAlign);
    QLabel *spacingLabel = makeLabel(UiText::tr("行間"), tab, m_lineSpacing);
    // A list reads as the entry it shows; what it is for is its hint.
    m_blockAlign->setToolTip(alignLabel->text());
    grid->addWidget(content, 0, 0, Qt::AlignTop);
    grid->addWidget(m_blockText, 0, 1, 1, 7);
    grid->addWidget(xLabel, 1, 0);
    grid->addWidget(m_blockX, 1, 1);
    grid->addWidget(makeLabel(QStringLiteral("mm"), tab), 1, 2);
    grid->addWidget(yLabel, 1, 3);
    grid->addWidget(m_blockY, 1, 4);
    grid->addWidget(makeLabel(QStringLiteral("mm"), tab), 1, 5);
    grid->addWidget(wLabel, 2, 0);
    grid->addWidget(m_blockWidth, 2, 1);
    grid->addWidget(makeLabel(QStringLiteral("mm"), tab), 2, 2);
    grid->addWidget(hLabel, 2, 3);
    grid->addWidget(m_blockHeight, 2, 4);
    grid->addWidget(makeLabel(QStringLiteral("mm"), tab), 2, 5);
    grid->addWidget(alignLabel, 3, 0);
    grid->addWidget(m_blockAlign, 3, 1, 1, 2);
    grid->addWidget(spacingLabel, 3, 3);
    grid->addWidget(m_lineSpacing, 3, 4);
    grid->addWidget(makeLabel(QStringLiteral("%"), tab), 3, 5);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_blockFont);
    buttons->addWidget(m_blockRead);
    buttons->addStretch(1);
    grid->addLayout(buttons, 4, 0, 1, 8);
    grid->addWidget(m_blockCut, 5, 0, 1, 8);
    grid->setColumnStretch(7, 1);
    grid->setRowStretch(0, 1);

    connect(m_blockText, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            showBlockCut();
    });
    connect(m_blockX, &CommitEdit::committed, this,
        [this] { commitNumber(m_blockX, [this](int v) { m_editor.setTextX(v); }); });
    connect(m_blockY, &CommitEdit::committed, this,
        [this] { commitNumber(m_blockY, [this](int v) { m_editor.setTextY(v); }); });
    connect(m_blockWidth, &CommitEdit::committed, this,
        [this] { commitNumber(m_blockWidth, [this](int v) { m_editor.setBlockWidth(v); }); });
    connect(m_blockHeight, &CommitEdit::committed, this,
        [this] { commitNumber(m_blockHeight, [this](int v) { m_editor.setBlockHeight(v); }); });
    connect(m_lineSpacing, &CommitEdit::committed, this,
        [this] { commitNumber(m_lineSpacing, [this](int v) { m_editor.setLineSpacing(v); }); });
    // Every way the list changes (mouse, keys, accessibility) reports it.
    connect(m_blockAlign, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || index < 0)
            return;
        m_editor.setBlockAlign(index);
        showItem();
    });
    connect(m_blockFont, &QPushButton::clicked, this, &TPrintsList::FontSelectClick);
    connect(m_blockRead, &QPushButton::clicked, this, &TPrintsList::BlockFileReadClick);

    m_itemControls << content << m_blockText << xLabel << m_blockX << yLabel << m_blockY << wLabel
                   << m_blockWidth << hLabel << m_blockHeight << alignLabel << m_blockAlign
                   << spacingLabel << m_lineSpacing << m_blockFont << m_blockRead;
    return tab;
}

QWidget *TPrintsList::buildCommands()
{
    auto *box = new QGroupBox(UiText::tr("項目編集"), this);
    box->setObjectName(QStringLiteral("ListEdit"));
    auto *row = new QHBoxLayout(box);
    m_new = button(UiText::tr("新規"), box, "ListNew");
    m_add = button(UiText::tr("追加"), box, "ListAdd");
    m_delete = button(UiText::tr("削除"), box, "ListDelete");
    row->addWidget(m_new);
    row->addWidget(m_add);
    row->addWidget(m_delete);
    connect(m_new, &QPushButton::clicked, this, &TPrintsList::ListNewClick);
    connect(m_add, &QPushButton::clicked, this, &TPrintsList::ListAddClick);
    connect(m_delete, &QPushButton::clicked, this, &TPrintsList::ListDeleteClick);
    m_itemControls << m_add << m_delete;
    return box;
}

QWidget *TPrintsList::buildPaperInfo()
{
    auto *box = new QGroupBox(UiText::tr("用紙情報"), this);
    box->setObjectName(QStringLiteral("PInfo"));
    auto *grid = new QGridLayout(box);
    m_paperWidthMm = valueLabel(box, "PWidthMm");
    m_paperHeightMm = valueLabel(box, "PHeightMm");
    m_paperWidthPx = valueLabel(box, "PWidth");
    m_paperHeightPx = valueLabel(box, "PHeight");
    grid->addWidget(m_paperWidthMm, 0, 0);
    grid->addWidget(makeLabel(QStringLiteral("×"), box), 0, 1);
    grid->addWidget(m_paperHeightMm, 0, 2);
    grid->addWidget(m_paperWidthPx, 1, 0);
    grid->addWidget(makeLabel(QStringLiteral("×"), box), 1, 1);
    grid->addWidget(m_paperHeightPx, 1, 2);
    grid->addWidget(makeLabel(UiText::tr("ﾋﾟｸｾﾙ"), box), 1, 3);
    return box;
}

void TPrintsList::setServices(UserDialogs *dialogs, ProgressSink *progress,
    PreviewRefresher *refresher, std::function<void()> showPreview)
{
    m_dialogs = dialogs;
    m_progress = progress;
    m_editor.setRefresher(refresher);
    m_showPreview = std::move(showPreview);
}

void TPrintsList::openFor(int list)
{
    m_editor.open(PrintsList(std::clamp(list, 0, kMaxPrintsLists - 1)));
    m_arcRow->setVisible(m_editor.which() == PrintsList::Disc);
    // A booklet page's list says which page it is.
    const int page = pageOfPrintsList(m_editor.which());
    setWindowTitle(page ? QStringLiteral("Casewright [PrintsList] - %1").arg(bookletPageName(page))
                        : QStringLiteral("Casewright [PrintsList]"));
    const PrintsPaperInfo paper
        = printsPaperInfo(m_editor.which(), m_document.dpiX, m_document.dpiY);
    m_paperWidthMm->setText(paper.widthMm);
    m_paperHeightMm->setText(paper.heightMm);
    m_paperWidthPx->setText(QString::number(paper.widthPx));
    m_paperHeightPx->setText(QString::number(paper.heightPx));
    showItem();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

void TPrintsList::documentRestored(const HistoryChange &change)
{
    if (std::any_of(change.prints.begin(), change.prints.end(), [](bool b) { return b; })
        || change.resolution || change.booklet) {
        m_editor.listsRestored();
        showItem();
    }
}

void TPrintsList::done(int result)
{
    // "閉じる", Escape and the frame's close button all end here: the field
    // being edited is taken as leaving it would take it, and a text that is
    // no number keeps the editor open.
    if (!CommitEdit::commitFocused(this))
        return;
    if (m_blockText->hasFocus())
        commitBlockText();
    QDialog::done(result);
    Q_EMIT closed();
}

void TPrintsList::showSelectionInList()
{
    const bool was = m_filling;
    m_filling = true;
    const int row = m_editor.selected();
    if (row < 0) {
        m_view->selectionModel()->clear();
    } else {
        const QModelIndex index = m_editor.model().index(row);
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_view->scrollTo(index);
    }
    m_filling = was;
}

void TPrintsList::showPictureNumbers(const TPrintsData &p)
{
    const int dx = m_document.dpiX, dy = m_document.dpiY;
    m_pixelWidth->setText(QString::number(p.pixelWidth));
    m_pixelHeight->setText(QString::number(p.pixelHeight));
    m_pixelWidthMm->setText(printsMmX(p.pixelWidth, dx));
    m_pixelHeightMm->setText(printsMmY(p.pixelHeight, dy));
    setEditText(m_width2, QString::number(p.printWidth));
    setEditText(m_height2, QString::number(p.printHeight));
    m_width2Mm->setText(printsMmX(p.printWidth, dx));
    m_height2Mm->setText(printsMmY(p.printHeight, dy));
    setEditText(m_posX, QString::number(p.posX));
    setEditText(m_posY, QString::number(p.posY));
    m_posXMm->setText(printsMmX(p.posX, dx));
    m_posYMm->setText(printsMmY(p.posY, dy));
}

void TPrintsList::showItem()
{
    const bool was = m_filling;
    m_filling = true;
    showSelectionInList();
    if (const TPrintsData *p = m_editor.item()) {
        m_tabs->setCurrentIndex(p->kind == PrintsPicture ? 1 : p->kind == PrintsTextBlock ? 2 : 0);
        setEditText(m_text, p->kind == PrintsTextBlock ? QString() : p->text);
        m_text->setFont(printsContentFont(*p).resolve(font()));
        setEditText(m_textX, QString::number(p->textX));
        setEditText(m_textY, QString::number(p->textY));
        setEditText(m_fontRot, QString::number(p->angle));
        if (QAbstractButton *radio = m_arcPlace->button(int(p->arc.place)))
            setCheckedQuietly(radio, true);
        setEditText(m_arcRadius, formatDiscRadius(p->arc.radiusTenths));
        setEditText(m_arcAngle, formatDiscAngle(p->arc.angleTenths));
        setEditText(m_fileName, p->fileName);
        showPictureNumbers(*p);
        setCheckedQuietly(m_transparency, p->transparent);
        m_transColor->setColor(p->transColor);
        const bool block = p->kind == PrintsTextBlock;
        if (m_blockText->toPlainText() != (block ? p->text : QString()))
            m_blockText->setPlainText(block ? p->text : QString());
        m_blockText->setFont(printsContentFont(*p).resolve(font()));
        setEditText(m_blockX, QString::number(p->textX));
        setEditText(m_blockY, QString::number(p->textY));
        setEditText(m_blockWidth, QString::number(p->blockWidth));
        setEditText(m_blockHeight, QString::number(p->blockHeight));
        setEditText(m_lineSpacing, QString::number(p->lineSpacing));
        m_blockAlign->setCurrentIndex(std::clamp(p->blockAlign, 0, 2));
    } else {
        m_blockText->clear();
        for (QLineEdit *e : { m_blockX, m_blockY, m_blockWidth, m_blockHeight, m_lineSpacing })
            setEditText(e, QStringLiteral("0"));
        m_blockAlign->setCurrentIndex(0);
        m_text->clear();
        m_text->setFont(font());
        m_fileName->clear();
        m_fontRot->clear();
        for (QLineEdit *e : { m_textX, m_textY, m_width2, m_height2, m_posX, m_posY })
            setEditText(e, QStringLiteral("0"));
        for (QLabel *l : { m_pixelWidth, m_pixelHeight, m_pixelWidthMm, m_pixelHeightMm,
                 m_width2Mm, m_height2Mm, m_posXMm, m_posYMm })
            l->clear();
        setCheckedQuietly(m_transparency, false);
    }
    showBlockCut();
    applyEnabled();
    m_filling = was;
}

void TPrintsList::applyEnabled()
{
    const PrintsEditorState s = m_editor.state();
    for (QWidget *w : std::as_const(m_itemControls))
        w->setEnabled(s.hasSelection);
    m_transColor->setEnabled(s.colorControls);
    m_colSelect->setEnabled(s.colorControls);
    m_colGet->setEnabled(s.colorControls);
    // The arc row serves the disc's text items; radius and angle an arc.
    const TPrintsData *p = m_editor.item();
    const bool text = p && p->kind == PrintsText;
    const bool arc = text && p->arc.place != DiscTextPlace::Custom;
    for (QAbstractButton *radio : m_arcPlace->buttons())
        radio->setEnabled(text);
    m_arcRadius->setEnabled(arc);
    m_arcAngle->setEnabled(arc);
}

void TPrintsList::commitNumber(CommitEdit *edit, const std::function<void(int)> &set)
{
    if (!m_editor.item())
        return;
    NullMessageSink silent;
    MessageSink &messages = m_dialogs ? static_cast<MessageSink &>(*m_dialogs) : silent;
    const std::optional<int> value = takeTypedInt(edit->text(), messages);
    if (!value) {
        // The stored value is shown again.
        edit->refuse();
        edit->clear();
        showItem();
        return;
    }
    set(*value);
    // The fields show what the item now holds (an angle of 400 is kept as
    // 40, a size may have moved the other side with it).
    showItem();
}

// The row commands change the list with the view's own selection moves
// ignored (a single-selection view selects a neighbour of a row being
// removed): the command acts on the item the user chose, and showItem()
// shows the editor's selection after it.

void TPrintsList::ListNewClick()
{
    const QScopedValueRollback<bool> quiet(m_filling, true);
    m_editor.newItem(kindOfTab(m_tabs->currentIndex()));
    showItem();
}

void TPrintsList::ListAddClick()
{
    const QScopedValueRollback<bool> quiet(m_filling, true);
    if (m_editor.addItem(kindOfTab(m_tabs->currentIndex())))
        showItem();
}

void TPrintsList::ListDeleteClick()
{
    const QScopedValueRollback<bool> quiet(m_filling, true);
    if (m_editor.deleteItem())
        showItem();
}

void TPrintsList::tabChanged(int index)
{
    if (m_filling)
        return;
    m_editor.setKind(kindOfTab(index));
    showItem();
}

void TPrintsList::FontSelectClick()
{
    const TPrintsData *p = m_editor.item();
    if (!p || !m_dialogs)
        return;
    if (const std::optional<FontSpec> font = m_dialogs->chooseFont(p->font)) {
        m_editor.setFont(*font);
        showItem();
    }
}

void TPrintsList::DefaultFontSelectClick()
{
    if (!m_dialogs)
        return;
    if (const std::optional<FontSpec> font = m_dialogs->chooseFont(m_editor.defaultTextFont()))
        m_editor.setDefaultTextFont(*font);
}

void TPrintsList::GraphicFileSelectClick()
{
    const TPrintsData *p = m_editor.item();
    if (!p || !m_dialogs)
        return;
    const QString path = m_dialogs->openPicture(
        pictureOpenDialogFilter(), pictureStartFolder(p->fileName, m_document.fileName));
    if (path.isEmpty())
        return;
    NullProgressSink noProgress;
    m_editor.loadPicture(path, *m_dialogs, m_progress ? *m_progress : noProgress);
    showItem();
}

void TPrintsList::GraphicWidth2Exit()
{
    commitNumber(m_width2, [this](int v) { m_editor.setPrintWidth(v, m_keepAspect->isChecked()); });
}

void TPrintsList::GraphicHeight2Exit()
{
    commitNumber(
        m_height2, [this](int v) { m_editor.setPrintHeight(v, m_keepAspect->isChecked()); });
}

void TPrintsList::TransparencyClick(bool on)
{
    m_editor.setTransparent(on);
    // Without an item the box shows what the document holds: off.
    const TPrintsData *p = m_editor.item();
    setCheckedQuietly(m_transparency, p && p->transparent);
    applyEnabled();
}

void TPrintsList::ColSelectClick()
{
    const TPrintsData *p = m_editor.item();
    if (!p || !m_dialogs)
        return;
    if (const std::optional<ColorRef> color = m_dialogs->chooseColor(p->transColor)) {
        m_editor.setTransColor(*color);
        m_transColor->setColor(*color);
    }
}

void TPrintsList::ColGetClick()
{
    if (!m_editor.item() || !m_dialogs)
        return;
    // The picture read again and the colour picked from it are one step.
    EditStep step(
        m_editor.recorder(), m_editor.stepName(UiText::tr("色取込")), EditParts::PrintItems);
    const QImage picture = m_editor.pictureForColorPick(*m_dialogs);
    if (picture.isNull())
        return;
    if (const std::optional<ColorRef> color = m_dialogs->pickTransparentColor(picture)) {
        m_editor.setTransColor(*color);
        m_transColor->setColor(*color);
    }
}

bool TPrintsList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_blockText && event->type() == QEvent::FocusOut)
        commitBlockText();
    return QDialog::eventFilter(watched, event);
}

void TPrintsList::commitBlockText()
{
    const TPrintsData *p = m_editor.item();
    if (m_filling || !p || p->kind != PrintsTextBlock)
        return;
    m_editor.setText(m_blockText->toPlainText());
    showBlockCut();
}

void TPrintsList::showBlockCut()
{
    const TPrintsData *p = m_editor.item();
    if (!p || p->kind != PrintsTextBlock) {
        m_blockCut->clear();
        return;
    }
    // What the editor holds, before it is taken, laid out as it will print.
    const TextBlockLayout layout
        = layoutTextBlock(blockText(m_blockText->toPlainText()), p->font, p->blockWidth,
            p->blockHeight, p->lineSpacing, m_document.dpiX, m_document.dpiY);
    m_blockCut->setText(cutLinesMessage(layout.cut()));
}

void TPrintsList::BlockFileReadClick()
{
    const TPrintsData *p = m_editor.item();
    if (!p || p->kind != PrintsTextBlock || !m_dialogs)
        return;
    const QString path = m_dialogs->openFile(UiText::tr(kBlockFileFilter), QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    m_editor.readBlockText(path, *m_dialogs);
    showItem();
}

} // namespace cw
