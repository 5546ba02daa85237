#include "app/TMainWindow.h"

#include <QWindow>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CaseTypePanel.h"
#include "app/HelpWindow.h"
#include "app/PicturePanel.h"
#include "app/PressPdfCommand.h"
#include "app/PrintCorrectionPanel.h"
#include "app/QtUserDialogs.h"
#include "app/TAboutBox.h"
#include "base/PreviewPage.h"
#include "base/UiText.h"
#include "base/Units.h"
#include "document/OptionSettings.h"
#include "pictures/PictureLoading.h"
#include "prints/ui/TPrintsList.h"
#include "render/DocumentPages.h"
#include "render/Geometry.h"
#include "render/BackgroundPictureReader.h"
#include "render/PictureFileReader.h"
#include "render/ui/QtPrinterBackend.h"
#include "render/ui/TMessageWindow.h"
#include "render/ui/TPreviewWindow.h"
#include "tracklist/ListTemplate.h"
#include "tracklist/ui/TListWindow.h"
#include "widgets/ColorSwatch.h"
#include "widgets/CommitEdit.h"
#include "widgets/EnglishSizes.h"
#include "widgets/HistoryKeys.h"
#include "widgets/QuietChecks.h"

// The icon and the help pages live in the window library's resources, which
// the linker keeps only when they are registered explicitly.
static void initCasewrightResources()
{
    Q_INIT_RESOURCE(casewright);
}

namespace cw {

namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 420;

} // namespace

namespace {
// Sends refresh requests to the preview window.
class PreviewWindowRefresher : public PreviewRefresher
{
public:
    explicit PreviewWindowRefresher(TPreviewWindow *preview)
        : m_preview(preview)
    { }
    void RequestPreviewRefresh(PreviewPage page) override
    {
        m_preview->RequestPreviewRefresh(page);
    }

private:
    TPreviewWindow *m_preview;
};
} // namespace

TMainWindow::TMainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_editor(m_document)
{
    initCasewrightResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Casewright [Main]"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/casewright.svg")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);

    m_ownDialogs = std::make_unique<QtUserDialogs>(this);
    m_dialogs = m_ownDialogs.get();
    m_editor.setMessageSink(m_dialogs);
    // The picture decoders are found while the main window is created.
    LoadSusiePlugins();
    // The list layout templates: read at start and again by "新規作成".
    m_templates.LoadTemplateFolder();
    m_editor.setTemplateReloader([this] { m_templates.LoadTemplateFolder(); });

    buildMenus();

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    central->setFixedSize(kClientWidth, kClientHeight);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    m_tabs = new QTabWidget(central);
    m_tabs->setObjectName(QStringLiteral("PageControl"));
    m_tabs->addTab(buildSurfaceTab(Surface::Top), UiText::tr("表レーベル"));
    m_tabs->addTab(buildSurfaceTab(Surface::Bottom), UiText::tr("裏レーベル"));
    m_tabs->addTab(buildSurfaceTab(Surface::Left), UiText::tr("背表紙(左)"));
    m_tabs->addTab(buildSurfaceTab(Surface::Right), UiText::tr("背表紙(右)"));
    m_tabs->addTab(buildDiscTab(), UiText::tr("ディスク"));
    m_tabs->addTab(buildOptionsTab(), UiText::tr("オプション"));
    // A booklet's inner pages: in use once it has more than two pages.
    m_tabs->addTab(buildPagesTab(), UiText::tr("ページ"));
    m_tabs->setCurrentIndex(0);
    layout->addWidget(m_tabs, 1);

    // The program's name at the bottom left, the three buttons at the right.
    auto *bottom = new QHBoxLayout;
    auto *icon = new QLabel(central);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/casewright.svg")).pixmap(28, 28));
    icon->setAccessibleName(QStringLiteral("Casewright"));
    auto *name = new QLabel(QStringLiteral("Casewright"), central);
    name->setObjectName(QStringLiteral("CWRTitle"));
    QFont nameFont(QStringLiteral("Arial"));
    nameFont.setPixelSize(20);
    nameFont.setBold(true);
    nameFont.setItalic(true);
    name->setFont(nameFont);
    bottom->addWidget(icon);
    bottom->addWidget(name);
    bottom->addStretch(1);
    auto button = [&](const char *objectName, const QString &text) {
        auto *b = new QPushButton(text, central);
        b->setObjectName(QLatin1String(objectName));
        b->setMinimumWidth(96);
        bottom->addWidget(b);
        return b;
    };
    connect(button("PreviewShow", UiText::tr("プレビュー")), &QPushButton::clicked, this,
        &TMainWindow::PreviewShowClick);
    connect(button("PrinterSet", UiText::tr("プリンタ設定")), &QPushButton::clicked, this,
        &TMainWindow::PrinterSetClick);
    connect(button("PrintStart", UiText::tr("印刷")), &QPushButton::clicked, this,
        &TMainWindow::PrintStartClick);
    layout->addLayout(bottom);

    setCentralWidget(central);
    growForEnglish(central);
    setFixedSize(central->width(), central->height() + menuBar()->sizeHint().height());

    // The other windows, created once and hidden: the version box, the
    // progress window and the preview.
    m_about = new TAboutBox(this);
    m_messageWindow = new TMessageWindow(this);
    m_progress = m_messageWindow;
    m_pictureBackground = std::make_unique<BackgroundPictureReader>(
        defaultPictureFileReader(), this, [this] {
            m_preview->RequestPreviewRefresh(m_preview->state().previewPage());
        });
    m_pictureHold = std::make_unique<HeldPictureReader>(*m_pictureBackground);
    m_preview
        = new TPreviewWindow(
            documentPageDrawer(m_document, &m_options, m_pictureHold.get(), true), this);
    m_ownRefresher = std::make_unique<PreviewWindowRefresher>(m_preview);
    m_refresher = m_ownRefresher.get();
    // The list editor replaces this window on screen while it is open.
    m_listWindow = new TListWindow(this);
    connect(this, &TMainWindow::listEditRequested, m_listWindow, &TListWindow::openFor);
    // The free-print editor replaces the main window on screen while it is open.
    m_printsList = new TPrintsList(m_document, this);
    connect(this, &TMainWindow::printsEditRequested, this, &TMainWindow::openPrintsEditor);
    connect(m_printsList, &TPrintsList::closed, this, &TMainWindow::comeBack);
    m_printsList->editor().setRecorder(&m_editor.history());
    bindPreviewEditing();

    // One history for the document, whichever window changed it.
    m_editor.history().setListener([this] { showHistoryActions(); });
    showHistoryActions();
    for (QWidget *window : { static_cast<QWidget *>(m_listWindow),
             static_cast<QWidget *>(m_printsList), static_cast<QWidget *>(m_preview) })
        addHistoryKeys(window);
    auto owns = [this](QWidget *w) {
        QWidget *window = w->window();
        return window == this || window == m_listWindow || window == m_printsList
            || window == m_preview;
    };
    m_historyKeys
        = new HistoryKeyFilter(owns, [this] { UndoMenuClick(); }, [this] { RedoMenuClick(); }, this);
    qApp->installEventFilter(m_historyKeys);
    // Typing into a field is one step until the field is left.
    connect(qApp, &QApplication::focusChanged, this,
        [this] { m_editor.history().endTyping(); });

    syncFromDocument();
}

void TMainWindow::addHistoryKeys(QWidget *window)
{
    auto *undo = new QAction(window);
    undo->setObjectName(QStringLiteral("UndoKeys"));
    undo->setShortcuts(undoShortcuts());
    connect(undo, &QAction::triggered, this, &TMainWindow::UndoMenuClick);
    auto *redo = new QAction(window);
    redo->setObjectName(QStringLiteral("RedoKeys"));
    redo->setShortcuts(redoShortcuts());
    connect(redo, &QAction::triggered, this, &TMainWindow::RedoMenuClick);
    window->addAction(undo);
    window->addAction(redo);
}

void TMainWindow::showHistoryActions()
{
    const DocumentHistory &h = m_editor.history();
    m_undoAction->setEnabled(h.canUndo());
    m_undoAction->setText(
        h.canUndo() ? UiText::tr("元に戻す: %1").arg(h.undoLabel()) : UiText::tr("元に戻す(&U)"));
    m_redoAction->setEnabled(h.canRedo());
    m_redoAction->setText(
        h.canRedo() ? UiText::tr("やり直し: %1").arg(h.redoLabel()) : UiText::tr("やり直し(&R)"));
}

void TMainWindow::UndoMenuClick()
{
    if (revertUntakenTyping(QApplication::focusWidget()))
        return;
    showHistoryChange(m_editor.history().undo());
}

void TMainWindow::RedoMenuClick()
{
    showHistoryChange(m_editor.history().redo());
}

void TMainWindow::showHistoryChange(const HistoryChange &change)
{
    if (!change.done)
        return;
    if (change.resolution)
        showPrinterInformation();
    syncFromDocument();
    m_listWindow->documentRestored(change);
    m_printsList->documentRestored(change);
    for (PreviewPage page : change.pages)
        refresh(page);
}

void TMainWindow::openPrintsEditor(int list)
{
    m_printsList->setServices(m_dialogs, m_progress, m_refresher, [this] { PreviewShowClick(); });
    stepAside();
    m_printsList->openFor(list);
}

void TMainWindow::stepAside()
{
    // Hiding takes the focus away without leaving the field: the value being
    // edited is taken here (a text that is no number gets its message and
    // the stored value, as leaving it would).
    CommitEdit::commitFocused(this);
    m_standingPos = geometry().topLeft();
    hide();
}

void TMainWindow::comeBack()
{
    // A window mapped anew is placed by the window manager as it likes unless
    // the program states its position; the window still holds that same
    // position, so move() would send nothing: state it on the window itself.
    if (QWindow *handle = windowHandle())
        handle->setPosition(m_standingPos);
    show();
}

TMainWindow::~TMainWindow()
{
    // The document's history goes before the widgets whose focus and keys
    // reach it.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // No picture is read in the background once the modules go.
    m_pictureBackground->stop();
    delete m_historyKeys;
    delete m_listWindow;
    FreeSusiePlugins();
}

void TMainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(UiText::tr("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    auto add = [this](QMenu *menu, const char *name, const QString &text,
                   const QKeySequence &shortcut, void (TMainWindow::*slot)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(file, "NewMenu", UiText::tr("新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N),
        &TMainWindow::NewMenuClick);
    add(file, "OpenMenu", UiText::tr("開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O),
        &TMainWindow::OpenMenuClick);
    add(file, "SaveMenu", UiText::tr("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S),
        &TMainWindow::SaveMenuClick);
    add(file, "SaveAsMenu", UiText::tr("名前をつけて保存(&A)..."), QKeySequence(),
        &TMainWindow::SaveAsMenuClick);
    addPressPdfCommand(file, *this);
    file->addSeparator();
    add(file, "ExitMenu", UiText::tr("終了(&X)"), QKeySequence(), &TMainWindow::ExitMenuClick);

    QMenu *edit = bar->addMenu(UiText::tr("編集(&E)"));
    edit->setObjectName(QStringLiteral("Edit1"));
    m_undoAction = add(
        edit, "UndoMenu", UiText::tr("元に戻す(&U)"), QKeySequence(), &TMainWindow::UndoMenuClick);
    m_undoAction->setShortcuts(undoShortcuts());
    m_redoAction = add(
        edit, "RedoMenu", UiText::tr("やり直し(&R)"), QKeySequence(), &TMainWindow::RedoMenuClick);
    m_redoAction->setShortcuts(redoShortcuts());

    QMenu *help = bar->addMenu(UiText::tr("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Help1"));
    add(help, "Contents1", UiText::tr("目次(&C)"), QKeySequence(Qt::Key_F1),
        &TMainWindow::Contents1Click);
    help->addSeparator();
    add(help, "About", UiText::tr("ﾊﾞｰｼﾞｮﾝ情報(&A)..."), QKeySequence(), &TMainWindow::AboutClick);
}

// ---- Injection ---------------------------------------------------------------

void TMainWindow::setDialogs(UserDialogs *dialogs)
{
    m_dialogs = dialogs ? dialogs : m_ownDialogs.get();
    m_editor.setMessageSink(m_dialogs);
}

void TMainWindow::setPreviewRefresher(PreviewRefresher *refresher)
{
    m_refresher = refresher ? refresher : m_ownRefresher.get();
}

void TMainWindow::setPrinterBackend(PrinterBackend *printer)
{
    m_printer = printer;
}

void TMainWindow::setProgressWindow(ProgressSink *progress)
{
    m_progress = progress ? progress : m_messageWindow;
}

UserDialogs &TMainWindow::dialogs()
{
    return *m_dialogs;
}

ProgressSink &TMainWindow::progressWindow()
{
    return *m_progress;
}

HelpWindow *TMainWindow::helpWindow()
{
    if (!m_help) {
        m_help = new HelpWindow(this);
        // An open help window does not keep the program running.
        m_help->setAttribute(Qt::WA_QuitOnClose, false);
    }
    return m_help;
}

// ---- Settings ----------------------------------------------------------------

void TMainWindow::applySettings()
{
    QSettings settings;
    m_options = loadPrintOptions(settings);
    for (const PrintOptionInfo &info : printOptionTable()) {
        setCheckedQuietly(m_optionBoxes.value(QLatin1String(info.key)), m_options.*info.field);
    }
    showDiscStock();
    m_correctionPanel->showBleed(m_options.bleedMm);
    showBooklet();
    m_correctionPanel->showDevice(printer().device());
    showSpineTexts();
}

QWidget *TMainWindow::buildCorrectionPanel(QWidget *parent)
{
    m_correctionPanel = new PrintCorrectionPanel(parent);
    m_correctionPanel->setMessageHandler(
        [this](const QString &text) { dialogs().showMessage(text); });
    connect(m_correctionPanel, &PrintCorrectionPanel::bleedChosen, this, [this](int mm) {
        QSettings settings;
        storeBleed(settings, m_options, mm);
        if (settings.status() != QSettings::NoError)
            dialogs().showMessage(UiText::tr("設定(%1)が記録できません").arg(settings.fileName()));
        refresh(PreviewPage::Shown);
    });
    connect(m_correctionPanel, &PrintCorrectionPanel::calibrationSheetRequested, this,
        &TMainWindow::CalibrationPrintClick);
    return m_correctionPanel;
}

void TMainWindow::optionClicked(const QString &key, bool checked)
{
    QSettings settings;
    const std::optional<PreviewPage> page = storePrintOption(settings, m_options, key, checked);
    if (settings.status() != QSettings::NoError)
        dialogs().showMessage(UiText::tr("設定(%1)が記録できません").arg(settings.fileName()));
    showSpineTexts();
    if (page)
        refresh(*page);
}

// ---- Help ----------------------------------------------------------------------

void TMainWindow::Contents1Click()
{
    helpWindow()->showContents();
}

void TMainWindow::AboutClick()
{
    m_about->showBox();
}

// ---- Showing -------------------------------------------------------------------

void TMainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Restoring from the task bar is not a new showing.
    if (event->spontaneous())
        return;
    const int oldDpiX = m_document.dpiX, oldDpiY = m_document.dpiY;
    QueryPrinterResolution(printer(), dialogs());
    ComputeSurfacePixels(m_document);
    showPrinterInformation();
    syncFromDocument();
    // Pages are drawn at the reference resolution: another printer resolution
    // (the printer changed while the window was away) redraws the preview.
    if (m_document.dpiX != oldDpiX || m_document.dpiY != oldDpiY)
        refresh(PreviewPage::Shown);
    if (!m_shownBefore) {
        m_shownBefore = true;
        // After the window has been placed, so that the box centres on it.
        QTimer::singleShot(0, m_about, &TAboutBox::showBox);
    }
}

PrinterBackend &TMainWindow::printer()
{
    if (!m_printer) {
        m_ownPrinter = std::make_unique<QtPrinterBackend>();
        m_printer = m_ownPrinter.get();
    }
    return *m_printer;
}

// ---- The buttons below the tabs ------------------------------------------------

void TMainWindow::PreviewShowClick()
{
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
}

void TMainWindow::showPrinterInformation()
{
    m_correctionPanel->showDevice(printer().device());
    m_dpiX->setText(QString::asprintf("%ddpi", m_document.dpiX));
    m_dpiY->setText(QString::asprintf("%ddpi", m_document.dpiY));
    showSurfaceSizes();
}

void TMainWindow::showSurfaceSizes()
{
    const SurfacePixels &px = m_document.surfacePixels;
    auto set = [this](const char *name, int value) {
        if (QLabel *label = m_sizeLabels.value(QLatin1String(name)))
            label->setText(QString::asprintf("%d", value));
    };
    set("TopWidth", px.topWidth);
    set("TopHeight", px.topHeight);
    set("BottomWidth", px.bottomWidth);
    set("BottomHeight", px.bottomHeight);
    set("SideWidth", px.sideWidth);
    set("SideHeight", px.sideHeight);
    const CaseFormat &format = formatOf(m_document);
    for (Surface s : kDocumentSurfaces) {
        m_pictures[int(s)]->showSurfaceSize(px.width(s), px.height(s));
        m_pictures[int(s)]->showSurfaceMm(surfaceWidthMm(s, format), surfaceHeightMm(s, format));
    }
}

// ---- Mirroring -----------------------------------------------------------------

bool TMainWindow::picturesLoading() const
{
    return m_pictureBackground->busy();
}

void TMainWindow::waitForPictures()
{
    m_pictureBackground->waitUntilIdle();
}

void TMainWindow::refresh(PreviewPage page)
{
    m_refresher->RequestPreviewRefresh(page);
}

void TMainWindow::apply(const EditResult &result)
{
    syncFromDocument();
    for (PreviewPage page : result.pages)
        refresh(page);
}

void TMainWindow::applyEnabled(const ControlStates &states)
{
    enableSurfaceTabs(m_tabs, states);
    for (auto it = states.cbegin(); it != states.cend(); ++it) {
        // A control's caption, unit and note labels follow it.
        for (const QString &name : { it.key(), it.key() + QStringLiteral("Caption"),
                 it.key() + QStringLiteral("Unit"), it.key() + QStringLiteral("Note") }) {
            if (QWidget *w = findChild<QWidget *>(name))
                w->setEnabled(it.value());
        }
    }
}

void TMainWindow::showSpineTexts()
{
    for (Surface s : { Surface::Left, Surface::Right }) {
        QComboBox *list = m_titles[int(s)].spineText;
        const int index = spineTextListIndex(m_document, s, m_options);
        if (!list || list->currentIndex() == index)
            continue;
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(index);
    }
}

void TMainWindow::syncFromDocument()
{
    auto check = [](QCheckBox *box, bool on) { setCheckedQuietly(box, on); };
    auto text = [](QLineEdit *edit, const QString &value) {
        if (edit && edit->text() != value) {
            edit->setText(value);
            // A field that is not being edited shows the start of its text.
            if (!edit->hasFocus())
                edit->setCursorPosition(0);
        }
    };
    for (Surface s : kAllSurfaces) {
        const SurfaceSettings &ss = m_document.surface(s);
        const TitleSettings &t = ss.title;
        TitleControls &c = m_titles[int(s)];
        check(c.use, t.use);
        text(c.text, t.text);
        checkGroupQuietly(c.pos, int(t.posMode));
        check(c.xUse, t.customXUse);
        check(c.yUse, t.customYUse);
        if (c.x)
            text(c.x, QString::number(t.customX));
        if (c.y)
            text(c.y, QString::number(t.customY));
        if (c.offset)
            text(c.offset, QString::number(t.offset));
        check(c.sameAsFront, ss.titleSameAsFront);
        check(c.sameAsLeft, ss.titleSameAsLeft);
        m_pictures[int(s)]->showPlacement(m_document);
    }
    m_pictures[int(Surface::Disc)]->showPlacement(m_document);
    showDiscTexts();
    showSpineTexts();
    m_pictures[int(Surface::Bottom)]->setLinkChecked(m_document.bottom.pictureSameAsFront);
    m_pictures[int(Surface::Right)]->setLinkChecked(m_document.right.pictureSameAsLeft);
    check(findChild<QCheckBox *>(QStringLiteral("UseTopList")), m_document.top.useList);
    check(findChild<QCheckBox *>(QStringLiteral("UseBottomList")), m_document.bottom.useList);
    check(findChild<QCheckBox *>(QStringLiteral("UseTop1Prints")), m_document.top.useCoverPrints);
    check(findChild<QCheckBox *>(QStringLiteral("UseTop2Prints")), m_document.top.useInsidePrints);
    check(findChild<QCheckBox *>(QStringLiteral("UseBottomPrints")), m_document.bottom.usePrints);
    check(findChild<QCheckBox *>(QStringLiteral("UseDiscList")), m_document.disc.useList);
    check(findChild<QCheckBox *>(QStringLiteral("UseDiscPrints")), m_document.disc.usePrints);

    m_caseType->showDocument(m_document);
    // The custom case's sizes take the room of "背表紙印刷", which turns a
    // jewel case's upward spine title and which a wrap's one spine, running
    // downward, does not use: it is put away while they show.
    if (QWidget *spines = findChild<QWidget *>(QStringLiteral("SpinePrintGroup")))
        spines->setVisible(!formatOf(m_document).custom);
    m_swatches[0]->setColor(m_document.top.backgroundColor1);
    m_swatches[1]->setColor(m_document.top.backgroundColor2);
    m_swatches[2]->setColor(m_document.bottom.backgroundColor1);
    m_swatches[3]->setColor(m_document.left.backgroundColor1);
    m_swatches[4]->setColor(m_document.right.backgroundColor1);
    m_discSwatch->setColor(m_document.disc.backgroundColor1);

    // The case's sizes may have changed with the document.
    showSurfaceSizes();
    applyEnabled(enabledStates(m_document));
    showBooklet();
}

} // namespace cw
