// Reading documents: edge cases, resolution changes, pictures and round trips.
#include "DocumentFileFixture.h"


// ---- Reading: edge cases ------------------------------------------------------------

TEST_F(FileFixture, EmptyTitlesAndTitlesThatLookLikeHeadersReadBack)
{
    ed.setTitleText(Surface::Top, "[DPI]");
    ed.setTitleText(Surface::Left, "[List]");
    ed.setTitleFont(Surface::Right, FontSpec { "[Top Label]", 9, kWindowTextColor, 128 });
    const QString path = dir.filePath("t.cwr");
    ASSERT_TRUE(ed.save(path));

    LabelDocument back;
    useResolution(back, 300, 300);
    back.bottom.title.text = "something";
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(loadDocument(e2, path, progress), LoadStatus::Loaded);
    EXPECT_EQ(back.top.title.text, "[DPI]");
    EXPECT_EQ(back.left.title.text, "[List]");
    EXPECT_EQ(back.right.title.font.name, "[Top Label]");
    EXPECT_TRUE(back.bottom.title.text.isEmpty()); // the empty line is the title
    EXPECT_EQ(int(back.bottom.title.posMode), 1);
    EXPECT_EQ(documentBytes(back).data, readAll(path));
}

TEST_F(FileFixture, ATrailingEmptyLineAndLfOnlyLinesAreAccepted)
{
    const QByteArray crlf = readAll(dataDir() + "/v1_06.cwr");
    ASSERT_FALSE(crlf.isEmpty());
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    const QString a = write("a.cwr", crlf + "\r\n");
    const QString b = write("b.cwr", lf);
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));

    ASSERT_EQ(load(a), LoadStatus::Loaded);
    const QByteArray fromCrlf = resaved(doc);
    LabelDocument other;
    useResolution(other, 300, 300);
    DocumentEditor e2(other, &messages);
    ASSERT_EQ(loadDocument(e2, b, progress), LoadStatus::Loaded);
    EXPECT_EQ(resaved(other), fromCrlf);
    EXPECT_EQ(other.listRows.size(), 2);
    EXPECT_EQ(other.top.picture.fileName, picture);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(FileFixture, MissingSectionsLeaveTheirFieldsButListsStartEmpty)
{
    ed.setTitleText(Surface::Top, "kept");
    ed.setBackgroundColor(Swatch::TopCover, 0x00010101);
    doc.listRows.append(TListData());
    QStringList lines = kNewDocumentLines;
    lines[39] = "1 0"; // bottom picture switched on
    // Without [Top Label] (lines 9..24) and without [List] (the last two lines).
    lines = lines.mid(0, 9) + lines.mid(25, lines.size() - 27);
    const QString path = write("m.cwr", fileOf(lines));
    ASSERT_EQ(load(path), LoadStatus::Loaded);
    EXPECT_EQ(doc.top.title.text, "kept");
    EXPECT_EQ(doc.top.backgroundColor1, 0x00010101u);
    EXPECT_TRUE(doc.listRows.isEmpty());
    EXPECT_TRUE(doc.bottom.picture.use);
}

TEST_F(FileFixture, ASectionTwiceOverwritesFieldsAndAppendsRecords)
{
    TListData row;
    row.columns[0].text = "A";
    doc.listRows.append(row);
    row.columns[0].text = "B";
    doc.listRows.append(row);
    ed.setTitleText(Surface::Top, "first");
    QByteArray data = documentBytes(doc).data;
    LabelDocument second;
    second.top.title.text = "second";
    row.columns[0].text = "C";
    second.listRows.append(row);
    QByteArray more = documentBytes(second).data;
    // Everything after the version line of the second file, appended.
    more = more.mid(more.indexOf("\r\n", more.indexOf("1.06")) + 2);
    const QString path = write("twice.cwr", data + more);

    LabelDocument back;
    useResolution(back, 300, 300);
    DocumentEditor e2(back, &messages);
    ASSERT_EQ(loadDocument(e2, path, progress), LoadStatus::Loaded);
    EXPECT_EQ(back.top.title.text, "second");
    ASSERT_EQ(back.listRows.size(), 3);
    EXPECT_EQ(back.listRows[0].columns[0].text, "A");
    EXPECT_EQ(back.listRows[2].columns[0].text, "C");
}

TEST_F(FileFixture, ARecordCutShortIsDropped)
{
    QStringList lines = kNewDocumentLines;
    lines << "1 0"
          << "1"
          << "one";
    ASSERT_EQ(load(write("cut.cwr", fileOf(lines))), LoadStatus::Loaded);
    EXPECT_TRUE(doc.listRows.isEmpty());
}

TEST_F(FileFixture, A600DpiFileIsHalvedForA300DpiPrinter)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));
    LabelDocument at600;
    useResolution(at600, 600, 600);
    at600.top.picture.fileName = picture;
    at600.top.picture.printWidth = 801; // 4 x 2 picture: 801 x 400 fits the aspect
    at600.top.picture.printHeight = 400;
    at600.top.picture.posX = -11;
    at600.top.picture.posY = 21;
    at600.left.picture.printWidth = 55;
    at600.left.picture.printHeight = 1001;
    at600.left.picture.posX = 3;
    at600.left.picture.posY = -7;
    TPrintsData item;
    item.posX = 31;
    item.posY = -31;
    item.printWidth = 9;
    item.printHeight = 7;
    at600.coverPrints.append(item);
    at600.backPrints.append(item);
    const QString path = write("600.cwr", documentBytes(at600).data);

    ed.setKeepAspect(Surface::Top, true);
    ed.setKeepAspect(Surface::Left, false);
    ASSERT_EQ(load(path), LoadStatus::Loaded) << messages.messages.join('\n').toStdString();
    EXPECT_EQ(doc.dpiX, 300);
    const PicturePlacement &t = doc.top.picture;
    EXPECT_EQ(t.pixelWidth, 4);
    // With the aspect lock on while reading, 801 wide gives 400 high and 400
    // high gives 800 wide; the conversion then halves both.
    EXPECT_EQ(t.printWidth, 400);
    EXPECT_EQ(t.printHeight, 200);
    EXPECT_EQ(t.posX, -5);
    EXPECT_EQ(t.posY, 10);
    EXPECT_TRUE(t.keepAspect);
    const PicturePlacement &l = doc.left.picture;
    EXPECT_EQ(l.printWidth, 27);
    EXPECT_EQ(l.printHeight, 500);
    EXPECT_EQ(l.posX, 1);
    EXPECT_EQ(l.posY, -3);
    EXPECT_FALSE(l.keepAspect);
    for (const TPrintsData &d : { doc.coverPrints[0], doc.backPrints[0] }) {
        EXPECT_EQ(d.posX, 15);
        EXPECT_EQ(d.posY, -15);
        EXPECT_EQ(d.printWidth, 4);
        EXPECT_EQ(d.printHeight, 3);
    }
}

TEST_F(FileFixture, ALinkedFollowerIsConvertedOnce)
{
    LabelDocument at600;
    useResolution(at600, 600, 600);
    for (PicturePlacement *p : { &at600.top.picture, &at600.bottom.picture }) {
        p->printWidth = 1000;
        p->printHeight = 800;
        p->posX = 100;
        p->posY = 60;
    }
    at600.bottom.pictureSameAsFront = true;
    const QString path = write("linked.cwr", documentBytes(at600).data);
    ASSERT_EQ(load(path), LoadStatus::Loaded);
    EXPECT_TRUE(doc.bottom.pictureSameAsFront);
    for (const PicturePlacement *p : { &doc.top.picture, &doc.bottom.picture }) {
        EXPECT_EQ(p->printWidth, 500);
        EXPECT_EQ(p->printHeight, 400);
        EXPECT_EQ(p->posX, 50);
        EXPECT_EQ(p->posY, 30);
    }
}

TEST_F(FileFixture, NoResolutionMeansTheCurrentOne)
{
    QStringList lines = kNewDocumentLines;
    lines[22] = "100 50 -3 7";
    QStringList zero = lines;
    zero[8] = "0 0";
    QStringList none = lines;
    none.erase(none.begin() + 6, none.begin() + 9);
    for (const QStringList &l : { zero, none }) {
        ASSERT_EQ(load(write("d.cwr", fileOf(l))), LoadStatus::Loaded);
        EXPECT_EQ(doc.top.picture.printWidth, 100);
        EXPECT_EQ(doc.top.picture.printHeight, 50);
        EXPECT_EQ(doc.top.picture.posX, -3);
        EXPECT_EQ(doc.top.picture.posY, 7);
    }
}

TEST_F(FileFixture, OddValuesGetDefinedValues)
{
    QStringList lines = kNewDocumentLines;
    lines[13] = "yes"; // title switch: not a number
    lines[15] = "9"; // position mode out of range
    lines[16] = "1 12345"; // more than three digits
    lines[18] = "-2147483640 abc 999 1"; // size unparsable, so is all that follows
    lines[50] = "-40"; // negative offset
    insertLines(lines, 29,
        { "7", "odd kind", "x y", "0 009 128 0 0 0 0", "F", "0", "", "0 0", "99999999999 -1",
            "1 1" });
    ASSERT_EQ(load(write("odd.cwr", fileOf(lines))), LoadStatus::Loaded);
    EXPECT_FALSE(doc.top.title.use);
    EXPECT_EQ(int(doc.top.title.posMode), 3);
    EXPECT_EQ(doc.top.title.customX, 999);
    EXPECT_EQ(doc.top.title.font.size, 0);
    EXPECT_EQ(doc.top.title.font.charset, 0);
    EXPECT_FALSE(doc.top.title.font.bold);
    EXPECT_EQ(doc.left.title.offset, 0);
    ASSERT_EQ(doc.insidePrints.size(), 1);
    const TPrintsData &d = doc.insidePrints[0];
    EXPECT_EQ(d.kind, 0); // only 1 names a picture item
    EXPECT_EQ(d.textX, 0);
    EXPECT_EQ(d.posX, 2147483647);
    EXPECT_EQ(d.posY, -1);
}

TEST_F(FileFixture, PicturesAreFoundBesideTheDocument)
{
    const QString picture = write("pic.bmp", readAll(dataDir() + "/pic.bmp"));
    EXPECT_EQ(resolveDocumentPicture("pic.bmp", dir.filePath("a.cwr")), picture);
    EXPECT_EQ(resolveDocumentPicture("/elsewhere/gone/pic.bmp", dir.filePath("a.cwr")), picture);
    EXPECT_EQ(resolveDocumentPicture("C:\\Pictures\\pic.bmp", dir.filePath("a.cwr")), picture);
    EXPECT_EQ(resolveDocumentPicture("nothing.bmp", dir.filePath("a.cwr")), "nothing.bmp");
    const QString existing = dataDir() + "/pic.bmp";
    EXPECT_EQ(resolveDocumentPicture(existing, dir.filePath("a.cwr")), existing);

    // A picture that cannot be found keeps its name and is reported; reading goes on.
    QStringList lines = kNewDocumentLines;
    lines[21] = "/elsewhere/gone/none.bmp";
    lines[22] = "10 20 30 40";
    ASSERT_EQ(load(write("p.cwr", fileOf(lines))), LoadStatus::Loaded);
    EXPECT_EQ(doc.top.picture.fileName, "/elsewhere/gone/none.bmp");
    EXPECT_EQ(doc.top.picture.printWidth, 10);
    EXPECT_EQ(doc.top.picture.posY, 40);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].contains("/elsewhere/gone/none.bmp"));
}

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

TEST_F(FileFixture, PictureNamesAreWrittenBackAsTheyWereStored)
{
    const QString demoDir = QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples");
    for (const QString &name : QDir(demoDir).entryList({ "*.png", "*.cwr" }, QDir::Files))
        ASSERT_TRUE(QFile::copy(demoDir + "/" + name, dir.filePath(name)));
    const QString path = dir.filePath("demo.cwr");
    const QByteArray original = readAll(path);
    LoadSusiePlugins(); // the decoder modules beside the test program
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
