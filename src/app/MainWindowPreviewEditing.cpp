// The main window's side of moving things in the preview: the preview moves
// them through the document's change operations, and the main window shows
// the results and opens the editors.
#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QTabWidget>
#include <algorithm>

#include "app/TMainWindow.h"
#include "document/BookletPages.h"
#include "prints/ui/TPrintsList.h"
#include "render/PictureFileReader.h"
#include "render/ui/TPreviewWindow.h"
#include "tracklist/ListLayoutRules.h"

namespace cw {

void TMainWindow::bindPreviewEditing()
{
    m_preview->setEditing({ &m_editor, &m_printsList->editor(),
        [this](const EditResult &r, const PagePart &part) { movedInPreview(r, part); },
        [this](const PagePart &part) { editPart(part); },
        [this] {
            // Picture items keep their aspect as the free-print editor's tick says.
            auto *keep = m_printsList->findChild<QCheckBox *>(QStringLiteral("SizeRateFixed"));
            return !keep || keep->isChecked();
        },
        [this](bool on) { m_pictureHold->setHolding(on); } });
}

void TMainWindow::movedInPreview(const EditResult &result, const PagePart &part)
{
    apply(result);
    if (part.kind == PartKind::PrintText || part.kind == PartKind::PrintPicture) {
        // The free-print editor shows the moved item's list again (a
        // booklet page's with its page).
        HistoryChange change;
        if (pageOfPrintsList(PrintsList(part.owner)))
            change.booklet = true;
        else
            change.prints[size_t(std::clamp(part.owner, 0, kPrintsListCount - 1))] = true;
        m_printsList->documentRestored(change);
    }
}

void TMainWindow::editPart(const PagePart &part)
{
    switch (part.kind) {
    case PartKind::Title:
    case PartKind::Picture:
        if (const PictureSlot slot = pictureSlotOfOwner(part.owner);
            part.kind == PartKind::Picture && slot.isPage()) {
            // A booklet page's picture: the "ページ" tab on that page.
            const int index = m_pageChoice->findData(slot.page);
            if (index >= 0)
                m_pageChoice->setCurrentIndex(index);
            m_tabs->setCurrentWidget(m_tabs->findChild<QWidget *>(QStringLiteral("PageTag")));
        } else {
            m_tabs->setCurrentIndex(std::clamp(part.owner, 0, int(Surface::Disc)));
        }
        if (!isVisible())
            comeBack();
        raise();
        activateWindow();
        return;
    case PartKind::List:
        Q_EMIT listEditRequested(pageOfListSurface(part.owner)
                ? part.owner
                : std::clamp(part.owner, 0, kListSurfaceCount - 1));
        return;
    case PartKind::PrintText:
    case PartKind::PrintPicture:
        openPrintsEditor(std::clamp(part.owner, 0, kMaxPrintsLists - 1));
        m_printsList->listBox()->setCurrentIndex(
            m_printsList->listBox()->model()->index(part.index, 0));
        return;
    }
}

} // namespace cw
