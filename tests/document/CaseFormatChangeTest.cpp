// "ケースの種類": changing a document's case format is one step that keeps
// what was placed, refits fitted pictures to their panel, keeps the values of
// surfaces the new case lacks, and undoes to the same bytes.
#include <gtest/gtest.h>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/DocumentControls.h"
#include "document/PicturePlacementOps.h"

using namespace cw;

namespace {

// A document with something on every surface: titles, pictures (the front's
// fitted to the width, the back's to the height), items and rows.
void fillEverySurface(DocumentEditor &ed, const QString &picture)
{
    for (Surface s : kAllSurfaces) {
        ed.setTitleUse(s, true);
        ed.setTitleText(s, surfacePrefix(s) + " 題");
        ed.setPictureUse(s, true);
        ed.loadSurfacePicture(s, picture);
        ed.setPicturePosX(s, 11);
        ed.setPicturePosY(s, -7);
    }
    ed.applySizeMode(Surface::Top, PictureSizing::FitWidth);
    ed.applySizeMode(Surface::Bottom, PictureSizing::FitHeight);
    ed.setTitleOffset(Surface::Left, 40);
    ed.setBackgroundColor(Swatch::Right, 0x00123456);
    ed.setUseList(Surface::Bottom, true);
    TPrintsData item;
    item.text = "項目";
    item.posX = 30;
    item.posY = 40;
    ed.document().coverPrints.append(item);
    ed.document().backPrints.append(item);
    ed.document().listRows.append(TListData());
}

} // namespace

TEST_F(FileFixture, ChangingTheCaseIsOneStepThatUndoesToTheSameBytes)
{
    fillEverySurface(ed, write("pic.bmp", readAll(dataDir() + "/pic.bmp")));
    ed.history().clear();
    const QByteArray jewel = resaved(doc);
    const auto placedBefore = controlValues(doc);

    const EditResult r = ed.setCaseFormat("cd-slim");
    EXPECT_EQ(doc.caseFormat, "cd-slim");
    // Both sheets the jewel case had: a preview on the back must move on.
    EXPECT_EQ(r.pages, QList<PreviewPage>({ PreviewPage::Front, PreviewPage::Back }));
    EXPECT_EQ(ed.history().undoCount(), 1);
    EXPECT_EQ(ed.history().undoLabel(), "ケースの種類の変更");
    const QByteArray slim = resaved(doc);
    EXPECT_TRUE(slim.startsWith("<Casewright Data File>\r\n1.08\r\n\r\n[Case]\r\ncd-slim\r\n"));

    // The slim case's front sheet is the jewel case's: everything placed on
    // it, fitted pictures included, keeps its numbers; the back and the
    // spines keep theirs.
    auto placedAfter = controlValues(doc);
    EXPECT_EQ(placedAfter.take("CaseType"), "1");
    auto placed = placedBefore;
    EXPECT_EQ(placed.take("CaseType"), "0");
    EXPECT_EQ(placedAfter, placed);
    EXPECT_EQ(doc.coverPrints[0].posX, 30);
    EXPECT_EQ(doc.backPrints[0].posY, 40);

    ASSERT_TRUE(ed.history().undo().done);
    EXPECT_EQ(doc.caseFormat, "cd-jewel");
    EXPECT_EQ(resaved(doc), jewel);
    EXPECT_EQ(controlValues(doc), placedBefore);
    ASSERT_TRUE(ed.history().redo().done);
    EXPECT_EQ(resaved(doc), slim);

    // Choosing the jewel case again is a step of its own and loses nothing.
    ed.setCaseFormat("cd-jewel");
    EXPECT_EQ(ed.history().undoCount(), 2);
    EXPECT_EQ(resaved(doc), jewel);
}

TEST_F(FileFixture, TheCaseAlreadyChosenOrAnUnknownOneChangesNothing)
{
    ed.setTitleText(Surface::Top, "x");
    ed.history().clear();
    const QByteArray before = resaved(doc);
    for (const char *id : { "cd-jewel", "dvd", "", "CD-SLIM" }) {
        EXPECT_TRUE(ed.setCaseFormat(id).isEmpty()) << id;
        EXPECT_EQ(doc.caseFormat, "cd-jewel") << id;
    }
    EXPECT_FALSE(ed.history().canUndo());
    EXPECT_EQ(resaved(doc), before);
}

TEST_F(FileFixture, TheSlimCaseDisablesTheTabsOfTheSurfacesItLacks)
{
    ed.setTitleUse(Surface::Bottom, true);
    ed.setTitleUse(Surface::Right, true);
    ed.setPictureUse(Surface::Bottom, true);
    ed.setUseList(Surface::Bottom, true);
    ControlStates jewel = enabledStates(doc);
    for (const char *on : { "TopLabelTab", "BottomLabelTab", "LeftTitleTab", "RightTitleTab",
             "BottomTitle", "BottomListEdit", "BottomGraphicFileSelect", "RightSameTitle",
             "SameGraphic", "BottomLabelBGColor", "LeftTitleBGColor", "BottomLabelPrint",
             "SideTitleSameTop" })
        EXPECT_TRUE(jewel.value(on, false)) << on;

    ed.setCaseFormat("cd-slim");
    const ControlStates slim = enabledStates(doc);
    for (const char *off : { "BottomLabelTab", "LeftTitleTab", "RightTitleTab", "BottomTitle",
             "BottomListEdit", "BottomGraphicFileSelect", "RightSameTitle", "SameGraphic",
             "BottomLabelBGColor", "LeftTitleBGColor", "RightTitleBGColor", "BottomLabelPrint",
             "SideTitleSameTop" })
        EXPECT_FALSE(slim.value(off, true)) << off;
    // The front and its colours are as in the jewel case.
    for (auto it = slim.cbegin(); it != slim.cend(); ++it) {
        if (it.key().startsWith("Top")) {
            EXPECT_EQ(it.value(), jewel.value(it.key())) << it.key().toStdString();
        }
    }
    EXPECT_TRUE(slim.value("TopLabelTab"));
    EXPECT_TRUE(slim.value("TopLabelBGColor2"));
    // The values stay: back to the jewel case, the same controls are enabled.
    ed.setCaseFormat("cd-jewel");
    EXPECT_EQ(enabledStates(doc), jewel);
}

// "内側も印刷" goes with a case that has a sheet for the wrap's reverse.
TEST_F(FileFixture, PrintTheInsideIsOfferedForTheWrapsOnly)
{
    const struct
    {
        const char *format;
        bool offered;
    } rows[] = { { "cd-jewel", false }, { "cd-slim", false }, { "dvd-14", true },
        { "dvd-slim-5", true }, { "bd-12", true }, { "bd-14", true }, { "cd-jewel", false } };
    for (const auto &r : rows) {
        ed.setCaseFormat(QString::fromLatin1(r.format));
        EXPECT_EQ(enabledStates(doc).value("InsidePrint", !r.offered), r.offered) << r.format;
    }
}

// A surface of another size: a picture fitted to its width or height fits
// the new size; one of a custom size keeps it; positions stay.
TEST_F(FileFixture, AFittedPictureFitsItsSurfaceAgain)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));
    ed.loadSurfacePicture(Surface::Top, picture);
    ed.loadSurfacePicture(Surface::Bottom, picture);
    ed.loadSurfacePicture(Surface::Left, picture);
    const PicturePlacement &top = doc.top.picture, &bottom = doc.bottom.picture;
    const int pw = top.pixelWidth, ph = top.pixelHeight;
    ASSERT_GT(pw, 0);
    ASSERT_GT(ph, 0);
    ed.applySizeMode(Surface::Top, PictureSizing::FitWidth);
    ed.applySizeMode(Surface::Bottom, PictureSizing::FitHeight);
    ed.setPictureWidth(Surface::Left, 50);
    ed.setPicturePosX(Surface::Top, 12);
    const int leftWidth = doc.left.picture.printWidth, leftHeight = doc.left.picture.printHeight;

    doc.surfacePixels.topWidth = 2000;
    doc.surfacePixels.bottomHeight = 900;
    doc.surfacePixels.sideWidth = 30;
    for (Surface s : kAllSurfaces)
        refitPicture(doc, s);
    EXPECT_EQ(top.printWidth, 2000);
    EXPECT_EQ(top.printHeight, int(qint64(ph) * 2000 / pw));
    EXPECT_EQ(top.posX, 12);
    EXPECT_EQ(bottom.printHeight, 900);
    EXPECT_EQ(bottom.printWidth, int(qint64(pw) * 900 / ph));
    EXPECT_EQ(doc.left.picture.printWidth, leftWidth);
    EXPECT_EQ(doc.left.picture.printHeight, leftHeight);
    EXPECT_EQ(top.sizeMode, PictureSizing::FitWidth);
}
