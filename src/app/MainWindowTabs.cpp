// The five tabs of the main window: building the controls and binding each
// control event to its document operation.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>

#include "app/CaseTypePanel.h"
#include "app/PicturePanel.h"
#include "app/PrintCorrectionPanel.h"
#include "app/TMainWindow.h"
#include "base/UiText.h"
#include "document/OptionSettings.h"
#include "pictures/PictureDialogRules.h"
#include "pictures/PictureLoading.h"
#include "prints/PrintsItems.h"
#include "tracklist/ListLayoutRules.h"
#include "text/TypedNumber.h"
#include "text/ui/UnicodeMark.h"
#include "widgets/ColorSwatch.h"
#include "widgets/CommitEdit.h"
#include "widgets/EnglishSizes.h"
#include "widgets/QuietChecks.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

QString prefixed(Surface s, const char *part)
{
    return surfacePrefix(s) + QLatin1String(part);
}

QGroupBox *group(const QString &title, QWidget *parent, const QString &name = QString())
{
    auto *box = new QGroupBox(title, parent);
    if (!name.isEmpty())
        box->setObjectName(name);
    return box;
}

QCheckBox *checkBox(const QString &text, QWidget *parent, const QString &name)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QLabel *label(const QString &text, QWidget *parent, const QString &name = QString())
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

// A custom-position or offset edit: one to three digits ("099").
CommitEdit *millimetreEdit(QWidget *parent, const QString &name)
{
    auto *edit = new CommitEdit(parent);
    edit->setObjectName(name);
    edit->setMask(QStringLiteral("\\d{1,3}"));
    edit->setMaxLength(3);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(34);
    // The document takes what is typed at once.
    edit->setTakesEveryKeystroke(true);
    return edit;
}

} // namespace

QWidget *TMainWindow::buildSurfaceTab(Surface s)
{
    auto *tab = new QWidget;
    tab->setObjectName(surfaceTabObjectName(s));
    auto *columns = new QHBoxLayout(tab);
    columns->setContentsMargins(5, 6, 5, 6);
    columns->setSpacing(6);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(buildTitleGroup(s, tab));
    if (QWidget *switches = buildSwitchGroup(s, tab))
        left->addWidget(switches);

    auto *panel = new PicturePanel(s, tab);
    m_pictures[int(s)] = panel;
    left->addStretch(1);

    columns->addLayout(left, 0);
    columns->addWidget(panel, 1);

    bindTitle(s);
    bindPicture(panel);
    setReadingOrder(s, tab);
    return tab;
}

void TMainWindow::setReadingOrder(Surface s, QWidget *tab)
{
    // Row by row, left to right; the left column (title, then the list and
    // free-print switches) before the picture panel on the right.
    const TitleControls &c = m_titles[int(s)];
    QList<QWidget *> order { c.use };
    // On the right spine the two links have a row of their own under "フォント".
    if (s == Surface::Right)
        order << c.font << c.sameAsFront << c.sameAsLeft;
    else if (c.sameAsFront)
        order << c.sameAsFront << c.font;
    else
        order << c.font;
    order << c.text;
    for (QAbstractButton *radio : c.pos->buttons())
        order << radio;
    if (c.xUse)
        order << c.xUse << c.x << c.yUse << c.y;
    if (c.offset)
        order << c.offset;
    if (c.spineText)
        order << c.spineText;
    if (auto *items = tab->findChild<QGroupBox *>(prefixed(s, "ItemGroup"))) {
        for (QAbstractButton *b :
            items->findChildren<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
            order << b;
    }
    order << m_pictures[int(s)]->readingOrder();
    setTabOrderChain(order);
}

QWidget *TMainWindow::buildTitleGroup(Surface s, QWidget *parent)
{
    TitleControls &c = m_titles[int(s)];
    const bool spine = s == Surface::Left || s == Surface::Right;
    auto *box = group(UiText::tr("タイトル設定"), parent, prefixed(s, "TitleGroup"));
    box->setFixedWidth(246);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(6, 4, 6, 6);
    v->setSpacing(4);

    // "タイトル", the links to the surfaces it may follow, "フォント"; then the
    // text on a row of its own so that it shows as much as possible.
    auto *useRow = new QHBoxLayout;
    useRow->setSpacing(4);
    c.use = checkBox(UiText::tr("タイトル"), box, prefixed(s, "TitleUse"));
    useRow->addWidget(c.use);
    auto *linkRow = useRow;
    if (s == Surface::Right) {
        linkRow = new QHBoxLayout;
        linkRow->addStretch(1);
    }
    if (s != Surface::Top) {
        static const char *const names[]
            = { "", "BottomSameTitle", "LeftSameTitle", "RightSameTitle" };
        c.sameAsFront = checkBox(UiText::tr("表と同じ"), box, QLatin1String(names[int(s)]));
        c.sameAsFront->setAccessibleDescription(box->title());
        linkRow->addWidget(c.sameAsFront);
    }
    if (s == Surface::Right) {
        c.sameAsLeft
            = checkBox(UiText::tr("背表紙(左)と同じ"), box, QStringLiteral("RightSameLeft"));
        c.sameAsLeft->setAccessibleDescription(box->title());
        linkRow->addWidget(c.sameAsLeft);
    }
    useRow->addStretch(1);
    c.font = new QPushButton(UiText::tr("フォント"), box);
    c.font->setObjectName(prefixed(s, "TitleFontSet"));
    useRow->addWidget(c.font);
    v->addLayout(useRow);
    if (linkRow != useRow)
        v->addLayout(linkRow);

    auto *textRow = new QHBoxLayout;
    QLabel *textLabel = label(UiText::tr("タイトル"), box, prefixed(s, "TitleLabel"));
    textRow->addWidget(textLabel);
    c.text = new QLineEdit(box);
    c.text->setObjectName(prefixed(s, "Title"));
    textLabel->setBuddy(c.text);
    c.text->setAccessibleName(textLabel->text());
    UnicodeMark::attach(c.text);
    textRow->addWidget(c.text, 1);
    v->addLayout(textRow);

    auto *pos = group(UiText::tr("タイトル位置"), box, prefixed(s, "TitlePos"));
    auto *posRow = new QHBoxLayout(pos);
    posRow->setContentsMargins(6, 2, 6, 4);
    c.pos = new QButtonGroup(pos);
    const QStringList captions
        = { UiText::tr("上"), UiText::tr("中央"), UiText::tr("下"), UiText::tr("任意") };
    for (int i = 0; i < captions.size(); ++i) {
        auto *radio = new QRadioButton(captions[i], pos);
        radio->setObjectName(prefixed(s, "TitlePos") + QString::number(i));
        c.pos->addButton(radio, i);
        posRow->addWidget(radio);
    }
    v->addWidget(pos);

    if (!spine) {
        auto *xy = group(UiText::tr("任意位置設定"), box, prefixed(s, "TitlePosXY"));
        auto *grid = new QGridLayout(xy);
        grid->setContentsMargins(6, 2, 6, 4);
        grid->setHorizontalSpacing(3);
        c.xUse = checkBox(UiText::tr("横"), xy, prefixed(s, "TitlePosXUse"));
        c.yUse = checkBox(UiText::tr("縦"), xy, prefixed(s, "TitlePosYUse"));
        c.x = millimetreEdit(xy, prefixed(s, "TitlePosX"));
        c.y = millimetreEdit(xy, prefixed(s, "TitlePosY"));
        // Each edit is labelled by the check box before it; the names say
        // which of the group's two values it holds.
        c.x->setAccessibleName(UiText::tr("任意位置設定 横"));
        c.y->setAccessibleName(UiText::tr("任意位置設定 縦"));
        grid->addWidget(c.xUse, 0, 0);
        grid->addWidget(c.x, 0, 1);
        grid->addWidget(label(QStringLiteral("mm"), xy, prefixed(s, "TitlePosXUnit")), 0, 2);
        grid->addWidget(c.yUse, 0, 4);
        grid->addWidget(c.y, 0, 5);
        grid->addWidget(label(QStringLiteral("mm"), xy, prefixed(s, "TitlePosYUnit")), 0, 6);
        grid->setColumnStretch(3, 1);
        v->addWidget(xy);
    } else {
        auto *offsetRow = new QHBoxLayout;
        QLabel *caption
            = label(UiText::tr("印刷位置オフセット"), box, prefixed(s, "TitleOffsetCaption"));
        offsetRow->addWidget(caption);
        offsetRow->addStretch(1);
        c.offset = millimetreEdit(box, prefixed(s, "TitleOffset"));
        caption->setBuddy(c.offset);
        c.offset->setAccessibleName(caption->text());
        offsetRow->addWidget(c.offset);
        offsetRow->addWidget(label(QStringLiteral("mm"), box, prefixed(s, "TitleOffsetUnit")));
        v->addLayout(offsetRow);

        // The direction the title runs along the spine. On Linux a drop-down
        // list reads as the entry it shows; what it is for is its hint.
        auto *directionRow = new QHBoxLayout;
        const QString direction = UiText::tr("背文字の向き");
        QLabel *directionCaption = label(direction, box, prefixed(s, "SpineTextCaption"));
        directionRow->addWidget(directionCaption);
        directionRow->addStretch(1);
        c.spineText = new QComboBox(box);
        c.spineText->setObjectName(prefixed(s, "SpineText"));
        // In the order of spineTextOfListIndex().
        c.spineText->addItems({ UiText::tr("上から下"), UiText::tr("下から上") });
        c.spineText->setToolTip(direction);
        c.spineText->setAccessibleName(direction);
        directionCaption->setBuddy(c.spineText);
        directionRow->addWidget(c.spineText);
        v->addLayout(directionRow);
    }
    growForEnglish(box);
    return box;
}

QWidget *TMainWindow::buildSwitchGroup(Surface s, QWidget *parent)
{
    if (s != Surface::Top && s != Surface::Bottom && s != Surface::Disc)
        return nullptr;
    auto *box = group(UiText::tr("リスト・任意印刷"), parent, prefixed(s, "ItemGroup"));
    box->setFixedWidth(246);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setVerticalSpacing(3);
    auto row = [&](int r, const char *switchName, const QString &caption, const char *buttonName,
                   const QString &buttonText, auto &&onSwitch, auto &&onButton) {
        QCheckBox *sw = checkBox(caption, box, QLatin1String(switchName));
        auto *button = new QPushButton(buttonText, box);
        button->setObjectName(QLatin1String(buttonName));
        // The front has two "印刷項目編集" buttons: the description says
        // which switch each belongs to.
        button->setAccessibleDescription(caption);
        grid->addWidget(sw, r, 0);
        grid->addWidget(button, r, 1);
        connect(sw, &QCheckBox::toggled, this, onSwitch);
        connect(button, &QPushButton::clicked, this, onButton);
    };
    if (s == Surface::Top) {
        row(
            0, "UseTopList", UiText::tr("リスト"), "TopListEdit", UiText::tr("リスト編集"),
            [this](bool on) { apply(m_editor.setUseList(Surface::Top, on)); },
            [this] { Q_EMIT listEditRequested(0); });
        row(
            1, "UseTop1Prints", UiText::tr("任意印刷(前面)"), "Top1PrintsEdit",
            UiText::tr("印刷項目編集"), [this](bool on) { apply(m_editor.setUseCoverPrints(on)); },
            [this] { Q_EMIT printsEditRequested(0); });
        row(
            2, "UseTop2Prints", UiText::tr("任意印刷(背面)"), "Top2PrintsEdit",
            UiText::tr("印刷項目編集"), [this](bool on) { apply(m_editor.setUseInsidePrints(on)); },
            [this] { Q_EMIT printsEditRequested(1); });
    } else if (s == Surface::Disc) {
        row(
            0, "UseDiscList", UiText::tr("リスト"), "DiscListEdit", UiText::tr("リスト編集"),
            [this](bool on) { apply(m_editor.setUseList(Surface::Disc, on)); },
            [this] { Q_EMIT listEditRequested(kListSurfaceDisc); });
        row(
            1, "UseDiscPrints", UiText::tr("任意印刷"), "DiscPrintsEdit",
            UiText::tr("印刷項目編集"), [this](bool on) { apply(m_editor.setUseDiscPrints(on)); },
            [this] { Q_EMIT printsEditRequested(int(PrintsList::Disc)); });
    } else {
        row(
            0, "UseBottomList", UiText::tr("リスト"), "BottomListEdit", UiText::tr("リスト編集"),
            [this](bool on) { apply(m_editor.setUseList(Surface::Bottom, on)); },
            [this] { Q_EMIT listEditRequested(1); });
        row(
            1, "UseBottomPrints", UiText::tr("任意印刷"), "BottomPrintsEdit",
            UiText::tr("印刷項目編集"), [this](bool on) { apply(m_editor.setUsePrints(on)); },
            [this] { Q_EMIT printsEditRequested(2); });
    }
    grid->setColumnStretch(0, 1);
    growForEnglish(box);
    return box;
}

QWidget *TMainWindow::buildOptionsTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("OptionTag"));
    auto *columns = new QHBoxLayout(tab);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(8);

    auto *left = new QVBoxLayout;
    // The case comes first: it decides which surface tabs are in use.
    m_caseType = new CaseTypePanel(tab);
    connect(m_caseType, &CaseTypePanel::chosen, this,
        [this](const QString &id) { apply(m_editor.setCaseFormat(id)); });
    // A size the editor does not take is shown as stored again, and the edit
    // is told so (a closing window then stays open).
    connect(
        m_caseType, &CaseTypePanel::sizeTyped, this, [this](CaseDimension which, CommitEdit *edit) {
            bool taken = false;
            apply(m_editor.commitCaseDimension(which, edit->text(), &taken));
            // The field shows what the document holds, also while it keeps
            // the focus (Enter).
            m_caseType->showDocument(m_document, true);
            if (!taken)
                edit->refuse();
        });
    m_caseType->layout()->addWidget(buildBookletRow(m_caseType));
    left->addWidget(m_caseType);
    // The switches of a group, `perRow` to a row: the frame lines side by
    // side keep the column's height for the note under "内側も印刷".
    auto optionGroup = [&](QBoxLayout *into, const QString &title, const char *name, int perRow,
                           std::initializer_list<std::pair<const char *, QString>> boxes) {
        auto *g = group(title, tab, QLatin1String(name));
        auto *grid = new QGridLayout(g);
        grid->setContentsMargins(8, 2, 8, 4);
        grid->setVerticalSpacing(1);
        int n = 0;
        for (const auto &[key, caption] : boxes) {
            QCheckBox *box = checkBox(caption, g, QLatin1String(key));
            m_optionBoxes.insert(QLatin1String(key), box);
            const QString k = QLatin1String(key);
            connect(box, &QCheckBox::toggled, this, [this, k](bool on) { optionClicked(k, on); });
            grid->addWidget(box, n / perRow, n % perRow);
            ++n;
        }
        into->addWidget(g);
        return grid;
    };
    QGridLayout *pages = optionGroup(left, UiText::tr("印刷ページ"), "PrintPageGroup", 1,
        { { "TopLabelPrint", UiText::tr("表レーベルを印刷") },
            { "BottomLabelPrint", UiText::tr("裏レーベルを印刷") },
            { "InsidePrint", UiText::tr("内側も印刷") } });
    {
        // How the printed wrap is turned over for its reverse to lie behind
        // the front panel, under the switch that prints the reverse.
        QCheckBox *inside = m_optionBoxes.value(QStringLiteral("InsidePrint"));
        const QString how = UiText::tr("左右に裏返すと表レーベルの裏に来ます。両面印刷は短辺綴じ。");
        QLabel *note = label(how, inside->parentWidget(), QStringLiteral("InsidePrintNote"));
        note->setWordWrap(true);
        note->setIndent(20);
        inside->setAccessibleDescription(how);
        pages->addWidget(note, 3, 0, 1, 2);
        // The disc face's switch stands beside the front's, the note under
        // both columns.
        QCheckBox *disc = checkBox(
            UiText::tr("ディスクレーベル印刷"), inside->parentWidget(), QStringLiteral("DiscLabelPrint"));
        m_optionBoxes.insert(disc->objectName(), disc);
        connect(disc, &QCheckBox::toggled, this,
            [this](bool on) { optionClicked(QStringLiteral("DiscLabelPrint"), on); });
        pages->addWidget(disc, 0, 1);
        QWidget::setTabOrder(m_optionBoxes.value(QStringLiteral("TopLabelPrint")), disc);
        QWidget::setTabOrder(disc, m_optionBoxes.value(QStringLiteral("BottomLabelPrint")));
    }
    optionGroup(left, UiText::tr("枠線印刷"), "FrameLineGroup", 2,
        { { "AreaLinePrint", UiText::tr("境界線印刷") },
            { "CutLinePrint", UiText::tr("折線印刷") } });
    // The spine switch and the bleed share a row: each is one control.
    auto *lastRow = new QHBoxLayout;
    optionGroup(lastRow, UiText::tr("背表紙印刷"), "SpinePrintGroup", 1,
        { { "SideTitleSameTop", UiText::tr("背表紙同方向印刷") } });
    QWidget *correction = buildCorrectionPanel(tab);
    lastRow->addWidget(m_correctionPanel->bleedGroup());
    left->addLayout(lastRow);
    left->addStretch(1);
    columns->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    auto *colours = group(UiText::tr("背景色設定"), tab, QStringLiteral("BGColorGroup"));
    auto *grid = new QGridLayout(colours);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(4);
    static const std::pair<const char *, const char *> swatches[] = {
        { "TopLabelBGColor1", QT_TRANSLATE_NOOP("cw::UiText", "表レーベル(表)") },
        { "TopLabelBGColor2", QT_TRANSLATE_NOOP("cw::UiText", "表レーベル(裏)") },
        { "BottomLabelBGColor", QT_TRANSLATE_NOOP("cw::UiText", "裏レーベル") },
        { "LeftTitleBGColor", QT_TRANSLATE_NOOP("cw::UiText", "背表紙(左)") },
        { "RightTitleBGColor", QT_TRANSLATE_NOOP("cw::UiText", "背表紙(右)") },
    };
    for (int i = 0; i < 5; ++i) {
        auto *swatch = new ColorSwatch(colours);
        swatch->setObjectName(QLatin1String(swatches[i].first));
        swatch->setFixedSize(48, 18);
        swatch->setAccessibleName(UiText::tr(swatches[i].second));
        m_swatches[i] = swatch;
        grid->addWidget(swatch, i, 0);
        grid->addWidget(label(UiText::tr(swatches[i].second), colours,
                            QLatin1String(swatches[i].first) + QStringLiteral("Caption")),
            i, 1);
        connect(swatch, &ColorSwatch::pressed, this, [this, i] { swatchPressed(i); });
    }
    grid->setColumnStretch(1, 1);
    right->addWidget(colours);

    auto *printer = group(UiText::tr("プリンタ情報"), tab, QStringLiteral("PrinterInfo"));
    auto *pg = new QGridLayout(printer);
    pg->setContentsMargins(8, 4, 8, 6);
    pg->setVerticalSpacing(3);
    auto value = [&](const char *name) {
        auto *l = label(QString(), printer, QLatin1String(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(52);
        return l;
    };
    auto times = [&] { return label(QStringLiteral("×"), printer); };
    m_dpiX = value("Xdpi");
    m_dpiY = value("Ydpi");
    pg->addWidget(label(UiText::tr("解像度"), printer), 0, 0);
    pg->addWidget(m_dpiX, 0, 1);
    pg->addWidget(times(), 0, 2);
    pg->addWidget(m_dpiY, 0, 3);
    const std::pair<const char *, const char *> rows[]
        = { { QT_TRANSLATE_NOOP("cw::UiText", "表レーベル"), "Top" },
              { QT_TRANSLATE_NOOP("cw::UiText", "裏レーベル"), "Bottom" },
              { QT_TRANSLATE_NOOP("cw::UiText", "背表紙"), "Side" } };
    int r = 1;
    for (const auto &[caption, prefix] : rows) {
        const QString w = QLatin1String(prefix) + QStringLiteral("Width");
        const QString h = QLatin1String(prefix) + QStringLiteral("Height");
        QLabel *wl = value("");
        QLabel *hl = value("");
        wl->setObjectName(w);
        hl->setObjectName(h);
        m_sizeLabels.insert(w, wl);
        m_sizeLabels.insert(h, hl);
        pg->addWidget(label(UiText::tr(caption), printer), r, 0);
        pg->addWidget(wl, r, 1);
        pg->addWidget(times(), r, 2);
        pg->addWidget(hl, r, 3);
        pg->addWidget(label(UiText::tr("ﾋﾟｸｾﾙ"), printer), r, 4);
        ++r;
    }
    pg->setColumnStretch(5, 1);
    right->addWidget(printer);
    right->addWidget(correction);
    right->addStretch(1);
    columns->addLayout(right, 1);
    // Tab reads the left column, then the right one.
    QWidget *chain[] = { m_optionBoxes.value(QStringLiteral("SideTitleSameTop")),
        tab->findChild<QWidget *>(QStringLiteral("Bleed")), m_swatches[0], m_swatches[1],
        m_swatches[2], m_swatches[3], m_swatches[4],
        tab->findChild<QWidget *>(QStringLiteral("PrintOffsetX")),
        tab->findChild<QWidget *>(QStringLiteral("PrintOffsetY")),
        tab->findChild<QWidget *>(QStringLiteral("CalibrationPrint")),
        tab->findChild<QWidget *>(QStringLiteral("DiscCalibrationPrint")) };
    for (size_t i = 0; i + 1 < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    return tab;
}

// ---- Binding -------------------------------------------------------------------

void TMainWindow::bindTitle(Surface s)
{
    TitleControls &c = m_titles[int(s)];
    // Check boxes and radio buttons follow `toggled`, which every way of
    // changing them emits; syncFromDocument sets them without signals.
    connect(c.use, &QCheckBox::toggled, this,
        [this, s](bool on) { apply(m_editor.setTitleUse(s, on)); });
    connect(c.text, &QLineEdit::textEdited, this,
        [this, s](const QString &text) { apply(m_editor.setTitleText(s, text)); });
    connect(c.pos, &QButtonGroup::idToggled, this, [this, s](int mode, bool checked) {
        if (checked)
            apply(m_editor.setTitlePosMode(s, titlePositionFrom(mode)));
    });
    connect(c.font, &QPushButton::clicked, this, [this, s] {
        if (std::optional<FontSpec> font = dialogs().chooseFont(m_document.surface(s).title.font))
            apply(m_editor.setTitleFont(s, *font));
    });
    if (c.xUse) {
        connect(c.xUse, &QCheckBox::toggled, this,
            [this, s](bool on) { apply(m_editor.setTitleCustomXUse(s, on)); });
        connect(c.yUse, &QCheckBox::toggled, this,
            [this, s](bool on) { apply(m_editor.setTitleCustomYUse(s, on)); });
        // The typed value is the document's at once; leaving the field (or
        // Enter) refreshes the preview. An emptied field keeps the value.
        connect(c.x, &QLineEdit::textEdited, this, [this, s](const QString &text) {
            if (const std::optional<EditResult> r = m_editor.setTitleCustomXText(s, text))
                apply(*r);
        });
        connect(c.y, &QLineEdit::textEdited, this, [this, s](const QString &text) {
            if (const std::optional<EditResult> r = m_editor.setTitleCustomYText(s, text))
                apply(*r);
        });
        for (CommitEdit *edit : { c.x, c.y })
            connect(edit, &CommitEdit::committed, this,
                [this, s] { apply(m_editor.leaveTitleCustomPosition(s)); });
    }
    if (c.offset) {
        connect(c.offset, &QLineEdit::textEdited, this,
            [this, s](const QString &text) { apply(m_editor.setTitleOffsetText(s, text)); });
        connect(c.offset, &CommitEdit::committed, this, [this] { syncFromDocument(); });
    }
    if (c.spineText) {
        // currentIndexChanged, not activated: the list changed by any means
        // (mouse, keys, an accessibility action, setCurrentIndex) sets the
        // direction once; showSpineTexts() shows it without a signal.
        connect(c.spineText, &QComboBox::currentIndexChanged, this, [this, s](int index) {
            if (const std::optional<SpineText> direction = spineTextOfListIndex(index))
                apply(m_editor.setSpineText(s, *direction));
        });
    }
    if (c.sameAsFront)
        connect(c.sameAsFront, &QCheckBox::toggled, this,
            [this, s](bool on) { apply(m_editor.setTitleSameAsFront(s, on)); });
    if (c.sameAsLeft)
        connect(c.sameAsLeft, &QCheckBox::toggled, this,
            [this](bool on) { apply(m_editor.setTitleSameAsLeft(on)); });
}

void TMainWindow::bindPicture(PicturePanel *panel)
{
    // Each action acts on the picture the panel shows when it is taken: the
    // "ページ" tab's panel follows the page chosen.
    connect(panel->useBox(), &QCheckBox::toggled, this,
        [this, panel](bool on) { apply(m_editor.setPictureUse(panel->slot(), on)); });
    if (QCheckBox *link = panel->linkBox()) {
        if (panel->slot() == Surface::Bottom)
            connect(link, &QCheckBox::toggled, this,
                [this](bool on) { apply(m_editor.setPictureSameAsFront(on)); });
        else
            connect(link, &QCheckBox::toggled, this,
                [this](bool on) { apply(m_editor.setPictureSameAsLeft(on)); });
    }
    connect(panel->fileSelectButton(), &QPushButton::clicked, this, [this, panel] {
        const PictureSlot s = panel->slot();
        const PicturePlacement *picture = pictureAt(m_document, s);
        if (!picture)
            return;
        const QString path = dialogs().openPicture(pictureOpenDialogFilter(),
            pictureStartFolder(picture->fileName, m_document.fileName));
        if (path.isEmpty())
            return;
        apply(m_editor.chooseSurfacePicture(s, path, progressWindow()));
    });
    // A typed value the editor does not take is shown as stored again, and
    // the edit is told so (a closing window then stays open).
    using Commit = EditResult (DocumentEditor::*)(PictureSlot, const QString &);
    auto bindCommit = [=, this](CommitEdit *edit, Commit commit) {
        connect(edit, &CommitEdit::committed, this, [=, this] {
            const QString text = edit->text();
            const bool number = typedInt(text).has_value();
            apply((m_editor.*commit)(panel->slot(), text));
            // The field itself shows what the document took, also while it
            // keeps the focus (Enter) or is left as it becomes disabled.
            panel->showPlacement(m_document, true);
            if (!number)
                edit->refuse();
        });
    };
    bindCommit(panel->widthEdit(), &DocumentEditor::commitPictureWidth);
    bindCommit(panel->heightEdit(), &DocumentEditor::commitPictureHeight);
    bindCommit(panel->posXEdit(), &DocumentEditor::commitPicturePosX);
    bindCommit(panel->posYEdit(), &DocumentEditor::commitPicturePosY);
    connect(panel->sizeModeBox(), &QComboBox::activated, this, [=, this](int index) {
        if (const std::optional<PictureSizing> mode = pictureSizingFrom(index))
            apply(m_editor.applySizeMode(panel->slot(), *mode));
    });
    connect(panel->alignModeBox(), &QComboBox::activated, this, [=, this](int index) {
        if (const std::optional<PictureAlignment> mode = pictureAlignmentFrom(index))
            apply(m_editor.applyAlignMode(panel->slot(), *mode));
    });
    connect(panel->keepAspectBox(), &QCheckBox::toggled, this,
        [this, panel](bool on) { apply(m_editor.setKeepAspect(panel->slot(), on)); });
}

void TMainWindow::swatchPressed(int index)
{
    static const Swatch swatches[]
        = { Swatch::TopCover, Swatch::TopInside, Swatch::Bottom, Swatch::Left, Swatch::Right };
    const std::optional<ColorRef> chosen = dialogs().chooseColor(m_lastColor);
    if (chosen)
        m_lastColor = *chosen;
    apply(m_editor.setBackgroundColor(swatches[index], chosen));
}

} // namespace cw
