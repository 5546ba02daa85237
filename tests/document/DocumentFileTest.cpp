#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <functional>

#include "DocumentFileFixture.h"
#include "TestSupport.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFile.h"
#include "pictures/PictureLoading.h"
#include "prints/PrintsEditor.h"
#include "render/DirectEdit.h"
#include "render/Geometry.h"

using namespace cw;

// ---- Writing ---------------------------------------------------------------

TEST_F(FileFixture, ANewDocumentIsWrittenLineForLine)
{
    EXPECT_EQ(documentBytes(doc).data, fileOf(kNewDocumentLines));
}

TEST_F(FileFixture, NumbersColoursAndFontsUseTheFileFormats)
{
    doc.listLayout[0] = { 1, -5, 1000, 9, 70, 30, 2, 2, 3 };
    doc.top.backgroundColor1 = 0x00ABCDEF;
    doc.top.title.font.color = 0x000000FF;
    doc.top.title.font.size = 1234;
    doc.top.title.font.italic = true;
    doc.top.title.font.strikeOut = true;
    doc.top.picture.printWidth = 2016;
    doc.top.picture.posX = -293;
    doc.left.title.offset = 115;
    doc.right.titleSameAsLeft = true;
    TPrintsData item;
    item.kind = 1;
    item.text = "文字";
    item.textX = 3;
    item.textY = 4;
    item.angle = 270;
    item.fileName = "/p/a.bmp";
    item.transparent = true;
    item.transColor = 0x00FF00FF;
    item.posX = -1;
    item.posY = 2;
    item.printWidth = 30;
    item.printHeight = 40;
    doc.insidePrints.append(item);
    TListData row;
    row.separate = false;
    row.kind = 1;
    row.columns[1].text = "曲";
    row.columns[1].align = 2;
    doc.listRows.append(row);

    QStringList lines = kNewDocumentLines;
    lines[4] = "1 -05 1000 009 070 030 002 002 003";
    lines[11] = "00abcdef";
    lines[18] = "255 1234 128 0 1 0 1";
    lines[22] = "2016 0 -293 0";
    lines[50] = "115";
    lines[59] = "0 0 1";
    insertLines(lines, 29,
        { "1", "文字", "3 4", "-2147483640 009 128 0 0 0 0", "ＭＳ Ｐゴシック", "270", "/p/a.bmp",
            "1 16711935", "-1 2", "30 40" });
    lines << "0 1"
          << "1"
          << ""
          << "-2147483640 009 128 0 0 0 0"
          << "ＭＳ Ｐゴシック"
          << "2"
          << "曲"
          << "-2147483640 009 128 0 0 0 0"
          << "ＭＳ Ｐゴシック"
          << "1"
          << ""
          << "-2147483640 009 128 0 0 0 0"
          << "ＭＳ Ｐゴシック";
    EXPECT_EQ(QString::fromLatin1(documentBytes(doc).data.toHex(' ')),
        QString::fromLatin1(fileOf(lines).toHex(' ')));
}

TEST_F(FileFixture, TextThatCannotBeWrittenIsRefusedWithItsFieldName)
{
    const QString path = write("keep.cwr", "old contents");
    doc.top.title.text = QStringLiteral("A😀");
    EXPECT_FALSE(saveDocument(doc, path, messages));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("ファイル(" + path + ")が記録できません\n"));
    EXPECT_TRUE(messages.messages[0].contains("表レーベル タイトル"));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));

    // 254 bytes is the longest line that reads back whole.
    doc.top.title.text = QString(254, QLatin1Char('x'));
    TListData row;
    row.columns[2].text = QString(128, QChar(0x3042)); // 256 bytes in CP932
    doc.listRows.append(row);
    messages.messages.clear();
    EXPECT_FALSE(saveDocument(doc, path, messages));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].contains("リスト 1行目 3列目"));
    EXPECT_FALSE(messages.messages[0].contains("タイトル"));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

TEST_F(FileFixture, SavingReplacesTheOldFile)
{
    const QString path = write("x.cwr", "old contents that are longer than nothing");
    EXPECT_TRUE(ed.save(path));
    EXPECT_EQ(readAll(path), fileOf(kNewDocumentLines));
    EXPECT_TRUE(messages.messages.isEmpty());
}

// ---- Reading: versions ---------------------------------------------------------

class VersionFixture : public FileFixture, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(VersionFixture, EveryVersionLoadsWithItsSubstitutes)
{
    const double v = QString(GetParam()).toDouble();
    const QString path = dataDir() + "/v" + QString(GetParam()).replace('.', '_') + ".cwr";
    const QString pic = QDir::cleanPath(dataDir() + "/pic.bmp");
    doc.listLayout[0].lineSpacing = 7;
    doc.listLayout[1].lineSpacing = 8;
    doc.listRows.append(TListData());

    ASSERT_EQ(load(path), LoadStatus::Loaded) << messages.messages.join('\n').toStdString();
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('\n').toStdString();
    EXPECT_EQ(progress.texts, QStringList({ "セーブデータロード中" }));
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(doc.fileName, path);

    EXPECT_EQ(doc.listLayout[0], ListLayout({ 2, 5, 10, 12, 60, 25, 3, 4, v >= 1.04 ? 15 : 7 }));
    EXPECT_EQ(doc.listLayout[1], ListLayout({ 3, 4, 8, 10, 80, 30, 2, 2, v >= 1.04 ? 5 : 8 }));

    const bool v102 = v >= 1.02;
    const SurfaceSettings &t = doc.top;
    EXPECT_EQ(t.backgroundColor1, v102 ? 0x00ffeeddu : kWhite);
    EXPECT_EQ(t.backgroundColor2, v102 ? 0x00ccbbaau : kWhite);
    EXPECT_TRUE(t.title.use);
    EXPECT_EQ(t.title.text, "表のタイトル");
    EXPECT_EQ(int(t.title.posMode), 3);
    EXPECT_EQ(t.title.customXUse, v102);
    EXPECT_EQ(t.title.customX, v102 ? 12 : 0);
    EXPECT_FALSE(t.title.customYUse);
    EXPECT_EQ(t.title.customY, v102 ? 34 : 0);
    FontSpec topFont = defaultFont();
    topFont.size = 12;
    topFont.bold = true;
    topFont.name = "ＭＳ Ｐ明朝";
    EXPECT_EQ(t.title.font, topFont);
    EXPECT_TRUE(t.picture.use);
    EXPECT_EQ(t.picture.fileName, pic);
    EXPECT_EQ(t.picture.pixelWidth, 4);
    EXPECT_EQ(t.picture.pixelHeight, 2);
    EXPECT_EQ(t.picture.sourceRect, PixelRect({ 0, 0, 4, 2 }));
    EXPECT_EQ(t.picture.printWidth, 800);
    EXPECT_EQ(t.picture.printHeight, 400);
    EXPECT_EQ(t.picture.posX, -10);
    EXPECT_EQ(t.picture.posY, 20);
    EXPECT_EQ(t.useCoverPrints, v >= 1.03);
    EXPECT_EQ(t.useInsidePrints, v >= 1.03);
    EXPECT_TRUE(t.useList);

    ASSERT_EQ(doc.coverPrints.size(), 1);
    const TPrintsData &c = doc.coverPrints[0];
    EXPECT_EQ(c.kind, 0);
    EXPECT_EQ(c.text, "前面の文字");
    EXPECT_EQ(c.textX, 10);
    EXPECT_EQ(c.textY, 20);
    EXPECT_EQ(c.font.color, 255u);
    EXPECT_EQ(c.font.size, 10);
    EXPECT_TRUE(c.font.italic);
    EXPECT_EQ(c.font.name, "ＭＳ ゴシック");
    EXPECT_EQ(c.angle, v >= 1.04 ? 90 : 0);
    EXPECT_TRUE(c.fileName.isEmpty());
    EXPECT_EQ(c.transparent, v >= 1.05);
    EXPECT_EQ(c.transColor, v >= 1.05 ? 65280u : 0u);

    ASSERT_EQ(doc.insidePrints.size(), 1);
    const TPrintsData &i = doc.insidePrints[0];
    EXPECT_EQ(i.kind, 1);
    EXPECT_EQ(i.text, "[List]");
    EXPECT_EQ(i.font.color, 16711680u);
    EXPECT_TRUE(i.font.underline);
    EXPECT_TRUE(i.font.strikeOut);
    EXPECT_EQ(i.angle, v >= 1.04 ? 45 : 0);
    EXPECT_EQ(i.fileName, pic);
    EXPECT_EQ(i.pixelWidth, 4);
    EXPECT_EQ(i.pixelHeight, 2);
    EXPECT_EQ(i.transparent, v >= 1.04);
    EXPECT_EQ(i.transColor, v >= 1.04 ? 255u : 0u);
    EXPECT_EQ(i.posX, 30);
    EXPECT_EQ(i.posY, 40);
    EXPECT_EQ(i.printWidth, 8);
    EXPECT_EQ(i.printHeight, 4);

    const SurfaceSettings &b = doc.bottom;
    EXPECT_EQ(b.backgroundColor1, v102 ? 0x00112233u : kWhite);
    EXPECT_TRUE(b.title.use);
    EXPECT_FALSE(b.titleSameAsFront);
    EXPECT_EQ(b.title.text, "裏のタイトル");
    EXPECT_EQ(int(b.title.posMode), 2);
    EXPECT_FALSE(b.title.customXUse);
    EXPECT_EQ(b.title.customYUse, v102);
    EXPECT_EQ(b.title.customY, v102 ? 45 : 0);
    EXPECT_EQ(b.title.font, defaultFont());
    EXPECT_FALSE(b.picture.use);
    EXPECT_EQ(b.usePrints, v >= 1.03);
    EXPECT_TRUE(b.useList);

    const SurfaceSettings &l = doc.left;
    EXPECT_EQ(l.backgroundColor1, v102 ? 0x00445566u : kWhite);
    EXPECT_TRUE(l.title.use);
    EXPECT_EQ(l.title.text, "左の背");
    EXPECT_EQ(int(l.title.posMode), v >= 1.06 ? 2 : 3);
    EXPECT_EQ(l.title.offset, v >= 1.01 ? 115 : 0); // "250" is cut to 115
    EXPECT_EQ(l.title.font.size, 8);
    EXPECT_TRUE(l.title.font.strikeOut);

    const SurfaceSettings &r = doc.right;
    EXPECT_EQ(r.backgroundColor1, v102 ? 0x00778899u : kWhite);
    EXPECT_TRUE(r.title.use);
    EXPECT_FALSE(r.titleSameAsFront);
    EXPECT_TRUE(r.titleSameAsLeft);
    EXPECT_EQ(r.title.text, "右の背");
    EXPECT_EQ(int(r.title.posMode), v >= 1.06 ? 0 : 3);
    EXPECT_EQ(r.title.offset, v >= 1.01 ? 7 : 0);
    EXPECT_EQ(r.title.font.size, 10);
    EXPECT_TRUE(r.title.font.bold);
    EXPECT_TRUE(r.title.font.italic);

    ASSERT_EQ(doc.backPrints.size(), 1);
    EXPECT_EQ(doc.backPrints[0].text, "裏の文字");
    EXPECT_EQ(doc.backPrints[0].textX, 5);
    EXPECT_EQ(doc.backPrints[0].textY, 6);
    EXPECT_FALSE(doc.backPrints[0].transparent);

    ASSERT_EQ(doc.listRows.size(), 2); // the row from before the load is gone
    const TListData &r1 = doc.listRows[0];
    EXPECT_TRUE(r1.separate);
    EXPECT_EQ(r1.kind, 0);
    EXPECT_EQ(r1.columns[0].text, "1");
    EXPECT_EQ(r1.columns[1].text, "[DPI]");
    EXPECT_TRUE(r1.columns[1].font.bold);
    EXPECT_EQ(r1.columns[2].text, "3:45");
    EXPECT_EQ(r1.columns[2].align, 3);
    const TListData &r2 = doc.listRows[1];
    EXPECT_FALSE(r2.separate);
    EXPECT_EQ(r2.kind, 1);
    EXPECT_EQ(r2.columns[1].align, 2);
    EXPECT_TRUE(r2.columns[1].text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionFixture,
    ::testing::Values("1.00", "1.01", "1.02", "1.03", "1.04", "1.05", "1.06"));

// ---- Round trips --------------------------------------------------------------------

TEST_F(FileFixture, EveryFieldSurvivesSaveAndLoad)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));
    doc.listLayout[0] = { 2, 11, 12, 13, 14, 15, 16, 17, 18 };
    doc.listLayout[1] = { 1, 21, 22, 23, 24, 25, 26, 27, 28 };
    ed.setTitleUse(Surface::Left, true);
    ed.setTitleText(Surface::Left, "左");
    ed.setTitlePosMode(Surface::Left, TitlePosition::Custom);
    ed.setTitleOffset(Surface::Left, 33);
    FontSpec f { "Ｆ", 14, 0x00123456, 1, true, true, true, true };
    ed.setTitleFont(Surface::Left, f);
    for (Surface s : kAllSurfaces) {
        ed.setTitleUse(s, true);
        ed.setPictureUse(s, true);
        ed.loadSurfacePicture(s, picture);
        ed.setPictureWidth(s, 600);
        ed.setPicturePosX(s, -7);
        ed.setPicturePosY(s, 9);
    }
    ed.setTitleText(Surface::Top, "表");
    ed.setTitlePosMode(Surface::Top, TitlePosition::Custom);
    ed.setTitleCustomXUse(Surface::Top, true);
    ed.setTitleCustomX(Surface::Top, 5);
    ed.setTitleCustomYUse(Surface::Top, true);
    ed.setTitleCustomY(Surface::Top, 6);
    ed.setTitleFont(Surface::Top, FontSpec { "Ｇ", 20, 0x80000005, 0, true, false, true, false });
    ed.setTitleSameAsFront(Surface::Bottom, true);
    ed.setTitleSameAsLeft(true);
    ed.setPictureSameAsFront(true);
    ed.setPictureSameAsLeft(true);
    ed.setUseList(Surface::Top, true);
    ed.setUseList(Surface::Bottom, true);
    ed.setUseCoverPrints(true);
    ed.setUseInsidePrints(true);
    ed.setUsePrints(true);
    ed.setBackgroundColor(Swatch::TopCover, 0x00000001);
    ed.setBackgroundColor(Swatch::TopInside, 0x00000002);
    ed.setBackgroundColor(Swatch::Bottom, 0x00000003);
    ed.setBackgroundColor(Swatch::Left, 0x00000004);
    ed.setBackgroundColor(Swatch::Right, 0x80000005);
    TPrintsData text;
    text.text = "テキスト";
    text.textX = 1;
    text.textY = 2;
    text.angle = 180;
    text.font = f;
    text.transparent = true;
    text.transColor = 0x00010203;
    TPrintsData pic = text;
    pic.kind = 1;
    pic.fileName = picture;
    pic.posX = -3;
    pic.posY = 4;
    pic.printWidth = 50;
    pic.printHeight = 60;
    for (QList<TPrintsData> *l : { &doc.coverPrints, &doc.insidePrints, &doc.backPrints })
        *l = { text, pic };
    for (int i = 0; i < 3; ++i) {
        TListData row;
        row.separate = i != 1;
        row.kind = i == 2;
        for (int c = 0; c < 3; ++c) {
            row.columns[c].text = QStringLiteral("%1-%2").arg(i).arg(c);
            row.columns[c].align = c + 1;
            row.columns[c].font = f;
        }
        doc.listRows.append(row);
    }

    const QString path = dir.filePath("all.cwr");
    ASSERT_TRUE(ed.save(path));
    const QByteArray first = readAll(path);
    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(loadDocument(e2, path, progress), LoadStatus::Loaded);
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('\n').toStdString();
    const QString again = dir.filePath("again.cwr");
    ASSERT_TRUE(e2.save(again));
    EXPECT_EQ(readAll(again), first);

    EXPECT_EQ(back.listLayout, doc.listLayout);
    EXPECT_EQ(back.listRows, doc.listRows);
    EXPECT_EQ(controlValues(back), controlValues(doc));
    EXPECT_EQ(back.insidePrints[1].posX, -3);
    EXPECT_EQ(back.insidePrints[1].printHeight, 60);
    EXPECT_EQ(back.insidePrints[1].pixelWidth, 4);
}

// A document reopens with the picture sizes it was saved with, whichever
// way the program made them, while the aspect lock is on as it starts. Each
// row once came back changed: the lock's rule, applied to the stored width
// and then the height, is not exact for every size the program makes.
TEST_F(FileFixture, PictureSizesReopenAsTheyWereSaved)
{
    auto picture = [this](const QString &name, int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(qRgb(90, 120, 150));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    };
    const QString wide = picture("wide.bmp", 300, 200);
    const QString tall = picture("tall.bmp", 600, 601);
    const QString photo = picture("photo.bmp", 1500, 1000); // a 6000 x 4000 photo's shape
    const QString square = picture("square.bmp", 600, 600);
    const struct
    {
        const char *how;
        int dpi;
        std::function<void(DocumentEditor &, PrintsEditor &)> make;
        int printWidth, printHeight, posX, posY;
    } cases[] = {
        { "loaded to cover", 300,
            [&](DocumentEditor &e, PrintsEditor &) { e.loadSurfacePicture(Surface::Top, tall); },
            1429, 1431, 0, -10 },
        { "loaded at 1200 dpi", 1200,
            [&](DocumentEditor &e, PrintsEditor &) { e.loadSurfacePicture(Surface::Top, photo); },
            8467, 5645, -1375, 0 },
        { "fitted to the width", 300,
            [&](DocumentEditor &e, PrintsEditor &) {
                e.loadSurfacePicture(Surface::Top, wide);
                e.applySizeMode(Surface::Top, PictureSizing::FitWidth);
            },
            1429, 952, -343, 0 },
        { "sized by its handle", 300,
            [&](DocumentEditor &e, PrintsEditor &p) {
                e.loadSurfacePicture(Surface::Top, wide);
                sizePart(
                    { e, p }, PagePart { PartKind::Picture, 0, -1, QPoint() }, { 1300, 7 }, true);
            },
            1300, 866, -343, 0 },
        { "typed with the lock off", 300,
            [&](DocumentEditor &e, PrintsEditor &) {
                e.loadSurfacePicture(Surface::Top, square);
                e.setKeepAspect(Surface::Top, false);
                e.setPictureWidth(Surface::Top, 1300);
                e.setPictureHeight(Surface::Top, 1299);
            },
            1300, 1299, 0, -9 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        LabelDocument made, reopened;
        useResolution(made, c.dpi, c.dpi);
        useResolution(reopened, c.dpi, c.dpi);
        DocumentEditor maker(made, &messages), reader(reopened, &messages);
        PrintsEditor prints(made);
        c.make(maker, prints);
        const PicturePlacement &m = made.top.picture;
        EXPECT_EQ((QList<int> { m.printWidth, m.printHeight, m.posX, m.posY }),
            (QList<int> { c.printWidth, c.printHeight, c.posX, c.posY }));
        const QString path = write("sizes.cwr", resaved(made));
        ASSERT_EQ(loadDocument(reader, path, progress), LoadStatus::Loaded)
            << messages.messages.join('\n').toStdString();
        const PicturePlacement &r = reopened.top.picture;
        EXPECT_EQ((QList<int> { r.printWidth, r.printHeight, r.posX, r.posY }),
            (QList<int> { c.printWidth, c.printHeight, c.posX, c.posY }));
        EXPECT_TRUE(r.keepAspect);
    }
}

TEST_F(FileFixture, PictureNamesAreWrittenBackAsTheyWereStored)
{
    const QString demoDir = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples");
    for (const QString &name : QDir(demoDir).entryList({ "*.png", "*.cwr" }, QDir::Files))
        ASSERT_TRUE(QFile::copy(demoDir + "/" + name, dir.filePath(name)));
    const QString path = dir.filePath("demo.cwr");
    const QByteArray original = readAll(path);
    LoadSusiePlugins(); // the decoder modules of the build tree
    ASSERT_TRUE(original.contains("\r\ndemo-cover.png\r\n"));
    ASSERT_EQ(load(path), LoadStatus::Loaded);
    // The picture was found beside the document and is known by its full path.
    EXPECT_EQ(doc.top.picture.fileName, dir.filePath("demo-cover.png"));
    EXPECT_FALSE(doc.top.picture.bitmap.isNull());

    // Saved in place: byte for byte what was read.
    ASSERT_TRUE(saveDocument(doc, path, messages));
    EXPECT_EQ(readAll(path), original);

    // Saved into another folder, the relative name would lead nowhere: the
    // full path is written.
    QTemporaryDir other;
    const QString elsewhere = other.filePath("moved.cwr");
    ASSERT_TRUE(saveDocument(doc, elsewhere, messages));
    EXPECT_TRUE(readAll(elsewhere).contains(
        "\r\n" + QFile::encodeName(dir.filePath("demo-cover.png")) + "\r\n"));

    // A picture chosen anew is written with its own name.
    doc.top.picture.fileName = dir.filePath("other.png");
    EXPECT_TRUE(documentBytes(doc, path).data.contains(
        "\r\n" + QFile::encodeName(dir.filePath("other.png")) + "\r\n"));

    // "新規作成" forgets the names of the file that was read.
    ed.resetToNew();
    EXPECT_TRUE(doc.pictureNamesAsStored.isEmpty());
    FreeSusiePlugins();
}
