#pragma once

#include "render/PrintDocument.h"

namespace cw {

class PictureFileReader;

// Whether the preview offers the disc face's page: while it is printed, or
// while the document has anything on it.
bool discPageShown(const LabelDocument &doc, const PrintOptions &options);

// The page drawer of a document: each sheet of the document's case format
// through DrawSheet, with the given print options. The document (and the
// reader, when given) must outlive the drawer; the options are copied.
// Picture files are read through `reader` (null: without messages).
PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions &options,
                              PictureFileReader *reader = nullptr);
// The same, reading the options anew at every drawing (they change while the
// program runs). The preview's drawer (`preview`) draws the disc's ring as a
// guide, so that a white disc face shows where it ends, and a booklet as it
// is read (previewFormatOf) rather than on its sheets' sides.
PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions *options,
                              PictureFileReader *reader = nullptr, bool preview = false);
// The sheets the preview shows: a booklet's pages in reading order
// (bookletSpreadFormat), else the document's format.
const CaseFormat &previewFormatOf(const LabelDocument &doc);

} // namespace cw
