// What must hold after every action of the robot user.
#include <QAbstractButton>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "RobotSession.h"
#include "TestSupport.h"
#include "app/TMainWindow.h"
#include "document/BookletPages.h"
#include "document/DocumentControls.h"
#include "document/DocumentJson.h"
#include "document/OptionSettings.h"
#include "document/DocumentReader.h"
#include "document/DocumentWriter.h"
#include "render/DocumentPages.h"
#include "render/PictureFileReader.h"
#include "render/RenderPreviewPage.h"
#include "render/ui/TPreviewWindow.h"
#include "widgets/ColorSwatch.h"
#include "widgets/CommitEdit.h"

using namespace cw;

namespace {

// The document as the file keeps it: everything but where it was read from.
// With `aspectSizes` false, the printed size of a picture whose aspect lock is
// on is left out too: reading a file brings such a size to the picture's
// aspect ratio.
QJsonObject comparable(const LabelDocument &doc, bool aspectSizes = true)
{
    QJsonObject o = documentToJson(doc);
    o.remove(QStringLiteral("fileName"));
    // How a picture is fitted, aligned and locked is the window's, not the
    // file's, and the part of it the render cache holds comes from drawing.
    auto strip = [aspectSizes](QJsonObject holder, const PicturePlacement &p) {
        QJsonObject picture = holder.value(QStringLiteral("picture")).toObject();
        if (!aspectSizes && p.keepAspect && p.pixelWidth != 0 && p.pixelHeight != 0) {
            picture.remove(QStringLiteral("printWidth"));
            picture.remove(QStringLiteral("printHeight"));
        }
        for (const char *unstored : { "sizeMode", "alignMode", "keepAspect", "sourceRect" })
            picture.remove(QLatin1String(unstored));
        holder.insert(QStringLiteral("picture"), picture);
        return holder;
    };
    for (Surface s : kDocumentSurfaces) {
        const QString key = QStringList({ "top", "bottom", "left", "right", "disc" })[int(s)];
        o.insert(key, strip(o.value(key).toObject(), doc.surface(s).picture));
    }
    if (o.contains(QStringLiteral("pages"))) {
        QJsonArray pages = o.value(QStringLiteral("pages")).toArray();
        for (qsizetype i = 0; i < pages.size() && i < doc.pages.size(); ++i)
            pages[i] = strip(pages[i].toObject(), doc.pages[i].picture);
        o.insert(QStringLiteral("pages"), pages);
    }
    return o;
}

// The first member that differs, for the report.
QString firstDifference(const QJsonObject &a, const QJsonObject &b)
{
    for (auto it = a.begin(); it != a.end(); ++it) {
        if (b.value(it.key()) != it.value()) {
            QString text = QString::fromUtf8(QJsonDocument(QJsonObject { { it.key(), it.value() } })
                                                 .toJson(QJsonDocument::Compact));
            QString other = QString::fromUtf8(
                QJsonDocument(QJsonObject { { it.key(), b.value(it.key()) } }).toJson(QJsonDocument::Compact));
            // Only the part where they part.
            int i = 0;
            while (i < text.size() && i < other.size() && text[i] == other[i])
                ++i;
            const int from = std::max(0, i - 60);
            return QStringLiteral("%1: ...%2... became ...%3...")
                .arg(it.key(), text.mid(from, 160), other.mid(from, 160));
        }
    }
    for (auto it = b.begin(); it != b.end(); ++it)
        if (!a.contains(it.key()))
            return it.key() + QStringLiteral(" appeared");
    return QString();
}

QString shortText(const QString &s)
{
    return s.size() > 40 ? s.left(40) + QStringLiteral("...(%1)").arg(s.size()) : s;
}

} // namespace

QString RobotSession::checkControls() const
{
    // The spines' direction lists show the direction under the print options.
    // The "ページ" tab shows the page chosen.
    QMap<QString, QString> values = controlValues(m_window->document(), m_window->printOptions());
    values.insert(pageControlValues(m_window->document(), m_window->chosenPage()));
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString &name = it.key();
        const QString &value = it.value();
        QWidget *w = m_window->findChild<QWidget *>(name);
        QString shown;
        if (!w) {
            // A radio group: the button named after the value is on.
            auto *radio = m_window->findChild<QRadioButton *>(name + value);
            if (!radio)
                continue;
            if (!radio->isChecked())
                return QStringLiteral("control value|%1 shows another choice than %2").arg(name, value);
            continue;
        }
        if (auto *check = qobject_cast<QCheckBox *>(w)) {
            shown = check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            // Text being typed is taken when the field is left (not when
            // another window becomes active: the typing waits there, in the
            // field its window gives the focus back to).
            auto *commitEdit = qobject_cast<CommitEdit *>(edit);
            const bool typingWaits = edit->isModified() && edit->window()->focusWidget() == edit;
            if (edit->hasFocus() || typingWaits || (commitEdit && commitEdit->hasUntakenText()))
                continue;
            shown = edit->text();
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            shown = QString::number(combo->currentIndex());
        } else if (auto *swatch = qobject_cast<ColorSwatch *>(w)) {
            shown = QString::number(swatch->color());
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            shown = label->text();
        } else {
            continue;
        }
        if (shown != value)
            return QStringLiteral("control value|%1 shows \"%2\", the document holds \"%3\"")
                .arg(name, shortText(shown), shortText(value));
    }
    // The print switches show the options the window prints with.
    for (const PrintOptionInfo &info : printOptionTable()) {
        const QString name = QLatin1String(info.key);
        auto *box = m_window->findChild<QCheckBox *>(name);
        if (box && box->isChecked() != m_window->printOptions().*info.field)
            return QStringLiteral("option value|%1 shows %2, the window prints with %3")
                .arg(name, box->isChecked() ? "on" : "off",
                    m_window->printOptions().*info.field ? "on" : "off");
    }
    return QString();
}

QString RobotSession::checkEnabled() const
{
    const ControlStates states = enabledStates(m_window->document());
    for (auto it = states.cbegin(); it != states.cend(); ++it) {
        QWidget *w = m_window->findChild<QWidget *>(it.key());
        if (w && w->isEnabledTo(m_window.get()) != it.value())
            return QStringLiteral("enabled|%1 is %2, the rules say %3")
                .arg(it.key(), w->isEnabledTo(m_window.get()) ? "enabled" : "disabled",
                    it.value() ? "enabled" : "disabled");
    }
    return QString();
}

// Pixels whose colours differ by more than the glyph rasteriser's rounding.
// Qt's font engine places glyph edges at sub-pixel steps that depend on which
// glyph it cached first for a font, so the same text drawn before and after a
// font dialog showed that font may differ by a few levels on its edges (8 seen).
// An item missing, added or moved differs by far more.
int differingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return std::max(a.width() * a.height(), b.width() * b.height());
    constexpr int kRounding = 32;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) > kRounding
                || std::abs(qGreen(p) - qGreen(q)) > kRounding
                || std::abs(qBlue(p) - qBlue(q)) > kRounding;
        }
    }
    return differing;
}

QString RobotSession::checkPreview() const
{
    TPreviewWindow *preview = m_window->previewWindow();
    if (!preview->isVisible())
        return QString();
    const QImage shown = preview->bitmap().convertToFormat(QImage::Format_RGB32);
    QImage fresh(shown.size(), QImage::Format_RGB32);
    fresh.fill(Qt::white);
    RenderPreviewPage(preview->state().previewPage(), fresh,
        documentPageDrawer(m_window->document(), &m_window->printOptions(), &defaultPictureFileReader(),
            true));
    if (fresh == shown || differingPixels(shown, fresh) == 0)
        return QString();
    // For a person looking into it: both pictures beside the saved lists.
    shown.save(out() + QStringLiteral("/preview-shown.png"));
    fresh.save(out() + QStringLiteral("/preview-fresh.png"));
    // ROBOT_USER_KEEP names a folder that keeps both pictures and the
    // document as the windows hold it.
    if (const QString keep = qEnvironmentVariable("ROBOT_USER_KEEP"); !keep.isEmpty()) {
        QFile::copy(out() + QStringLiteral("/preview-shown.png"), keep + QStringLiteral("/preview-shown.png"));
        QFile::copy(out() + QStringLiteral("/preview-fresh.png"), keep + QStringLiteral("/preview-fresh.png"));
        QFile json(keep + QStringLiteral("/document.json"));
        if (json.open(QIODevice::WriteOnly))
            json.write(QJsonDocument(comparable(m_window->document(), false)).toJson());
    }
    const int differing = differingPixels(shown, fresh);
    return QStringLiteral("preview|the preview (page %1) differs from a fresh drawing in %2 pixels")
        .arg(int(preview->state().previewPage()))
        .arg(differing);
}

namespace {

// Saves `doc` and reads it back as the program opens a file while the printer
// stays the same. False when the save refuses (a message names why).
bool saveAndRead(const LabelDocument &doc, const QString &path, LabelDocument &back, QString &problem)
{
    QFile::remove(path);
    RecordingMessages messages;
    if (!saveDocument(doc, path, messages, UnicodeSave::Allow))
        return false;
    PrinterState same;
    same.printerDpiX = doc.dpiX;
    same.printerDpiY = doc.dpiY;
    ComputeSurfacePixels(back, same);
    // The aspect locks stay as the window holds them when a file is opened.
    for (Surface s : kDocumentSurfaces)
        back.surface(s).picture.keepAspect = doc.surface(s).picture.keepAspect;
    DocumentEditor reader(back, &messages);
    NullProgressSink progress;
    if (loadDocument(reader, path, progress) != LoadStatus::Loaded)
        problem = QStringLiteral("a saved document cannot be read back: ") + messages.messages.join(' ');
    return true;
}

} // namespace

QString RobotSession::checkRoundTrip() const
{
    const QString path = out() + QStringLiteral("/roundtrip.cwr");
    const LabelDocument &doc = m_window->document();
    LabelDocument once, twice;
    QString problem;
    // A document the file cannot hold is refused with a message: nothing to compare.
    if (!saveAndRead(doc, path, once, problem))
        return QString();
    if (!problem.isEmpty())
        return QStringLiteral("round trip|") + problem;
    QString difference = firstDifference(comparable(doc, false), comparable(once, false));
    if (!difference.isEmpty()) {
        if (!qEnvironmentVariableIsEmpty("ROBOT_USER_KEEP"))
            QFile::copy(path, qEnvironmentVariable("ROBOT_USER_KEEP") + QStringLiteral("/roundtrip.cwr"));
        return QStringLiteral("round trip|saved and read back, the document changed: ") + difference;
    }
    // What was read once reads back the same, sizes and all.
    if (!saveAndRead(once, path, twice, problem))
        return QStringLiteral("round trip|a document read from a file cannot be saved again");
    if (!problem.isEmpty())
        return QStringLiteral("round trip|") + problem;
    difference = firstDifference(comparable(once), comparable(twice));
    if (!difference.isEmpty())
        return QStringLiteral("round trip|read, saved and read again, the document changed: ") + difference;
    return QString();
}

void RobotSession::saveAndReopen()
{
    if (!m_window->isVisible())
        return; // the menu is where the window is
    const QString path = out() + QStringLiteral("/reopen.cwr");
    QFile::remove(path);
    const QJsonObject before = comparable(m_window->document(), false);
    m_dialogs->forcedSave = path;
    m_dialogs->forcedConfirm = true;
    m_window->SaveAsMenuClick();
    m_dialogs->forcedSave.reset();
    if (!QFile::exists(path)) {
        m_dialogs->forcedConfirm.reset();
        return; // refused with a message
    }
    m_dialogs->forcedOpen = path;
    m_window->OpenMenuClick();
    m_dialogs->forcedOpen.reset();
    m_dialogs->forcedConfirm.reset();
    const QString difference = firstDifference(before, comparable(m_window->document(), false));
    if (!difference.isEmpty())
        noteFailure(QStringLiteral("reopen|saved and opened again, the document changed: ") + difference);
}
