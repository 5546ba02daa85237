// The robot user's short run, and the parts it is built from.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <random>

#include "RobotFiles.h"
#include "RobotSession.h"
#include "RobotUser.h"
#include "TestSupport.h"
#include "app/TMainWindow.h"
#include "render/ui/TPreviewWindow.h"

namespace {

RobotFiles &preparedFiles()
{
    static RobotFiles files;
    return files;
}

class RobotUserRun : public ::testing::TestWithParam<quint32>
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    }
};

} // namespace

// A few fixed seeds, 500 actions each: nothing breaks an invariant. A failure
// is shortened in process and reported with its seed.
TEST_P(RobotUserRun, FixedSeedRunsClean)
{
    // Each run, and each replay while shortening, starts from the prepared
    // folder, whatever the runs before it saved there.
    ASSERT_TRUE(preparedFiles().restore());
    RobotUser robot(preparedFiles().path());
    RobotActions done;
    const quint32 seed = GetParam();
    const std::optional<RobotFailure> failure = robot.run(seed, 500, done);
    if (!failure)
        return;
    // Shortening stops trying after a while; tools/robot-user shortens further.
    QElapsedTimer shrinking;
    shrinking.start();
    const RobotActions shortest = shrinkActions(done, [&](const RobotActions &candidate) {
        if (shrinking.elapsed() > 60000)
            return false;
        if (!preparedFiles().restore())
            return false;
        const std::optional<RobotFailure> again = robot.replay(candidate);
        return again && again->kind == failure->kind;
    });
    ADD_FAILURE() << describeFailure(seed, *failure, shortest).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Seeds, RobotUserRun, ::testing::Values(2u, 5u, 6u, 8u));

// From the same prepared folder, the same seed chooses the same actions: each
// run starts from the folder as it was prepared, not as the run before left it.
TEST(RobotUser, TheSameSeedChoosesTheSameActions)
{
    RobotUser robot(preparedFiles().path());
    RobotActions first, second;
    for (RobotActions *list : { &first, &second }) {
        ASSERT_TRUE(preparedFiles().restore());
        const std::optional<RobotFailure> failure = robot.run(7, 40, *list);
        EXPECT_FALSE(failure) << describeFailure(7, *failure, *list).toStdString();
    }
    ASSERT_EQ(first.size(), 40u);
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(first[i].serialize(), second[i].serialize()) << i;
}

TEST(RobotAction, EveryActionSurvivesItsLine)
{
    std::mt19937 rng(11);
    for (int i = 0; i < 200; ++i) {
        RobotAction a;
        a.verb = QStringLiteral("type");
        a.window = QStringLiteral("MainWindow");
        a.target = QStringLiteral("TopTitle#0");
        a.a = int(rng() % 3) - 1;
        a.b = int(rng());
        a.c = -int(rng() % 100);
        a.sub = rng();
        a.text = RobotSession::typedText(rng) + QStringLiteral("\t\n%");
        RobotAction back;
        ASSERT_TRUE(RobotAction::parse(a.serialize(), back));
        EXPECT_FALSE(a.serialize().contains(QLatin1Char('\n')));
        EXPECT_EQ(back.serialize(), a.serialize());
        EXPECT_EQ(back.text, a.text);
        EXPECT_EQ(back.sub, a.sub);
    }
    RobotAction ignored;
    EXPECT_FALSE(RobotAction::parse(QStringLiteral("click\tMainWindow"), ignored));
}

TEST(RobotAction, TypedTextsCoverTheHardCases)
{
    std::mt19937 rng(3);
    bool longText = false, minus = false, japanese = false, outsideCp932 = false, empty = false;
    for (int i = 0; i < 2000; ++i) {
        const QString t = RobotSession::typedText(rng);
        longText |= t.size() == 2000;
        minus |= t.startsWith(QLatin1Char('-'));
        japanese |= t.contains(QStringLiteral("夜"));
        outsideCp932 |= t.contains(QStringLiteral("🎵"));
        empty |= t.isEmpty();
    }
    EXPECT_TRUE(longText && minus && japanese && outsideCp932 && empty);
}

namespace {
RobotActions numbered(int n)
{
    RobotActions out;
    for (int i = 0; i < n; ++i) {
        RobotAction a;
        a.verb = QStringLiteral("click");
        a.a = i;
        out.push_back(a);
    }
    return out;
}
QList<int> numbersOf(const RobotActions &actions)
{
    QList<int> out;
    for (const RobotAction &a : actions)
        out.append(a.a);
    return out;
}
} // namespace

// Shrinking keeps exactly the actions a failure needs, in their order, and
// replays each candidate from the start.
TEST(RobotShrink, KeepsOnlyTheActionsTheFailureNeeds)
{
    struct Case
    {
        int length;
        QList<int> needed;
    };
    const Case cases[] = { { 1, { 0 } }, { 10, { 9 } }, { 64, { 3, 40 } }, { 100, { 0, 50, 99 } },
        { 333, { 17, 18, 19, 200 } } };
    for (const Case &c : cases) {
        int calls = 0;
        const RobotActions shortest
            = shrinkActions(numbered(c.length), [&](const RobotActions &candidate) {
                  ++calls;
                  const QList<int> have = numbersOf(candidate);
                  for (int n : c.needed)
                      if (!have.contains(n))
                          return false;
                  return true;
              });
        EXPECT_EQ(numbersOf(shortest), c.needed) << c.length;
        EXPECT_LE(calls, 20 * c.length) << c.length;
    }
}

TEST(RobotShrink, AFailureThatNeedsAnOrderKeepsIt)
{
    // Fails when some action 5 comes after some action 2.
    RobotActions list = numbered(30);
    list.push_back(list[2]);
    const RobotActions shortest = shrinkActions(list, [](const RobotActions &candidate) {
        bool seenFive = false;
        for (const RobotAction &a : candidate) {
            seenFive |= a.a == 5;
            if (a.a == 2 && seenFive)
                return true;
        }
        return false;
    });
    EXPECT_EQ(numbersOf(shortest), QList<int>({ 5, 2 }));
}

TEST(RobotFilesFolder, HoldsEveryKindOfFileTheDialogsOffer)
{
    const QStringList files = preparedFiles().files();
    for (const char *name : { "small.bmp", "small.png", "small.jpg", "tiny.gif", "cut_small.png",
             "huge.bmp", "large_rle.bmp", "empty.png", "v1_06.cwr", "cut_v1_06.cwr", "noise.cwr", "noise.cwt",
             "rows.txt", "rows.csv", "album.cue", "hostile.cue", "lyrics_sjis.txt", "lyrics_utf8.txt" }) {
        bool found = false;
        for (const QString &f : files)
            found |= f.endsWith(QLatin1Char('/') + QLatin1String(name));
        EXPECT_TRUE(found) << name;
    }
}

// What a run saves into the folder, over a prepared file or beside it, is
// gone after restore(), and every prepared file has its bytes again.
TEST(RobotFilesFolder, RestorePutsBackWhatARunChanged)
{
    RobotFiles files;
    ASSERT_TRUE(files.isValid());
    const QDir dir(files.path());
    const QStringList before = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QString cue = dir.filePath(QStringLiteral("album.cue"));
    const QByteArray cueBytes = readAll(cue);
    ASSERT_FALSE(cueBytes.isEmpty());
    ASSERT_TRUE(writeAll(cue, QByteArray("saved over")));
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("robot2.cwt")), QByteArray("beside")));
    ASSERT_TRUE(writeAll(files.out() + QStringLiteral("/robot1.cwr"), QByteArray("saved")));
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("small.png"))));

    ASSERT_TRUE(files.restore());
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(readAll(cue), cueBytes);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("small.png"))));
    EXPECT_TRUE(QDir(files.out()).isEmpty());
}

// A page drawn twice with its text 1/64 pixel apart (the font engine's
// fixed-point step, what its rounding can do) counts as the same page; the same
// page with an item missing, moved by a pixel or recoloured does not.
TEST(RobotPreviewCheck, RoundingOfGlyphEdgesIsNoDifferenceButAChangedItemIs)
{
    const auto page = [](double x, const QString &item, QColor colour) {
        QImage img(480, 160, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QFont font;
        font.setPixelSize(100); // filled as outlines, as large text is
        p.setFont(font);
        p.setPen(colour);
        p.drawText(QPointF(x, 100), QStringLiteral("-99999"));
        p.setFont(QFont(font.family(), 8));
        p.drawText(QPointF(20, 140), item);
        return img;
    };
    const QImage base = page(10.0, QStringLiteral("25"), Qt::black);
    EXPECT_EQ(differingPixels(base, page(10.0, QStringLiteral("25"), Qt::black)), 0);
    const QImage rounded = page(10.0 + 1.0 / 64, QStringLiteral("25"), Qt::black);
    ASSERT_NE(rounded, base);
    EXPECT_EQ(differingPixels(base, rounded), 0);
    EXPECT_GT(differingPixels(base, page(10.0, QString(), Qt::black)), 10);
    EXPECT_GT(differingPixels(base, page(11.0, QStringLiteral("25"), Qt::black)), 50);
    EXPECT_GT(differingPixels(base, page(10.0, QStringLiteral("25"), QColor(0, 0, 64))), 50);
    EXPECT_EQ(differingPixels(base, base.copy(0, 0, 480, 159)), 480 * 160);
}

// The robot chooses the case type as it chooses any list entry, and its
// checks cover it: the list shows the document's case, the tabs of the
// surfaces the case lacks are disabled as the rules say, and the slim case is
// saved and read back after every action.
TEST(RobotSession, ChoosesTheCaseTypeAndFindsTheTabsAsTheRulesSay)
{
    ASSERT_TRUE(preparedFiles().restore());
    RobotSettings settings;
    settings.roundTripEvery = 1;
    RobotSession session(preparedFiles().path(), settings);
    const auto act = [](const char *verb, const char *target, int a, int b = 0) {
        RobotAction action;
        action.verb = QLatin1String(verb);
        action.window = QStringLiteral("MainWindow");
        action.target = QLatin1String(target);
        action.a = a;
        action.b = b;
        return action;
    };
    const cw::LabelDocument &doc = session.window()->document();
    auto *tabs = session.window()->findChild<QTabWidget *>(QStringLiteral("PageControl"));
    ASSERT_NE(tabs, nullptr);
    int index = 0;
    EXPECT_EQ(session.perform(act("show", "", 0), index++), QString());
    EXPECT_EQ(session.perform(act("tab", "qt_tabwidget_tabbar#0", 5), index++), QString());
    EXPECT_EQ(session.perform(act("combo", "CaseType#0", 1), index++), QString());
    EXPECT_EQ(doc.caseFormat, QStringLiteral("cd-slim"));
    EXPECT_FALSE(tabs->isTabEnabled(1));
    // A disabled tab cannot be clicked open.
    EXPECT_EQ(session.perform(act("tab", "qt_tabwidget_tabbar#0", 2), index++), QString());
    EXPECT_EQ(tabs->currentIndex(), 5);
    EXPECT_EQ(session.perform(act("key", "", Qt::Key_Z, Qt::ControlModifier), index++), QString());
    EXPECT_EQ(doc.caseFormat, QStringLiteral("cd-jewel"));
    EXPECT_TRUE(tabs->isTabEnabled(1));
    EXPECT_EQ(
        session.perform(act("key", "", Qt::Key_Y, Qt::ControlModifier), index++, true), QString());
    EXPECT_EQ(doc.caseFormat, QStringLiteral("cd-slim"));
}

// The robot chooses a spine's text direction as any list entry, with the
// file read back after every action; "背表紙同方向印刷" changes what the left
// list shows, not the document.
TEST(RobotSession, ChoosesASpineTextDirectionAndReadsItBack)
{
    ASSERT_TRUE(preparedFiles().restore());
    RobotSettings settings;
    settings.roundTripEvery = 1;
    RobotSession session(preparedFiles().path(), settings);
    const cw::LabelDocument &doc = session.window()->document();
    auto *left = session.window()->findChild<QComboBox *>(QStringLiteral("LeftSpineText"));
    const std::tuple<const char *, const char *, int, cw::SpineText> steps[] = {
        { "show", "", 0, cw::SpineText::CaseOwn },
        { "tab", "qt_tabwidget_tabbar#0", 2, cw::SpineText::CaseOwn },
        { "combo", "LeftSpineText#0", 0, cw::SpineText::CaseOwn }, // disabled: title off
        { "click", "LeftTitleUse#0", 0, cw::SpineText::CaseOwn },
        { "combo", "LeftSpineText#0", 0, cw::SpineText::TopToBottom },
        { "key", "", Qt::Key_Z, cw::SpineText::CaseOwn },
        { "tab", "qt_tabwidget_tabbar#0", 5, cw::SpineText::CaseOwn },
        { "click", "SideTitleSameTop#0", 0, cw::SpineText::CaseOwn },
    };
    int index = 0;
    for (const auto &[verb, target, a, after] : steps) {
        RobotAction action;
        action.verb = QLatin1String(verb);
        action.window = QStringLiteral("MainWindow");
        action.target = QLatin1String(target);
        action.a = a;
        action.b = a == Qt::Key_Z ? int(Qt::ControlModifier) : 0;
        EXPECT_EQ(session.perform(action, index, index == 7), QString()) << index;
        EXPECT_EQ(doc.left.spineText, after) << index++;
    }
    EXPECT_EQ(left->currentIndex(), 0);
}

// The robot types into the custom case's size fields as into any field; its
// checks find them mirroring the document after every action.
TEST(RobotSession, TypesTheCustomCaseSizesAndFindsThemMirrored)
{
    ASSERT_TRUE(preparedFiles().restore());
    RobotSettings settings;
    settings.roundTripEvery = 1;
    RobotSession session(preparedFiles().path(), settings);
    const auto act = [](const char *verb, const char *target, int a, int b = 0,
                         const char *text = "") {
        RobotAction action;
        action.verb = QLatin1String(verb);
        action.window = QStringLiteral("MainWindow");
        action.target = QLatin1String(target);
        action.a = a;
        action.b = b;
        action.text = QLatin1String(text);
        return action;
    };
    const cw::LabelDocument &doc = session.window()->document();
    const int custom = int(cw::caseFormatIds().indexOf(QStringLiteral("custom-wrap")));
    int index = 0;
    EXPECT_EQ(session.perform(act("show", "", 0), index++), QString());
    EXPECT_EQ(session.perform(act("tab", "qt_tabwidget_tabbar#0", 5), index++), QString());
    EXPECT_EQ(session.perform(act("combo", "CaseType#0", custom), index++), QString());
    // Into cleared fields, then Enter or Tab.
    EXPECT_EQ(session.perform(act("type", "CasePanelWidth#0", 2, 1, "120"), index++), QString());
    EXPECT_EQ(session.perform(act("type", "CaseSpineWidth#0", 2, 2, "0"), index++), QString());
    EXPECT_EQ(session.perform(act("type", "CasePanelHeight#0", 2, 1, "abc"), index++), QString());
    EXPECT_EQ(doc.caseSize, (cw::CaseSize { 1200, 1830, 0 }));
    EXPECT_EQ(session.perform(act("key", "", Qt::Key_Z, Qt::ControlModifier), index++, true),
        QString());
    EXPECT_EQ(doc.caseSize.spineWidth, 140);
}

// The robot clicks "内側も印刷" as any check box: its checks cover it (the
// box shows the option printed with, is enabled as the case says) and the
// preview's back page then shows the wrap's reverse as a fresh drawing does.
TEST(RobotSession, PrintsTheInsideOfAWrapAndSeesItInThePreview)
{
    ASSERT_TRUE(preparedFiles().restore());
    RobotSession session(preparedFiles().path(), RobotSettings());
    const auto act = [](const char *verb, const char *window, const char *target, int a) {
        RobotAction action;
        action.verb = QLatin1String(verb);
        action.window = QLatin1String(window);
        action.target = QLatin1String(target);
        action.a = a;
        return action;
    };
    int index = 0;
    EXPECT_EQ(session.perform(act("show", "MainWindow", "", 0), index++), QString());
    EXPECT_EQ(session.perform(act("tab", "MainWindow", "qt_tabwidget_tabbar#0", 5), index++),
        QString());
    // Disabled for the jewel case: the click does nothing.
    EXPECT_EQ(session.perform(act("click", "MainWindow", "InsidePrint#0", 0), index++), QString());
    EXPECT_FALSE(session.window()->printOptions().printInside);
    EXPECT_EQ(session.perform(act("combo", "MainWindow", "CaseType#0", 2), index++), QString());
    EXPECT_EQ(session.perform(act("click", "MainWindow", "InsidePrint#0", 0), index++), QString());
    EXPECT_TRUE(session.window()->printOptions().printInside);
    EXPECT_EQ(session.perform(act("click", "MainWindow", "PreviewShow#0", 0), index++), QString());
    EXPECT_EQ(session.perform(act("click", "PreviewWindow", "PreviewBottomShow#0", 0), index++),
        QString());
    EXPECT_EQ(session.window()->previewWindow()->state().previewPage(), cw::PreviewPage::Back);
    EXPECT_EQ(session.perform(act("toggle", "MainWindow", "InsidePrint#0", 0), index++), QString());
    EXPECT_FALSE(session.window()->printOptions().printInside);
    EXPECT_EQ(session.window()->previewWindow()->state().previewPage(), cw::PreviewPage::Front);
}

// The robot reaches the free-print editor's text block tab as it reaches any
// control: it makes a block, types lines into it and aligns it; the block is
// saved and read back after every action.
TEST(RobotSession, MakesATextBlockAndTypesLinesIntoIt)
{
    ASSERT_TRUE(preparedFiles().restore());
    RobotSettings settings;
    settings.roundTripEvery = 1;
    RobotSession session(preparedFiles().path(), settings);
    const auto act = [](const char *window, const char *verb, const char *target, int a = 0) {
        RobotAction action;
        action.verb = QLatin1String(verb);
        action.window = QLatin1String(window);
        action.target = QLatin1String(target);
        action.a = a;
        action.b = 1; // typed lines are left with Tab
        action.text = QStringLiteral("一行目\nline two");
        return action;
    };
    int index = 0;
    for (const RobotAction &a : { act("MainWindow", "show", ""),
             act("MainWindow", "click", "UseTop1Prints#0"), act("MainWindow", "click", "Top1PrintsEdit#0"),
             act("PrintsList", "tab", "qt_tabwidget_tabbar#0", 2), act("PrintsList", "click", "ListNew#0"),
             act("PrintsList", "lines", "BlockText#0"), act("PrintsList", "combo", "BlockAlign#0", 2) })
        EXPECT_EQ(session.perform(a, index++), QString()) << a.verb.toStdString();
    const cw::LabelDocument &doc = session.window()->document();
    ASSERT_EQ(doc.coverPrints.size(), 1);
    EXPECT_EQ(doc.coverPrints[0].kind, cw::PrintsTextBlock);
    EXPECT_EQ(doc.coverPrints[0].text, QStringLiteral("一行目\nline two"));
    EXPECT_EQ(doc.coverPrints[0].blockAlign, 2);
}

// The robot works the disc tab as any other: the texts, their place, a typed
// radius and an angle that is no number, and the background colour; its checks
// find every control mirroring the document, which is saved and read back
// after every action.
TEST(RobotSession, WorksTheDiscTabAndReadsItBack)
{
    ASSERT_TRUE(preparedFiles().restore());
    RobotSettings settings;
    settings.roundTripEvery = 1;
    RobotSession session(preparedFiles().path(), settings);
    const auto act = [](const char *verb, const char *target, int a = 0, int b = 0,
                         const char *text = "") {
        RobotAction action;
        action.verb = QLatin1String(verb);
        action.window = QStringLiteral("MainWindow");
        action.target = QLatin1String(target);
        action.a = a;
        action.b = b;
        action.text = QString::fromUtf8(text);
        return action;
    };
    int index = 0;
    for (const RobotAction &a : { act("show", ""), act("tab", "qt_tabwidget_tabbar#0", 4),
             act("click", "DiscTitleUse#0"), act("type", "DiscTitle#0", 2, 2, "夜明けの歌"),
             act("click", "DiscTitlePlace1#0"), act("type", "DiscTitleRadius#0", 2, 1, "45.5"),
             act("type", "DiscTitleAngle#0", 2, 1, "abc"), act("swatch", "DiscBGColor#0"),
             act("click", "UseDiscList#0"), act("click", "UseDiscPrints#0") })
        EXPECT_EQ(session.perform(a, index++), QString()) << a.verb.toStdString();
    const cw::LabelDocument &doc = session.window()->document();
    EXPECT_TRUE(doc.disc.title.use);
    EXPECT_EQ(doc.disc.title.text, QStringLiteral("夜明けの歌"));
    EXPECT_EQ(doc.disc.title.arc, (cw::ArcPlacement { cw::DiscTextPlace::BottomArc, 455, 0 }));
    EXPECT_TRUE(doc.disc.useList && doc.disc.usePrints);
}

// The robot reaches "カスタム用紙" as any window, from the disc tab's button:
// while it is open it is the one window the robot acts on; a bad diameter at
// OK keeps it open, a good sheet of three labels closes it and is printed with.
TEST(RobotSession, DescribesTheCustomSheetInItsDialog)
{
    ASSERT_TRUE(preparedFiles().restore());
    RobotSession session(preparedFiles().path(), RobotSettings());
    const auto act = [](const char *window, const char *verb, const char *target, int a = 0,
                         const char *text = "") {
        return RobotAction { QLatin1String(verb), QLatin1String(window), QLatin1String(target), a,
            2, 0, 0, QString::fromUtf8(text) };
    };
    const RobotAction actions[] = { act("MainWindow", "show", ""),
        act("MainWindow", "tab", "qt_tabwidget_tabbar#0", 4), act("MainWindow", "combo", "DiscStock#0", 14),
        act("MainWindow", "click", "DiscCustomSheet#0"), act("CustomSheet", "type", "CustomSheetOuter#0", 2, "abc"),
        act("CustomSheet", "click", "CustomSheetOK#0"), act("CustomSheet", "type", "CustomSheetOuter#0", 2, "60"),
        act("CustomSheet", "click", "CustomSheetAdd#0"), act("CustomSheet", "type", "CustomSheetX#0", 2, "105"),
        act("CustomSheet", "type", "CustomSheetY#0", 2, "150"), act("CustomSheet", "click", "CustomSheetOK#0") };
    int index = 0;
    for (const RobotAction &a : actions) {
        EXPECT_EQ(session.perform(a, index++), QString()) << a.target.toStdString();
        if (index == 6) { // after the bad OK
            EXPECT_NE(session.window()->findChild<QWidget *>(QStringLiteral("CustomSheet")), nullptr);
        }
    }
    EXPECT_EQ(session.window()->findChild<QWidget *>(QStringLiteral("CustomSheet")), nullptr);
    EXPECT_EQ(session.window()->printOptions().disc.centresMm,
        QVector<QPointF>({ { 105, 79.9 }, { 105, 150 }, { 105, 218.33 } }));
}
