#include "cli/PrinterModule.h"

#include <QByteArray>
#include <QFile>
#include <dlfcn.h>

#include "base/ProgramFolders.h"

namespace cw {

namespace cli {

const PrinterModuleApi *printerModule(QString *error)
{
    static const PrinterModuleApi *api = nullptr;
    static QString reason;
    static bool tried = false;
    if (!tried) {
        tried = true;
        // In the program's module folder (found without an application
        // object, which does not exist yet when the module provides it).
        const QByteArray path
            = QFile::encodeName(programModuleFolder() + QStringLiteral("/casewright-printing.so"));
        void *handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        auto entry = handle
            ? reinterpret_cast<PrinterModuleEntry>(dlsym(handle, "casewright_printer_module"))
            : nullptr;
        api = entry ? entry() : nullptr;
        if (!api)
            reason = QString::fromLocal8Bit(dlerror());
    }
    if (!api && error)
        *error = reason;
    return api;
}

} // namespace cli

} // namespace cw
