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
    CustomSheetForm f { paper, QLatin1String(outer), QLatin1String(hole), {}, 0 };
    for (const auto &[x, y] : centres)
        f.centres.append(CustomSheetCentre { QLatin1String(x), QLatin1String(y) });
    return f;
}
} // namespace

// "追加" puts an empty label after the current one, up to eight; "削除" takes
// the current one, never the last; either makes its neighbour current.
TEST(CustomSheetForm, ShowsASheetAndAddsAndRemovesLabels)
{
    CustomSheetForm form = customSheetForm(defaultCustomLabelSheet());
    EXPECT_EQ(form, formOf(0, "117.0", "41.0", { { "105", "79.9" }, { "105", "218.33" } }));
    form = withCentreTyped(withCentreAdded(form), true, QStringLiteral("150"));
    EXPECT_EQ(customSheetCentreEntries(form), QStringList({ "1: 105, 79.9", "2: , 150", "3: 105, 218.33" }));
    form = withCentreRemoved(withCurrentCentre(form, 2));
    EXPECT_EQ(std::pair(form.current, customSheetCentreEntries(form).last()), std::pair(1, QString("2: , 150")));
    form = withCentreRemoved(withCentreRemoved(form));
    EXPECT_EQ(std::pair(form.current, int(form.centres.size())), std::pair(0, 1));
    for (int i = 0; i < 8; ++i)
        form = withCentreAdded(form);
    EXPECT_EQ(std::pair(form.current, int(form.centres.size())), std::pair(7, kMaxSheetLabels));
}

// What OK makes of the texts: a sheet, or the first problem in the user's words.
TEST(CustomSheetForm, TheTypedTextsMakeASheetOrSayWhatIsWrong)
{
    const std::pair<CustomSheetForm, const char *> rows[] = {
        { formOf(0, "117.05", "41", { { "105", "80" } }), "外径(117.05)は mm で、小数1桁までの数値を入力してください" },
        { formOf(0, "117", "-1", { { "105", "80" } }), "穴径(-1)は mm で、小数1桁までの数値を入力してください" },
        { formOf(0, "117", "41", { { "105", "80" }, { "105.123", "200" } }),
            "ラベル2の中心(105.123, 200)は用紙の左上からの mm (小数2桁まで) で入力してください" },
        { formOf(0, "117", "41", { { "105", "80;1,2" } }),
            "ラベル1の中心(105, 80;1,2)は用紙の左上からの mm (小数2桁まで) で入力してください" },
        { formOf(0, "130.1", "41", { { "105", "80" } }), "ラベルの外径は 20.0mm から 130.0mm までです" },
        { formOf(1, "117", "41", { { "105", "80" }, { "105", "230" } }), "ラベル2が用紙からはみ出しています" },
        { formOf(0, "117", "41", { { "105", "80" }, { "105", "196.99" } }), "ラベル1とラベル2が重なっています" },
    };
    for (const auto &[form, says] : rows) {
        QString message;
        EXPECT_FALSE(customSheetFromForm(form, &message).has_value()) << says;
        EXPECT_EQ(message, QString::fromUtf8(says));
    }
    // Spaces around the numbers are allowed; labels that just touch are apart.
    QString message;
    const auto sheet = customSheetFromForm(
        formOf(1, " 116.5 ", "17", { { "107.95", " 76.2" }, { "107.95", "192.7 " } }), &message);
    ASSERT_TRUE(sheet.has_value()) << message.toStdString();
    EXPECT_EQ(std::tuple(sheet->heightMm, sheet->outerMm, sheet->holeMm), std::tuple(279.4, 116.5, 17.0));
    EXPECT_EQ(sheet->centresMm, QVector<QPointF>({ { 107.95, 76.2 }, { 107.95, 192.7 } }));
    // Kept and read back, it shows as typed, spaces aside.
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("c.conf")), QSettings::IniFormat);
    ASSERT_TRUE(storeCustomLabelSheet(settings, *sheet, &message));
    EXPECT_EQ(customSheetForm(loadCustomLabelSheet(settings)),
        formOf(1, "116.5", "17.0", { { "107.95", "76.2" }, { "107.95", "192.7" } }));
}
