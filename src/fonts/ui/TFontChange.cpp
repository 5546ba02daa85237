#include "fonts/ui/TFontChange.h"
#include "base/UiText.h"

#include <QCheckBox>
#include <QPushButton>

namespace cw {

namespace {

constexpr int kClientWidth = 248;
constexpr int kClientHeight = 111;

template <class W> W *control(QWidget *parent, const char *objectName, const QString &caption, const QRect &geometry)
{
    auto *w = new W(caption, parent);
    w->setObjectName(QLatin1String(objectName));
    w->setAccessibleName(caption);
    w->setGeometry(geometry);
    return w;
}

} // namespace

TFontChange::TFontChange(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
              | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("FontChange"));
    setWindowTitle(UiText::tr("一括フォント変更"));
    setAccessibleName(windowTitle());
    setFixedSize(kClientWidth, kClientHeight);
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);

    ChangeFont
        = control<QCheckBox>(this, "ChangeFont", UiText::tr("フォント変更"), QRect(10, 8, 110, 18));
    ChangeSize
        = control<QCheckBox>(this, "ChangeSize", UiText::tr("サイズ変更"), QRect(10, 28, 110, 18));
    ChangeColor
        = control<QCheckBox>(this, "ChangeColor", UiText::tr("色変更"), QRect(10, 48, 110, 18));
    ChangeStyle = control<QCheckBox>(
        this, "ChangeStyle", UiText::tr("スタイル変更"), QRect(124, 8, 118, 18));
    ChangeStyle2 = control<QCheckBox>(
        this, "ChangeStyle2", UiText::tr("文字飾り変更"), QRect(124, 28, 118, 18));
    ChangeDefault = control<QCheckBox>(
        this, "ChangeDefault", UiText::tr("ﾃﾞﾌｫﾙﾄﾌｫﾝﾄに適用"), QRect(124, 48, 118, 18));
    for (QCheckBox *box : { ChangeFont, ChangeSize, ChangeColor, ChangeStyle, ChangeStyle2, ChangeDefault })
        box->setChecked(true);

    FontSet = control<QPushButton>(this, "FontSet", UiText::tr("フォント"), QRect(8, 78, 72, 24));
    Change = control<QPushButton>(this, "Change", UiText::tr("変更"), QRect(88, 78, 72, 24));
    Cancel = control<QPushButton>(this, "Cancel", UiText::tr("キャンセル"), QRect(168, 78, 72, 24));
    // Enter cancels unless another button has the focus.
    FontSet->setAutoDefault(false);
    Change->setAutoDefault(false);
    Cancel->setDefault(true);

    connect(FontSet, &QPushButton::clicked, this, &TFontChange::FontSetClick);
    connect(Change, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

BulkFontChangeSwitches TFontChange::switches() const
{
    BulkFontChangeSwitches s;
    s.changeFont = ChangeFont->isChecked();
    s.changeSize = ChangeSize->isChecked();
    s.changeColor = ChangeColor->isChecked();
    s.changeStyle = ChangeStyle->isChecked();
    s.changeDecoration = ChangeStyle2->isChecked();
    s.changeDefault = ChangeDefault->isChecked();
    return s;
}

bool TFontChange::run(QWidget *owner)
{
    m_owner = owner;
    ChangeFont->setFocus();
    return exec() == QDialog::Accepted;
}

void TFontChange::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFontChange::FormShow()
{
    QWidget *owner = m_owner ? m_owner : parentWidget();
    if (owner)
        move(centredOver(owner->window()->frameGeometry(), frameGeometry().size()));
}

void TFontChange::FontSetClick()
{
    // The window stays open whatever the dialog ends with.
    Font.Execute(this);
}

} // namespace cw
