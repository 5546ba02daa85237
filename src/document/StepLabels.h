#pragma once

#include <QString>

#include "base/Surface.h"
#include "document/DocumentControls.h"

namespace cw {

// The names of the main window's steps and the keys of its typed fields.

// "表レーベル", "裏レーベル", "背表紙(左)", "背表紙(右)": the surface's tab, as
// the window names it and as the file's comments name its sections.
QString surfaceTabName(Surface s);
// "タイトル(表レーベル)": a control and the tab it is on.
QString onSurface(const QString &what, Surface s);
// The typing key of a field of a surface's tab.
QString typingKey(const char16_t *field, Surface s);
// A booklet's page by its number: "2ページ目".
QString bookletPageName(int page);
// "背景色設定(表レーベル(表))".
QString swatchLabel(Swatch swatch);

} // namespace cw
