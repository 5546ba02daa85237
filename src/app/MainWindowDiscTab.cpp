// The "ディスク" tab of the main window: the disc's title and subtitle, its
// background colour and its picture, each control bound to its operation.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QSignalBlocker>
#include <iterator>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/CustomSheetDialog.h"
#include "app/PicturePanel.h"
#include "app/TMainWindow.h"
#include "base/UiText.h"
#include "document/CaseSizeText.h"
#include "document/CustomSheetForm.h"
#include "document/DiscStockChoice.h"
#include "document/DiscStockSettings.h"
#include "text/ui/UnicodeMark.h"
#include "widgets/ColorSwatch.h"
#include "widgets/CommitEdit.h"
#include "widgets/EnglishSizes.h"
#include "widgets/NamedLabel.h"
#include "widgets/QuietChecks.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

CommitEdit *numberEdit(QWidget *parent, const QString &name, const QString &mask, int width)
{
    auto *edit = new CommitEdit(parent);
    edit->setObjectName(name);
    edit->setMask(mask);
    edit->setMaxLength(6);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(width);
    return edit;
}

} // namespace

QWidget *TMainWindow::buildDiscTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(surfaceTabObjectName(Surface::Disc));
    auto *columns = new QHBoxLayout(tab);
    columns->setContentsMargins(5, 6, 5, 6);
    columns->setSpacing(6);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(buildDiscTextGroup(DiscText::Title, tab));
    left->addWidget(buildDiscTextGroup(DiscText::Subtitle, tab));

    // The background colour, opened like the options tab's swatches.
    auto *colourRow = new QHBoxLayout;
    colourRow->setContentsMargins(6, 0, 6, 0);
    const QString colourCaption = UiText::tr("背景色");
    m_discSwatch = new ColorSwatch(tab);
    m_discSwatch->setObjectName(QStringLiteral("DiscBGColor"));
    m_discSwatch->setFixedSize(48, 18);
    m_discSwatch->setAccessibleName(colourCaption);
    colourRow->addWidget(namedLabel(colourCaption, tab, QStringLiteral("DiscBGColorCaption")));
    colourRow->addWidget(m_discSwatch);
    colourRow->addStretch(1);
    left->addLayout(colourRow);
    // The disc's own track list and free prints, as on the labels.
    QWidget *switches = buildSwitchGroup(Surface::Disc, tab);
    left->addWidget(switches);
    left->addStretch(1);
    connect(m_discSwatch, &ColorSwatch::pressed, this, [this] {
        const std::optional<ColorRef> chosen = dialogs().chooseColor(m_lastColor);
        if (chosen)
            m_lastColor = *chosen;
        apply(m_editor.setBackgroundColor(Swatch::Disc, chosen));
    });

    // The picture, and below it the room the disc stock's group takes.
    auto *right = new QVBoxLayout;
    auto *panel = new PicturePanel(Surface::Disc, tab);
    m_pictures[int(Surface::Disc)] = panel;
    right->addWidget(panel);
    right->addStretch(1);
    right->addWidget(buildDiscStockGroup(tab));

    columns->addLayout(left, 0);
    columns->addLayout(right, 1);

    bindDiscText(DiscText::Title);
    bindDiscText(DiscText::Subtitle);
    bindPicture(panel);

    // Reading order: the title's group, the subtitle's, the colour, the picture.
    QList<QWidget *> order;
    for (const DiscTextControls &c : m_discTexts) {
        order << c.use << c.font << c.text;
        for (QAbstractButton *radio : c.place->buttons())
            order << radio;
        order << c.radius << c.angle << c.xUse << c.x << c.yUse << c.y;
    }
    order << m_discSwatch;
    for (const char *name : { "UseDiscList", "DiscListEdit", "UseDiscPrints", "DiscPrintsEdit" })
        order << switches->findChild<QWidget *>(QLatin1String(name));
    order << panel->readingOrder() << m_discStock << m_discCustomSheet;
    for (QCheckBox *box : m_discLabels)
        order << box;
    order << m_discOuter << m_discHub;
    setTabOrderChain(order);
    showDiscStock();
    return tab;
}

QWidget *TMainWindow::buildDiscTextGroup(DiscText which, QWidget *parent)
{
    DiscTextControls &c = m_discTexts[int(which)];
    const QString p = discTextPrefix(which);
    auto name = [&p](const char *part) { return p + QLatin1String(part); };
    const QString caption
        = which == DiscText::Title ? UiText::tr("タイトル") : UiText::tr("サブタイトル");
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name("Group"));
    box->setFixedWidth(246);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);

    // The use box and "フォント"; the text on a row of its own.
    c.use = new QCheckBox(caption, box);
    c.use->setObjectName(name("Use"));
    c.font = new QPushButton(UiText::tr("フォント"), box);
    c.font->setObjectName(name("FontSet"));
    c.font->setAccessibleDescription(caption);
    auto *useRow = new QHBoxLayout;
    useRow->addWidget(c.use);
    useRow->addStretch(1);
    useRow->addWidget(c.font);
    grid->addLayout(useRow, 0, 0, 1, 7);

    c.text = new QLineEdit(box);
    c.text->setObjectName(p);
    c.text->setAccessibleName(caption);
    UnicodeMark::attach(c.text);
    // The tab has two marked texts: each mark's button says whose it is.
    for (QToolButton *mark : c.text->findChildren<QToolButton *>())
        mark->setAccessibleDescription(caption);
    grid->addWidget(c.text, 1, 0, 1, 7);

    // "位置": the three places in a row.
    auto *place = new QWidget(box);
    place->setObjectName(name("Place"));
    auto *placeRow = new QHBoxLayout(place);
    placeRow->setContentsMargins(0, 0, 0, 0);
    placeRow->setSpacing(4);
    QLabel *placeCaption = namedLabel(UiText::tr("位置"), place, name("PlaceCaption"));
    placeRow->addWidget(placeCaption);
    c.place = new QButtonGroup(place);
    const QString places[] = { UiText::tr("上の弧"), UiText::tr("下の弧"), UiText::tr("任意") };
    for (int i = 0; i < 3; ++i) {
        auto *radio = new QRadioButton(places[i], place);
        radio->setObjectName(name("Place") + QString::number(i));
        radio->setAccessibleDescription(caption);
        c.place->addButton(radio, i);
        placeRow->addWidget(radio);
    }
    placeRow->addStretch(1);
    grid->addWidget(place, 2, 0, 1, 7);

    // The arc: "半径" (empty for the default) and "角度".
    const QString radiusCaption = UiText::tr("半径");
    const QString angleCaption = UiText::tr("角度");
    c.radius = numberEdit(box, name("Radius"), QStringLiteral("[0-9.]{0,5}"), 44);
    c.angle = numberEdit(box, name("Angle"), QStringLiteral("[-+0-9.]{0,6}"), 48);
    // The tab has two of each edit: the name says whose it is.
    const QString owner = caption + QLatin1Char(' ');
    c.radius->setAccessibleName(owner + radiusCaption);
    c.angle->setAccessibleName(owner + angleCaption);
    c.radius->setAccessibleDescription(caption);
    c.angle->setAccessibleDescription(caption);
    QLabel *radiusLabel = namedLabel(radiusCaption, box, name("RadiusCaption"));
    QLabel *angleLabel = namedLabel(angleCaption, box, name("AngleCaption"));
    radiusLabel->setBuddy(c.radius);
    angleLabel->setBuddy(c.angle);
    grid->addWidget(radiusLabel, 3, 0);
    grid->addWidget(c.radius, 3, 1);
    grid->addWidget(namedLabel(QStringLiteral("mm"), box, name("RadiusUnit")), 3, 2);
    grid->addWidget(angleLabel, 3, 4);
    grid->addWidget(c.angle, 3, 5);
    grid->addWidget(namedLabel(QStringLiteral("°"), box, name("AngleUnit")), 3, 6);

    // "任意": the straight text's position, as the labels' titles have it.
    auto *xy = new QWidget(box);
    xy->setObjectName(name("PosXY"));
    auto *xyRow = new QHBoxLayout(xy);
    xyRow->setContentsMargins(0, 0, 0, 0);
    xyRow->setSpacing(3);
    c.xUse = new QCheckBox(UiText::tr("横"), xy);
    c.yUse = new QCheckBox(UiText::tr("縦"), xy);
    c.xUse->setObjectName(name("PosXUse"));
    c.xUse->setAccessibleDescription(caption);
    c.yUse->setAccessibleDescription(caption);
    c.yUse->setObjectName(name("PosYUse"));
    c.x = numberEdit(xy, name("PosX"), QStringLiteral("\\d{1,3}"), 34);
    c.y = numberEdit(xy, name("PosY"), QStringLiteral("\\d{1,3}"), 34);
    c.x->setMaxLength(3);
    c.y->setMaxLength(3);
    c.x->setAccessibleName(caption + QLatin1Char(' ') + UiText::tr("任意位置設定 横"));
    c.y->setAccessibleName(caption + QLatin1Char(' ') + UiText::tr("任意位置設定 縦"));
    c.x->setAccessibleDescription(caption);
    c.y->setAccessibleDescription(caption);
    xyRow->addWidget(c.xUse);
    xyRow->addWidget(c.x);
    xyRow->addWidget(namedLabel(QStringLiteral("mm"), xy, name("PosXUnit")));
    xyRow->addSpacing(8);
    xyRow->addWidget(c.yUse);
    xyRow->addWidget(c.y);
    xyRow->addWidget(namedLabel(QStringLiteral("mm"), xy, name("PosYUnit")));
    xyRow->addStretch(1);
    grid->addWidget(xy, 4, 0, 1, 7);
    grid->setColumnStretch(3, 1);
    growForEnglish(box);
    return box;
}

void TMainWindow::bindDiscText(DiscText which)
{
    DiscTextControls &c = m_discTexts[int(which)];
    connect(c.use, &QCheckBox::toggled, this,
        [this, which](bool on) { apply(m_editor.setDiscTextUse(which, on)); });
    connect(c.text, &QLineEdit::textEdited, this,
        [this, which](const QString &text) { apply(m_editor.setDiscTextText(which, text)); });
    connect(c.place, &QButtonGroup::idToggled, this, [this, which](int id, bool checked) {
        if (!checked)
            return;
        if (const std::optional<DiscTextPlace> place = discTextPlaceFrom(id))
            apply(m_editor.setDiscTextPlace(which, *place));
    });
    connect(c.font, &QPushButton::clicked, this, [this, which] {
        if (std::optional<FontSpec> font = dialogs().chooseFont(m_document.discText(which).font))
            apply(m_editor.setDiscTextFont(which, *font));
    });
    // A typed value is taken when the field is left or with Enter; one the
    // editor does not take is shown as stored again and the edit is told so.
    using Commit = EditResult (DocumentEditor::*)(DiscText, const QString &, bool *);
    auto bindCommit = [=, this](CommitEdit *edit, Commit commit) {
        connect(edit, &CommitEdit::committed, this, [=, this] {
            bool taken = false;
            apply((m_editor.*commit)(which, edit->text(), &taken));
            showDiscTexts(true);
            if (!taken)
                edit->refuse();
        });
    };
    bindCommit(c.radius, &DocumentEditor::commitDiscTextRadius);
    bindCommit(c.angle, &DocumentEditor::commitDiscTextAngle);
    for (CommitEdit *edit : { c.x, c.y }) {
        const bool vertical = edit == c.y;
        connect(edit, &CommitEdit::committed, this, [=, this] {
            bool taken = false;
            apply(m_editor.commitDiscTextCustom(which, vertical, edit->text(), &taken));
            showDiscTexts(true);
            if (!taken)
                edit->refuse();
        });
    }
    connect(c.xUse, &QCheckBox::toggled, this, [this, which](bool on) {
        const TitleSettings &t = m_document.discText(which);
        apply(m_editor.setDiscTextCustomPosition(which, on, t.customX, t.customYUse, t.customY));
    });
    connect(c.yUse, &QCheckBox::toggled, this, [this, which](bool on) {
        const TitleSettings &t = m_document.discText(which);
        apply(m_editor.setDiscTextCustomPosition(which, t.customXUse, t.customX, on, t.customY));
    });
}

void TMainWindow::showDiscTexts(bool includeFocused)
{
    // A number being typed stays until it is taken, unless `includeFocused`.
    auto text = [includeFocused](QLineEdit *edit, const QString &value) {
        if (edit->text() == value || (edit->hasFocus() && edit->isModified() && !includeFocused))
            return;
        edit->setText(value);
        if (!edit->hasFocus())
            edit->setCursorPosition(0);
    };
    for (DiscText which : { DiscText::Title, DiscText::Subtitle }) {
        const TitleSettings &t = m_document.discText(which);
        DiscTextControls &c = m_discTexts[int(which)];
        setCheckedQuietly(c.use, t.use);
        // The text is the document's at every keystroke.
        if (c.text->text() != t.text) {
            c.text->setText(t.text);
            if (!c.text->hasFocus())
                c.text->setCursorPosition(0);
        }
        checkGroupQuietly(c.place, int(t.arc.place));
        text(c.radius, formatDiscRadius(t.arc.radiusTenths));
        text(c.angle, formatDiscAngle(t.arc.angleTenths));
        setCheckedQuietly(c.xUse, t.customXUse);
        setCheckedQuietly(c.yUse, t.customYUse);
        text(c.x, QString::number(t.customX));
        text(c.y, QString::number(t.customY));
    }
}

QWidget *TMainWindow::buildDiscStockGroup(QWidget *parent)
{
    const QString title = UiText::tr("印刷する用紙");
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QStringLiteral("DiscStockGroup"));
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(6, 2, 6, 4);
    v->setSpacing(2);

    // On Linux a drop-down list reads as the entry it shows; what it is for
    // is its hint.
    m_discStock = new QComboBox(box);
    m_discStock->setObjectName(QStringLiteral("DiscStock"));
    m_discStock->addItems(discStockEntries());
    // The longest product names are longer than the column: the list shows
    // them in full when it opens.
    m_discStock->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_discStock->setMinimumContentsLength(12);
    m_discStock->setToolTip(title);
    m_discStock->setAccessibleDescription(title);
    // "カスタム": the sheet the user describes, in a dialog of its own. The
    // button shares the list's row (the tab has no room for another row);
    // while it is hidden the list takes the whole row.
    m_discCustomSheet = new QPushButton(UiText::tr("カスタム用紙の設定..."), box);
    m_discCustomSheet->setObjectName(QStringLiteral("DiscCustomSheet"));
    connect(m_discCustomSheet, &QPushButton::clicked, this, &TMainWindow::openCustomSheetDialog);
    auto *stockRow = new QHBoxLayout;
    stockRow->setSpacing(4);
    stockRow->addWidget(m_discStock, 1);
    stockRow->addWidget(m_discCustomSheet);
    v->addLayout(stockRow);

    // A sheet: one box per label, as many as the sheet holds.
    const QString labelsCaption = UiText::tr("印刷するラベル");
    m_discLabelRow = new QWidget(box);
    m_discLabelRow->setObjectName(QStringLiteral("DiscLabels"));
    auto *labels = new QHBoxLayout(m_discLabelRow);
    labels->setContentsMargins(0, 0, 0, 0);
    labels->setSpacing(3);
    labels->addWidget(namedLabel(labelsCaption, m_discLabelRow, QStringLiteral("DiscLabelsCaption")));
    for (int i = 1; i <= kMaxSheetLabels; ++i) {
        auto *label = new QCheckBox(QString::number(i), m_discLabelRow);
        label->setObjectName(QStringLiteral("DiscLabel%1").arg(i));
        label->setAccessibleDescription(labelsCaption);
        labels->addWidget(label);
        m_discLabels << label;
        connect(label, &QCheckBox::toggled, this, [this, i](bool on) {
            QSettings settings;
            const DiscStock stock = loadDiscStock(settings);
            changeDiscStock(discStockWithLabel(stock, i, on,
                discStockLabelCount(stock, loadCustomLabelSheet(settings))));
        });
    }
    labels->addStretch(1);
    v->addWidget(m_discLabelRow);

    // A printable disc: its printed outer diameter and its hub.
    m_discPrintableRow = new QWidget(box);
    m_discPrintableRow->setObjectName(QStringLiteral("DiscPrintable"));
    auto *printable = new QHBoxLayout(m_discPrintableRow);
    printable->setContentsMargins(0, 0, 0, 0);
    printable->setSpacing(3);
    const QString outerCaption = UiText::tr("外径");
    const QString hubCaption = UiText::tr("ハブ径");
    m_discOuter = numberEdit(m_discPrintableRow, QStringLiteral("DiscOuter"), QStringLiteral("[0-9.]{0,5}"), 44);
    m_discOuter->setAccessibleName(outerCaption);
    QLabel *outerLabel = namedLabel(outerCaption, m_discPrintableRow, QStringLiteral("DiscOuterCaption"));
    outerLabel->setBuddy(m_discOuter);
    m_discHub = new QComboBox(m_discPrintableRow);
    m_discHub->setObjectName(QStringLiteral("DiscHub"));
    m_discHub->addItems(printableHubEntries());
    m_discHub->setToolTip(hubCaption);
    m_discHub->setAccessibleDescription(hubCaption);
    QLabel *hubLabel = namedLabel(hubCaption, m_discPrintableRow, QStringLiteral("DiscHubCaption"));
    hubLabel->setBuddy(m_discHub);
    printable->addWidget(outerLabel);
    printable->addWidget(m_discOuter);
    printable->addWidget(namedLabel(QStringLiteral("mm"), m_discPrintableRow, QStringLiteral("DiscOuterUnit")));
    printable->addSpacing(8);
    printable->addWidget(hubLabel);
    printable->addWidget(m_discHub);
    printable->addStretch(1);
    v->addWidget(m_discPrintableRow);

    // currentIndexChanged: the list changed by any means chooses the stock
    // once; showDiscStock() shows it without a signal.
    connect(m_discStock, &QComboBox::currentIndexChanged, this, [this](int index) {
        QSettings settings;
        changeDiscStock(discStockWithEntry(loadDiscStock(settings), index));
    });
    connect(m_discHub, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0 || index >= int(std::size(kPrintableHubsMm)))
            return;
        QSettings settings;
        DiscStock stock = loadDiscStock(settings);
        stock.hubMm = kPrintableHubsMm[index];
        changeDiscStock(stock);
    });
    connect(m_discOuter, &CommitEdit::committed, this, [this] {
        const QString typed = m_discOuter->text();
        const std::optional<int> tenths = parsePrintableOuter(typed);
        if (!tenths) {
            // The stored diameter stays, and the field shows it again.
            dialogs().showMessage(invalidPrintableOuterMessage(typed));
            QSettings settings;
            m_discOuter->setText(formatCaseTenths(loadDiscStock(settings).printableOuterTenths));
            m_discOuter->refuse();
            return;
        }
        QSettings settings;
        DiscStock stock = loadDiscStock(settings);
        stock.printableOuterTenths = *tenths;
        changeDiscStock(stock);
    });
    growForEnglish(box);
    return box;
}

void TMainWindow::changeDiscStock(const DiscStock &stock)
{
    QSettings settings;
    if (loadDiscStock(settings) != stock) {
        storeDiscStock(settings, stock);
        if (settings.status() != QSettings::NoError)
            dialogs().showMessage(UiText::tr("設定(%1)が記録できません").arg(settings.fileName()));
        m_options.disc = loadDiscLayout(settings);
        refresh(PreviewPage::Disc);
    }
    showDiscStock();
}

void TMainWindow::openCustomSheetDialog()
{
    // One dialog at a time; while it is open it takes every input.
    if (auto *open = findChild<CustomSheetDialog *>(); open && open->isVisible()) {
        open->raise();
        open->activateWindow();
        return;
    }
    QSettings settings;
    auto *dialog = new CustomSheetDialog(customSheetForm(loadCustomLabelSheet(settings)),
        [this](const CustomSheetForm &form) { return takeCustomSheet(form); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

bool TMainWindow::takeCustomSheet(const CustomSheetForm &form)
{
    QString message;
    const std::optional<LabelSheetProduct> sheet = customSheetFromForm(form, &message);
    QSettings settings;
    if (!sheet || !storeCustomLabelSheet(settings, *sheet, &message)) {
        dialogs().showMessage(message);
        return false;
    }
    if (settings.status() != QSettings::NoError)
        dialogs().showMessage(UiText::tr("設定(%1)が記録できません").arg(settings.fileName()));
    // The sheet's labels may be more or fewer than before: the boxes follow,
    // and a stock on the custom sheet prints on it as it now is.
    m_options.disc = loadDiscLayout(settings);
    refresh(PreviewPage::Disc);
    showDiscStock();
    return true;
}

void TMainWindow::showDiscStock()
{
    QSettings settings;
    const DiscStock stock = loadDiscStock(settings);
    const int count = discStockLabelCount(stock, loadCustomLabelSheet(settings));
    {
        const QSignalBlocker quiet(m_discStock);
        m_discStock->setCurrentIndex(discStockEntryIndex(stock));
    }
    const bool printable = stock.kind == DiscStockKind::PrintableDisc;
    m_discLabelRow->setVisible(!printable);
    m_discCustomSheet->setVisible(!printable && stock.sheetId == kCustomSheetId);
    m_discPrintableRow->setVisible(printable);
    for (int i = 0; i < m_discLabels.size(); ++i) {
        m_discLabels[i]->setVisible(i < count);
        setCheckedQuietly(m_discLabels[i], (stock.labels >> i) & 1u);
    }
    if (!m_discOuter->hasFocus() || !m_discOuter->isModified())
        m_discOuter->setText(formatCaseTenths(stock.printableOuterTenths));
    const QSignalBlocker quiet(m_discHub);
    m_discHub->setCurrentIndex(printableHubIndex(stock.hubMm));
}

} // namespace cw
