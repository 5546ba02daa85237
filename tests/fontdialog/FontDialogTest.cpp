// The font dialog "ﾌｫﾝﾄの指定" driven through its controls.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "document/DocumentEditor.h"
#include "document/DocumentReader.h"
#include "document/LabelDocument.h"
#include "fonts/FontCharsets.h"
#include "fonts/ui/TFontDialogEx.h"
#include "fonts/ui/TFontDialogX.h"

using namespace cw;

namespace {

// A scalable family listing Latin then Japanese, a bitmap family with its
// own sizes, and a family offering only a Latin set.
QList<FontFamilyEntry> fixedFamilies()
{
    return buildFamilyList({
        { "Sans Test", true, true, { 0, 128 }, {} },
        { "Bitmap Test", false, false, { 0, 204 }, { 7, 13 } },
        { "Latin Test", true, true, { 0 }, {} },
    });
}

FontSpec font(const char *name, int size, ColorRef color = kWindowTextColor, int charset = 128)
{
    FontSpec f = defaultFont();
    f.name = QString::fromUtf8(name);
    f.size = size;
    f.color = color;
    f.charset = charset;
    return f;
}

template <class W> W *child(QWidget *dialog, const char *name)
{
    W *w = dialog->findChild<W *>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void clickRow(QListWidget *list, int row)
{
    QListWidgetItem *item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// On the box itself (the caption may end before the middle of the control).
void clickCheck(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void typeText(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Opens the real dialog through TFontDialogEx and runs `act` on it while it
// is modal.
bool executeWith(TFontDialogEx &ex, const std::function<void(TFontDialogX &)> &act)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TFontDialogX *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ran = true;
        act(*dialog);
    });
    const bool ok = ex.Execute();
    EXPECT_TRUE(ran);
    return ok;
}

void pressOk(TFontDialogX &d)
{
    QTest::mouseClick(child<QPushButton>(&d, "OK"), Qt::LeftButton);
}

} // namespace

TEST(FontDialog, OpensOnTheFontsChoices)
{
    FontSpec f = font("Sans Test", 20);
    f.bold = f.italic = f.strikeOut = true;
    TFontDialogX d(fixedFamilies(), f);
    EXPECT_EQ(d.windowTitle(), "ﾌｫﾝﾄの指定");
    EXPECT_EQ(d.size(), QSize(471, 275));
    EXPECT_EQ(child<QLineEdit>(&d, "FontNameEdit")->text(), "Sans Test");
    EXPECT_EQ(child<QListWidget>(&d, "FontBox")->currentItem()->text(), "Sans Test");
    EXPECT_EQ(child<QLineEdit>(&d, "StyleEdit")->text(), "Bold Italic");
    EXPECT_EQ(child<QListWidget>(&d, "StyleBox")->currentRow(), 3);
    EXPECT_EQ(child<QLineEdit>(&d, "SizeEdit")->text(), "20");
    EXPECT_EQ(child<QListWidget>(&d, "SizeBox")->currentItem()->text(), "20");
    EXPECT_EQ(child<QListWidget>(&d, "SizeBox")->count(), 16);
    EXPECT_TRUE(child<QCheckBox>(&d, "EraseCheck")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&d, "UnderlineCheck")->isChecked());
    auto *kinds = child<QComboBox>(&d, "KindBox");
    ASSERT_EQ(kinds->count(), 2);
    EXPECT_EQ(kinds->itemText(0), "欧文");
    EXPECT_EQ(kinds->currentText(), "日本語");
    EXPECT_EQ(kinds->maxVisibleItems(), 5);
    EXPECT_TRUE(child<QLineEdit>(&d, "Preview")->text().isEmpty());
    EXPECT_EQ(child<QLineEdit>(&d, "Preview")->size(), QSize(252, 46));
}

TEST(FontDialog, WindowTextColourOpensOnCustomWithThatSwatch)
{
    TFontDialogX d(fixedFamilies(), font("Sans Test", 9, kWindowTextColor));
    auto *colors = child<QComboBox>(&d, "ColorBox");
    ASSERT_EQ(colors->count(), 17);
    EXPECT_EQ(colors->currentIndex(), 16);
    EXPECT_EQ(colors->currentText(), "ｶｽﾀﾑ");
    EXPECT_EQ(d.model().rowColor(16), kWindowTextColor);
    // A named colour selects its own row.
    TFontDialogX red(fixedFamilies(), font("Sans Test", 9, 0x0000FF));
    EXPECT_EQ(child<QComboBox>(&red, "ColorBox")->currentText(), "赤");
}

TEST(FontDialog, ChoosingBoldRemovesItalic)
{
    FontSpec f = font("Sans Test", 12);
    f.bold = f.italic = true;
    TFontDialogEx ex;
    ex.Font = f;
    // The real database does not hold "Sans Test": the face is kept anyway.
    ASSERT_TRUE(executeWith(ex, [](TFontDialogX &d) {
        clickRow(child<QListWidget>(&d, "StyleBox"), 2);
        EXPECT_EQ(child<QLineEdit>(&d, "StyleEdit")->text(), "Bold");
        EXPECT_FALSE(child<QLineEdit>(&d, "Preview")->font().italic());
        pressOk(d);
    }));
    FontSpec expected = f;
    expected.italic = false;
    EXPECT_EQ(ex.Font, expected);
}

TEST(FontDialog, BoldUnderlinedRedFontComesBackUnchanged)
{
    FontSpec f = font("IPAPGothic", 14, 0x0000FF, 0);
    f.bold = f.underline = true;
    TFontDialogEx ex;
    ex.Font = f;
    ASSERT_TRUE(executeWith(ex, pressOk));
    EXPECT_EQ(ex.Font, f);
}

TEST(FontDialog, TypedSizes)
{
    TFontDialogX d(fixedFamilies(), font("Sans Test", 20));
    auto *edit = child<QLineEdit>(&d, "SizeEdit");
    auto *sizes = child<QListWidget>(&d, "SizeBox");
    const struct
    {
        const char *text;
        int selectedRow; // -1: none
        int previewSize;
    } table[] = { { "12", 4, 12 }, { "12.5", -1, 12 }, { "abc", -1, 12 }, { " 72", -1, 72 },
        { "72", 15, 72 }, { "-5", -1, 72 }, { "5000", -1, 500 }, { "9", 1, 9 } };
    for (const auto &row : table) {
        typeText(edit, QString::fromUtf8(row.text));
        EXPECT_EQ(sizes->selectedItems().isEmpty() ? -1 : sizes->currentRow(), row.selectedRow) << row.text;
        EXPECT_EQ(d.model().preview().size, row.previewSize) << row.text;
    }
    // A list click puts its text into the field.
    clickRow(sizes, 6);
    EXPECT_EQ(edit->text(), "16");
    EXPECT_EQ(d.model().preview().size, 16);
}

TEST(FontDialog, CharsetListedLastKeepsTheFaceAndRefillsSizes)
{
    TFontDialogX d(fixedFamilies(), font("Sans Test", 12, kWindowTextColor, 0));
    auto *families = child<QListWidget>(&d, "FontBox");
    auto *sizes = child<QListWidget>(&d, "SizeBox");
    // The bitmap family shows only its own sizes; its first set replaces 128.
    clickRow(families, 0);
    EXPECT_EQ(child<QLineEdit>(&d, "FontNameEdit")->text(), "Bitmap Test");
    ASSERT_EQ(sizes->count(), 2);
    EXPECT_EQ(sizes->item(1)->text(), "13");
    auto *kinds = child<QComboBox>(&d, "KindBox");
    EXPECT_EQ(kinds->currentText(), "欧文");
    kinds->setCurrentIndex(1);
    Q_EMIT kinds->activated(1);
    EXPECT_EQ(d.model().preview().charset, 204);
    EXPECT_EQ(d.model().preview().name, "Bitmap Test");
    EXPECT_EQ(sizes->count(), 2);
    // Back on the scalable family: 204 is not there, its first set is taken.
    clickRow(families, 2);
    EXPECT_EQ(sizes->count(), 16);
    EXPECT_EQ(d.model().preview().charset, 0);
    EXPECT_EQ(sizes->currentItem()->text(), "12");
}

TEST(FontDialog, CustomColourAndDecorations)
{
    TFontDialogX d(fixedFamilies(), font("Sans Test", 12, 0x000080));
    std::optional<ColorRef> answer = 0x123456;
    d.chooseCustomColor = [&](ColorRef) { return answer; };
    auto *colors = child<QComboBox>(&d, "ColorBox");
    colors->setCurrentIndex(16);
    Q_EMIT colors->activated(16);
    EXPECT_EQ(d.model().preview().color, 0x123456u);
    answer.reset(); // a cancelled colour dialog keeps the custom colour
    colors->setCurrentIndex(16);
    Q_EMIT colors->activated(16);
    EXPECT_EQ(d.model().preview().color, 0x123456u);
    colors->setCurrentIndex(12);
    Q_EMIT colors->activated(12);
    EXPECT_EQ(d.model().preview().color, 0xFF0000u);
    clickCheck(child<QCheckBox>(&d, "EraseCheck"));
    clickCheck(child<QCheckBox>(&d, "UnderlineCheck"));
    EXPECT_TRUE(d.model().preview().strikeOut);
    EXPECT_TRUE(d.model().preview().underline);
    EXPECT_TRUE(child<QLineEdit>(&d, "Preview")->font().strikeOut());
}

TEST(FontDialog, CancelLeavesTheFontAfterChanges)
{
    TFontDialogEx ex;
    ex.Font = font("IPAPMincho", 20);
    const FontSpec before = ex.Font;
    EXPECT_FALSE(executeWith(ex, [](TFontDialogX &d) {
        typeText(child<QLineEdit>(&d, "SizeEdit"), QStringLiteral("30"));
        clickRow(child<QListWidget>(&d, "StyleBox"), 3);
        QTest::mouseClick(child<QPushButton>(&d, "Cancel"), Qt::LeftButton);
    }));
    EXPECT_EQ(ex.Font, before);
}

// Opening any font of the demo document, and a face found nowhere, and
// pressing "OK" gives back exactly the font it was opened on.
TEST(FontDialog, UnchangedOkReturnsTheSameFontForEveryDemoFont)
{
    LabelDocument doc;
    DocumentEditor editor(doc);
    RecordingProgress progress;
    ASSERT_EQ(loadDocument(editor, QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr"), progress),
        LoadStatus::Loaded);
    QList<FontSpec> fonts;
    for (Surface s : { Surface::Top, Surface::Bottom, Surface::Left, Surface::Right })
        fonts.append(doc.surface(s).title.font);
    for (const TListData &row : doc.listRows) {
        for (const TListCell &cell : row.columns)
            fonts.append(cell.font);
    }
    for (const QList<TPrintsData> *prints : { &doc.coverPrints, &doc.insidePrints, &doc.backPrints }) {
        for (const TPrintsData &item : *prints)
            fonts.append(item.font);
    }
    FontSpec nowhere = font("Kein Gesicht 42", 0, 0x80000005, 200);
    nowhere.italic = nowhere.strikeOut = true;
    fonts.append(nowhere);
    ASSERT_GT(fonts.size(), 10);
    for (const FontSpec &f : fonts) {
        TFontDialogEx ex;
        ex.Font = f;
        ASSERT_TRUE(executeWith(ex, [&](TFontDialogX &d) {
            EXPECT_EQ(child<QListWidget>(&d, "FontBox")->currentItem()->text(), f.name);
            EXPECT_EQ(child<QComboBox>(&d, "KindBox")->currentText(), charsetName(f.charset));
            pressOk(d);
        }));
        EXPECT_EQ(ex.Font, f) << f.name.toStdString() << " " << f.size;
    }
}

TEST(FontDialog, EveryControlIsNamedAfterItsCaption)
{
    TFontDialogX d(fixedFamilies(), font("Sans Test", 9));
    d.show();
    const struct
    {
        const char *object;
        const char *name;
    } table[] = { { "FontNameEdit", "ﾌｫﾝﾄ名(&F):" }, { "FontBox", "ﾌｫﾝﾄ名(&F):" },
        { "StyleEdit", "ｽﾀｲﾙ(&Y):" }, { "StyleBox", "ｽﾀｲﾙ(&Y):" }, { "SizeEdit", "ｻｲｽﾞ(&S):" },
        { "SizeBox", "ｻｲｽﾞ(&S):" }, { "GroupBox1", "文字飾り" }, { "EraseCheck", "取り消し線(&K)" },
        { "UnderlineCheck", "下線(&U)" }, { "ColorBox", "色(&C):" }, { "GroupBox2", "ﾌﾟﾚﾋﾞｭｰ(&P)" },
        { "Preview", "ﾌﾟﾚﾋﾞｭｰ(&P)" }, { "KindBox", "書体の種類(&R):" }, { "OK", "OK" },
        { "Cancel", "ｷｬﾝｾﾙ" } };
    for (const auto &row : table) {
        QWidget *w = d.findChild<QWidget *>(QLatin1String(row.object));
        ASSERT_NE(w, nullptr) << row.object;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(a, nullptr);
        if (a->role() == QAccessible::ComboBox) {
            // Drop-down lists report their value as text on this platform and
            // are named through their label.
            EXPECT_EQ(w->accessibleName(), QString::fromUtf8(row.name)) << row.object;
            QStringList labels;
            for (const auto &relation : a->relations(QAccessible::Label))
                labels.append(relation.first->text(QAccessible::Name));
            EXPECT_TRUE(labels.contains(QString::fromUtf8(row.name))) << row.object;
            continue;
        }
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(row.name)) << row.object;
    }
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&d);
    EXPECT_EQ(window->role(), QAccessible::Dialog);
    EXPECT_EQ(window->text(QAccessible::Name), "ﾌｫﾝﾄの指定");
    QAccessibleInterface *families = QAccessible::queryAccessibleInterface(d.findChild<QListWidget *>("FontBox"));
    EXPECT_EQ(families->role(), QAccessible::List);
    EXPECT_GE(families->childCount(), 3);
    for (QLabel *label : d.findChildren<QLabel *>())
        EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
}
