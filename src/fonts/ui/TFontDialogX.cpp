#include "fonts/ui/TFontDialogX.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

#include "base/UiText.h"
#include "fonts/FontQt.h"
#include "widgets/QuietChecks.h"

namespace cw {

namespace {

constexpr int kClientWidth = 471;
constexpr int kClientHeight = 275;
constexpr int kFontRowHeight = 12;

void name(QWidget *w, const char *objectName, const QString &caption)
{
    w->setObjectName(QLatin1String(objectName));
    w->setAccessibleName(caption);
}

QLabel *label(QWidget *parent, const char *objectName, const QString &caption, QWidget *buddy,
    const QRect &geometry)
{
    auto *l = new QLabel(caption, parent);
    name(l, objectName, caption);
    l->setBuddy(buddy);
    l->setGeometry(geometry);
    buddy->setAccessibleName(caption);
    return l;
}

} // namespace

// Family rows: the TrueType mark at (left + 3, top), the name at (left + 21, top).
class FontBoxDelegate : public QStyledItemDelegate
{
public:
    FontBoxDelegate(TFontDialogX *dialog)
        : QStyledItemDelegate(dialog)
        , m_dialog(dialog)
    { }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        p->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        const int row = index.row();
        const QList<FontFamilyEntry> &families = m_dialog->m_model.families();
        if (row >= 0 && row < families.size() && families[row].trueType)
            p->drawPixmap(option.rect.left() + 3, option.rect.top(),
                selected ? m_dialog->m_markSelected : m_dialog->m_markNormal);
        p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        p->setFont(option.font);
        const QRect text(option.rect.left() + 21, option.rect.top(), option.rect.width() - 21,
            option.rect.height());
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            index.data(Qt::DisplayRole).toString());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 21, kFontRowHeight);
    }

private:
    TFontDialogX *m_dialog;
};

// Colour rows: the caption at (left + 26, top), the swatch from
// (left + 1, top + 1) to (left + 24, bottom - 1).
class ColorBoxDelegate : public QStyledItemDelegate
{
public:
    ColorBoxDelegate(TFontDialogX *dialog)
        : QStyledItemDelegate(dialog)
        , m_dialog(dialog)
    { }

    static void drawRow(QPainter *p, const QRect &r, const QString &caption, ColorRef color,
        bool selected, const QPalette &pal)
    {
        p->fillRect(r, selected ? pal.highlight() : pal.base());
        p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        p->drawText(QRect(r.left() + 26, r.top(), r.width() - 26, r.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
        const QRect swatch(QPoint(r.left() + 1, r.top() + 1), QPoint(r.left() + 24, r.bottom() - 1));
        p->fillRect(swatch, resolveColor(color));
        p->setPen(pal.text().color());
        p->drawRect(swatch.adjusted(0, 0, -1, -1));
    }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        drawRow(p, option.rect, index.data(Qt::DisplayRole).toString(),
            m_dialog->m_model.rowColor(index.row()), option.state & QStyle::State_Selected,
            option.palette);
    }

private:
    TFontDialogX *m_dialog;
};

namespace {

// The colour drop-down shows its current row the way its list draws it.
class ColorCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<ColorRef(int)> rowColor;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QComboBox::paintEvent(event);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        QPainter p(this);
        ColorBoxDelegate::drawRow(&p, field, currentText(), rowColor ? rowColor(currentIndex()) : 0,
            hasFocus(), palette());
    }
};

} // namespace

TFontDialogX::TFontDialogX(const QList<FontFamilyEntry> &families, const FontSpec &font, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
              | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , m_model(families, font)
    , m_working(font)
{
    setObjectName(QStringLiteral("FontDialogX"));
    setWindowTitle(UiText::tr("ﾌｫﾝﾄの指定"));
    setAccessibleName(windowTitle());
    setFixedSize(kClientWidth, kClientHeight);
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);

    m_markNormal = QPixmap::fromImage(trueTypeMark(palette().color(QPalette::Base)));
    m_markSelected = QPixmap::fromImage(trueTypeMark(palette().color(QPalette::Highlight)));
    chooseCustomColor = [this](ColorRef start) -> std::optional<ColorRef> {
        const QColor c = QColorDialog::getColor(resolveColor(start), this);
        if (!c.isValid())
            return std::nullopt;
        return toColorRef(c);
    };

    // Family, style and size columns.
    FontNameEdit = new QLineEdit(this);
    name(FontNameEdit, "FontNameEdit", QString());
    FontNameEdit->setReadOnly(true);
    FontNameEdit->setGeometry(8, 22, 165, 20);
    Label1 = label(this, "Label1", UiText::tr("ﾌｫﾝﾄ名(&F):"), FontNameEdit, QRect(8, 5, 165, 16));
    FontBox = new QListWidget(this);
    name(FontBox, "FontBox", Label1->text());
    FontBox->setGeometry(8, 44, 165, 120);
    FontBox->setUniformItemSizes(true);
    FontBox->setItemDelegate(new FontBoxDelegate(this));

    StyleEdit = new QLineEdit(this);
    name(StyleEdit, "StyleEdit", QString());
    StyleEdit->setReadOnly(true);
    StyleEdit->setGeometry(181, 22, 110, 20);
    Label2 = label(this, "Label2", UiText::tr("ｽﾀｲﾙ(&Y):"), StyleEdit, QRect(181, 5, 110, 16));
    StyleBox = new QListWidget(this);
    name(StyleBox, "StyleBox", Label2->text());
    StyleBox->setGeometry(181, 44, 110, 120);
    StyleBox->addItems(fontStyleNames());

    SizeEdit = new QLineEdit(this);
    name(SizeEdit, "SizeEdit", QString());
    SizeEdit->setGeometry(299, 22, 64, 20);
    Label3 = label(this, "Label3", UiText::tr("ｻｲｽﾞ(&S):"), SizeEdit, QRect(299, 5, 64, 16));
    SizeBox = new QListWidget(this);
    name(SizeBox, "SizeBox", Label3->text());
    SizeBox->setGeometry(299, 44, 64, 120);

    OK = new QPushButton(QStringLiteral("OK"), this);
    name(OK, "OK", OK->text());
    OK->setGeometry(379, 22, 84, 24);
    OK->setDefault(true);
    Cancel = new QPushButton(UiText::tr("ｷｬﾝｾﾙ"), this);
    name(Cancel, "Cancel", Cancel->text());
    Cancel->setGeometry(379, 52, 84, 24);

    // Decorations and colour.
    GroupBox1 = new QGroupBox(UiText::tr("文字飾り"), this);
    name(GroupBox1, "GroupBox1", GroupBox1->title());
    GroupBox1->setGeometry(8, 170, 165, 97);
    EraseCheck = new QCheckBox(UiText::tr("取り消し線(&K)"), GroupBox1);
    name(EraseCheck, "EraseCheck", EraseCheck->text());
    EraseCheck->setGeometry(10, 20, 150, 18);
    UnderlineCheck = new QCheckBox(UiText::tr("下線(&U)"), GroupBox1);
    name(UnderlineCheck, "UnderlineCheck", UnderlineCheck->text());
    UnderlineCheck->setGeometry(10, 39, 150, 18);
    auto *colors = new ColorCombo(GroupBox1);
    colors->rowColor = [this](int row) { return m_model.rowColor(row); };
    ColorBox = colors;
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    ColorBox->setGeometry(10, 72, 145, 20);
    ColorBox->setItemDelegate(new ColorBoxDelegate(this));
    for (int row = 0; row <= kCustomColorRow; ++row)
        ColorBox->addItem(fontColorCaption(row));
    Label4 = label(GroupBox1, "Label4", UiText::tr("色(&C):"), ColorBox, QRect(10, 57, 145, 15));

    // Preview and character set.
    GroupBox2 = new QGroupBox(UiText::tr("ﾌﾟﾚﾋﾞｭｰ(&P)"), this);
    name(GroupBox2, "GroupBox2", GroupBox2->title());
    GroupBox2->setGeometry(181, 170, 282, 66);
    Preview = new QLineEdit(GroupBox2);
    name(Preview, "Preview", GroupBox2->title());
    Preview->setGeometry(15, 15, 252, 46);
    KindBox = new QComboBox(this);
    KindBox->setObjectName(QStringLiteral("KindBox"));
    KindBox->setMaxVisibleItems(5);
    // A list under the field, so that the style keeps to five rows rather
    // than placing every row over the field.
    KindBox->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    KindBox->setGeometry(283, 243, 180, 22);
    Label5
        = label(this, "Label5", UiText::tr("書体の種類(&R):"), KindBox, QRect(181, 246, 100, 16));

    setTabOrder(FontNameEdit, FontBox);
    setTabOrder(FontBox, StyleEdit);
    setTabOrder(StyleEdit, StyleBox);
    setTabOrder(StyleBox, SizeEdit);
    setTabOrder(SizeEdit, SizeBox);
    setTabOrder(SizeBox, OK);
    setTabOrder(OK, Cancel);
    setTabOrder(Cancel, EraseCheck);
    setTabOrder(EraseCheck, UnderlineCheck);
    setTabOrder(UnderlineCheck, ColorBox);
    setTabOrder(ColorBox, Preview);
    setTabOrder(Preview, KindBox);

    for (const FontFamilyEntry &family : m_model.families())
        FontBox->addItem(family.name);

    FormShow();

    connect(FontBox, &QListWidget::currentRowChanged, this, &TFontDialogX::FontBoxClick);
    connect(KindBox, &QComboBox::activated, this, &TFontDialogX::KindBoxChange);
    connect(StyleBox, &QListWidget::currentRowChanged, this, &TFontDialogX::StyleBoxClick);
    connect(SizeBox, &QListWidget::currentRowChanged, this, &TFontDialogX::SizeBoxClick);
    connect(SizeEdit, &QLineEdit::textChanged, this, &TFontDialogX::SizeEditChange);
    connect(ColorBox, &QComboBox::activated, this, &TFontDialogX::ColorBoxChange);
    connect(EraseCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setStrikeOut(on);
        showPreview();
    });
    connect(UnderlineCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setUnderline(on);
        showPreview();
    });
    connect(OK, &QPushButton::clicked, this, &TFontDialogX::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFontDialogX::FormShow()
{
    m_updating = true;
    setCheckedQuietly(EraseCheck, m_model.preview().strikeOut);
    setCheckedQuietly(UnderlineCheck, m_model.preview().underline);
    StyleBox->setCurrentRow(m_model.styleIndex());
    StyleEdit->setText(fontStyleNames().value(m_model.styleIndex()));
    SizeEdit->setText(m_model.sizeText());
    showColors();
    m_updating = false;
    showFamilyChoice();
    if (QListWidgetItem *item = FontBox->item(m_model.familyRow()))
        FontBox->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

void TFontDialogX::showFamilyChoice()
{
    m_updating = true;
    FontBox->setCurrentRow(m_model.familyRow());
    KindBox->clear();
    KindBox->addItems(m_model.kindNames());
    KindBox->setCurrentIndex(m_model.kindRow());
    SizeBox->clear();
    SizeBox->addItems(m_model.sizeTexts());
    FontNameEdit->setText(m_model.faceName());
    m_updating = false;
    selectSizeRow(true);
    showPreview();
}

void TFontDialogX::selectSizeRow(bool scroll)
{
    m_updating = true;
    SizeBox->setCurrentRow(m_model.sizeRow());
    if (m_model.sizeRow() < 0)
        SizeBox->clearSelection();
    else if (scroll)
        SizeBox->scrollToItem(SizeBox->item(m_model.sizeRow()), QAbstractItemView::PositionAtTop);
    m_updating = false;
}

void TFontDialogX::showPreview()
{
    const FontSpec &f = m_model.preview();
    QFont font = Preview->font();
    applyFontSpec(f, font);
    Preview->setFont(font);
    QPalette pal = Preview->palette();
    pal.setColor(QPalette::Text, resolveColor(f.color));
    Preview->setPalette(pal);
}

void TFontDialogX::showColors()
{
    ColorBox->setCurrentIndex(m_model.colorRow());
    ColorBox->update();
}

void TFontDialogX::FontBoxClick(int row)
{
    if (m_updating || row < 0)
        return;
    m_model.chooseFamily(row);
    showFamilyChoice();
}

void TFontDialogX::KindBoxChange(int row)
{
    if (m_updating)
        return;
    m_model.chooseKind(row);
    showFamilyChoice();
}

void TFontDialogX::StyleBoxClick(int row)
{
    if (m_updating || row < 0)
        return;
    m_model.chooseStyle(row);
    StyleEdit->setText(fontStyleNames().value(row));
    showPreview();
}

void TFontDialogX::SizeBoxClick(int row)
{
    if (m_updating || row < 0)
        return;
    m_sizeClick = true;
    SizeEdit->setText(m_model.sizeTexts().value(row));
    m_sizeClick = false;
}

void TFontDialogX::SizeEditChange(const QString &text)
{
    if (m_updating)
        return;
    m_model.setSizeText(text);
    selectSizeRow(!m_sizeClick);
    showPreview();
}

void TFontDialogX::ColorBoxChange(int row)
{
    if (row == kCustomColorRow && chooseCustomColor) {
        if (std::optional<ColorRef> c = chooseCustomColor(m_model.customColor()))
            m_model.setCustomColor(*c);
    }
    m_model.chooseColorRow(row);
    showColors();
    showPreview();
}

void TFontDialogX::OKClick()
{
    m_working = m_model.preview();
    accept();
}

} // namespace cw
