#pragma once

class QFileDialog;

namespace cw {

// Qt's own file dialog writes the sizes and dates of its file list in the
// system's locale, whatever language the interface speaks: under the C
// locale (whose interface is Japanese) a Japanese window would list
// "9 Dec 2026" and "98 bytes". This puts a model between the dialog's views
// and its files that writes them in the interface's locale, QLocale()
// (installTranslations sets it), and passes everything else through.
void listFilesInInterfaceLocale(QFileDialog &dialog);

} // namespace cw
