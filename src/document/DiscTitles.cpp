#include "document/DiscTitles.h"

namespace cw {

EditResult applyDiscTitles(
    DocumentEditor &editor, const QString &discTitle, const QString &discPerformer)
{
    EditResult r;
    if (discTitle.isEmpty() && discPerformer.isEmpty())
        return r;
    const LabelDocument &doc = editor.document();
    r.merge(editor.setTitleUse(Surface::Top, true));
    r.merge(editor.setTitleText(Surface::Top, frontTitleFor(discTitle, discPerformer)));
    const QString spine = spineTitleFor(discTitle, discPerformer);
    r.merge(editor.setTitleUse(Surface::Left, true));
    if (!doc.left.titleSameAsFront)
        r.merge(editor.setTitleText(Surface::Left, spine));
    r.merge(editor.setTitleUse(Surface::Right, true));
    if (!doc.right.titleSameAsFront && !doc.right.titleSameAsLeft)
        r.merge(editor.setTitleText(Surface::Right, spine));
    return r;
}

EditResult offerDiscTitles(
    DocumentEditor &editor, const ListImportOutcome &outcome, ConfirmSink &confirm)
{
    if (!outcome.offersTitles()
        || !confirm.confirm(UiText::tr(kUseForTitlesQuestion), UiText::tr(kUseForTitlesCaption)))
        return EditResult();
    return applyDiscTitles(editor, outcome.discTitle, outcome.discPerformer);
}

} // namespace cw
