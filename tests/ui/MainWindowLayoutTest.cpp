#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTabWidget>

#include "MainWindowHarness.h"

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
            EXPECT_TRUE(pageRect.contains(r))
                << tabs->tabText(i).toStdString() << ": " << w->objectName().toStdString();
            EXPECT_GE(w->width(), w->minimumSizeHint().width())
                << tabs->tabText(i).toStdString() << ": " << w->objectName().toStdString() << " "
                << w->metaObject()->className();
            if (auto *label = qobject_cast<QLabel *>(w)) {
                const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
                EXPECT_GE(label->contentsRect().width(), textWidth) << label->text().toStdString();
            }
        }
        EXPECT_GT(checkedControls, 10);
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            window->grab().save(QDir(shots).filePath(QStringLiteral("tab%1.png").arg(i)));
        }
    }
}
