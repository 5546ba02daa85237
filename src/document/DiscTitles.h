#pragma once

#include <QString>

#include "base/UiText.h"
#include "base/UserPrompts.h"
#include "document/DocumentEditor.h"
#include "tracklist/AlbumImport.h"

namespace cw {

// The disc title and performer an album import found, put into the
// document's titles.

// Puts a disc title and performer into the front title and the spine titles
// through the document's change operations, so the title links carry them on:
// the front title is switched on and gets frontTitleFor(); each spine is
// switched on and, unless it follows the front or the left spine, gets
// spineTitleFor(). Nothing changes when both texts are empty.
EditResult applyDiscTitles(
    DocumentEditor &editor, const QString &discTitle, const QString &discPerformer);

// The question asked once after an import that found a disc title or
// performer, with the caption of the program's other confirmations.
inline const char kUseForTitlesQuestion[]
    = QT_TRANSLATE_NOOP("cw::UiText", "タイトルにも使いますか？");
inline const char kUseForTitlesCaption[] = QT_TRANSLATE_NOOP("cw::UiText", "確認");

// After an import: when it offers titles, asks kUseForTitlesQuestion (Yes /
// No, No preselected) and on Yes applies them with applyDiscTitles(). Asks
// nothing and changes nothing when the import found no titles.
EditResult offerDiscTitles(
    DocumentEditor &editor, const ListImportOutcome &outcome, ConfirmSink &confirm);

} // namespace cw
