#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

#include "base/CaseFormat.h"
#include "document/LabelDocument.h"

using namespace cw;

namespace {

struct PanelRow
{
    const char *sheet;
    const char *id;
    PanelRole role;
    double x, y, w, h;
    PanelEdges outer;
    int listIndex, listW, listH;
};

void expectPanels(const CaseFormat &f, const std::vector<PanelRow> &rows)
{
    int count = 0;
    for (const CaseSheet &s : f.sheets)
        count += s.panels.size();
    EXPECT_EQ(count, int(rows.size())) << f.id.toStdString();
    for (const PanelRow &r : rows) {
        SCOPED_TRACE(std::string(r.sheet) + "/" + r.id);
        const int sheet = f.sheetIndex(QString::fromLatin1(r.sheet));
        ASSERT_GE(sheet, 0);
        const CasePanel *p = f.panel(r.role);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(f.sheetOf(r.role), sheet);
        EXPECT_EQ(p->id, QString::fromLatin1(r.id));
        EXPECT_EQ(p->xMm, r.x);
        EXPECT_EQ(p->yMm, r.y);
        EXPECT_EQ(p->widthMm, r.w);
        EXPECT_EQ(p->heightMm, r.h);
        EXPECT_EQ(p->shape, PanelShape::Rectangle);
        EXPECT_TRUE(p->outer == r.outer);
        EXPECT_EQ(p->listIndex, r.listIndex);
        EXPECT_EQ(p->listWidthMm, r.listW);
        EXPECT_EQ(p->listHeightMm, r.listH);
    }
}

const std::vector<PanelRow> kJewelFront = {
    { "front", "cover", PanelRole::Cover, 121.0, 0.0, 121.0, 119.5, { false, true, true, true },
        -1, 0, 0 },
    { "front", "inside", PanelRole::Inside, 0.0, 0.0, 121.0, 119.5, { true, true, false, true },
        0, 119, 117 },
};
const std::vector<PanelRow> kJewelBack = {
    { "back", "spine-left", PanelRole::SpineLeft, 0.0, 0.0, 6.0, 117.5,
        { true, true, false, true }, -1, 0, 0 },
    { "back", "back", PanelRole::Back, 6.0, 0.0, 138.0, 117.5, { false, true, false, true }, 1,
        136, 115 },
    { "back", "spine-right", PanelRole::SpineRight, 144.0, 0.0, 6.0, 117.5,
        { false, true, true, true }, -1, 0, 0 },
};

QByteArray shippedTable()
{
    QFile file(QStringLiteral(":/casewright/case-formats.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

TEST(CaseFormatTest, TheTableListsTheJewelCaseFirstThenTheSlimCaseThenTheWraps)
{
    EXPECT_EQ(caseFormatIds(),
        QStringList({ "cd-jewel", "cd-slim", "dvd-14", "dvd-slim-9", "dvd-slim-7", "dvd-slim-5",
            "bd-12", "bd-14", "custom-wrap" }));
    EXPECT_EQ(jewelCaseFormat().id, QStringLiteral("cd-jewel"));
    EXPECT_EQ(findCaseFormat(QStringLiteral("cd-slim")), &caseFormats()[1]);
    EXPECT_EQ(findCaseFormat(QStringLiteral("dvd")), nullptr);
    EXPECT_EQ(findCaseFormat(QString()), nullptr);

    EXPECT_EQ(caseFormats()[0].nameJa, QStringLiteral("CDジュエルケース"));
    EXPECT_EQ(caseFormats()[0].nameEn, QStringLiteral("CD jewel case"));
    EXPECT_EQ(caseFormats()[1].nameJa, QStringLiteral("CDスリムケース"));
    EXPECT_EQ(caseFormats()[1].nameEn, QStringLiteral("CD slim case"));
}

TEST(CaseFormatTest, JewelCaseSheetsInMillimetres)
{
    const CaseFormat &f = jewelCaseFormat();
    ASSERT_EQ(f.sheetIds(), QStringList({ "front", "back" }));
    EXPECT_EQ(f.sheets[0].widthMm, 242.0);
    EXPECT_EQ(f.sheets[0].heightMm, 119.5);
    EXPECT_FALSE(f.sheets[0].centreBySheet);
    EXPECT_FALSE(f.sheets[0].rightEdgeBeyond);
    EXPECT_EQ(f.sheets[1].widthMm, 150.0);
    EXPECT_EQ(f.sheets[1].heightMm, 117.5);
    EXPECT_TRUE(f.sheets[1].centreBySheet);
    EXPECT_TRUE(f.sheets[1].rightEdgeBeyond);
    EXPECT_EQ(f.previewWidthMm, 277.0);
    EXPECT_EQ(f.previewHeightMm, 160.0);

    std::vector<PanelRow> all = kJewelFront;
    all.insert(all.end(), kJewelBack.begin(), kJewelBack.end());
    expectPanels(f, all);

    // Drawing order within a sheet.
    EXPECT_EQ(f.sheets[0].panels[0].id, QStringLiteral("cover"));
    EXPECT_EQ(f.sheets[1].panels[0].id, QStringLiteral("spine-left"));
    EXPECT_EQ(f.sheets[1].panels[1].id, QStringLiteral("back"));
}

TEST(CaseFormatTest, JewelCaseTitlesAndLinks)
{
    const CaseFormat &f = jewelCaseFormat();
    EXPECT_EQ(f.panel(PanelRole::Cover)->titleRun, TitleRun::Across);
    EXPECT_EQ(f.panel(PanelRole::Cover)->titleInset, TitleInset::Edges);
    EXPECT_EQ(f.panel(PanelRole::Back)->titleInset, TitleInset::Folds);
    EXPECT_EQ(f.panel(PanelRole::SpineLeft)->titleRun, TitleRun::Up);
    EXPECT_EQ(f.panel(PanelRole::SpineRight)->titleRun, TitleRun::Down);

    EXPECT_EQ(f.panel(PanelRole::Back)->pictureFollows, QStringLiteral("cover"));
    EXPECT_EQ(f.panel(PanelRole::Back)->titleFollows, QStringList({ "cover" }));
    EXPECT_EQ(f.panel(PanelRole::SpineLeft)->titleFollows, QStringList({ "cover" }));
    EXPECT_EQ(f.panel(PanelRole::SpineLeft)->pictureFollows, QString());
    EXPECT_EQ(f.panel(PanelRole::SpineRight)->pictureFollows, QStringLiteral("spine-left"));
    EXPECT_EQ(f.panel(PanelRole::SpineRight)->titleFollows,
        QStringList({ "cover", "spine-left" }));

    EXPECT_EQ(f.listPanel(0)->role, PanelRole::Inside);
    EXPECT_EQ(f.listPanel(1)->role, PanelRole::Back);
    EXPECT_EQ(f.listPanel(2), nullptr);
    EXPECT_EQ(f.listPanel(-1), nullptr);
}

TEST(CaseFormatTest, SlimCaseIsTheJewelFrontSheetAlone)
{
    const CaseFormat &slim = *findCaseFormat(QStringLiteral("cd-slim"));
    ASSERT_EQ(slim.sheetIds(), QStringList({ "front" }));
    EXPECT_EQ(slim.sheetIndex(QStringLiteral("back")), -1);
    EXPECT_EQ(slim.sheets[0].widthMm, 242.0);
    EXPECT_EQ(slim.sheets[0].heightMm, 119.5);
    EXPECT_FALSE(slim.sheets[0].centreBySheet);
    EXPECT_FALSE(slim.sheets[0].rightEdgeBeyond);
    expectPanels(slim, kJewelFront);
    EXPECT_EQ(slim.previewWidthMm, 277.0);
    EXPECT_EQ(slim.previewHeightMm, 160.0);

    EXPECT_TRUE(slim.hasSurface(Surface::Top));
    EXPECT_FALSE(slim.hasSurface(Surface::Bottom));
    EXPECT_FALSE(slim.hasSurface(Surface::Left));
    EXPECT_FALSE(slim.hasSurface(Surface::Right));
    EXPECT_EQ(slim.panel(PanelRole::Back), nullptr);
    EXPECT_EQ(slim.sheetOf(PanelRole::SpineLeft), -1);
    EXPECT_EQ(slim.listPanel(1), nullptr);
    for (Surface s : kAllSurfaces)
        EXPECT_TRUE(jewelCaseFormat().hasSurface(s)) << int(s);
}

// A video case's wrap: back panel, spine and front panel side by side on one
// sheet, the spine's title running top to bottom.
TEST(CaseFormatTest, WrapsInMillimetres)
{
    const struct
    {
        const char *id, *ja, *en;
        double panel, spine, height;
        int listW, listH;
    } rows[] = {
        { "dvd-14", "DVDトールケース(14mm)", "DVD case (14 mm)", 129.5, 14, 183, 127, 180 },
        { "dvd-slim-9", "DVDスリムケース(9mm)", "DVD slim case (9 mm)", 129.5, 9, 183, 127, 180 },
        { "dvd-slim-7", "DVDスリムケース(7mm)", "DVD slim case (7 mm)", 129.5, 7, 183, 127, 180 },
        { "dvd-slim-5", "DVDスリムケース(5mm)", "DVD slim case (5 mm)", 129.5, 5, 183, 127, 180 },
        { "bd-12", "Blu-rayケース(12mm)", "Blu-ray case (12 mm)", 126, 12, 148, 124, 145 },
        { "bd-14", "Blu-rayケース(14mm)", "Blu-ray case (14 mm)", 128, 14, 149, 126, 146 },
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.id);
        const CaseFormat *f = findCaseFormat(QString::fromLatin1(r.id));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->nameJa, QString::fromUtf8(r.ja));
        EXPECT_EQ(f->nameEn, QString::fromUtf8(r.en));
        ASSERT_EQ(f->sheetIds(), QStringList({ "wrap", "inside" }));
        EXPECT_EQ(f->panel(PanelRole::SpineLeft)->titleCellMaxMm, 7.0);
        const CaseSheet &wrap = f->sheets[0];
        EXPECT_EQ(wrap.widthMm, 2 * r.panel + r.spine);
        EXPECT_EQ(wrap.heightMm, r.height);
        EXPECT_EQ(f->previewWidthMm, wrap.widthMm + 36);
        EXPECT_EQ(f->previewHeightMm, r.height + 40);
        std::vector<PanelRow> panels = {
            { "wrap", "back", PanelRole::Back, 0.0, 0.0, r.panel, r.height,
                { true, true, false, true }, 1, r.listW, r.listH },
            { "wrap", "spine", PanelRole::SpineLeft, r.panel, 0.0, r.spine, r.height,
                { false, true, false, true }, -1, 0, 0 },
            { "wrap", "cover", PanelRole::Cover, r.panel + r.spine, 0.0, r.panel, r.height,
                { false, true, true, true }, -1, 0, 0 },
        };
        const auto expectPanels = [](const CaseSheet &sheet, const PanelRow *rows) {
            ASSERT_EQ(sheet.panels.size(), 3);
            for (int i = 0; i < 3; ++i) {
                const PanelRow &e = rows[i];
                const CasePanel &p = sheet.panels[i];
                EXPECT_EQ(p.id, QString::fromLatin1(e.id));
                EXPECT_EQ(p.role, e.role);
                EXPECT_EQ(p.xMm, e.x);
                EXPECT_EQ(p.yMm, e.y);
                EXPECT_EQ(p.widthMm, e.w);
                EXPECT_EQ(p.heightMm, e.h);
                EXPECT_TRUE(p.outer == e.outer) << e.id;
                EXPECT_EQ(p.listIndex, e.listIndex);
                EXPECT_EQ(p.listWidthMm, e.listW);
                EXPECT_EQ(p.listHeightMm, e.listH);
            }
        };
        expectPanels(wrap, panels.data());
        EXPECT_EQ(f->panel(PanelRole::SpineLeft)->titleRun, TitleRun::Down);
        EXPECT_EQ(f->panel(PanelRole::Back)->titleInset, TitleInset::Folds);
        EXPECT_EQ(f->panel(PanelRole::Back)->pictureFollows, QStringLiteral("cover"));
        EXPECT_FALSE(f->hasSurface(Surface::Right));
        EXPECT_TRUE(f->hasSurface(Surface::Left));
        EXPECT_TRUE(f->hasSurface(Surface::Bottom));

        // The reverse: the wrap's size, printed with the inside only; the
        // inside face at the left (behind the cover once turned over side
        // to side), the reverses of the spine and the back left blank.
        const CaseSheet &inside = f->sheets[1];
        EXPECT_FALSE(wrap.printedWithInside);
        EXPECT_TRUE(inside.printedWithInside);
        EXPECT_TRUE(f->hasInsideSheet());
        EXPECT_EQ(inside.widthMm, wrap.widthMm);
        EXPECT_EQ(inside.heightMm, wrap.heightMm);
        EXPECT_EQ(inside.centreBySheet, wrap.centreBySheet);
        EXPECT_EQ(inside.rightEdgeBeyond, wrap.rightEdgeBeyond);
        const PanelRow reverse[] = {
            { "inside", "inside", PanelRole::Inside, 0.0, 0.0, r.panel, r.height,
                { true, true, false, true }, 0, r.listW, r.listH },
            { "inside", "inside-spine", PanelRole::Blank, r.panel, 0.0, r.spine, r.height,
                { false, false, false, false }, -1, 0, 0 },
            { "inside", "inside-back", PanelRole::Blank, r.panel + r.spine, 0.0, r.panel, r.height,
                { false, false, false, false }, -1, 0, 0 },
        };
        expectPanels(inside, reverse);
        EXPECT_EQ(f->listPanel(0), &inside.panels[0]);
        EXPECT_EQ(f->sheetOf(PanelRole::Inside), 1);
    }
    EXPECT_FALSE(jewelCaseFormat().hasInsideSheet());
    EXPECT_FALSE(findCaseFormat(QStringLiteral("cd-slim"))->hasInsideSheet());
}

TEST(CaseFormatTest, RolesMapOntoTheDocumentSurfaces)
{
    const struct
    {
        PanelRole role;
        Surface surface;
        const char *name;
    } rows[] = {
        { PanelRole::Cover, Surface::Top, "cover" },
        { PanelRole::Inside, Surface::Top, "inside" },
        { PanelRole::Back, Surface::Bottom, "back" },
        { PanelRole::SpineLeft, Surface::Left, "spine-left" },
        { PanelRole::SpineRight, Surface::Right, "spine-right" },
        { PanelRole::Blank, Surface::Top, "blank" },
    };
    for (const auto &r : rows) {
        EXPECT_EQ(panelSurface(r.role), r.surface) << r.name;
        EXPECT_EQ(panelRoleName(r.role), QString::fromLatin1(r.name));
    }
    EXPECT_EQ(surfaceRole(Surface::Top), PanelRole::Cover);
    EXPECT_EQ(surfaceRole(Surface::Bottom), PanelRole::Back);
    EXPECT_EQ(surfaceRole(Surface::Left), PanelRole::SpineLeft);
    EXPECT_EQ(surfaceRole(Surface::Right), PanelRole::SpineRight);
}

TEST(CaseFormatTest, DocumentsStartAsJewelCases)
{
    LabelDocument doc;
    EXPECT_EQ(doc.caseFormat, QStringLiteral("cd-jewel"));
    EXPECT_EQ(&formatOf(doc), &jewelCaseFormat());
    doc.caseFormat = QStringLiteral("cd-slim");
    EXPECT_EQ(formatOf(doc).id, QStringLiteral("cd-slim"));
    doc.caseFormat = QStringLiteral("no-such-case");
    EXPECT_EQ(&formatOf(doc), &jewelCaseFormat());
}

TEST(CaseFormatTest, ShippedTableReadsWithoutError)
{
    QString error = QStringLiteral("unset");
    const QVector<CaseFormat> formats = parseCaseFormats(shippedTable(), &error);
    EXPECT_EQ(error, QString());
    EXPECT_EQ(formats.size(), caseFormats().size());
    EXPECT_EQ(formats.size(), 9);
}

// Each broken table is refused with a message, and nothing of it is kept.
TEST(CaseFormatTest, InconsistentTablesAreRefused)
{
    using Edit = std::function<void(QJsonObject &jewel)>;
    auto sheet = [](QJsonObject &f, int i, const std::function<void(QJsonObject &)> &edit) {
        QJsonArray sheets = f.value("sheets").toArray();
        QJsonObject s = sheets[i].toObject();
        edit(s);
        sheets[i] = s;
        f["sheets"] = sheets;
    };
    auto panel = [&](QJsonObject &f, int si, int pi, const std::function<void(QJsonObject &)> &edit) {
        sheet(f, si, [&](QJsonObject &s) {
            QJsonArray panels = s.value("panels").toArray();
            QJsonObject p = panels[pi].toObject();
            edit(p);
            panels[pi] = p;
            s["panels"] = panels;
        });
    };
    const struct
    {
        const char *what;
        const char *message;
        Edit edit;
    } cases[] = {
        { "no id", "a format has no id", [](QJsonObject &f) { f.remove("id"); } },
        { "no English name", "name missing",
            [](QJsonObject &f) { f["name"] = QJsonObject { { "ja", "x" } }; } },
        { "no preview", "preview size missing", [](QJsonObject &f) { f.remove("previewMm"); } },
        { "sheet wider than the preview", "sheet larger than the preview page",
            [](QJsonObject &f) { f["previewMm"] = QJsonArray { 241.9, 160.0 }; } },
        { "no sheets", "no sheets", [](QJsonObject &f) { f["sheets"] = QJsonArray(); } },
        { "repeated sheet", "sheet id repeated",
            [&](QJsonObject &f) { sheet(f, 1, [](QJsonObject &s) { s["id"] = "front"; }); } },
        { "zero height", "size missing or not positive",
            [&](QJsonObject &f) { sheet(f, 0, [](QJsonObject &s) { s["heightMm"] = 0; }); } },
        { "bad centring", "unknown centring",
            [&](QJsonObject &f) { sheet(f, 0, [](QJsonObject &s) { s["centre"] = "middle"; }); } },
        { "panel off its sheet", "panel off its sheet",
            [&](QJsonObject &f) { panel(f, 0, 0, [](QJsonObject &p) { p["xMm"] = 121.1; }); } },
        { "unknown role", "unknown role",
            [&](QJsonObject &f) { panel(f, 0, 0, [](QJsonObject &p) { p["role"] = "lid"; }); } },
        { "repeated role", "role repeated",
            [&](QJsonObject &f) { panel(f, 0, 1, [](QJsonObject &p) { p["role"] = "cover"; }); } },
        { "repeated panel id", "panel id repeated",
            [&](QJsonObject &f) { panel(f, 1, 1, [](QJsonObject &p) { p["id"] = "cover"; }); } },
        { "unknown edge", "unknown edge", [&](QJsonObject &f) {
             panel(f, 0, 0, [](QJsonObject &p) { p["outer"] = QJsonArray { "fold" }; });
         } },
        { "list larger than its panel", "list does not fit the panel", [&](QJsonObject &f) {
             panel(f, 0, 1, [](QJsonObject &p) {
                 p["list"] = QJsonObject { { "index", 0 }, { "widthMm", 122 }, { "heightMm", 117 } };
             });
         } },
        { "repeated list", "list repeated", [&](QJsonObject &f) {
             panel(f, 1, 1, [](QJsonObject &p) {
                 p["list"] = QJsonObject { { "index", 0 }, { "widthMm", 136 }, { "heightMm", 115 } };
             });
         } },
        { "follows a missing panel", "follows an unknown panel", [&](QJsonObject &f) {
             panel(f, 1, 2, [](QJsonObject &p) { p["pictureFollows"] = "spine-top"; });
         } },
        { "follows itself", "follows an unknown panel", [&](QJsonObject &f) {
             panel(f, 1, 2, [](QJsonObject &p) { p["titleFollows"] = QJsonArray { "spine-right" }; });
         } },
        { "title cell cap across a face", "title cell cap not positive or not on a spine",
            [&](QJsonObject &f) { panel(f, 0, 0, [](QJsonObject &p) { p["titleCellMaxMm"] = 7.0; }); } },
        { "title cell cap of zero", "title cell cap not positive or not on a spine",
            [&](QJsonObject &f) { panel(f, 1, 2, [](QJsonObject &p) { p["titleCellMaxMm"] = 0; }); } },
        { "unknown printing condition", "unknown printing condition",
            [&](QJsonObject &f) { sheet(f, 1, [](QJsonObject &s) { s["printedWhen"] = "back"; }); } },
        { "a sheet after the inside sheet", "a sheet follows the inside sheet",
            [&](QJsonObject &f) { sheet(f, 0, [](QJsonObject &s) { s["printedWhen"] = "inside"; }); } },
        { "an inside sheet alone", "the inside sheet has no sheet to back", [&](QJsonObject &f) {
             sheet(f, 0, [](QJsonObject &s) { s["printedWhen"] = "inside"; });
             f["sheets"] = QJsonArray { f.value("sheets").toArray()[0] };
         } },
        { "an inside sheet of another size", "the inside sheet is not placed as the sheet it backs",
            [&](QJsonObject &f) { sheet(f, 1, [](QJsonObject &s) { s["printedWhen"] = "inside"; }); } },
        { "an inside sheet centred otherwise",
            "the inside sheet is not placed as the sheet it backs", [&](QJsonObject &f) {
                sheet(f, 1, [](QJsonObject &s) {
                    s["printedWhen"] = "inside";
                    s["widthMm"] = 242.0;
                    s["heightMm"] = 119.5;
                });
            } },
        { "a blank panel with a list", "a blank panel carries nothing", [&](QJsonObject &f) {
             panel(f, 0, 1, [](QJsonObject &p) { p["role"] = "blank"; });
         } },
        { "a blank panel following another", "a blank panel carries nothing", [&](QJsonObject &f) {
             panel(f, 1, 2, [](QJsonObject &p) { p["role"] = "blank"; });
         } },
        { "hole as wide as the disc", "hole does not fit the disc", [&](QJsonObject &f) {
             panel(f, 0, 0, [](QJsonObject &p) {
                 p["shape"] = "disc";
                 p["holeMm"] = 119.5;
             });
         } },
    };
    const QJsonObject table = QJsonDocument::fromJson(shippedTable()).object();
    for (const auto &c : cases) {
        QJsonObject broken = table;
        QJsonArray formats = broken.value("formats").toArray();
        QJsonObject jewel = formats[0].toObject();
        c.edit(jewel);
        formats[0] = jewel;
        broken["formats"] = formats;
        QString error;
        EXPECT_TRUE(parseCaseFormats(QJsonDocument(broken).toJson(), &error).isEmpty()) << c.what;
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.message)))
            << c.what << ": " << error.toStdString();
    }

    QString error;
    EXPECT_TRUE(parseCaseFormats("{", &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(parseCaseFormats("{\"formats\": []}", &error).isEmpty());
    EXPECT_EQ(error, QStringLiteral("table: no formats"));

    // The same id twice.
    QJsonObject twice = table;
    QJsonArray formats = twice.value("formats").toArray();
    formats.append(formats[0]);
    twice["formats"] = formats;
    EXPECT_TRUE(parseCaseFormats(QJsonDocument(twice).toJson(), &error).isEmpty());
    EXPECT_EQ(error, QStringLiteral("cd-jewel: format id repeated"));

    // A disc whose hole fits is a valid panel.
    QJsonObject disc = table;
    formats = disc.value("formats").toArray();
    QJsonObject jewel = formats[0].toObject();
    panel(jewel, 0, 0, [](QJsonObject &p) {
        p["shape"] = "disc";
        p["holeMm"] = 15.0;
    });
    formats[0] = jewel;
    disc["formats"] = formats;
    const QVector<CaseFormat> read = parseCaseFormats(QJsonDocument(disc).toJson(), &error);
    ASSERT_EQ(read.size(), caseFormats().size()) << error.toStdString();
    EXPECT_EQ(read[0].panel(PanelRole::Cover)->shape, PanelShape::Disc);
    EXPECT_EQ(read[0].panel(PanelRole::Cover)->holeMm, 15.0);
}

// The custom case: the DVD case's wrap drawn at the sizes a document gives.
TEST(CaseFormatTest, TheCustomCaseIsTheDvdWrapAtTheDocumentsSizes)
{
    const CaseFormat *entry = findCaseFormat(QStringLiteral("custom-wrap"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->custom);
    EXPECT_EQ(entry->nameEn, QStringLiteral("Custom case"));
    EXPECT_EQ(defaultCaseSize(), (CaseSize { 1295, 1830, 140 }));
    EXPECT_EQ(LabelDocument().caseSize, defaultCaseSize());
    // Sizes (tenths): sheet width, height, spine x and width, cover x, list, preview.
    const struct
    {
        CaseSize size;
        double sheetW, h, spineX, spineW, coverX;
        int listW, listH;
        double previewW;
    } rows[] = {
        { { 1295, 1830, 140 }, 273.0, 183.0, 129.5, 14.0, 143.5, 127, 180, 309.0 },
        { { 1221, 1999, 59 }, 250.1, 199.9, 122.1, 5.9, 128.0, 120, 197, 286.1 },
        { { 200, 200, 1 }, 40.1, 20.0, 20.0, 0.1, 20.1, 18, 17, 76.1 },
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.size.panelWidth);
        const CaseFormat &f = customCaseFormat(*entry, r.size);
        ASSERT_EQ(f.sheets.size(), 2); // the wrap and its reverse
        const CaseSheet &wrap = f.sheets[0];
        EXPECT_DOUBLE_EQ(wrap.widthMm, r.sheetW);
        ASSERT_EQ(wrap.panels.size(), 3);
        const CasePanel &back = wrap.panels[0], &spine = wrap.panels[1], &cover = wrap.panels[2];
        EXPECT_DOUBLE_EQ(back.widthMm, r.size.panelWidth / 10.0);
        EXPECT_DOUBLE_EQ(spine.xMm, r.spineX);
        EXPECT_DOUBLE_EQ(spine.widthMm, r.spineW);
        EXPECT_DOUBLE_EQ(cover.xMm, r.coverX);
        EXPECT_DOUBLE_EQ(cover.widthMm, back.widthMm);
        for (const CasePanel &p : wrap.panels)
            EXPECT_DOUBLE_EQ(p.heightMm, r.h);
        EXPECT_EQ(back.listWidthMm, r.listW);
        EXPECT_EQ(back.listHeightMm, r.listH);
        EXPECT_DOUBLE_EQ(f.previewWidthMm, r.previewW);
        EXPECT_DOUBLE_EQ(f.previewHeightMm, r.h + 40);
        EXPECT_EQ(back.pictureFollows, QStringLiteral("cover"));
        // The reverse lies where the wrap does, the inside face behind the cover.
        const CaseSheet &inside = f.sheets[1];
        EXPECT_DOUBLE_EQ(inside.widthMm, r.sheetW);
        EXPECT_DOUBLE_EQ(inside.panels[0].widthMm, back.widthMm);
        EXPECT_EQ(inside.panels[0].listWidthMm, r.listW);
        EXPECT_DOUBLE_EQ(inside.panels.last().xMm, r.coverX);
        EXPECT_EQ(&customCaseFormat(*entry, r.size), &f); // built once
    }

    // No spine: one fold, no left spine; a document draws its own sizes.
    LabelDocument doc;
    doc.caseFormat = QStringLiteral("custom-wrap");
    doc.caseSize = { 1400, 1900, 0 };
    const CaseFormat &f = formatOf(doc);
    ASSERT_EQ(f.sheets[0].panels.size(), 2);
    EXPECT_EQ(f.sheets[0].panels[1].id, QStringLiteral("cover"));
    EXPECT_EQ(f.sheets[0].panels[1].xMm, 140.0);
    EXPECT_FALSE(f.hasSurface(Surface::Left));
    EXPECT_EQ(customCaseFormat(*entry, { 10, 9999, -5 }).size, (CaseSize { 200, 3000, 0 }));
    doc.caseFormat = QStringLiteral("dvd-14");
    EXPECT_EQ(&formatOf(doc), findCaseFormat(QStringLiteral("dvd-14")));

    // A custom entry the sizes cannot redraw is refused.
    QJsonObject table = QJsonDocument::fromJson(shippedTable()).object();
    QJsonArray formats = table.value("formats").toArray();
    QJsonObject custom = formats.last().toObject();
    QJsonArray sheets = custom.value("sheets").toArray();
    QJsonObject wrap = sheets[0].toObject();
    QJsonArray panels = wrap.value("panels").toArray();
    QJsonObject back = panels[0].toObject();
    back["widthMm"] = 128.0; // an edge that is none of 0, P, P+S, 2P+S
    panels[0] = back;
    wrap["panels"] = panels;
    sheets[0] = wrap;
    custom["sheets"] = sheets;
    formats[formats.size() - 1] = custom;
    table["formats"] = formats;
    QString error;
    EXPECT_TRUE(parseCaseFormats(QJsonDocument(table).toJson(), &error).isEmpty());
    EXPECT_EQ(error, QStringLiteral("custom-wrap/back: panel not on the custom case's edges"));
}
