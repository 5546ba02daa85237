#pragma once

#include "render/PrintDocument.h"

namespace cw {

class PictureFileReader;

// The page drawer of a document: each sheet of the document's case format
// through DrawSheet, with the given print options. The document (and the
// reader, when given) must outlive the drawer; the options are copied.
// Picture files are read through `reader` (null: without messages).
PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions &options,
                              PictureFileReader *reader = nullptr);
// The same, reading the options anew at every drawing (they change while the
// program runs).
PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions *options,
                              PictureFileReader *reader = nullptr);

} // namespace cw
