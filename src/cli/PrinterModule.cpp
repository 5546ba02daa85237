#include "cli/PrinterModule.h"

#include <QByteArray>
#include <QFileInfo>
#include <dlfcn.h>

namespace cw {

namespace cli {

const PrinterModuleApi *printerModule(QString *error)
{
    static const PrinterModuleApi *api = nullptr;
    static QString reason;
    static bool tried = false;
    if (!tried) {
        tried = true;
        // Beside the executable; asked of the system because no application
        // object exists yet when the module provides it.
        const QString dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
        const QByteArray path = QFileInfo(dir + QStringLiteral("/casewright-printing.so"))
                                    .absoluteFilePath()
                                    .toLocal8Bit();
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
