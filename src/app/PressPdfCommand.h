#pragma once

class QAction;
class QMenu;

namespace cw {

class TMainWindow;

// "印刷所用PDF出力..." of the File menu: added to `file`, run on `window`.
QAction *addPressPdfCommand(QMenu *file, TMainWindow &window);

// The command: asks for the file's name (beside the document, named after
// it), then writes the window's document as a PDF for a print shop at
// kPressDpi with the bleed of the print options. A failure is shown as a
// message; a cancelled dialog writes nothing.
void exportPressPdfFrom(TMainWindow &window);

} // namespace cw
