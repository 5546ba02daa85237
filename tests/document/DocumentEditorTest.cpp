#include <functional>
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "ObservedEdit.h"
#include "TestSupport.h"
#include "document/DocumentControls.h"
#include "document/DocumentEditor.h"
#include "render/Geometry.h"

using namespace cw;

namespace {

struct EditorFixture : ::testing::Test
{
    EditorFixture()
        : ed(doc, &messages)
    {
        doc.dpiX = doc.dpiY = 300;
        doc.surfacePixels = surfacePixelsAt(300, 300);
    }
    template<typename Edit> ObservedEdit observe(Edit &&edit) { return observeEdit(doc, edit); }
    LabelDocument doc;
    RecordingMessages messages;
    DocumentEditor ed;
};

FontSpec someFont(const QString &name, int size)
{
    FontSpec f = defaultFont();
    f.name = name;
    f.size = size;
    f.bold = true;
    f.color = 0x000000FF;
    return f;
}

// Whether the table enables the named control. A name the table does not
// hold (misspelt here, or dropped from the table) fails the test rather than
// reading as disabled.
bool enabledIn(const ControlStates &states, const char *name)
{
    const auto it = states.constFind(QString::fromLatin1(name));
    EXPECT_NE(it, states.constEnd()) << "no control " << name << " in the table";
    return it != states.constEnd() && it.value();
}

} // namespace

TEST_F(EditorFixture, FrontTitleControlsFollowTheSwitchAndPositionMode)
{
    ControlStates e = enabledStates(doc);
    EXPECT_FALSE(enabledIn(e, "TopTitle"));
    EXPECT_FALSE(enabledIn(e, "TopTitlePosXY"));

    ObservedEdit r = observe([&] { return ed.setTitleUse(Surface::Top, true); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_TRUE(r.enabled.value("TopTitle"));
    EXPECT_TRUE(r.enabled.value("TopTitleLabel"));
    EXPECT_TRUE(r.enabled.value("TopTitlePos"));
    EXPECT_TRUE(r.enabled.value("TopTitleFontSet"));
    EXPECT_FALSE(r.enabled.contains("TopTitlePosXY")); // still off: mode is "中央"
    EXPECT_EQ(r.changed, QStringList({ "TopTitleUse" }));

    r = observe([&] { return ed.setTitlePosMode(Surface::Top, TitlePosition::Custom); });
    EXPECT_TRUE(r.enabled.value("TopTitlePosXY"));
    EXPECT_TRUE(r.enabled.value("TopTitlePosXUse"));
    EXPECT_TRUE(r.enabled.value("TopTitlePosYUse"));
    EXPECT_FALSE(r.enabled.contains("TopTitlePosX"));

    r = observe([&] { return ed.setTitleCustomXUse(Surface::Top, true); });
    EXPECT_EQ(r.enabled, ControlStates({ { "TopTitlePosX", true } }));
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));

    // The value is taken at once; the page is refreshed when the field is left.
    r = observe([&] { return ed.setTitleCustomX(Surface::Top, 1234); });
    EXPECT_EQ(doc.top.title.customX, 999);
    EXPECT_TRUE(r.pages.isEmpty());
    EXPECT_EQ(ed.leaveTitleCustomPosition(Surface::Top).pages,
        QList<PreviewPage>({ PreviewPage::Front }));

    r = observe([&] { return ed.setTitleUse(Surface::Top, false); });
    EXPECT_FALSE(r.enabled.value("TopTitlePosX", true));
    EXPECT_FALSE(r.enabled.value("TopTitlePosXY", true));
}

TEST_F(EditorFixture, SwitchingATitleOffAndOnKeepsItsValues)
{
    ed.setTitleUse(Surface::Bottom, true);
    ed.setTitleText(Surface::Bottom, "B");
    ed.setTitlePosMode(Surface::Bottom, TitlePosition::Bottom);
    ed.setTitleFont(Surface::Bottom, someFont("X", 14));
    ed.setTitleUse(Surface::Bottom, false);
    ed.setTitleUse(Surface::Bottom, true);
    EXPECT_EQ(doc.bottom.title.text, "B");
    EXPECT_EQ(int(doc.bottom.title.posMode), 2);
    EXPECT_EQ(doc.bottom.title.font.size, 14);
}

TEST_F(EditorFixture, SpineOffsetIsCutTo115AndCarriedToTheLinkedRightSpine)
{
    ed.setTitleUse(Surface::Left, true);
    ed.setTitleUse(Surface::Right, true);
    ed.setTitleSameAsLeft(true);
    ObservedEdit r = observe([&] { return ed.setTitleOffsetText(Surface::Left, "250"); });
    EXPECT_EQ(doc.left.title.offset, 115);
    EXPECT_EQ(doc.right.title.offset, 115);
    EXPECT_TRUE(r.changed.contains("LeftTitleOffset"));
    EXPECT_TRUE(r.changed.contains("RightTitleOffset"));
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));

    ed.setTitleOffset(Surface::Left, 115);
    ed.setTitleOffsetText(Surface::Left, "999");
    EXPECT_EQ(doc.left.title.offset, 115);
    ed.setTitleOffsetText(Surface::Left, "116");
    EXPECT_EQ(doc.left.title.offset, 115);
    ed.setTitleOffsetText(Surface::Left, "115");
    EXPECT_EQ(doc.left.title.offset, 115);
    ed.setTitleOffsetText(Surface::Left, "7");
    EXPECT_EQ(doc.left.title.offset, 7);
    EXPECT_EQ(doc.right.title.offset, 7);
    // An emptied field leaves the value alone.
    EXPECT_TRUE(observe([&] { return ed.setTitleOffsetText(Surface::Left, ""); }).isEmpty());
    EXPECT_EQ(doc.left.title.offset, 7);
    // The right spine's own offset is not carried back.
    ed.setTitleSameAsLeft(false);
    ed.setTitleOffset(Surface::Right, 300);
    EXPECT_EQ(doc.right.title.offset, 115);
    EXPECT_EQ(doc.left.title.offset, 7);
}

TEST_F(EditorFixture, TheRightSpinesLinksExcludeEachOther)
{
    ed.setTitleUse(Surface::Right, true);
    ControlStates e = enabledStates(doc);
    EXPECT_TRUE(enabledIn(e, "RightSameTitle"));
    EXPECT_TRUE(enabledIn(e, "RightSameLeft"));

    ObservedEdit r = observe([&] { return ed.setTitleSameAsFront(Surface::Right, true); });
    EXPECT_EQ(r.enabled.value("RightSameLeft", true), false);
    EXPECT_FALSE(r.enabled.value("RightTitle", true));
    EXPECT_FALSE(r.enabled.contains("RightTitlePos")); // the front link leaves the mode editable
    // A programmatic attempt is refused as well.
    EXPECT_TRUE(observe([&] { return ed.setTitleSameAsLeft(true); }).isEmpty());
    EXPECT_FALSE(doc.right.titleSameAsLeft);

    ed.setTitleSameAsFront(Surface::Right, false);
    r = observe([&] { return ed.setTitleSameAsLeft(true); });
    EXPECT_FALSE(r.enabled.value("RightSameTitle", true));
    EXPECT_FALSE(r.enabled.value("RightTitlePos", true));
    EXPECT_FALSE(enabledIn(enabledStates(doc), "RightTitleOffset"));
    EXPECT_TRUE(observe([&] { return ed.setTitleSameAsFront(Surface::Right, true); }).isEmpty());
    EXPECT_FALSE(doc.right.titleSameAsFront);
}

TEST_F(EditorFixture, RightSameLeftCopiesNothingWhileTheLeftTitleIsOff)
{
    ed.setTitleText(Surface::Left, "left");
    ed.setTitleOffset(Surface::Left, 40);
    ed.setTitlePosMode(Surface::Left, TitlePosition::Custom);
    ed.setTitleText(Surface::Right, "right");
    ed.setTitleUse(Surface::Right, true);
    ObservedEdit r = observe([&] { return ed.setTitleSameAsLeft(true); });
    EXPECT_EQ(doc.right.title.text, "right");
    EXPECT_EQ(doc.right.title.offset, 0);
    EXPECT_EQ(int(doc.right.title.posMode), 0);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));
    EXPECT_EQ(r.changed, QStringList({ "RightSameLeft" }));

    // Later edits of the left title are carried.
    ed.setTitleText(Surface::Left, "left 2");
    EXPECT_EQ(doc.right.title.text, "left 2");
    ed.setTitleFont(Surface::Left, someFont("L", 11));
    EXPECT_EQ(doc.right.title.font.name, "L");
    ed.setTitlePosMode(Surface::Left, TitlePosition::Bottom);
    EXPECT_EQ(int(doc.right.title.posMode), 2);
}

TEST_F(EditorFixture, RightSameLeftCopiesTheLeftTitleWhenItIsOn)
{
    ed.setTitleUse(Surface::Left, true);
    ed.setTitleText(Surface::Left, "left");
    ed.setTitlePosMode(Surface::Left, TitlePosition::Custom);
    ed.setTitleOffset(Surface::Left, 40);
    ed.setTitleFont(Surface::Left, someFont("L", 11));
    ed.setTitleUse(Surface::Right, true);
    ObservedEdit r = observe([&] { return ed.setTitleSameAsLeft(true); });
    EXPECT_EQ(doc.right.title.text, "left");
    EXPECT_EQ(int(doc.right.title.posMode), 3);
    EXPECT_EQ(doc.right.title.offset, 40);
    EXPECT_EQ(doc.right.title.font, someFont("L", 11));
    for (const char *c : { "RightTitle", "RightTitlePos", "RightTitleOffset", "RightTitleFont" })
        EXPECT_TRUE(r.changed.contains(c)) << c;
}

TEST_F(EditorFixture, FrontTitleReachesBothSpinesThroughTheLeftLink)
{
    ed.setTitleUse(Surface::Left, true);
    ed.setTitleUse(Surface::Right, true);
    ed.setTitleSameAsLeft(true);
    ObservedEdit r = observe([&] { return ed.setTitleSameAsFront(Surface::Left, true); });
    EXPECT_TRUE(r.enabled.contains("LeftTitle"));
    ObservedEdit t = observe([&] { return ed.setTitleText(Surface::Top, "Album"); });
    EXPECT_EQ(doc.left.title.text, "Album");
    EXPECT_EQ(doc.right.title.text, "Album");
    EXPECT_EQ(doc.bottom.title.text, "");
    EXPECT_EQ(t.pages, QList<PreviewPage>({ PreviewPage::Front, PreviewPage::Back }));
    EXPECT_EQ(t.changed, QStringList({ "LeftTitle", "RightTitle", "TopTitle" }));

    ed.setTitleFont(Surface::Top, someFont("F", 20));
    EXPECT_EQ(doc.left.title.font.name, "F");
    EXPECT_EQ(doc.right.title.font.name, "F");
    // A font chosen for the right spine stays there.
    ed.setTitleFont(Surface::Right, someFont("R", 8));
    EXPECT_EQ(doc.left.title.font.name, "F");
    EXPECT_EQ(doc.top.title.font.name, "F");
}

TEST_F(EditorFixture, LinkingTheLeftSpineCopiesTheFrontToTheRightToo)
{
    ed.setTitleText(Surface::Top, "Front");
    ed.setTitleFont(Surface::Top, someFont("F", 12));
    ed.setTitleUse(Surface::Right, true);
    ed.setTitleSameAsLeft(true); // left is off: copies nothing
    ed.setTitleSameAsFront(Surface::Left, true);
    EXPECT_EQ(doc.left.title.text, "Front");
    EXPECT_EQ(doc.right.title.text, "Front");
    EXPECT_EQ(doc.right.title.font.name, "F");
}

TEST_F(EditorFixture, LinkingTheLeftSpineCopiesTheFrontToTheRightEvenWhenTheLeftAlreadyMatches)
{
    ed.setTitleUse(Surface::Right, true);
    ed.setTitleText(Surface::Right, "Own");
    ed.setTitleSameAsLeft(true); // left is off: the right keeps "Own"
    ed.setTitleUse(Surface::Left, true);
    // Front and left are both empty: the left text does not change.
    ObservedEdit r = observe([&] { return ed.setTitleSameAsFront(Surface::Left, true); });
    EXPECT_EQ(doc.left.title.text, "");
    EXPECT_EQ(doc.right.title.text, "");
    EXPECT_TRUE(r.changed.contains("RightTitle"));
    EXPECT_TRUE(r.refreshes(PreviewPage::Back));
}

TEST_F(EditorFixture, FrontTextReachesTheRightSpineWhenTheLinkedLeftAlreadyHasIt)
{
    ed.setTitleUse(Surface::Left, true);
    ed.setTitleUse(Surface::Right, true);
    ed.setTitleSameAsFront(Surface::Left, true);
    ed.setTitleSameAsLeft(true);
    // Spine texts as a file may hold them: each linked spine with its own.
    doc.left.title.text = "Next";
    doc.right.title.text = "Old";
    ObservedEdit r = observe([&] { return ed.setTitleText(Surface::Top, "Next"); });
    EXPECT_EQ(doc.left.title.text, "Next");
    EXPECT_EQ(doc.right.title.text, "Next");
    EXPECT_TRUE(r.changed.contains("RightTitle"));
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front, PreviewPage::Back }));
}

TEST_F(EditorFixture, TheLinkedBackFollowsTheModeButNotTheCustomValues)
{
    ed.setTitleUse(Surface::Top, true);
    ed.setTitleText(Surface::Top, "T");
    ed.setTitleCustomXUse(Surface::Top, true);
    ed.setTitleCustomX(Surface::Top, 12);
    ed.setTitleCustomYUse(Surface::Top, true);
    ed.setTitleCustomY(Surface::Top, 34);
    ed.setTitleFont(Surface::Top, someFont("F", 12));
    ed.setTitleUse(Surface::Bottom, true);
    ObservedEdit r = observe([&] { return ed.setTitleSameAsFront(Surface::Bottom, true); });
    EXPECT_EQ(doc.bottom.title.text, "T");
    EXPECT_EQ(int(doc.bottom.title.posMode), 1);
    EXPECT_TRUE(doc.bottom.title.customXUse);
    EXPECT_EQ(doc.bottom.title.customX, 12);
    EXPECT_TRUE(doc.bottom.title.customYUse);
    EXPECT_EQ(doc.bottom.title.customY, 34);
    EXPECT_EQ(doc.bottom.title.font.name, "F");
    EXPECT_FALSE(r.enabled.value("BottomTitle", true));
    EXPECT_FALSE(r.enabled.value("BottomTitlePos", true));
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));

    r = observe([&] { return ed.setTitlePosMode(Surface::Top, TitlePosition::Custom); });
    EXPECT_EQ(int(doc.bottom.title.posMode), 3);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front, PreviewPage::Back }));
    ed.setTitleCustomX(Surface::Top, 99);
    ed.setTitleCustomXUse(Surface::Top, false);
    EXPECT_EQ(doc.bottom.title.customX, 12);
    EXPECT_TRUE(doc.bottom.title.customXUse);
    // The switch itself is never carried.
    ed.setTitleUse(Surface::Top, false);
    EXPECT_TRUE(doc.bottom.title.use);

    // Switching the link off copies nothing back and frees the controls.
    r = observe([&] { return ed.setTitleSameAsFront(Surface::Bottom, false); });
    EXPECT_TRUE(r.enabled.value("BottomTitle"));
    EXPECT_TRUE(r.enabled.value("BottomTitlePosXY"));
    ed.setTitleText(Surface::Top, "T2");
    EXPECT_EQ(doc.bottom.title.text, "T");
}

TEST_F(EditorFixture, BackTitleEnablingTable)
{
    ed.setTitleUse(Surface::Bottom, true);
    ed.setTitlePosMode(Surface::Bottom, TitlePosition::Custom);
    ed.setTitleCustomYUse(Surface::Bottom, true);
    ControlStates e = enabledStates(doc);
    EXPECT_TRUE(enabledIn(e, "BottomSameTitle"));
    EXPECT_TRUE(enabledIn(e, "BottomTitlePosXY"));
    EXPECT_FALSE(enabledIn(e, "BottomTitlePosX"));
    EXPECT_TRUE(enabledIn(e, "BottomTitlePosY"));
    ed.setTitleSameAsFront(Surface::Bottom, true); // copies mode 1 from the front
    e = enabledStates(doc);
    EXPECT_TRUE(enabledIn(e, "BottomSameTitle"));
    EXPECT_FALSE(enabledIn(e, "BottomTitlePosY"));
    EXPECT_FALSE(enabledIn(e, "BottomTitlePosXY"));
    ed.setTitleUse(Surface::Bottom, false);
    EXPECT_FALSE(enabledIn(enabledStates(doc), "BottomSameTitle"));
}

TEST_F(EditorFixture, LeftSpineEnablingTable)
{
    ed.setTitleUse(Surface::Left, true);
    ControlStates e = enabledStates(doc);
    EXPECT_TRUE(enabledIn(e, "LeftSameTitle"));
    EXPECT_TRUE(enabledIn(e, "LeftTitlePos"));
    EXPECT_TRUE(enabledIn(e, "LeftTitle"));
    EXPECT_FALSE(enabledIn(e, "LeftTitleOffset"));
    ed.setTitlePosMode(Surface::Left, TitlePosition::Custom);
    ed.setTitleSameAsFront(Surface::Left, true);
    e = enabledStates(doc);
    EXPECT_FALSE(enabledIn(e, "LeftTitle"));
    EXPECT_FALSE(enabledIn(e, "LeftTitleFontSet"));
    EXPECT_TRUE(enabledIn(e, "LeftTitlePos")); // the front link carries no position
    EXPECT_TRUE(enabledIn(e, "LeftTitleOffset"));
}

TEST_F(EditorFixture, SwitchesAndColoursRefreshTheirPages)
{
    ObservedEdit r = observe([&] { return ed.setUseList(Surface::Top, true); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_EQ(r.enabled, ControlStates({ { "TopListEdit", true } }));
    r = observe([&] { return ed.setUseList(Surface::Bottom, true); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));

    // The free-print switches refresh their page too, or the preview would
    // keep showing items that no longer print.
    r = observe([&] { return ed.setUseCoverPrints(true); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_EQ(r.enabled, ControlStates({ { "Top1PrintsEdit", true } }));
    r = observe([&] { return ed.setUseInsidePrints(true); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_TRUE(r.enabled.value("Top2PrintsEdit"));
    r = observe([&] { return ed.setUsePrints(true); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));
    EXPECT_TRUE(r.enabled.value("BottomPrintsEdit"));
    r = observe([&] { return ed.setUseCoverPrints(false); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));

    r = observe([&] { return ed.setBackgroundColor(Swatch::TopInside, 0x00123456); });
    EXPECT_EQ(doc.top.backgroundColor2, 0x00123456u);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_EQ(r.changed, QStringList({ "TopLabelBGColor2" }));
    // A cancelled dialog changes nothing but still refreshes the page.
    r = observe([&] { return ed.setBackgroundColor(Swatch::Right, std::nullopt); });
    EXPECT_EQ(doc.right.backgroundColor1, kWhite);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));
    EXPECT_TRUE(r.changed.isEmpty());
}

TEST_F(EditorFixture, PicturePanelsFollowTheirSwitchAndLinks)
{
    ControlStates e = enabledStates(doc);
    EXPECT_FALSE(enabledIn(e, "TopGraphicWidth2"));
    EXPECT_FALSE(enabledIn(e, "SameGraphic"));
    ed.setPictureUse(Surface::Bottom, true);
    e = enabledStates(doc);
    EXPECT_TRUE(enabledIn(e, "SameGraphic"));
    EXPECT_TRUE(enabledIn(e, "BottomGraphicFileSelect"));
    ObservedEdit r = observe([&] { return ed.setPictureSameAsFront(true); });
    EXPECT_FALSE(r.enabled.value("BottomGraphicFileSelect", true));
    EXPECT_FALSE(r.enabled.value("BottomSizeRateFixed", true));
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Back }));
    r = observe([&] { return ed.setPictureUse(Surface::Bottom, false); });
    EXPECT_FALSE(r.enabled.value("SameGraphic", true));
    EXPECT_TRUE(doc.bottom.pictureSameAsFront);
}

TEST_F(EditorFixture, PicturesArePlacedAndLinkedFollowersKeptInStep)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.bmp");
    QImage img(1429, 1000, QImage::Format_RGB888);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(path, "BMP"));

    ed.setPictureUse(Surface::Bottom, true);
    ed.setPictureSameAsFront(true);
    ed.loadSurfacePicture(Surface::Top, path);
    const PicturePlacement &t = doc.top.picture;
    EXPECT_EQ(t.pixelWidth, 1429);
    EXPECT_EQ(t.printWidth, 2016);
    EXPECT_EQ(t.printHeight, 1411);
    EXPECT_EQ(t.posX, -293);
    EXPECT_EQ(t.posY, 0);
    EXPECT_EQ(doc.bottom.picture.printWidth, 2016);
    EXPECT_EQ(doc.bottom.picture.posX, -293);
    EXPECT_EQ(doc.bottom.picture.fileName, path);

    ObservedEdit r
        = observe([&] { return ed.applySizeMode(Surface::Top, PictureSizing::FitWidth); });
    EXPECT_EQ(t.printWidth, 1429);
    EXPECT_EQ(t.printHeight, 1000);
    EXPECT_EQ(doc.bottom.picture.printWidth, 1629); // the back label's own width
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front, PreviewPage::Back }));
    ed.applyAlignMode(Surface::Top, PictureAlignment::CentreDown);
    EXPECT_EQ(t.posY, 205);
    ed.applyAlignMode(Surface::Top, PictureAlignment::Bottom);
    EXPECT_EQ(t.posY, 411);

    r = observe([&] { return ed.setPictureWidth(Surface::Top, 700); });
    EXPECT_EQ(t.printHeight, 489);
    EXPECT_EQ(int(t.sizeMode), 2);
    EXPECT_EQ(doc.bottom.picture.printWidth, 700);
    EXPECT_EQ(doc.bottom.picture.printHeight, 489);
    r = observe([&] { return ed.setPicturePosX(Surface::Top, 12); });
    EXPECT_EQ(doc.bottom.picture.posX, 12);
    EXPECT_TRUE(r.changed.contains("BottomGraphicPosX"));
    EXPECT_EQ(int(t.alignMode), 6);
}

TEST_F(EditorFixture, ChoosingTheFitOrAlignmentAlreadyChosenDoesNothing)
{
    PicturePlacement &t = doc.top.picture;
    t.pixelWidth = 1429;
    t.pixelHeight = 1000;
    t.printWidth = 700;
    t.posX = 5;
    t.sizeMode = PictureSizing::FitWidth;
    t.alignMode = PictureAlignment::Left;
    EXPECT_TRUE(ed.applySizeMode(Surface::Top, PictureSizing::FitWidth).isEmpty());
    EXPECT_TRUE(ed.applyAlignMode(Surface::Top, PictureAlignment::Left).isEmpty());
    EXPECT_EQ(t.printWidth, 700);
    EXPECT_EQ(t.posX, 5);
    EXPECT_EQ(ed.applyAlignMode(Surface::Top, PictureAlignment::Right).pages,
        QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_EQ(t.posX, 729);
}

TEST_F(EditorFixture, TypedTextChangesOnlyWhatIsANewWholeNumber)
{
    PicturePlacement &t = doc.top.picture;
    t.printWidth = 2016;
    t.sizeMode = PictureSizing::FitWidth;
    t.alignMode = PictureAlignment::Right;
    // Not a whole number: the message, and the stored value stays.
    EXPECT_TRUE(ed.commitPicturePosX(Surface::Top, "-").isEmpty());
    EXPECT_EQ(messages.messages, QStringList { "'-' は正しい整数値ではありません" });
    EXPECT_EQ(t.alignMode, PictureAlignment::Right);
    // The value already stored is not applied again: the fit stays chosen.
    EXPECT_TRUE(ed.commitPictureWidth(Surface::Top, "2016").isEmpty());
    EXPECT_EQ(t.sizeMode, PictureSizing::FitWidth);
    EditResult r = ed.commitPictureWidth(Surface::Top, "700");
    EXPECT_EQ(t.printWidth, 700);
    EXPECT_EQ(t.sizeMode, PictureSizing::Custom);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front }));
    EXPECT_EQ(messages.messages.size(), 1);

    // A custom position takes each typed number; an emptied field nothing.
    ASSERT_TRUE(ed.setTitleCustomXText(Surface::Top, "42"));
    EXPECT_EQ(doc.top.title.customX, 42);
    EXPECT_FALSE(ed.setTitleCustomXText(Surface::Top, ""));
    EXPECT_EQ(doc.top.title.customX, 42);
}

TEST_F(EditorFixture, ANewResolutionConvertsEachAxisFromTheValuesBefore)
{
    for (PicturePlacement *p : { &doc.top.picture, &doc.bottom.picture }) {
        p->pixelWidth = 1429;
        p->pixelHeight = 1000;
        p->printWidth = 2016;
        p->printHeight = 1411;
        p->posX = -293;
        p->posY = 7;
    }
    doc.bottom.pictureSameAsFront = true;
    TPrintsData item;
    item.posX = 301;
    item.posY = -301;
    item.printWidth = 99;
    item.printHeight = 3;
    doc.backPrints.append(item);

    doc.dpiX = 600;
    doc.dpiY = 150;
    EditResult r = ed.convertToResolution(300, 300);
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Shown }));
    // The linked back is converted once; the aspect lock, which would
    // recompute the height from the width, is off meanwhile.
    for (const PicturePlacement *p : { &doc.top.picture, &doc.bottom.picture }) {
        EXPECT_EQ(p->printWidth, 4032);
        EXPECT_EQ(p->printHeight, 705);
        EXPECT_EQ(p->posX, -586);
        EXPECT_EQ(p->posY, 3);
        EXPECT_TRUE(p->keepAspect);
    }
    EXPECT_EQ(doc.backPrints[0].posX, 602);
    EXPECT_EQ(doc.backPrints[0].posY, -150); // toward zero, not -151
    EXPECT_EQ(doc.backPrints[0].printWidth, 198);
    EXPECT_EQ(doc.backPrints[0].printHeight, 1);

    // Axes at their own or at an unknown resolution are left alone.
    doc.top.picture.sizeMode = PictureSizing::FitWidth;
    EXPECT_TRUE(ed.convertToResolution(600, 0).pages.isEmpty());
    EXPECT_EQ(doc.top.picture.printWidth, 4032);
    EXPECT_EQ(doc.top.picture.posY, 3);
    EXPECT_EQ(doc.top.picture.sizeMode, PictureSizing::FitWidth);
}

TEST_F(EditorFixture, ASaveMakesTheDocumentStandForTheFileWritten)
{
    QTemporaryDir dir;
    doc.fileName = "/old/name.cwr";
    EXPECT_FALSE(ed.save(dir.filePath("missing/b.cwr")));
    EXPECT_EQ(doc.fileName, "/old/name.cwr");
    ASSERT_TRUE(ed.save(dir.filePath("a.cwr")));
    EXPECT_EQ(doc.fileName, dir.filePath("a.cwr"));
}

TEST_F(EditorFixture, ResetToNewResetsWhatItMustAndKeepsTheRest)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.bmp");
    QImage img(40, 20, QImage::Format_RGB888);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(path, "BMP"));

    doc.fileName = "/tmp/x.cwr";
    for (Surface s : kAllSurfaces) {
        ed.setTitleUse(s, true);
        ed.setTitleText(s, "t");
        ed.setTitlePosMode(s, TitlePosition::Custom);
        ed.setTitleFont(s, someFont("F", 20));
        ed.setPictureUse(s, true);
        ed.loadSurfacePicture(s, path);
        ed.setKeepAspect(s, false);
    }
    ed.setTitleCustomXUse(Surface::Top, true);
    ed.setTitleCustomX(Surface::Top, 10);
    ed.setTitleOffset(Surface::Left, 30);
    ed.setTitleOffset(Surface::Right, 40);
    ed.setTitleSameAsFront(Surface::Bottom, true);
    ed.setTitleSameAsFront(Surface::Left, true);
    ed.setTitleSameAsLeft(true);
    ed.setPictureSameAsFront(true);
    ed.setPictureSameAsLeft(true);
    ed.setTitleCustomYUse(Surface::Bottom, true);
    ed.setTitleCustomY(Surface::Bottom, 20);
    ed.setUseList(Surface::Top, true);
    ed.setUseList(Surface::Bottom, true);
    ed.setUseCoverPrints(true);
    ed.setUsePrints(true);
    ed.setBackgroundColor(Swatch::Left, 0x00010203);
    doc.listRows.append(TListData());
    doc.backPrints.append(TPrintsData());
    doc.listLayout[0].posX = 50;
    doc.listLayout[0].lineSpacing = 12;
    doc.listLayout[1].width2 = 5;
    int reloads = 0;
    ed.setTemplateReloader([&] { ++reloads; });

    ObservedEdit r = observe([&] { return ed.resetToNew(); });
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Shown }));
    EXPECT_TRUE(r.changed.contains("TopTitle"));
    EXPECT_TRUE(r.enabled.contains("TopTitle"));
    EXPECT_EQ(reloads, 1);
    EXPECT_TRUE(doc.fileName.isEmpty());
    for (Surface s : kAllSurfaces) {
        const SurfaceSettings &ss = doc.surface(s);
        EXPECT_FALSE(ss.title.use);
        EXPECT_TRUE(ss.title.text.isEmpty());
        EXPECT_EQ(ss.title.font, defaultFont());
        EXPECT_FALSE(ss.picture.use);
        EXPECT_TRUE(ss.picture.fileName.isEmpty());
        EXPECT_EQ(ss.picture.pixelWidth, 0);
        EXPECT_EQ(ss.picture.printWidth, 0);
        EXPECT_EQ(ss.picture.printHeight, 0);
        EXPECT_EQ(ss.picture.posX, 0);
        EXPECT_EQ(ss.picture.posY, 0);
        EXPECT_EQ(int(ss.picture.sizeMode), 2);
        EXPECT_EQ(int(ss.picture.alignMode), 6);
        EXPECT_FALSE(ss.picture.keepAspect); // kept
        EXPECT_FALSE(ss.picture.bitmap.isNull()); // kept in memory, not shown
        EXPECT_FALSE(ss.titleSameAsFront);
        EXPECT_FALSE(ss.titleSameAsLeft);
        EXPECT_FALSE(ss.pictureSameAsFront);
        EXPECT_FALSE(ss.pictureSameAsLeft);
        EXPECT_FALSE(ss.useList);
    }
    EXPECT_EQ(int(doc.top.title.posMode), 1);
    EXPECT_EQ(int(doc.bottom.title.posMode), 1);
    // Kept: spine modes and offsets, custom positions, colours, print switches and lists.
    EXPECT_EQ(int(doc.left.title.posMode), 3);
    EXPECT_EQ(int(doc.right.title.posMode), 3);
    EXPECT_EQ(doc.left.title.offset, 30);
    EXPECT_EQ(doc.right.title.offset, 30); // copied from the left by RightSameLeft
    EXPECT_TRUE(doc.top.title.customXUse);
    EXPECT_EQ(doc.top.title.customX, 10);
    EXPECT_EQ(doc.bottom.title.customY, 20);
    EXPECT_EQ(doc.left.backgroundColor1, 0x00010203u);
    EXPECT_TRUE(doc.top.useCoverPrints);
    EXPECT_TRUE(doc.bottom.usePrints);
    EXPECT_EQ(doc.backPrints.size(), 1);
    EXPECT_TRUE(doc.listRows.isEmpty());
    EXPECT_EQ(doc.listLayout[0].posX, defaultListLayout(0).posX);
    EXPECT_EQ(doc.listLayout[0].lineSpacing, 12);
    EXPECT_EQ(doc.listLayout[1].width2, 87);
}

// A title or picture that follows another is drawn only while the one it
// follows is switched on: switching the leader redraws the followers' page.
TEST_F(EditorFixture, SwitchingALeaderRedrawsThePageOfItsFollowers)
{
    using Pages = QList<PreviewPage>;
    const PreviewPage F = PreviewPage::Front, B = PreviewPage::Back;
    struct Case
    {
        const char *name;
        std::function<void(LabelDocument &)> link;
        std::function<EditResult(DocumentEditor &)> edit;
        Pages pages;
    };
    const auto topTitle = [](DocumentEditor &e) { return e.setTitleUse(Surface::Top, true); };
    const auto leftTitle = [](DocumentEditor &e) { return e.setTitleUse(Surface::Left, true); };
    const auto topPicture = [](DocumentEditor &e) { return e.setPictureUse(Surface::Top, true); };
    const Case cases[] = {
        { "front title alone", [](LabelDocument &) { }, topTitle, Pages { F } },
        { "back title follows", [](LabelDocument &d) { d.bottom.titleSameAsFront = true; }, topTitle, Pages { F, B } },
        { "left title follows", [](LabelDocument &d) { d.left.titleSameAsFront = true; }, topTitle, Pages { F, B } },
        { "right title follows", [](LabelDocument &d) { d.right.titleSameAsFront = true; }, topTitle, Pages { F, B } },
        { "right follows left", [](LabelDocument &d) { d.right.titleSameAsLeft = true; }, leftTitle, Pages { B } },
        { "cover picture alone", [](LabelDocument &) { }, topPicture, Pages { F } },
        { "back picture follows", [](LabelDocument &d) { d.bottom.pictureSameAsFront = true; }, topPicture, Pages { F, B } },
    };
    for (const Case &c : cases) {
        LabelDocument d;
        d.dpiX = d.dpiY = 300;
        d.surfacePixels = surfacePixelsAt(300, 300);
        c.link(d);
        DocumentEditor e(d, &messages);
        EXPECT_EQ(c.edit(e).pages, c.pages) << c.name;
    }
}
