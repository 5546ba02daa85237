#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/UserPrompts.h"
#include "fonts/BulkFontChange.h"
#include "fonts/Font.h"

class QPrinter;

namespace cw {

// The answers to "変更を保存しますか？".
enum class SaveChangesAnswer { Save, Discard, Cancel };

// Every modal dialog the main window opens, behind one interface, so that
// tests answer them without a modal loop.
class UserDialogs : public MessageSink, public ConfirmSink
{
public:
    // Open dialog: the path and the file must exist. `filter` uses the
    // "description|patterns" form. Empty when cancelled.
    virtual QString openFile(const QString &filter, const QString &defaultSuffix) = 0;
    // Save dialog starting from `currentName`, asking before it overwrites an
    // existing file; a name ending in "/" is a folder to start in with an
    // empty file name. Empty when cancelled.
    virtual QString saveFile(
        const QString &currentName, const QString &filter, const QString &defaultSuffix)
        = 0;
    // The picture open dialog with its preview pane, starting in
    // `startFolder` (the dialog's own choice when empty). Empty when
    // cancelled.
    virtual QString openPicture(const QString &filter, const QString &startFolder) = 0;
    // The colour dialog, starting with `start`. Nothing when cancelled.
    virtual std::optional<ColorRef> chooseColor(ColorRef start) = 0;
    // The font dialog on `font`. Nothing when cancelled.
    virtual std::optional<FontSpec> chooseFont(const FontSpec &font) = 0;
    // The bulk font change window on `font`. Nothing when cancelled.
    virtual std::optional<BulkFontChoice> chooseBulkFontChange(const FontSpec &font) = 0;
    // The transparent-colour picker on `picture`. It keeps the colour picked
    // last for the run, also when that pick was cancelled. Nothing when
    // cancelled.
    virtual std::optional<ColorRef> pickTransparentColor(const QImage &picture) = 0;
    // Open dialog in which several existing files may be chosen at once.
    // Empty when cancelled.
    virtual QStringList openFiles(const QString &filter) = 0;
    // The print dialog on `printer`: a printer or a PDF file (the dialog asks
    // for the file's name and before it overwrites a file), the copies and,
    // for a job of more than one page, which of the pages 1 to `pageCount`
    // to print. False when cancelled.
    virtual bool choosePrint(QPrinter &printer, int pageCount) = 0;
    // The printer setup: chooses the printer, or the PDF file target, for
    // the next prints; nothing is printed.
    virtual void choosePrinter(QPrinter &printer) = 0;
    // Whether to save a changed document before it goes: "はい", "いいえ",
    // "キャンセル" (also Escape and the frame's close button).
    virtual SaveChangesAnswer askSaveChanges(const QString &text, const QString &caption) = 0;
};

} // namespace cw
