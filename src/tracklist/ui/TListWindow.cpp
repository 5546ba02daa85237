#include "tracklist/ui/TListWindow.h"

#include <algorithm>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "base/Surface.h"
#include "base/UiText.h"
#include "tracklist/ListLayoutRules.h"
#include "document/BookletPages.h"
#include "document/DiscTitles.h"
#include "document/DocumentEditor.h"
#include "document/StepLabels.h"
#include "fonts/FontQt.h"
#include "text/ui/UnicodeMark.h"
#include "tracklist/ui/ListRowView.h"
#include "tracklist/ui/TListSetWindow.h"
#include "widgets/EditorHost.h"
#include "widgets/QuietChecks.h"
#include "widgets/ScreenPlacement.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

const char *const kImportFilter = QT_TRANSLATE_NOOP("cw::UiText",
    "読み込み可能ファイル(*.txt,*.csv)|*.TXT;*.CSV|テキストファイル(*.txt)|*.TXT|"
    "CSVファイル(*.csv)|*.CSV|全てのファイル(*.*)|*.*");

constexpr QSize kStartClientSize(632, 460);
// Pixel size of a 9-point font at 96 dpi.
constexpr int kDisplayPixelSize = 12;

QFont windowFont()
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(kDisplayPixelSize);
    return f;
}

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// A radio group: a titled box with one button per item, in a row.
QGroupBox *radioGroup(const QString &title, const QString &name, const QStringList &items,
    QButtonGroup *&group, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(6);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], box);
        b->setObjectName(name + QStringLiteral("Item%1").arg(i));
        group->addButton(b, i);
        row->addWidget(b);
    }
    row->addStretch(1);
    return box;
}

// Binds a radio group to the handler of the item that becomes checked,
// however it does (click, keyboard, an accessibility action, setChecked).
template<typename Handler> void onItemChosen(QButtonGroup *group, QObject *context, Handler handler)
{
    QObject::connect(group, &QButtonGroup::idToggled, context, [handler](int item, bool checked) {
        if (checked)
            handler(item);
    });
}

} // namespace

TListWindow::TListWindow(EditorHost *host)
    : QMainWindow(nullptr)
    , m_main(host)
    , m_editor(host->document().listRows)
{
    m_editor.setRecorder(&host->editor().history());
    setObjectName(QStringLiteral("ListWindow"));
    setWindowTitle(QStringLiteral("Casewright [List]"));
    setWindowIcon(host->hostWindow()->windowIcon());
    setFont(windowFont());
    // The editor stands in for the main window; it does not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(central);

    m_upper = new QWidget(central);
    m_upper->setObjectName(QStringLiteral("UpperPanel"));
    auto *headerModel = new QStandardItemModel(0, kListSectionCount, this);
    for (int s = 0; s < kListSectionCount; ++s)
        headerModel->setHorizontalHeaderItem(
            s, new QStandardItem(UiText::tr(kListSectionTitles[size_t(s)])));
    m_header = new QHeaderView(Qt::Horizontal, m_upper);
    m_header->setObjectName(QStringLiteral("HeaderControl"));
    m_header->setModel(headerModel);
    m_header->setSectionsClickable(false);
    m_header->setStretchLastSection(false);
    m_header->setMinimumSectionSize(8);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int s = 0; s < kListSectionCount; ++s) {
        m_header->setSectionResizeMode(s, QHeaderView::Interactive);
        m_header->resizeSection(s, kListSectionWidths[size_t(s)]);
    }

    m_model = new ListRowModel(m_editor.rows(), this);
    m_view = new QListView(m_upper);
    m_view->setObjectName(QStringLiteral("ListBox"));
    m_view->setAccessibleName(UiText::tr("リスト"));
    m_view->setModel(m_model);
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->installEventFilter(this);
    m_delegate = new ListRowDelegate(m_header, this);
    QFont display = toQFont(defaultFont());
    display.setPixelSize(kDisplayPixelSize);
    m_delegate->setDisplayFont(display);
    m_view->setItemDelegate(m_delegate);
    connect(m_header, &QHeaderView::sectionResized, m_view->viewport(),
        qOverload<>(&QWidget::update));
    // A row is shown when the user selects it (click or arrow keys); the
    // view's own current-item changes on getting the focus select nothing.
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this](const QItemSelection &selected) {
            if (m_syncing)
                return;
            if (selected.indexes().isEmpty()) {
                // The selection cannot be cleared from the view.
                sync();
                return;
            }
            ListBoxClick(selected.indexes().first().row());
        });
    // A click on the row already selected shows it again.
    connect(m_view, &QListView::clicked, this, [this](const QModelIndex &index) {
        if (!m_syncing && index.row() == m_editor.selected())
            ListBoxClick(index.row());
    });

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu"));
    m_moveUp = m_popup->addAction(UiText::tr("上へ"));
    m_moveUp->setObjectName(QStringLiteral("MoveUp"));
    m_moveDown = m_popup->addAction(UiText::tr("下へ"));
    m_moveDown->setObjectName(QStringLiteral("MoveDown"));
    connect(m_moveUp, &QAction::triggered, this, &TListWindow::MoveUpClick);
    connect(m_moveDown, &QAction::triggered, this, &TListWindow::MoveDownClick);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        sync();
        m_popup->popup(m_view->viewport()->mapToGlobal(at));
    });

    m_lower = buildLowerPanel(central);

    m_setWindow = new TListSetWindow(
        host->templates(), [this]() -> UserDialogs & { return m_main->dialogs(); }, this);
    m_setWindow->setRecorder(&host->editor().history());
    // A picked template changes the stored layout at once: the page shows it.
    m_setWindow->setStoredChanged([this] { m_main->requestPreviewRefresh(PreviewPage::Shown); });
    connect(m_setWindow, &QDialog::finished, this, [this] {
        m_main->requestPreviewRefresh(PreviewPage::Shown);
        sync();
    });

    setMinimumSize(kListWindowMinimum);
    resize(kStartClientSize);
    sync();
}

TListWindow::~TListWindow() = default;

QWidget *TListWindow::buildLowerPanel(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("LowerPanel"));
    panel->setFixedSize(kListLowerPanelSize);
    auto *columns = new QHBoxLayout(panel);
    columns->setContentsMargins(8, 0, 8, 8);
    columns->setSpacing(8);

    // Left: the row's two choices, then the three cells.
    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    auto *choices = new QHBoxLayout;
    choices->setSpacing(8);
    m_separateBox = radioGroup(UiText::tr("ｾﾊﾟﾚｰﾄ"), QStringLiteral("SeparateUse"),
        { UiText::tr("する"), UiText::tr("しない") }, m_separate, panel);
    m_kindBox = radioGroup(UiText::tr("リスト内容"), QStringLiteral("ListData"),
        { UiText::tr("文章"), UiText::tr("ｾﾊﾟﾚｰﾀ") }, m_kind, panel);
    onItemChosen(m_separate, this, [this](int item) { SeparateUseClick(item); });
    onItemChosen(m_kind, this, [this](int item) { ListDataClick(item); });
    choices->addWidget(m_separateBox, 1);
    choices->addWidget(m_kindBox, 1);
    left->addLayout(choices);

    auto *cells = new QGridLayout;
    cells->setHorizontalSpacing(4);
    cells->setVerticalSpacing(2);
    for (int k = 0; k < 3; ++k) {
        CellControls &c = m_cells[size_t(k)];
        const QString n = QString::number(k + 1);
        c.label = new QLabel(UiText::tr("ｾﾊﾟﾚｰﾄ%1内容").arg(n), panel);
        c.label->setObjectName(QStringLiteral("Label") + n);
        c.text = new QLineEdit(panel);
        c.text->setObjectName(QStringLiteral("ListText") + n);
        UnicodeMark::attach(c.text);
        c.text->installEventFilter(this);
        c.label->setBuddy(c.text);
        c.text->setAccessibleName(c.label->text());
        connect(c.text, &QLineEdit::textChanged, this, [this, k] { ListTextChange(k); });
        c.posBox
            = radioGroup(UiText::tr("ｾﾊﾟﾚｰﾄ%1文字位置").arg(n), QStringLiteral("ListTextPos") + n,
                { UiText::tr("左寄せ"), UiText::tr("中央"), UiText::tr("右寄せ") }, c.pos, panel);
        onItemChosen(c.pos, this, [this, k](int item) { ListTextPosClick(k, item); });
        c.font = button(UiText::tr("フォント"), QStringLiteral("ListFont") + n, panel);
        connect(c.font, &QPushButton::clicked, this, [this, k] { ListFontClick(k); });
        QPushButton *def
            = button(UiText::tr("ﾃﾞﾌｫﾙﾄﾌｫﾝﾄ"), QStringLiteral("DefaultFontSet") + n, panel);
        connect(def, &QPushButton::clicked, this, [this, k] { DefaultFontSetClick(k); });
        QPushButton *bulk
            = button(UiText::tr("ﾌｫﾝﾄ一括変更"), QStringLiteral("FontChange") + n, panel);
        connect(bulk, &QPushButton::clicked, this, [this, k] { FontChangeClick(k); });

        // Two lines per cell: label, text and its font; then the position
        // and the two default-font commands.
        const int r = k * 2;
        cells->addWidget(c.label, r, 0);
        cells->addWidget(c.text, r, 1, 1, 2);
        cells->addWidget(c.font, r, 3);
        cells->addWidget(c.posBox, r + 1, 0, 1, 2);
        cells->addWidget(def, r + 1, 2);
        cells->addWidget(bulk, r + 1, 3);
        if (k < 2)
            cells->setRowMinimumHeight(r + 1, 30);
    }
    cells->setColumnStretch(1, 1);
    left->addLayout(cells);
    left->addStretch(1);
    columns->addLayout(left, 1);

    // Right: the row commands and the options, one button a line.
    auto *right = new QVBoxLayout;
    right->setSpacing(4);
    auto commandGroup = [&](const QString &title, const char *name) {
        auto *box = new QGroupBox(title, panel);
        box->setObjectName(QLatin1String(name));
        auto *v = new QVBoxLayout(box);
        v->setContentsMargins(6, 2, 6, 4);
        v->setSpacing(2);
        right->addWidget(box);
        return box;
    };
    auto addCommand = [&](QGroupBox *box, const QString &text, const char *name,
                          void (TListWindow::*slot)()) {
        QPushButton *b = button(text, QLatin1String(name), box);
        b->setMinimumWidth(96);
        connect(b, &QPushButton::clicked, this, slot);
        box->layout()->addWidget(b);
    };
    QGroupBox *edit = commandGroup(UiText::tr("リスト項目編集"), "ListEditGroup");
    addCommand(edit, UiText::tr("新規"), "ListNew", &TListWindow::ListNewClick);
    addCommand(edit, UiText::tr("追加"), "ListAdd", &TListWindow::ListAddClick);
    addCommand(edit, UiText::tr("削除"), "ListDelete", &TListWindow::ListDeleteClick);
    addCommand(edit, UiText::tr("ファイル"), "FileLoad", &TListWindow::FileLoadClick);
    QGroupBox *options = commandGroup(UiText::tr("オプション"), "OptionGroup");
    addCommand(options, UiText::tr("ﾘｽﾄ位置設定"), "ListSet", &TListWindow::ListSetClick);
    addCommand(options, UiText::tr("プレビュー"), "PreviewShow", &TListWindow::PreviewShowClick);
    addCommand(options, UiText::tr("閉じる"), "ListClose", &TListWindow::ListCloseClick);
    right->addStretch(1);
    columns->addLayout(right);
    return panel;
}

void TListWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placePanels();
}

void TListWindow::placePanels()
{
    const ListWindowGeometry g
        = listWindowGeometry(centralWidget()->size(), m_header->sizeHint().height());
    m_upper->setGeometry(g.upper);
    m_lower->move(g.lower.topLeft());
    m_header->setGeometry(g.header);
    m_view->setGeometry(g.rows);
}

// ---- Opening and closing --------------------------------------------------------

void TListWindow::openFor(int surface)
{
    // A booklet page's list is edited while the booklet has the page.
    m_surface = surface == kListSurfaceBottom || surface == kListSurfaceDisc
            || (pageOfListSurface(surface) && listLayoutOf(m_main->document(), surface))
        ? surface
        : kListSurfaceTop;
    changeRows([&] {
        m_model->beginReset();
        m_editor.open(listLayoutOf(m_main->document(), m_surface));
        m_model->endReset();
    });
    sync();
    // Where the main window stands; the editor is the larger window, so it
    // is then kept wholly on the screen.
    move(m_main->hostWindow()->pos());
    bool keepPlace = true;
    placeOnScreen(*this, m_main->hostWindow(), keepPlace);
    m_main->stepAside();
    show();
    raise();
    activateWindow();
}

void TListWindow::ListCloseClick()
{
    close();
}

void TListWindow::closeEvent(QCloseEvent *event)
{
    // Every way of closing the editor brings the main window back.
    event->accept();
    QMainWindow::closeEvent(event);
    finishClose();
}

void TListWindow::finishClose()
{
    m_main->comeBack();
}

void TListWindow::resetControls()
{
    changeRows([&] {
        m_model->beginReset();
        m_editor.reset();
        m_model->endReset();
    });
    sync();
}

void TListWindow::documentRestored(const HistoryChange &change)
{
    if (!change.listRows && !change.booklet
        && std::none_of(change.layouts.begin(), change.layouts.end(), [](bool b) { return b; }))
        return;
    // The inner pages were replaced: a page's layout is looked up again, and
    // the front's is shown once the page is gone.
    const bool pageReplaced = change.booklet && pageOfListSurface(m_surface);
    if (pageReplaced && !listLayoutOf(m_main->document(), m_surface))
        m_surface = kListSurfaceTop;
    changeRows([&] {
        m_model->beginReset();
        if (pageReplaced)
            m_editor.open(listLayoutOf(m_main->document(), m_surface));
        m_editor.rowsRestored();
        m_model->endReset();
    });
    sync();
}

// ---- Showing the state ----------------------------------------------------------

void TListWindow::sync()
{
    const QScopedValueRollback<bool> quiet(m_syncing, true);
    const ListEditorControls &c = m_editor.controls();
    m_separateBox->setEnabled(c.separateEnabled);
    checkGroupQuietly(m_separate, c.separateItem);
    m_kindBox->setEnabled(c.kindEnabled);
    checkGroupQuietly(m_kind, c.kindItem);
    for (int k = 0; k < 3; ++k) {
        const ListCellControls &state = c.cells[size_t(k)];
        CellControls &w = m_cells[size_t(k)];
        for (QWidget *each : { static_cast<QWidget *>(w.label), static_cast<QWidget *>(w.text),
                 static_cast<QWidget *>(w.posBox), static_cast<QWidget *>(w.font) })
            each->setEnabled(state.enabled);
        if (w.text->text() != state.text)
            w.text->setText(state.text);
        checkGroupQuietly(w.pos, state.alignItem);
        showFieldFont(k);
    }
    const qsizetype selected = m_editor.selected();
    const QModelIndex current = m_view->currentIndex();
    if (selected < 0) {
        if (current.isValid()) {
            m_view->selectionModel()->clear();
        }
    } else if (current.row() != selected || !m_view->selectionModel()->isSelected(current)) {
        const QModelIndex index = m_model->index(int(selected));
        m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_view->scrollTo(index);
    }
    m_moveUp->setEnabled(m_editor.canMoveUp());
    m_moveDown->setEnabled(m_editor.canMoveDown());
}

void TListWindow::showFieldFont(int cell)
{
    // The field shows the cell font's face and style at its own size.
    QLineEdit *edit = m_cells[size_t(cell)].text;
    QFont f = toQFont(m_editor.controls().cells[size_t(cell)].font);
    f.setPixelSize(kDisplayPixelSize);
    if (edit->font() != f)
        edit->setFont(f);
}

void TListWindow::refresh()
{
    m_main->requestPreviewRefresh(PreviewPage::Shown);
}

// ---- Row display ---------------------------------------------------------------------

template<class Change> void TListWindow::changeRows(Change change)
{
    // While rows come and go the view moves its selection by itself (a
    // single-selection view selects a neighbour of the row being removed):
    // that is not the user's choice, and taken as one it would make the
    // command act on that neighbour. sync() shows the editor's row after.
    const QScopedValueRollback<bool> quiet(m_syncing, true);
    change();
}

void TListWindow::ListBoxClick(int row)
{
    m_editor.select(row);
    if (m_editor.selected() >= 0)
        m_model->rowsChanged(int(m_editor.selected()), int(m_editor.selected()));
    sync();
}

bool TListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_view) {
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (key->matches(QKeySequence::Paste)) {
            PasteRows();
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Delete:
            ListDeleteClick();
            return true;
        case Qt::Key_Insert:
            if (!ctrl && !(key->modifiers() & Qt::ShiftModifier)) {
                ListAddClick();
                return true;
            }
            break;
        case Qt::Key_Up:
            if (ctrl) {
                MoveUpClick();
                return true;
            }
            break;
        case Qt::Key_Down:
            if (ctrl) {
                MoveDownClick();
                return true;
            }
            break;
        default:
            break;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    // Enter in a cell text ends the edit; it goes nowhere else.
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        for (const CellControls &c : m_cells) {
            if (watched == c.text)
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Commands ----------------------------------------------------------------------------

void TListWindow::ListNewClick()
{
    const int at = int(m_editor.rows().size());
    changeRows([&] {
        m_model->beginInsert(at, 1);
        m_editor.newRow();
        m_model->endInsert();
    });
    sync();
    refresh();
}

void TListWindow::ListAddClick()
{
    const qsizetype at = m_editor.selected();
    if (at < 0)
        return;
    changeRows([&] {
        m_model->beginInsert(int(at), 1);
        m_editor.insertRow();
        m_model->endInsert();
    });
    sync();
    refresh();
}

void TListWindow::ListDeleteClick()
{
    const qsizetype at = m_editor.selected();
    if (at < 0)
        return;
    changeRows([&] {
        m_model->beginRemove(int(at), 1);
        m_editor.deleteRow();
        m_model->endRemove();
    });
    sync();
    refresh();
}

void TListWindow::MoveUpClick()
{
    const qsizetype at = m_editor.selected();
    if (!m_editor.moveUp())
        return;
    m_model->rowsChanged(int(at - 1), int(at));
    sync();
    refresh();
}

void TListWindow::MoveDownClick()
{
    const qsizetype at = m_editor.selected();
    if (!m_editor.moveDown())
        return;
    m_model->rowsChanged(int(at), int(at + 1));
    sync();
    refresh();
}

void TListWindow::SeparateUseClick(int item)
{
    if (m_editor.setSeparate(item)) {
        m_model->rowsChanged(int(m_editor.selected()), int(m_editor.selected()));
        refresh();
    }
    sync();
}

void TListWindow::ListDataClick(int item)
{
    if (m_editor.setKind(item)) {
        m_model->rowsChanged(int(m_editor.selected()), int(m_editor.selected()));
        refresh();
    }
    sync();
}

void TListWindow::ListTextChange(int cell)
{
    if (m_syncing)
        return;
    if (m_editor.setCellText(cell, m_cells[size_t(cell)].text->text())) {
        m_model->rowsChanged(int(m_editor.selected()), int(m_editor.selected()));
        refresh();
    }
}

void TListWindow::ListTextPosClick(int cell, int item)
{
    if (m_editor.setCellAlign(cell, item)) {
        m_model->rowsChanged(int(m_editor.selected()), int(m_editor.selected()));
        refresh();
    }
    sync();
}

void TListWindow::ListFontClick(int cell)
{
    const auto chosen
        = m_main->dialogs().chooseFont(m_editor.controls().cells[size_t(cell)].font);
    if (!chosen)
        return;
    if (m_editor.setCellFont(cell, *chosen)) {
        m_model->rowsChanged(int(m_editor.selected()), int(m_editor.selected()));
        refresh();
    }
    sync();
}

void TListWindow::DefaultFontSetClick(int cell)
{
    const auto chosen = m_main->dialogs().chooseFont(m_editor.defaults().fonts[size_t(cell)]);
    if (!chosen)
        return;
    if (m_editor.setDefaultFont(cell, *chosen)) {
        m_model->rowsChanged(int(m_editor.selected()), int(m_editor.selected()));
        refresh();
    }
    sync();
}

void TListWindow::FontChangeClick(int cell)
{
    const auto choice
        = m_main->dialogs().chooseBulkFontChange(m_editor.defaults().fonts[size_t(cell)]);
    if (!choice)
        return;
    m_editor.bulkFontChange(cell, *choice);
    m_model->allRowsChanged();
    sync();
    refresh();
}

void TListWindow::FileLoadClick()
{
    // The text and CSV entries first, then the cue sheet and audio entries;
    // several audio files may be chosen at once.
    const QStringList paths
        = m_main->dialogs().openFiles(withAlbumImportEntries(UiText::tr(kImportFilter)));
    if (paths.isEmpty())
        return;
    // The rows and the disc titles they offer are one step.
    EditStep step(m_editor.recorder(), stepLabel(UiText::tr("ファイル"), UiText::tr("リスト")));
    std::optional<ListImportOutcome> outcome;
    changeRows([&] {
        m_model->beginReset();
        outcome = m_editor.importSources(paths, m_main->dialogs());
        m_model->endReset();
    });
    sync();
    if (!outcome)
        return;
    refresh();
    // The titles go through the document's change operations; the main
    // window shows them at once, though it is hidden while this window is
    // open, so that no control of it holds a stale value meanwhile.
    const EditResult titles = offerDiscTitles(m_main->editor(), *outcome, m_main->dialogs());
    if (!titles.isEmpty())
        m_main->showEdit(titles);
}

void TListWindow::PasteRows()
{
    const QList<ImportFields> lines
        = clipboardImportLines(QApplication::clipboard()->text(QClipboard::Clipboard));
    if (lines.isEmpty())
        return;
    const int at = int(m_editor.rows().size());
    changeRows([&] {
        m_model->beginInsert(at, int(lines.size()));
        m_editor.appendLines(lines);
        m_model->endInsert();
    });
    sync();
    refresh();
}

void TListWindow::columnsChosen(int columnCount)
{
    m_editor.applyColumnChoice(columnCount);
    m_model->allRowsChanged();
    sync();
}

void TListWindow::ListSetClick()
{
    // A booklet page's list is laid out as the front's, on a page the size
    // of a face.
    const int page = pageOfListSurface(m_surface);
    m_setWindow->openFor(listLayoutOf(m_main->document(), m_surface),
        page ? kListSurfaceTop : m_surface, [this](int n) { columnsChosen(n); },
        page ? bookletPageName(page) : QString(), page ? EditParts::Pages : EditParts::Settings);
}

void TListWindow::PreviewShowClick()
{
    m_main->showPreview();
}

} // namespace cw
