#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "render/WindowPlacement.h"
#include "render/ui/TPreviewWindow.h"

using namespace cw;

namespace {
struct Drawn
{
    QList<PreviewPage> pages;
    PageDrawer drawer()
    {
        return [this](LabelCanvas &c, PreviewPage page, int, int, int, int) {
            pages.append(page);
            c.SetPen(0);
            c.SetBrush(0);
            c.Rectangle(100, 100, 200, 200);
        };
    }
};
QPushButton *button(QWidget &w, const char *name)
{
    return w.findChild<QPushButton *>(QLatin1String(name));
}
} // namespace

TEST(TPreviewWindow, FirstShowingDrawsTheFrontAtTheSmallestSize)
{
    Drawn drawn;
    TPreviewWindow w(drawn.drawer());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Casewright [Preview]"));
    EXPECT_TRUE(drawn.pages.isEmpty());
    w.show();
    EXPECT_EQ(drawn.pages, QList<PreviewPage> { PreviewPage::Front });
    EXPECT_EQ(w.bitmap().size(), QSize(523, 302));
    EXPECT_FALSE(button(w, "Zoom1")->isEnabled());
    EXPECT_TRUE(button(w, "Zoom2")->isEnabled());
}

TEST(TPreviewWindow, PressingTheShownPageDrawsNothing)
{
    Drawn drawn;
    TPreviewWindow w(drawn.drawer());
    w.show();
    QTest::mouseClick(button(w, "PreviewTopShow"), Qt::LeftButton);
    EXPECT_EQ(drawn.pages.size(), 1);
    QTest::mouseClick(button(w, "PreviewBottomShow"), Qt::LeftButton);
    EXPECT_EQ(drawn.pages, (QList<PreviewPage> { PreviewPage::Front, PreviewPage::Back }));
}

TEST(TPreviewWindow, TwoZoomInsGiveTheFullSize)
{
    Drawn drawn;
    TPreviewWindow w(drawn.drawer());
    w.show();
    QTest::mouseClick(button(w, "Zoom2"), Qt::LeftButton);
    EXPECT_EQ(w.bitmap().size(), QSize(785, 453));
    QTest::mouseClick(button(w, "Zoom2"), Qt::LeftButton);
    EXPECT_EQ(w.bitmap().size(), QSize(1046, 604));
    EXPECT_FALSE(button(w, "Zoom2")->isEnabled());
    EXPECT_TRUE(button(w, "Zoom1")->isEnabled());
    EXPECT_EQ(drawn.pages.size(), 3);
    // The drawing is scaled with the bitmap: the 100..200 block at full size.
    EXPECT_EQ(w.bitmap().pixel(150, 150) & 0xFFFFFF, 0u);
    EXPECT_EQ(w.bitmap().pixel(250, 150) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(TPreviewWindow, EditsOfTheOtherPageAndHiddenEdits)
{
    Drawn drawn;
    TPreviewWindow w(drawn.drawer());
    w.show();
    w.RequestPreviewRefresh(PreviewPage::Back); // back edit while the front shows
    EXPECT_EQ(drawn.pages.size(), 1);
    w.RequestPreviewRefresh(PreviewPage::Front);
    EXPECT_EQ(drawn.pages.size(), 2);
    QTest::mouseClick(button(w, "PreviewClose"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    w.RequestPreviewRefresh(PreviewPage::Front);
    w.RequestPreviewRefresh(PreviewPage::Shown);
    w.RequestPreviewRefresh(PreviewPage::Back);
    EXPECT_EQ(drawn.pages.size(), 2); // nothing drawn while hidden
    w.show();
    EXPECT_EQ(drawn.pages,
        (QList<PreviewPage> {
            PreviewPage::Front, PreviewPage::Front, PreviewPage::Front })); // one redraw on showing
}

TEST(TPreviewWindow, ACaseWithOneSheetShowsItsFrontAndOffersNoBack)
{
    Drawn drawn;
    QString caseId = QStringLiteral("cd-jewel");
    TPreviewWindow w(PageDrawer(drawn.drawer(), [&]() -> const CaseFormat & {
        return *findCaseFormat(caseId);
    }));
    w.show();
    QTest::mouseClick(button(w, "PreviewBottomShow"), Qt::LeftButton);
    EXPECT_EQ(drawn.pages.last(), PreviewPage::Back);

    // The case becomes a slim one while its back page shows.
    caseId = QStringLiteral("cd-slim");
    w.RequestPreviewRefresh(PreviewPage::Back);
    EXPECT_EQ(drawn.pages.last(), PreviewPage::Front);
    EXPECT_FALSE(button(w, "PreviewBottomShow")->isEnabled());
    const qsizetype drawings = drawn.pages.size();
    w.RequestPreviewRefresh(PreviewPage::Back); // no back page to redraw
    EXPECT_EQ(drawn.pages.size(), drawings);

    caseId = QStringLiteral("cd-jewel");
    w.RequestPreviewRefresh(PreviewPage::Front);
    EXPECT_TRUE(button(w, "PreviewBottomShow")->isEnabled());
    QTest::mouseClick(button(w, "PreviewBottomShow"), Qt::LeftButton);
    EXPECT_EQ(drawn.pages.last(), PreviewPage::Back);
}

TEST(TPreviewWindow, ResizingMovesTheZoomButtons)
{
    Drawn drawn;
    TPreviewWindow w(drawn.drawer());
    // Smaller than the offscreen screen (800 × 600), which the window keeps to.
    w.resize(700, 500);
    w.show();
    EXPECT_EQ(button(w, "Zoom1")->x(), 540);
    EXPECT_EQ(button(w, "Zoom2")->x(), 620);
    QWidget *scroll = w.findChild<QWidget *>("ScrollBox");
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->geometry(), QRect(0, 32, 700, 468));
}

TEST(TPreviewWindow, ShowsFullyOnTheScreenOfTheMainWindow)
{
    Drawn drawn;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget main;
    // Low on the screen: centred over it, the preview would run off the bottom.
    main.setGeometry(screen.left() + 100, screen.bottom() - 300, 560, 280);
    main.show();
    TPreviewWindow w(drawn.drawer(), &main);
    w.show();
    const QRect mainFrame = main.windowHandle()->frameGeometry();
    QRect frame = w.windowHandle()->frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.y() << "+" << frame.height();
    EXPECT_EQ(frame.x(), centredOver(mainFrame, frame.size()).x());
    EXPECT_EQ(frame.bottom(), screen.bottom());
    EXPECT_EQ(w.size(), QSize(632, 449));

    // Moved by the user partly off the screen, it comes back on when shown again.
    w.move(-100, 50);
    w.hide();
    w.show();
    frame = w.windowHandle()->frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint(screen.left(), 50));
}

// The disc's page is offered only while there is a disc face: its button
// shows and hides with it, and a shown disc page gives way to the front when
// it goes.
TEST(TPreviewWindow, TheDiscPageIsOfferedWhileThereIsADiscFace)
{
    Drawn drawn;
    bool disc = false;
    const PageDrawer::Draw draw = drawn.drawer();
    TPreviewWindow w(PageDrawer(
        draw, [] () -> const CaseFormat & { return jewelCaseFormat(); }, {},
        [&disc] { return disc; }));
    w.show();
    EXPECT_FALSE(button(w, "PreviewDiscShow")->isVisible());
    EXPECT_EQ(drawn.pages, QList<PreviewPage> { PreviewPage::Front });
    disc = true;
    w.RequestPreviewRefresh(PreviewPage::Disc);
    ASSERT_TRUE(button(w, "PreviewDiscShow")->isVisible());
    QTest::mouseClick(button(w, "PreviewDiscShow"), Qt::LeftButton);
    EXPECT_EQ(drawn.pages, (QList<PreviewPage> { PreviewPage::Front, PreviewPage::Disc }));
    disc = false;
    w.RequestPreviewRefresh(PreviewPage::Shown);
    EXPECT_FALSE(button(w, "PreviewDiscShow")->isVisible());
    EXPECT_EQ(drawn.pages.last(), PreviewPage::Front);
}
