// A booklet in the main window: "ブックレット" under the case type (the page
// count) and the "ページ" tab, which shows one inner page at a time, chosen
// in its page list, and how both sides are printed.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "app/PicturePanel.h"
#include "app/TMainWindow.h"
#include "base/BookletFormat.h"
#include "base/BookletImposition.h"
#include "base/UiText.h"
#include "base/Units.h"
#include "document/BookletPages.h"
#include "document/StepLabels.h"
#include "prints/PrintsItems.h"
#include "render/PrintDocument.h"
#include "widgets/ColorSwatch.h"
#include "widgets/EnglishSizes.h"
#include "widgets/QuietChecks.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

// A drop-down list under a caption: on Linux a list reads as the entry it
// shows, so what it is for is its name and its hint.
QComboBox *captionedList(
    QGridLayout *grid, int row, const QString &caption, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name + QStringLiteral("Caption"));
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setAccessibleName(caption);
    list->setToolTip(caption);
    label->setBuddy(list);
    grid->addWidget(label, row, 0);
    grid->addWidget(list, row, 1);
    return list;
}

} // namespace

QWidget *TMainWindow::buildBookletRow(QWidget *parent)
{
    // A row of its own under the case it belongs to: "ブックレット" and the
    // page count, for a case that may have a booklet only.
    auto *row = new QWidget(parent);
    row->setObjectName(QStringLiteral("BookletRow"));
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 2, 0, 0);
    h->setSpacing(6);
    const QString caption = UiText::tr("ブックレット");
    auto *label = new QLabel(caption, row);
    label->setObjectName(QStringLiteral("BookletPagesCaption"));
    m_bookletPages = new QComboBox(row);
    m_bookletPages->setObjectName(QStringLiteral("BookletPages"));
    m_bookletPages->setAccessibleName(caption);
    m_bookletPages->setToolTip(caption);
    label->setBuddy(m_bookletPages);
    for (int pages : kBookletPageCounts)
        m_bookletPages->addItem(UiText::tr("%1ページ").arg(pages), pages);
    h->addWidget(label);
    h->addWidget(m_bookletPages);
    h->addStretch(1);
    // currentIndexChanged: every way of choosing an entry reports it once;
    // showing the document blocks the list's signals.
    connect(m_bookletPages, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        apply(m_editor.chooseBookletPages(m_bookletPages->itemData(index).toInt(), dialogs()));
        // "いいえ" leaves the count as it was: the list shows it again.
        showBooklet();
    });
    return row;
}

QWidget *TMainWindow::buildPagesTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("PageTag"));
    auto *columns = new QHBoxLayout(tab);
    columns->setContentsMargins(5, 6, 5, 6);
    columns->setSpacing(6);
    auto *left = new QVBoxLayout;
    left->setSpacing(4);

    auto *choice = new QGroupBox(UiText::tr("ページ"), tab);
    choice->setObjectName(QStringLiteral("PageChoiceGroup"));
    auto *grid = new QGridLayout(choice);
    grid->setContentsMargins(8, 4, 8, 6);
    m_pageChoice = captionedList(
        grid, 0, UiText::tr("表示するページ"), QStringLiteral("PageChoice"), choice);
    connect(m_pageChoice, &QComboBox::currentIndexChanged, this, [this](int) { showPageTab(); });
    auto *colourCaption = new QLabel(UiText::tr("背景色"), choice);
    colourCaption->setObjectName(QStringLiteral("PageBGColorCaption"));
    m_pageSwatch = new ColorSwatch(choice);
    m_pageSwatch->setObjectName(QStringLiteral("PageBGColor"));
    m_pageSwatch->setFixedSize(48, 18);
    m_pageSwatch->setAccessibleName(colourCaption->text());
    colourCaption->setBuddy(m_pageSwatch);
    grid->addWidget(colourCaption, 1, 0);
    grid->addWidget(m_pageSwatch, 1, 1, Qt::AlignLeft);
    connect(m_pageSwatch, &ColorSwatch::pressed, this, [this] {
        const int page = chosenPage();
        const std::optional<ColorRef> chosen = dialogs().chooseColor(m_lastColor);
        if (!chosen || page < 2)
            return;
        m_lastColor = *chosen;
        apply(m_editor.setPageBackground(page, *chosen));
    });
    grid->setColumnStretch(1, 1);
    left->addWidget(choice);

    auto *items = new QGroupBox(UiText::tr("リスト・任意印刷"), tab);
    items->setObjectName(QStringLiteral("PageItemGroup"));
    auto *rows = new QGridLayout(items);
    rows->setContentsMargins(6, 4, 6, 6);
    rows->setVerticalSpacing(3);
    auto row = [&](int r, const QString &caption, const char *switchName, const char *buttonName,
                   const QString &buttonText) {
        auto *sw = new QCheckBox(caption, items);
        sw->setObjectName(QLatin1String(switchName));
        auto *button = new QPushButton(buttonText, items);
        button->setObjectName(QLatin1String(buttonName));
        button->setAccessibleDescription(caption);
        rows->addWidget(sw, r, 0);
        rows->addWidget(button, r, 1);
        return std::pair { sw, button };
    };
    auto [useList, listEdit]
        = row(0, UiText::tr("リスト"), "UsePageList", "PageListEdit", UiText::tr("リスト編集"));
    auto [usePrints, printsEdit] = row(
        1, UiText::tr("任意印刷"), "UsePagePrints", "PagePrintsEdit", UiText::tr("印刷項目編集"));
    m_pageUseList = useList;
    m_pageUsePrints = usePrints;
    connect(useList, &QCheckBox::toggled, this,
        [this](bool on) { apply(m_editor.setPageUseList(chosenPage(), on)); });
    connect(usePrints, &QCheckBox::toggled, this,
        [this](bool on) { apply(m_editor.setPageUsePrints(chosenPage(), on)); });
    connect(listEdit, &QPushButton::clicked, this, [this] {
        if (chosenPage() >= 2)
            Q_EMIT listEditRequested(pageListSurface(chosenPage()));
    });
    connect(printsEdit, &QPushButton::clicked, this, [this] {
        if (chosenPage() >= 2)
            Q_EMIT printsEditRequested(int(pagePrintsList(chosenPage())));
    });
    rows->setColumnStretch(0, 1);
    growForEnglish(items);
    left->addWidget(items);

    // How the booklet's sheets go through the printer: by its duplex unit or
    // by hand, kept in the settings as the print options are, and the note
    // that says how the sheets are turned.
    auto *printing = new QGroupBox(UiText::tr("両面印刷"), tab);
    printing->setObjectName(QStringLiteral("PagePrintGroup"));
    auto *printRows = new QVBoxLayout(printing);
    printRows->setContentsMargins(8, 4, 8, 6);
    m_bookletDuplex = new QComboBox(printing);
    m_bookletDuplex->setObjectName(QStringLiteral("BookletDuplex"));
    m_bookletDuplex->setAccessibleName(printing->title());
    m_bookletDuplex->setToolTip(printing->title());
    m_bookletDuplex->addItems({ UiText::tr("プリンタで両面"), UiText::tr("手動で両面") });
    connect(m_bookletDuplex, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        optionClicked(QStringLiteral("BookletManualDuplex"), index == 1);
        showBooklet();
    });
    m_duplexNote = new QLabel(printing);
    m_duplexNote->setObjectName(QStringLiteral("BookletDuplexNote"));
    m_duplexNote->setWordWrap(true);
    printRows->addWidget(m_bookletDuplex, 0, Qt::AlignLeft);
    printRows->addWidget(m_duplexNote);
    growForEnglish(printing);
    left->addWidget(printing);
    left->addStretch(1);
    columns->addLayout(left, 0);

    // The chosen page's picture, placed as a face's.
    m_pagePicture = new PicturePanel(PictureSlot::ofPage(2), tab);
    columns->addWidget(m_pagePicture, 1);
    bindPicture(m_pagePicture);

    QWidget::setTabOrder(m_pageChoice, m_pageSwatch);
    QWidget::setTabOrder(m_pageSwatch, useList);
    QWidget::setTabOrder(useList, listEdit);
    QWidget::setTabOrder(listEdit, usePrints);
    QWidget::setTabOrder(usePrints, printsEdit);
    QWidget::setTabOrder(printsEdit, m_bookletDuplex);
    setTabOrderChain(QList<QWidget *> { m_bookletDuplex } + m_pagePicture->readingOrder());
    return tab;
}

int TMainWindow::chosenPage() const
{
    return m_pageChoice && m_pageChoice->currentIndex() >= 0 ? m_pageChoice->currentData().toInt()
                                                             : 0;
}

void TMainWindow::showBooklet()
{
    // Only a case that may have a booklet offers one.
    QWidget *row = m_bookletPages->parentWidget();
    const bool offered = bookletFrontSheet(caseFormatOf(m_document)) != nullptr;
    if (row->isVisibleTo(row->parentWidget()) != offered)
        row->setVisible(offered);
    const int pagesIndex = m_bookletPages->findData(m_document.bookletPages);
    if (m_bookletPages->currentIndex() != pagesIndex) {
        const QSignalBlocker quiet(m_bookletPages);
        m_bookletPages->setCurrentIndex(pagesIndex);
    }
    const int duplexIndex = m_options.manualDuplex ? 1 : 0;
    if (m_bookletDuplex->currentIndex() != duplexIndex) {
        const QSignalBlocker quiet(m_bookletDuplex);
        m_bookletDuplex->setCurrentIndex(duplexIndex);
    }
    m_duplexNote->setText(duplexNote(m_options.manualDuplex));

    // The page list holds the inner pages; the page shown stays while the
    // booklet has it, else the last inner page is shown.
    const int inner = m_document.bookletPages - 2;
    if (m_pageChoice->count() != inner) {
        const int was = chosenPage();
        const QSignalBlocker quiet(m_pageChoice);
        m_pageChoice->clear();
        for (int page = 2; page < m_document.bookletPages; ++page)
            m_pageChoice->addItem(bookletPageName(page), page);
        // A new booklet shows its page 2; fewer pages, their last.
        const int index = m_pageChoice->findData(was);
        m_pageChoice->setCurrentIndex(index >= 0 ? index : was == 0 ? 0 : inner - 1);
    }
    showPageTab();
}

void TMainWindow::showPageTab()
{
    const int page = chosenPage();
    const bool has = page >= 2 && page - 2 < m_document.pages.size();
    m_pageSwatch->setColor(has ? m_document.pages[page - 2].background : BookletPage().background);
    const QMap<QString, QString> values = pageControlValues(m_document, page);
    setCheckedQuietly(
        m_pageUseList, values.value(m_pageUseList->objectName()) == QLatin1String("1"));
    setCheckedQuietly(
        m_pageUsePrints, values.value(m_pageUsePrints->objectName()) == QLatin1String("1"));
    // The picture panel shows the page chosen, on a face's size.
    m_pagePicture->setSlot(PictureSlot::ofPage(std::max(page, 2)));
    m_pagePicture->showPlacement(m_document);
    const SurfacePixels &px = m_document.surfacePixels;
    m_pagePicture->showSurfaceSize(px.width(Surface::Top), px.height(Surface::Top));
    const CaseFormat &format = formatOf(m_document);
    m_pagePicture->showSurfaceMm(
        surfaceWidthMm(Surface::Top, format), surfaceHeightMm(Surface::Top, format));
    applyEnabled(pageControlStates(m_document, page));
}

} // namespace cw
