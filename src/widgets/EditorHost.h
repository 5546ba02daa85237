#pragma once

#include "base/PreviewPage.h"

class QWidget;

namespace cw {

class DocumentEditor;
struct EditResult;
class ListTemplateStore;
class UserDialogs;
struct LabelDocument;

// The window an editor stands in for while it is open: it owns the document,
// its change operations, the list templates and the dialogs, and shows the
// preview. The main window is the one host of the program.
class EditorHost
{
public:
    virtual ~EditorHost() = default;
    // The host's own window: the editor opens where it stands.
    virtual QWidget *hostWindow() = 0;
    virtual LabelDocument &document() = 0;
    virtual DocumentEditor &editor() = 0;
    virtual ListTemplateStore &templates() = 0;
    virtual UserDialogs &dialogs() = 0;
    virtual void requestPreviewRefresh(PreviewPage page) = 0;
    // An editor changed the host's own settings through the document's
    // change operations: the host shows the new values and enabled states at
    // once (hidden or not) and redraws the pages the change names.
    virtual void showEdit(const EditResult &result) = 0;
    // The preview window, shown and brought to the front.
    virtual void showPreview() = 0;
    // The host leaves the screen while an editor replaces it, and comes back
    // where it stood when the editor closes.
    virtual void stepAside() = 0;
    virtual void comeBack() = 0;
};

} // namespace cw
