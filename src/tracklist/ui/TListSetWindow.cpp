#include "tracklist/ui/TListSetWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/UiText.h"
#include "tracklist/ListLayoutRules.h"
#include "canvas/QPainterCanvas.h"
#include "render/WindowPlacement.h"
#include "text/TypedNumber.h"
#include "tracklist/DrawTrackList.h"
#include "widgets/QuietChecks.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {
constexpr int kPreviewWidth = 273;
constexpr int kPreviewHeight = 230;
const QString kTemplateFilter = QStringLiteral("CWR List Template (*.CWT)|*.cwt");

QLabel *namedLabel(const QString &text, QWidget *parent, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    return l;
}
} // namespace

TListSetWindow::TListSetWindow(
    ListTemplateStore &templates, std::function<UserDialogs &()> dialogs, QWidget *parent)
    : QDialog(parent)
    , m_templates(templates)
    , m_dialogs(std::move(dialogs))
{
    setObjectName(QStringLiteral("ListSetWindow"));
    setWindowTitle(QStringLiteral("Casewright [List Setting]"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint);

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(8);

    // Left: the column count and the eight values.
    auto *left = new QVBoxLayout;
    auto *countBox = new QGroupBox(UiText::tr("ｾﾊﾟﾚｰﾄ数"), this);
    countBox->setObjectName(QStringLiteral("SeparateNo"));
    auto *countRow = new QHBoxLayout(countBox);
    m_separateNo = new QButtonGroup(this);
    const std::array<QString, 3> counts = { UiText::tr("１"), UiText::tr("２"), UiText::tr("３") };
    for (int i = 0; i < 3; ++i) {
        auto *b = new QRadioButton(counts[size_t(i)], countBox);
        b->setObjectName(QStringLiteral("SeparateNo%1").arg(i));
        m_separateNo->addButton(b, i);
        countRow->addWidget(b);
    }
    // Whatever checks a count (click, keyboard, an accessibility action,
    // setChecked) chooses it.
    connect(m_separateNo, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
        if (checked)
            SeparateNoClick(item);
    });
    left->addWidget(countBox);

    auto *valueBox = new QGroupBox(UiText::tr("印刷設定"), this);
    valueBox->setObjectName(QStringLiteral("PrintSetting"));
    auto *grid = new QGridLayout(valueBox);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    const QString mm = QStringLiteral("mm");
    buildField(grid, 0, LayoutField::PosX, "PrintPosX", UiText::tr("印刷位置横"), mm, "PrnPosXMax");
    buildField(grid, 1, LayoutField::PosY, "PrintPosY", UiText::tr("印刷位置縦"), mm, "PrnPosYMax");
    buildField(
        grid, 2, LayoutField::Width1, "SeparateWidth1", UiText::tr("ｾﾊﾟﾚｰﾀ1幅"), mm, "SepWid1Max");
    buildField(
        grid, 3, LayoutField::Width2, "SeparateWidth2", UiText::tr("ｾﾊﾟﾚｰﾀ2幅"), mm, "SepWid2Max");
    buildField(
        grid, 4, LayoutField::Width3, "SeparateWidth3", UiText::tr("ｾﾊﾟﾚｰﾀ3幅"), mm, "SepWid3Max");
    buildField(grid, 5, LayoutField::Space1, "SeparateSpace1", UiText::tr("ｾﾊﾟﾚｰﾀ1-2間隔"), mm,
        "SepSpc1Max");
    buildField(grid, 6, LayoutField::Space2, "SeparateSpace2", UiText::tr("ｾﾊﾟﾚｰﾀ2-3間隔"), mm,
        "SepSpc2Max");
    buildField(grid, 7, LayoutField::LineSpacing, "ListSpace", UiText::tr("リスト行間隔"),
        QStringLiteral("×0.1mm"), "ListSpaceMax");
    left->addWidget(valueBox);

    auto *templateBox = new QGroupBox(UiText::tr("テンプレート"), this);
    templateBox->setObjectName(QStringLiteral("TemplateGroup"));
    auto *templateRow = new QGridLayout(templateBox);
    auto *templateCaption
        = namedLabel(UiText::tr("テンプレート名"), templateBox, "TemplateCaption");
    m_templateBox = new QComboBox(templateBox);
    m_templateBox->setObjectName(QStringLiteral("TemplateLoad"));
    m_templateBox->setEditable(true);
    m_templateBox->setInsertPolicy(QComboBox::NoInsert);
    // The box's text is the name a template is saved under: typing selects
    // no entry, only choosing one from the list (or with the arrow keys)
    // applies it. Without a completer a prefix is not completed, and the
    // box's own lookup of a finished text (which would activate an entry
    // whose name was typed in full) is cut off.
    m_templateBox->setCompleter(nullptr);
    disconnect(m_templateBox->lineEdit(), &QLineEdit::editingFinished, m_templateBox, nullptr);
    m_templateBox->setMinimumWidth(160);
    templateCaption->setBuddy(m_templateBox);
    m_templateBox->setAccessibleName(templateCaption->text());
    auto *save = new QPushButton(UiText::tr("セーブ"), templateBox);
    save->setObjectName(QStringLiteral("TemplateSave"));
    templateRow->addWidget(templateCaption, 0, 0, 1, 2);
    templateRow->addWidget(m_templateBox, 1, 0);
    templateRow->addWidget(save, 1, 1);
    templateRow->setColumnStretch(0, 1);
    connect(m_templateBox, &QComboBox::activated, this, &TListSetWindow::TemplateLoadChange);
    connect(save, &QPushButton::clicked, this, &TListSetWindow::TemplateSaveClick);
    left->addWidget(templateBox);
    left->addStretch(1);
    columns->addLayout(left);

    // Right: information, the drawing and "閉じる".
    auto *right = new QVBoxLayout;
    auto *infoBox = new QGroupBox(UiText::tr("情報"), this);
    infoBox->setObjectName(QStringLiteral("ListInfo"));
    auto *infoGrid = new QGridLayout(infoBox);
    infoGrid->setVerticalSpacing(2);
    const std::array<QString, 5> infoCaptions
        = { UiText::tr("ﾘｽﾄ印刷可能幅"), UiText::tr("ﾘｽﾄ印刷可能高"), UiText::tr("ｾﾊﾟﾚｰﾀ1印刷位置"),
              UiText::tr("ｾﾊﾟﾚｰﾀ2印刷位置"), UiText::tr("ｾﾊﾟﾚｰﾀ3印刷位置") };
    const std::array<const char *, 5> infoNames
        = { "PrintWidth", "PrintHeight", "Sep1PrintPos", "Sep2PrintPos", "Sep3PrintPos" };
    for (int i = 0; i < 5; ++i) {
        auto *caption = namedLabel(infoCaptions[size_t(i)], infoBox);
        caption->setObjectName(QLatin1String(infoNames[size_t(i)]) + QStringLiteral("Caption"));
        auto *value = namedLabel(QStringLiteral("000mm"), infoBox, infoNames[size_t(i)]);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setAccessibleName(infoCaptions[size_t(i)]);
        infoGrid->addWidget(caption, i, 0);
        infoGrid->addWidget(value, i, 1);
        m_info[size_t(i)] = value;
        if (i >= 2)
            m_infoCaptions[size_t(i - 2)] = caption;
    }
    right->addWidget(infoBox);

    auto *previewBox = new QGroupBox(UiText::tr("プレビュー"), this);
    previewBox->setObjectName(QStringLiteral("PreviewGroup"));
    auto *previewLayout = new QVBoxLayout(previewBox);
    m_preview = new QLabel(previewBox);
    m_preview->setObjectName(QStringLiteral("ListPreview"));
    m_preview->setFixedSize(kPreviewWidth, kPreviewHeight);
    m_preview->setAccessibleName(UiText::tr("プレビュー"));
    previewLayout->addWidget(m_preview);
    right->addWidget(previewBox);

    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    auto *close = new QPushButton(UiText::tr("閉じる"), this);
    close->setObjectName(QStringLiteral("ListSetClose"));
    close->setAutoDefault(false);
    save->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &TListSetWindow::ListSetCloseClick);
    closeRow->addWidget(close);
    right->addLayout(closeRow);
    right->addStretch(1);
    columns->addLayout(right);

    sync();
    setFixedSize(sizeHint());
}

void TListSetWindow::buildField(QGridLayout *grid, int row, LayoutField f, const char *name,
    const QString &caption, const QString &unit, const char *maxName)
{
    Field &fd = field(f);
    fd.field = f;
    QWidget *parent = grid->parentWidget();
    fd.caption = namedLabel(caption, parent);
    fd.caption->setObjectName(QLatin1String(name) + QStringLiteral("Caption"));
    fd.edit = new QLineEdit(parent);
    fd.edit->setObjectName(QLatin1String(name));
    fd.edit->setAlignment(Qt::AlignRight);
    fd.edit->setMaxLength(6);
    fd.edit->setFixedWidth(48);
    fd.edit->installEventFilter(this);
    fd.caption->setBuddy(fd.edit);
    fd.edit->setAccessibleName(caption);
    auto arrow = [&](Qt::ArrowType type, const QString &suffix, const QString &what) {
        auto *b = new QToolButton(parent);
        b->setObjectName(QLatin1String(name) + suffix);
        b->setArrowType(type);
        b->setFixedSize(16, 11);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAccessibleName(caption + QLatin1Char(' ') + what);
        return b;
    };
    fd.up = arrow(Qt::UpArrow, QStringLiteral("Up"), UiText::tr("増やす"));
    fd.down = arrow(Qt::DownArrow, QStringLiteral("Down"), UiText::tr("減らす"));
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(fd.up);
    arrows->addWidget(fd.down);
    auto *edit = new QHBoxLayout;
    edit->setSpacing(1);
    edit->addWidget(fd.edit);
    edit->addLayout(arrows);
    fd.unit = namedLabel(unit, parent);
    fd.unit->setObjectName(QLatin1String(name) + QStringLiteral("Unit"));
    fd.maximum = namedLabel(QString(), parent, maxName);
    grid->addWidget(fd.caption, row, 0);
    grid->addLayout(edit, row, 1);
    grid->addWidget(fd.unit, row, 2);
    grid->addWidget(fd.maximum, row, 3);

    connect(fd.edit, &QLineEdit::textEdited, this, [this, f] { fieldTyped(f); });
    connect(fd.up, &QToolButton::clicked, this, [this, f] { fieldStepped(f, 1); });
    connect(fd.down, &QToolButton::clicked, this, [this, f] { fieldStepped(f, -1); });
}

bool TListSetWindow::eventFilter(QObject *watched, QEvent *event)
{
    for (Field &fd : m_fields) {
        if (watched != fd.edit)
            continue;
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                fieldLeft(fd.field);
        } else if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                // Enter takes the value, as leaving does; it never closes
                // the window.
                fieldLeft(fd.field);
                return true;
            case Qt::Key_Up:
                fieldStepped(fd.field, 1);
                return true;
            case Qt::Key_Down:
                fieldStepped(fd.field, -1);
                return true;
            default:
                break;
            }
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TListSetWindow::openFor(ListLayout *stored, int surface, std::function<void(int)> columnsChosen,
    const QString &owner, unsigned parts)
{
    m_stored = stored;
    m_owner = owner;
    m_parts = parts;
    m_columnsChosen = std::move(columnsChosen);
    m_state.open(stored ? *stored : defaultListLayout(surface), surface);
    if (m_columnsChosen)
        m_columnsChosen(m_state.columnCount());
    sync();
    // Templates are kept for the case's two lists; the disc's list has none.
    const bool templates = m_state.surface() != kListSurfaceDisc;
    if (auto *group = findChild<QGroupBox *>(QStringLiteral("TemplateGroup")))
        group->setEnabled(templates);
    if (templates) {
        fillTemplateBox();
    } else {
        m_templateBox->clear();
        m_templateBox->setEditText(QString());
    }
    open();
}

void TListSetWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QWidget *owner = parentWidget())
        move(centredOver(owner->frameGeometry(), frameSize()));
}

void TListSetWindow::SeparateNoClick(int item)
{
    m_state.chooseColumns(item + 1);
    if (m_columnsChosen)
        m_columnsChosen(m_state.columnCount());
    sync();
}

void TListSetWindow::fieldTyped(LayoutField f)
{
    if (m_syncing)
        return;
    showEntry(f, m_state.typed(f, field(f).edit->text()));
}

bool TListSetWindow::fieldLeft(LayoutField f)
{
    if (m_syncing)
        return true;
    return showEntry(f, m_state.left(f, field(f).edit->text()));
}

void TListSetWindow::fieldStepped(LayoutField f, int delta)
{
    m_state.stepped(f, delta);
    sync();
}

bool TListSetWindow::showEntry(LayoutField f, const LayoutEntry &e)
{
    if (e.kind == LayoutEntry::Ignored)
        return true;
    if (e.kind == LayoutEntry::Invalid) {
        const QString text = field(f).edit->text();
        // The field goes back to its value first, so that the message is
        // not shown a second time when the field is left for its box.
        m_syncing = true;
        field(f).edit->setText(QString::number(e.value));
        m_syncing = false;
        m_dialogs().showMessage(invalidNumberMessage(text));
        return false;
    }
    if (e.rewrite) {
        m_syncing = true;
        field(f).edit->setText(QString::number(e.value));
        m_syncing = false;
    }
    sync();
    return true;
}

void TListSetWindow::sync()
{
    m_syncing = true;
    checkGroupQuietly(m_separateNo, m_state.columnCount() - 1);
    for (Field &fd : m_fields) {
        const QString text = QString::number(m_state.value(fd.field));
        // The field being typed in keeps its text while it holds the value
        // (a text that is no whole number counting as 0).
        if (fd.edit->text() != text
            && !(fd.edit->hasFocus()
                && typedInt(fd.edit->text()).value_or(0) == m_state.value(fd.field)
                && !fd.edit->text().trimmed().isEmpty()))
            fd.edit->setText(text);
        fd.maximum->setText(m_state.maximumLabel(fd.field));
        const bool on = m_state.fieldEnabled(fd.field);
        for (QWidget *w : { static_cast<QWidget *>(fd.edit), static_cast<QWidget *>(fd.up),
                 static_cast<QWidget *>(fd.down), static_cast<QWidget *>(fd.caption),
                 static_cast<QWidget *>(fd.unit), static_cast<QWidget *>(fd.maximum) })
            w->setEnabled(on);
    }
    const ListInfo info = m_state.info();
    m_info[0]->setText(info.printableWidth);
    m_info[1]->setText(info.printableHeight);
    m_info[2]->setText(info.column1);
    m_info[3]->setText(info.column2);
    m_info[4]->setText(info.column3);
    for (int c = 1; c <= 3; ++c) {
        const bool on = m_state.infoEnabled(c);
        m_info[size_t(c + 1)]->setEnabled(on);
        m_infoCaptions[size_t(c - 1)]->setEnabled(on);
    }
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainterCanvas canvas(&image, 96, 96);
        DrawListLayoutPreview(canvas, m_state.values(), m_state.columnCount(), m_state.surface(),
            kPreviewWidth, kPreviewHeight);
    }
    m_preview->setPixmap(QPixmap::fromImage(image));
    m_syncing = false;
}

QImage TListSetWindow::previewImage() const
{
    return m_preview->pixmap().toImage();
}

QString TListSetWindow::stepName(const QString &what) const
{
    const int surface = m_state.surface();
    if (!m_owner.isEmpty())
        return stepLabel(what, m_owner);
    return stepLabel(what,
        surface == kListSurfaceDisc ? UiText::tr("ディスク")
            : surface == 1          ? UiText::tr("裏レーベル")
                                    : UiText::tr("表レーベル"));
}

void TListSetWindow::ListSetCloseClick()
{
    // The field being edited is taken as leaving it would take it (pressed
    // from the keyboard or an accessibility client, "閉じる" does not take
    // the focus); a text that is no number keeps the window open.
    for (const Field &fd : m_fields)
        if (fd.edit == focusWidget() && fd.edit->isEnabled() && !fieldLeft(fd.field))
            return;
    EditStep step(m_recorder, stepName(UiText::tr("ﾘｽﾄ位置設定")), m_parts);
    if (m_stored)
        *m_stored = m_state.values();
    accept();
}

void TListSetWindow::fillTemplateBox()
{
    const int surface = m_state.surface();
    m_templateBox->clear();
    m_templateBox->addItems(m_templates.names(surface));
    m_templateBox->setCurrentIndex(m_templates.currentTemplate(surface));
    if (m_templates.currentTemplate(surface) < 0)
        m_templateBox->setEditText(QString());
}

void TListSetWindow::TemplateLoadChange(int index)
{
    const int surface = m_state.surface();
    if (surface == kListSurfaceDisc)
        return;
    ListLayout picked = m_stored ? *m_stored : m_state.values();
    if (!m_templates.pickTemplate(surface, index, picked))
        return;
    EditStep step(m_recorder, stepName(UiText::tr("テンプレート")), m_parts);
    if (m_stored)
        *m_stored = picked;
    m_state.setAll(picked);
    if (m_columnsChosen)
        m_columnsChosen(m_state.columnCount());
    sync();
    if (m_stored && m_storedChanged)
        m_storedChanged();
}

void TListSetWindow::TemplateSaveClick()
{
    const int surface = m_state.surface();
    if (surface == kListSurfaceDisc)
        return;
    const QString start = m_templates.saveDialogStart(surface, templateSaveFolder());
    const QString path = m_dialogs().saveFile(start, kTemplateFilter, QStringLiteral("cwt"));
    if (path.isEmpty())
        return;
    // The name is what the box shows now; read it before the box is refilled.
    const QString name = m_templateBox->currentText();
    if (m_templates.saveTemplate(surface, path, name, m_state.values(), m_dialogs()))
        fillTemplateBox();
}

} // namespace cw
