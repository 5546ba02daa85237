#include "app/PressPdfCommand.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

#include "app/TMainWindow.h"
#include "base/UiText.h"
#include "render/PictureFileReader.h"
#include "render/PressPdf.h"
#include "widgets/UserDialogs.h"

namespace cw {

namespace {

const char *const kPressPdfFilter = QT_TRANSLATE_NOOP("cw::UiText", "PDF ファイル(*.pdf)|*.pdf");

// The document's own name with ".pdf", in its folder; a new document
// leaves the name to the dialog.
QString suggestedName(const QString &documentPath)
{
    if (documentPath.isEmpty())
        return QString();
    const QFileInfo info(documentPath);
    return QDir(info.path()).filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

} // namespace

QAction *addPressPdfCommand(QMenu *file, TMainWindow &window)
{
    QAction *action = file->addAction(UiText::tr("印刷所用PDF出力..."));
    action->setObjectName(QStringLiteral("PressPdfMenu"));
    QObject::connect(
        action, &QAction::triggered, &window, [&window] { exportPressPdfFrom(window); });
    return action;
}

void exportPressPdfFrom(TMainWindow &window)
{
    UserDialogs &dialogs = window.dialogs();
    const QString path = dialogs.saveFile(suggestedName(window.document().fileName),
        UiText::tr(kPressPdfFilter), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    QString error;
    bool written;
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // A picture file that cannot be read is reported, as printing does.
        FilePictureReader pictures(dialogs);
        written = ExportPressPdf(
            window.document(), window.printOptions(), path, kPressDpi, &error, &pictures);
        QGuiApplication::restoreOverrideCursor();
    }
    if (!written)
        dialogs.showMessage(
            UiText::tr("ファイル(%1)が記録できません").arg(path) + QStringLiteral(" (") + error
            + QLatin1Char(')'));
}

} // namespace cw
