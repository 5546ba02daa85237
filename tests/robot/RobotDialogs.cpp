// The robot's dialog seam: every dialog of the program is answered here, both
// ways, and the program's own dialog windows are run for real and driven.
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "RobotSession.h"
#include "app/TMainWindow.h"
#include "fonts/ui/TFontChange.h"
#include "fonts/ui/TFontDialogEx.h"
#include "pictures/ui/TOpenPictureDialogEx.h"
#include "pictures/ui/TTransColGet.h"

using namespace cw;

RobotDialogs::RobotDialogs(RobotSession &session)
    : m_session(session)
{ }

RobotDialogs::~RobotDialogs()
{
    if (m_fontChange && !m_fontChange->parent())
        delete m_fontChange.data();
    if (m_transColGet && !m_transColGet->parent())
        delete m_transColGet.data();
}

void RobotDialogs::showMessage(const QString &text)
{
    messages.append(text);
}

bool RobotDialogs::confirm(const QString &, const QString &)
{
    if (forcedConfirm)
        return *forcedConfirm;
    return m_session.pick(2) == 0;
}

cw::SaveChangesAnswer RobotDialogs::askSaveChanges(const QString &, const QString &)
{
    // A forced yes goes on without saving: the robot's own commands save
    // where they choose.
    if (forcedConfirm)
        return *forcedConfirm ? cw::SaveChangesAnswer::Discard : cw::SaveChangesAnswer::Cancel;
    switch (m_session.pick(3)) {
    case 0:
        return cw::SaveChangesAnswer::Save;
    case 1:
        return cw::SaveChangesAnswer::Discard;
    default:
        return cw::SaveChangesAnswer::Cancel;
    }
}

bool RobotDialogs::choosePrint(QPrinter &, int)
{
    return false;
}

void RobotDialogs::choosePrinter(QPrinter &) { }

// A file of the prepared folder (or one saved before) that the filter shows,
// or nothing (cancelled).
QString RobotDialogs::chooseFile(const QString &filter)
{
    if (m_session.pick(8) == 0)
        return QString();
    QStringList patterns;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 1; i < parts.size(); i += 2)
        patterns += parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const bool any = patterns.isEmpty() || patterns.contains(QStringLiteral("*.*"));
    QStringList all = QDir(m_session.files()).entryList(QDir::Files);
    for (QString &name : all)
        name = m_session.files() + QLatin1Char('/') + name;
    for (const QString &name : QDir(m_session.out()).entryList(QDir::Files))
        all.append(m_session.out() + QLatin1Char('/') + name);
    QStringList matching;
    for (const QString &path : all)
        for (const QString &p : patterns)
            if (QDir::match(p, QFileInfo(path).fileName())) {
                matching.append(path);
                break;
            }
    // Now and then a file the filter does not show: the name typed by hand.
    const QStringList &from = any || matching.isEmpty() || m_session.pick(10) == 0 ? all : matching;
    return from.isEmpty() ? QString() : from[m_session.pick(int(from.size()))];
}

QString RobotDialogs::openFile(const QString &filter, const QString &)
{
    if (forcedOpen)
        return *std::exchange(forcedOpen, std::nullopt);
    return chooseFile(filter);
}

QStringList RobotDialogs::openFiles(const QString &filter)
{
    QStringList out;
    const int n = 1 + m_session.pick(3);
    for (int i = 0; i < n; ++i) {
        const QString f = chooseFile(filter);
        if (f.isEmpty())
            return out;
        if (!out.contains(f))
            out.append(f);
    }
    return out;
}

QString RobotDialogs::saveFile(const QString &currentName, const QString &, const QString &suffix)
{
    if (forcedSave)
        return *std::exchange(forcedSave, std::nullopt);
    const int r = m_session.pick(20);
    if (r < 3)
        return QString();
    if (r == 3)
        return QStringLiteral("/nonexistent-folder/robot.") + suffix;
    if (r < 8 && !currentName.isEmpty() && !currentName.endsWith(QLatin1Char('/')))
        return currentName; // over the file it came from
    if (r < 11) {
        // Beside the current name: for templates, a folder they are read from.
        const QString folder = currentName.endsWith(QLatin1Char('/'))
            ? currentName
            : QFileInfo(currentName).absolutePath() + QLatin1Char('/');
        if (!currentName.isEmpty())
            return folder + QStringLiteral("robot%1.%2").arg(m_session.pick(4)).arg(suffix);
    }
    return m_session.out() + QStringLiteral("/robot%1.%2").arg(m_session.pick(6)).arg(suffix);
}

QString RobotDialogs::openPicture(const QString &filter, const QString &startFolder)
{
    const QString choice = chooseFile(filter);
    TOpenPictureDialogEx dialog(m_session.window());
    dialog.setPictureFilter(filter);
    dialog.setStartFolder(startFolder.isEmpty() ? m_session.files() : startFolder);
    const bool accept = !choice.isEmpty();
    const bool preview = m_session.pick(4) == 0;
    QTimer::singleShot(0, &dialog, [this, &dialog, choice, accept, preview] {
        m_session.driveModal(&dialog, [&dialog, choice, accept, preview] {
            if (!choice.isEmpty()) {
                dialog.selectFile(choice);
                dialog.showSelection(choice);
                dialog.waitForPreview();
                if (preview)
                    dialog.openPreview(); // a modal window of its own, driven too
            }
            if (accept)
                QMetaObject::invokeMethod(&dialog, "accept"); // as "開く" does
            else
                dialog.reject();
        });
    });
    // The robot's own driving of this dialog happens inside exec.
    m_session.m_driven.insert(&dialog);
    ++m_session.m_driving;
    const int result = dialog.exec();
    --m_session.m_driving;
    if (result != QDialog::Accepted)
        return QString();
    return dialog.fileName();
}

std::optional<ColorRef> RobotDialogs::chooseColor(ColorRef start)
{
    QColorDialog dialog(resolveColor(start), m_session.window());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const int r = m_session.pick(6);
    const QColor colors[] = { Qt::black, Qt::white, QColor(255, 0, 128), QColor(1, 2, 3),
        QColor(250, 250, 0) };
    QTimer::singleShot(0, &dialog, [this, &dialog, r, colors] {
        m_session.driveModal(&dialog, [&dialog, r, colors] {
            if (r == 5) {
                dialog.reject();
                return;
            }
            dialog.setCurrentColor(colors[r]);
            dialog.accept();
        });
    });
    m_session.m_driven.insert(&dialog);
    ++m_session.m_driving;
    const int result = dialog.exec();
    --m_session.m_driving;
    if (result != QDialog::Accepted || !dialog.selectedColor().isValid())
        return std::nullopt;
    return toColorRef(dialog.selectedColor());
}

std::optional<FontSpec> RobotDialogs::chooseFont(const FontSpec &font)
{
    TFontDialogEx dialog;
    dialog.Font = font;
    ++m_session.m_driving;
    const bool ok = dialog.Execute(m_session.window());
    --m_session.m_driving;
    if (!ok)
        return std::nullopt;
    return dialog.Font;
}

std::optional<BulkFontChoice> RobotDialogs::chooseBulkFontChange(const FontSpec &font)
{
    if (!m_fontChange)
        m_fontChange = new TFontChange(m_session.window());
    m_fontChange->Font.Font = font;
    ++m_session.m_driving;
    QWidget *owner = QApplication::activeWindow() ? QApplication::activeWindow() : m_session.window();
    const bool ok = m_fontChange->run(owner);
    --m_session.m_driving;
    if (!ok)
        return std::nullopt;
    return BulkFontChoice { m_fontChange->Font.Font, m_fontChange->switches() };
}

std::optional<ColorRef> RobotDialogs::pickTransparentColor(const QImage &picture)
{
    if (!m_transColGet)
        m_transColGet = new TTransColGet(m_session.window());
    TTransColGet *dialog = m_transColGet;
    dialog->setPicture(picture);
    const int clicks = m_session.pick(3);
    QTimer::singleShot(0, dialog, [this, dialog, clicks, size = picture.size()] {
        m_session.driveModal(dialog, [this, dialog, clicks, size] {
            for (int i = 0; i < clicks; ++i)
                dialog->ImageMouseDown(QPoint(m_session.pick(std::max(1, size.width() + 4)) - 2,
                    m_session.pick(std::max(1, size.height() + 4)) - 2));
            m_session.actInside(dialog, m_session.pick(3));
        });
    });
    m_session.m_driven.insert(dialog);
    ++m_session.m_driving;
    const bool accepted = dialog->exec() == QDialog::Accepted;
    --m_session.m_driving;
    dialog->setPicture(QImage());
    if (!accepted)
        return std::nullopt;
    return dialog->color();
}
