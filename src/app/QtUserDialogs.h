#pragma once

#include <QPointer>

#include "widgets/UserDialogs.h"

class QFileDialog;
class QWidget;

namespace cw {

class TFontChange;

// The real dialogs, parented to `parent`.
class QtUserDialogs : public UserDialogs
{
public:
    explicit QtUserDialogs(QWidget *parent);
    ~QtUserDialogs() override;
    void showMessage(const QString &text) override;
    bool confirm(const QString &text, const QString &caption) override;
    SaveChangesAnswer askSaveChanges(const QString &text, const QString &caption) override;
    QString openFile(const QString &filter, const QString &defaultSuffix) override;
    QString saveFile(
        const QString &currentName, const QString &filter, const QString &defaultSuffix) override;
    QString openPicture(const QString &filter, const QString &startFolder) override;
    std::optional<ColorRef> chooseColor(ColorRef start) override;
    std::optional<FontSpec> chooseFont(const FontSpec &font) override;
    std::optional<BulkFontChoice> chooseBulkFontChange(const FontSpec &font) override;
    std::optional<ColorRef> pickTransparentColor(const QImage &picture) override;
    QStringList openFiles(const QString &filter) override;
    bool choosePrint(QPrinter &printer, int pageCount) override;
    void choosePrinter(QPrinter &printer) override;

    // Where a save dialog starts: in the folder of `currentName` with its
    // file name, or, for a name ending in "/", in that folder with no name.
    static void startSaveDialogAt(QFileDialog &dialog, const QString &currentName);

private:
    QWidget *m_parent;
    class TTransColGet *m_transColGet = nullptr; // made on first use, then reused
    // Created on first use and kept for the run; a child of m_parent.
    QPointer<TFontChange> m_fontChange;
};

} // namespace cw
