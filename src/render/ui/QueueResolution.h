#pragma once

#include <QString>
#include <optional>

#include "base/Printer.h"

class QPrinter;

namespace cw {

// The resolution a CUPS queue prints at: the "Resolution" job option chosen
// for the job (`chosen`, the choice of the print dialog's properties), else
// the queue's own default for it (lpoptions), else the printer's default
// resolution (its driver's, a PPD's DefaultResolution). Nothing for a queue
// that states none (a raw queue).
std::optional<PrinterResolution> queueResolution(const QString &queue, const QString &chosen);

// Makes a printer on a CUPS queue draw at the queue's own resolution, when
// the queue states one; a PDF file target and a queue that states none keep
// theirs. The horizontal resolution is the printer's (Qt draws at one).
void takeQueueResolution(QPrinter &printer);

} // namespace cw
