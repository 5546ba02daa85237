// The custom label sheet as its dialog holds it: the typed texts, the list of
// label centres and what OK makes of them.
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "document/CustomSheetForm.h"
#include "document/DiscStockSettings.h"

using namespace cw;

namespace {
CustomSheetForm formOf(int paper, const char *outer, const char *hole,
    std::initializer_list<std::pair<const char *, const char *>> centres)
{
    CustomSheetForm f;
    f.paper = paper;
    f.outer = QLatin1String(outer);
    f.hole = QLatin1String(hole);
    for (const auto &[x, y] : centres)
        f.centres.append(CustomSheetCentre { QLatin1String(x), QLatin1String(y) });
    return f;
}
} // namespace

TEST(CustomSheetForm, ShowsASheetAsTheSettingsKeepIt)
{
    EXPECT_EQ(customSheetPapers(), QStringList({ "A4", "Letter" }));
    const CustomSheetForm form = customSheetForm(defaultCustomLabelSheet());
    EXPECT_EQ(form, formOf(0, "117.0", "41.0", { { "105", "79.9" }, { "105", "218.33" } }));
    EXPECT_EQ(customSheetCentreEntries(form), QStringList({ "1: 105, 79.9", "2: 105, 218.33" }));
    const LabelSheetProduct *letter = findLabelSheet(QStringLiteral("memorex-cd"));
    ASSERT_NE(letter, nullptr);
    EXPECT_EQ(customSheetForm(*letter),
        formOf(1, "117.5", "41.3", { { "73.03", "74.62" }, { "142.88", "204.79" } }));
}

// "追加" puts an empty label after the current one, up to eight; "削除" takes
// the current one, never the last; each makes the label next to it current.
TEST(CustomSheetForm, AddingAndRemovingLabels)
{
    CustomSheetForm form = formOf(0, "117", "41", { { "1", "1" }, { "2", "2" }, { "3", "3" } });
    form = withCentreAdded(withCurrentCentre(form, 1));
    EXPECT_EQ(form.current, 2);
    EXPECT_EQ(customSheetCentreEntries(form),
        QStringList({ "1: 1, 1", "2: 2, 2", "3: , ", "4: 3, 3" }));
    form = withCentreTyped(withCentreTyped(form, false, "40.5"), true, "7");
    EXPECT_EQ(form.centres[2], (CustomSheetCentre { "40.5", "7" }));
    EXPECT_EQ(withCurrentCentre(form, 4), form);
    EXPECT_EQ(withCurrentCentre(form, -1), form);

    form = withCentreRemoved(withCurrentCentre(form, 3));
    EXPECT_EQ(std::pair(form.current, int(form.centres.size())), std::pair(2, 3));
    form = withCentreRemoved(withCurrentCentre(form, 0));
    EXPECT_EQ(customSheetCentreEntries(form), QStringList({ "1: 2, 2", "2: 40.5, 7" }));
    EXPECT_EQ(form.current, 0);
    form = withCentreRemoved(form);
    EXPECT_FALSE(canRemoveCentre(form));
    EXPECT_EQ(withCentreRemoved(form), form);
    for (int i = 0; i < 7; ++i)
        form = withCentreAdded(form);
    EXPECT_EQ(form.centres.size(), kMaxSheetLabels);
    EXPECT_FALSE(canAddCentre(form));
    EXPECT_EQ(withCentreAdded(form), form);
}

// What OK makes of the texts: a sheet, or the first problem in the user's words.
TEST(CustomSheetForm, TheTypedTextsMakeASheetOrSayWhatIsWrong)
{
    const struct
    {
        CustomSheetForm form;
        const char *says;
    } rows[] = {
        { formOf(0, "abc", "41", { { "105", "80" } }),
            "外径(abc)は mm で、小数1桁までの数値を入力してください" },
        { formOf(0, "117.05", "41", { { "105", "80" } }),
            "外径(117.05)は mm で、小数1桁までの数値を入力してください" },
        { formOf(0, "117", "", { { "105", "80" } }),
            "穴径()は mm で、小数1桁までの数値を入力してください" },
        { formOf(0, "117", "-1", { { "105", "80" } }),
            "穴径(-1)は mm で、小数1桁までの数値を入力してください" },
        { formOf(0, "117", "41", { { "105", "80" }, { "105.123", "200" } }),
            "ラベル2の中心(105.123, 200)は用紙の左上からの mm (小数2桁まで) で入力してください" },
        { formOf(0, "117", "41", { { "105", "80;1,2" } }),
            "ラベル1の中心(105, 80;1,2)は用紙の左上からの mm (小数2桁まで) で入力してください" },
        { formOf(0, "117", "41", { { "", "80" } }),
            "ラベル1の中心(, 80)は用紙の左上からの mm (小数2桁まで) で入力してください" },
        { formOf(0, "130.1", "41", { { "105", "80" } }), "ラベルの外径は 20.0mm から 130.0mm までです" },
        { formOf(0, "117", "107.1", { { "105", "80" } }),
            "ラベルの穴の径は 0.0mm から 107.0mm (外径より 10.0mm 小さい値) までです" },
        { formOf(1, "117", "41", { { "105", "80" }, { "105", "230" } }),
            "ラベル2が用紙からはみ出しています" },
        { formOf(0, "117", "41", { { "105", "80" }, { "105", "196.99" } }),
            "ラベル1とラベル2が重なっています" },
        { formOf(2, "117", "41", { { "105", "80" } }), "用紙は A4 か Letter です" },
    };
    for (const auto &row : rows) {
        QString message;
        EXPECT_FALSE(customSheetFromForm(row.form, &message).has_value()) << row.says;
        EXPECT_EQ(message, QString::fromUtf8(row.says));
    }

    // Spaces around the numbers are allowed; labels that just touch are apart.
    QString message = QStringLiteral("left over");
    const auto sheet = customSheetFromForm(
        formOf(1, " 116.5 ", "17", { { "107.95", " 76.2" }, { "107.95", "192.7 " } }), &message);
    ASSERT_TRUE(sheet.has_value()) << message.toStdString();
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(sheet->paper, QStringLiteral("Letter"));
    EXPECT_EQ(std::pair(sheet->widthMm, sheet->heightMm), std::pair(215.9, 279.4));
    EXPECT_EQ(std::pair(sheet->outerMm, sheet->holeMm), std::pair(116.5, 17.0));
    EXPECT_EQ(sheet->centresMm, QVector<QPointF>({ { 107.95, 76.2 }, { 107.95, 192.7 } }));

    // Kept and read back, it shows as the user typed it, spaces aside.
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("c.conf")), QSettings::IniFormat);
    ASSERT_TRUE(storeCustomLabelSheet(settings, *sheet, &message));
    EXPECT_EQ(customSheetForm(loadCustomLabelSheet(settings)),
        formOf(1, "116.5", "17.0", { { "107.95", "76.2" }, { "107.95", "192.7" } }));
}
