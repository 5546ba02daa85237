#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTabWidget>

#include "MainWindowHarness.h"

using namespace cw;

namespace {

// The text a control needs to show in full, or empty when it shows none.
bool needsFullWidth(QWidget *w)
{
    if (auto *label = qobject_cast<QLabel *>(w))
        return !label->text().isEmpty() && label->pixmap().isNull();
    return qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w);
}

} // namespace

// Every caption, label and list of every tab is shown in full at the
// window's fixed size, inside its tab. With CASEWRIGHT_SCREENSHOT_DIR set,
// each tab is also written there as a PNG to look at.
TEST_F(MainWindowTest, NothingIsCutOffOnAnyTab)
{
    const QString demo = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");
    showWindow();
    window->openDocument(demo);
    auto *tabs = find<QTabWidget>("PageControl");
    const QString shots = qEnvironmentVariable("CASEWRIGHT_SCREENSHOT_DIR");
    // The jewel case, a wrap (the inside switch and its note in use) and the
    // custom case (its size fields shown as well).
    for (const char *caseId : { "cd-jewel", "dvd-14", "custom-wrap" }) {
        auto *caseType = find<QComboBox>("CaseType");
        caseType->setCurrentIndex(caseType->findData(QLatin1String(caseId)));
        ASSERT_EQ(window->document().caseFormat, QLatin1String(caseId));
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            QWidget *page = tabs->widget(i);
            const QRect pageRect(QPoint(0, 0), page->size());
            int checkedControls = 0;
            for (QWidget *w : page->findChildren<QWidget *>()) {
                if (!w->isVisible() || !needsFullWidth(w))
                    continue;
                ++checkedControls;
                const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
                EXPECT_TRUE(pageRect.contains(r)) << caseId << " " << tabs->tabText(i).toStdString()
                                                  << ": " << w->objectName().toStdString();
                EXPECT_GE(w->width(), w->minimumSizeHint().width())
                    << tabs->tabText(i).toStdString() << ": " << w->objectName().toStdString()
                    << " " << w->metaObject()->className();
                // A note that wraps shows in full when it has the height its
                // lines need.
                if (auto *label = qobject_cast<QLabel *>(w); label && label->wordWrap()) {
                    EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                        << caseId << " " << label->text().toStdString();
                } else if (auto *label = qobject_cast<QLabel *>(w)) {
                    const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
                    EXPECT_GE(label->contentsRect().width(), textWidth)
                        << caseId << " " << label->text().toStdString();
                }
            }
            // The page tab has few controls of its own.
            EXPECT_GT(checkedControls, page->objectName() == QLatin1String("PageTag") ? 5 : 10);
            if (!shots.isEmpty()) {
                QDir().mkpath(shots);
                window->grab().save(QDir(shots).filePath(
                    QStringLiteral("%1-tab%2.png").arg(QLatin1String(caseId)).arg(i)));
            }
        }
    }
}

// The picture panels are laid out as one table: every value stands under the
// edit or value above it, right edges level, in all three groups, and the "×"
// signs form one column.
TEST_F(MainWindowTest, PicturePanelValuesLineUpInColumns)
{
    showWindow();
    window->openDocument(QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr"));
    auto *tabs = find<QTabWidget>("PageControl");
    for (const char *prefix : { "Top", "Bottom", "Left", "Right" }) {
        const QString p = QLatin1String(prefix);
        QWidget *panel = find<QWidget>(qPrintable(p + "GraphicPanel"));
        tabs->setCurrentWidget(panel->parentWidget());
        QCoreApplication::processEvents();
        auto rect = [&](const QString &part) {
            QWidget *w = find<QWidget>(qPrintable(p + part));
            return w ? QRect(w->mapTo(panel, QPoint(0, 0)), w->size()) : QRect();
        };
        const char *const firstColumn[] = { "GraphicWidth", "GraphicPWidth", "GraphicWidth2",
            "GraphicPWidth2", "GraphicPosX", "GraphicPPosX", "PWidth", "PWidthMm" };
        const char *const secondColumn[] = { "GraphicHeight", "GraphicPHeight", "GraphicHeight2",
            "GraphicPHeight2", "GraphicPosY", "GraphicPPosY", "PHeight", "PHeightMm" };
        for (const char *part : firstColumn)
            EXPECT_EQ(rect(QLatin1String(part)).right(), rect("GraphicWidth2").right())
                << prefix << part;
        for (const char *part : secondColumn)
            EXPECT_EQ(rect(QLatin1String(part)).right(), rect("GraphicHeight2").right())
                << prefix << part;
        // Each "×" between the two columns, at the same place in every row.
        QSet<int> timesColumns;
        for (QLabel *l : panel->findChildren<QLabel *>()) {
            if (l->text() != QStringLiteral("×"))
                continue;
            const QRect r(l->mapTo(panel, QPoint(0, 0)), l->size());
            EXPECT_GT(r.left(), rect("GraphicWidth2").right()) << prefix;
            EXPECT_LT(r.right(), rect("GraphicHeight2").left()) << prefix;
            timesColumns.insert(r.center().x());
        }
        EXPECT_EQ(timesColumns.size(), 1) << prefix;
        // A value label shows its whole text.
        for (const char *part : { "GraphicPWidth2", "GraphicPHeight2", "PWidthMm", "PHeightMm" }) {
            auto *l = find<QLabel>(qPrintable(p + QLatin1String(part)));
            EXPECT_GE(l->contentsRect().width(),
                l->fontMetrics().horizontalAdvance(l->text()) + l->indent())
                << prefix << part;
        }
    }
}

TEST_F(MainWindowTest, TheFileNameFieldShowsTheWholePathAsItsToolTip)
{
    showWindow();
    window->openDocument(QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr"));
    const QString path = window->document().top.picture.fileName;
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(find<QLineEdit>("TopGraphicFileName")->toolTip(), path);
    EXPECT_EQ(find<QLineEdit>("TopGraphicFileName")->text(), path);
    dialogs.confirmAnswer = true;
    window->NewMenuClick();
    EXPECT_TRUE(find<QLineEdit>("TopGraphicFileName")->toolTip().isEmpty());
}
