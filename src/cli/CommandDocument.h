#pragma once

#include <optional>

#include "base/Printer.h"
#include "cli/CliCommand.h"
#include "document/DocumentFile.h"
#include "document/LabelDocument.h"
#include "render/OutputWarmUp.h"

namespace cw::cli {

// The document a command works on.
struct CommandDocument
{
    LabelDocument doc;
    DocumentFileInfo file; // the version and text encoding it was read in
    // Started while the document is read; waited for when this goes.
    std::optional<OutputWarmUp> warmUp;
};

// How a command has its document read.
struct DocumentReading
{
    // Without --printer-dpi the document is laid out at this printer's
    // resolution (printing to a printer); with neither, at 300 dpi.
    PrinterBackend *printer = nullptr;
    // Readies drawing on a second thread while the document is read.
    std::optional<OutputWarmUp::Target> warmUp;
};

// Reads the document at `path` for a command: sets the printer resolution,
// starts the warm-up, sizes the surfaces for that resolution, readies the
// picture decoders and reads the file. False when it cannot be read (the
// reader has said why through `messages`). Throws UsageError for an invalid
// --printer-dpi.
bool loadCommandDocument(const Args &args, const QString &path, MessageSink &messages,
    CommandDocument &document, const DocumentReading &reading = {});

} // namespace cw::cli
