// The main window's file commands: "新規作成", "開く", saving and ending the
// program. A command that replaces the document or ends the program first
// offers to save a document that was changed since it was opened or saved
// (the document's history decides what counts as changed).
#include <QCloseEvent>

#include "app/HelpWindow.h"
#include "app/TMainWindow.h"
#include "base/UiText.h"
#include "tracklist/ui/TListWindow.h"
#include "widgets/CommitEdit.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

const char *const kOpenFilter
    = QT_TRANSLATE_NOOP("cw::UiText", "Casewright Data(*.CWR)|*.cwr|すべてのファイル(*.*)|*.*");
const QString kSaveFilter = QStringLiteral("Casewright Data(*.CWR)|*.cwr");
const QString kDefaultSuffix = QStringLiteral("cwr");

} // namespace

bool TMainWindow::settleChanges(const QString &caption)
{
    if (!m_editor.history().isModified())
        return true;
    switch (dialogs().askSaveChanges(UiText::tr("変更を保存しますか？"), caption)) {
    case SaveChangesAnswer::Save:
        // A cancelled name or a save that failed (after its message) keeps
        // the document and the program as they are.
        return saveDocument();
    case SaveChangesAnswer::Discard:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}

void TMainWindow::NewMenuClick()
{
    // The field being edited is taken first, as leaving it would.
    if (!CommitEdit::commitFocused(this))
        return;
    if (m_editor.history().isModified()) {
        if (!settleChanges(UiText::tr("確認")))
            return;
    } else if (!dialogs().confirm(
                   UiText::tr("現在のデータが消えますがよろしいですか？"), UiText::tr("確認"))) {
        return;
    }
    apply(m_editor.resetToNew());
    m_listWindow->resetControls();
}

void TMainWindow::OpenMenuClick()
{
    if (!CommitEdit::commitFocused(this) || !settleChanges(UiText::tr("確認")))
        return;
    const QString path = dialogs().openFile(UiText::tr(kOpenFilter), kDefaultSuffix);
    if (path.isEmpty())
        return;
    openDocument(path);
}

bool TMainWindow::openDocument(const QString &path)
{
    const bool ok = m_editor.load(path, progressWindow());
    syncFromDocument();
    refresh(PreviewPage::Shown);
    return ok;
}

bool TMainWindow::saveDocument()
{
    QString path = m_document.fileName;
    if (path.isEmpty()) {
        path = dialogs().saveFile(QString(), kSaveFilter, kDefaultSuffix);
        if (path.isEmpty())
            return false;
    }
    return m_editor.save(path, &dialogs());
}

void TMainWindow::SaveMenuClick()
{
    saveDocument();
}

void TMainWindow::SaveAsMenuClick()
{
    const QString path = dialogs().saveFile(m_document.fileName, kSaveFilter, kDefaultSuffix);
    if (path.isEmpty())
        return;
    m_editor.save(path, &dialogs());
}

void TMainWindow::ExitMenuClick()
{
    close();
}

void TMainWindow::closeEvent(QCloseEvent *event)
{
    // The field being edited is taken first, as leaving it would; a text
    // that is no number keeps the window open.
    if (!CommitEdit::commitFocused(this)) {
        event->ignore();
        return;
    }
    const bool end = m_editor.history().isModified()
        ? settleChanges(UiText::tr("終了確認"))
        : dialogs().confirm(UiText::tr("終了してよろしいですか？"), UiText::tr("終了確認"));
    if (!end) {
        event->ignore();
        return;
    }
    if (m_help)
        m_help->close();
    event->accept();
}

} // namespace cw
