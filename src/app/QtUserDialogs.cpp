#include "app/QtUserDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QSpacerItem>

#include "pictures/ui/TOpenPictureDialogEx.h"
#include "pictures/ui/TTransColGet.h"
#include "render/WindowPlacement.h"
#include "fonts/ui/TFontChange.h"
#include "fonts/ui/TFontDialogEx.h"
#include "render/ui/QtPrintTarget.h"
#include "text/FileFilter.h"
#include "widgets/FileDialogLocale.h"

namespace cw {

namespace {

QString appTitle()
{
    return QStringLiteral("Casewright");
}

// Qt's own dialog (not the desktop's), so that the description of every
// filter entry is shown exactly as written.
void prepare(QFileDialog &dialog, const QString &filter, const QString &defaultSuffix)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    listFilesInInterfaceLocale(dialog);
    dialog.setNameFilters(toQtFilters(filter));
    if (!defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(defaultSuffix);
}

// A message box is as wide as its text and buttons; a short message would
// leave too little of the title bar for the title, which the window manager
// then cuts. A row of that width under the box's contents keeps it whole.
void fitTitle(QMessageBox &box)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int width = widthForTitle(QFontMetrics(bold).horizontalAdvance(box.windowTitle()));
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

QtUserDialogs::QtUserDialogs(QWidget *parent)
    : m_parent(parent)
{ }

QtUserDialogs::~QtUserDialogs()
{
    // Without a parent nothing else deletes the bulk font change window.
    if (m_fontChange && !m_fontChange->parent())
        delete m_fontChange.data();
}

void QtUserDialogs::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, appTitle(), text, QMessageBox::Ok, m_parent);
    fitTitle(box);
    box.exec();
}

bool QtUserDialogs::confirm(const QString &text, const QString &caption)
{
    QMessageBox box(
        QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    fitTitle(box);
    return box.exec() == QMessageBox::Yes;
}

SaveChangesAnswer QtUserDialogs::askSaveChanges(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption, text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    fitTitle(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return SaveChangesAnswer::Save;
    case QMessageBox::No:
        return SaveChangesAnswer::Discard;
    default:
        return SaveChangesAnswer::Cancel;
    }
}

QString QtUserDialogs::openFile(const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(m_parent);
    prepare(dialog, filter, defaultSuffix);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtUserDialogs::saveFile(
    const QString &currentName, const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(m_parent);
    prepare(dialog, filter, defaultSuffix);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt asks before overwriting an existing file unless told not to.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    startSaveDialogAt(dialog, currentName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void QtUserDialogs::startSaveDialogAt(QFileDialog &dialog, const QString &currentName)
{
    if (currentName.isEmpty())
        return;
    // selectFile() would take a folder's path for a file in its parent.
    if (currentName.endsWith(QLatin1Char('/')))
        dialog.setDirectory(currentName);
    else
        dialog.selectFile(currentName);
}

QString QtUserDialogs::openPicture(const QString &filter, const QString &startFolder)
{
    TOpenPictureDialogEx dialog(m_parent);
    dialog.setPictureFilter(filter);
    dialog.setStartFolder(startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.fileName();
}

std::optional<ColorRef> QtUserDialogs::chooseColor(ColorRef start)
{
    const QColor chosen = QColorDialog::getColor(resolveColor(start), m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    return toColorRef(chosen);
}

std::optional<FontSpec> QtUserDialogs::chooseFont(const FontSpec &font)
{
    TFontDialogEx dialog;
    dialog.Font = font;
    if (!dialog.Execute(m_parent))
        return std::nullopt;
    return dialog.Font;
}

std::optional<BulkFontChoice> QtUserDialogs::chooseBulkFontChange(const FontSpec &font)
{
    // One window for the run, so its switches keep the last choice.
    if (!m_fontChange)
        m_fontChange = new TFontChange(m_parent);
    m_fontChange->Font.Font = font;
    if (!m_fontChange->run(QApplication::activeWindow() ? QApplication::activeWindow() : m_parent))
        return std::nullopt;
    return BulkFontChoice { m_fontChange->Font.Font, m_fontChange->switches() };
}

std::optional<ColorRef> QtUserDialogs::pickTransparentColor(const QImage &picture)
{
    if (!m_transColGet)
        m_transColGet = new TTransColGet(m_parent);
    m_transColGet->setPicture(picture);
    const bool accepted = m_transColGet->exec() == QDialog::Accepted;
    // The window keeps the picture only while it is shown.
    m_transColGet->setPicture(QImage());
    if (!accepted)
        return std::nullopt;
    return m_transColGet->color();
}

QStringList QtUserDialogs::openFiles(const QString &filter)
{
    QFileDialog dialog(m_parent);
    prepare(dialog, filter, QString());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return QStringList();
    return dialog.selectedFiles();
}

bool QtUserDialogs::choosePrint(QPrinter &printer, int pageCount)
{
    const std::unique_ptr<QPrintDialog> dialog = makePrintDialog(printer, pageCount, m_parent);
    return dialog->exec() == QDialog::Accepted;
}

void QtUserDialogs::choosePrinter(QPrinter &printer)
{
    const std::unique_ptr<QPrintDialog> dialog = makePrinterSetupDialog(printer, m_parent);
    dialog->exec();
}

} // namespace cw
