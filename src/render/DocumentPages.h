#pragma once

#include "render/PrintDocument.h"

// The page drawer of a document: page 0 through DrawFrontPage, page 1
// through DrawBackPage, with the given print options. The document must
// outlive the drawer; the options are copied.
PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions &options);
// The same, reading the options anew at every drawing (they change while the
// program runs).
PageDrawer documentPageDrawer(LabelDocument &doc, const PrintOptions *options);
