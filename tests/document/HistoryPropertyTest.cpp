// Undo and redo as inverses: from each test document, a long random sequence
// of edits through the operations the windows and the preview use, all
// undone, then all redone, compared byte for byte with the files saved
// before and field for field with the document as JSON (which holds what
// the file does not: the size and align modes, the aspect locks).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <random>

#include "TestSupport.h"
#include "base/BookletImposition.h"
#include "document/DiscTitles.h"
#include "document/DocumentEditor.h"
#include "document/DocumentJson.h"
#include "prints/PrintsEditor.h"
#include "prints/PrintsItems.h"
#include "render/ChoosePrinter.h"
#include "render/DirectEdit.h"
#include "tracklist/ListEditor.h"
#include "tracklist/ListTemplate.h"

using namespace cw;

namespace {

class FixedPrinter : public PrinterBackend
{
public:
    bool queryResolution(int &x, int &y) override
    {
        x = dpiX;
        y = dpiY;
        return true;
    }
    int dpiX = 300, dpiY = 300;
};

// One document with the three editors the windows bind to, all recording
// into the document's history.
struct Session
{
    explicit Session(const QString &path)
        : editor(doc, &messages)
        , list(doc.listRows)
        , prints(doc)
    {
        ComputeSurfacePixels(doc, printer);
        RecordingProgress progress;
        loaded = editor.load(path, progress);
        list.setRecorder(&editor.history());
        prints.setRecorder(&editor.history());
        list.open(&doc.listLayout[0]);
        prints.open(PrintsList::Cover);
    }
    QByteArray saved(const QString &path)
    {
        EXPECT_TRUE(editor.save(path)) << messages.messages.join(QLatin1Char('\n')).toStdString();
        return readAll(path);
    }
    QStringList json() const
    {
        return QString::fromUtf8(QJsonDocument(documentToJson(doc)).toJson())
            .split(QLatin1Char('\n'));
    }

    PrinterState printer;
    LabelDocument doc;
    RecordingMessages messages;
    DocumentEditor editor;
    ListEditor list;
    PrintsEditor prints;
    bool loaded = false;
};

// Random edits of every kind the windows make.
class RandomEdits
{
public:
    RandomEdits(Session &s, unsigned seed, const QString &folder)
        : m_s(s)
        , m_rng(seed)
        , m_folder(folder)
    {
        // Three list templates of each surface for the layout window's box.
        m_templates.LoadTemplateFolder({ folder });
        for (int side = 0; side < 2; ++side)
            for (int t = 0; t < 3; ++t) {
                const ListLayout l { 1 + t, 5 * t, 3 + t, 30, 40 + t, 20, 1, 2, 4 + t };
                m_templates.saveTemplate(side,
                    QDir(folder).filePath(QStringLiteral("t%1%2.cwt").arg(side).arg(t)),
                    QStringLiteral("T%1").arg(t), l, m_s.messages);
            }
    }

    void run(int count)
    {
        for (int i = 0; i < count; ++i)
            one();
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool coin() { return pick(2) == 1; }
    Surface surface() { return Surface(pick(4)); }
    QString word()
    {
        static const QStringList words = { QStringLiteral("Side A"), QStringLiteral("夜明け"),
            QStringLiteral("ﾃｽﾄ"), QStringLiteral("3:45"), QStringLiteral("Live"), QString() };
        return words[pick(int(words.size()))];
    }
    QString number(int limit) { return QString::number(pick(limit)); }
    FontSpec font()
    {
        FontSpec f = defaultFont();
        f.name = coin() ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("Arial");
        f.size = 6 + pick(20);
        f.bold = coin();
        f.color = ColorRef(pick(0x1000000));
        return f;
    }
    // Typing: one keystroke at a time, as the fields send it.
    template<typename Set> void type(const QString &start, Set &&set)
    {
        QString text = start;
        const int keys = 1 + pick(4);
        for (int k = 0; k < keys; ++k) {
            if (!text.isEmpty() && pick(4) == 0)
                text.chop(1);
            else
                text += QString(QChar(u"ab12あ"[pick(5)]));
            set(text);
        }
        if (coin())
            m_s.editor.history().endTyping();
    }
    QString picture()
    {
        return coin() ? QStringLiteral(CASEWRIGHT_TEST_DATA "/document/pic.bmp")
                      : QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo-cover.png");
    }

    // A thing of a page as the preview names it: a title, a surface
    // picture, a list block or a free-print item.
    PagePart part()
    {
        PagePart p;
        switch (pick(4)) {
        case 0: p.kind = PartKind::Title; p.owner = pick(4); break;
        case 1: p.kind = PartKind::Picture; p.owner = pick(4); break;
        case 2: p.kind = PartKind::List; p.owner = pick(3); break;
        default: {
            p.owner = pick(4);
            const QList<TPrintsData> &items = printsList(m_s.doc, PrintsList(p.owner));
            if (items.isEmpty())
                return part();
            p.index = pick(int(items.size()));
            p.kind = items[p.index].kind == 0 ? PartKind::PrintText : PartKind::PrintPicture;
        }
        }
        return p;
    }
    PartEditors editors() { return { m_s.editor, m_s.prints }; }
    // A drag in the preview: every position on the way and the drop are one step.
    void drag()
    {
        const PagePart p = part();
        EditStep step(&m_s.editor.history(), QStringLiteral("移動"), partEditParts(p));
        for (int moves = 1 + pick(3); moves > 0; --moves)
            placePart(editors(), p, { pick(700) - 100, pick(400) - 100 });
    }
    // A picture's handle dragged: the size on the way, and for a handle
    // other than the bottom right one the position that keeps the opposite
    // corner, as the preview stores them.
    void sizeByHandle()
    {
        PagePart p = part();
        if (!resizable(p))
            return;
        LabelDocument &doc = m_s.doc;
        const SizeCorner corner = SizeCorner(pick(4));
        PartBox box;
        box.part = p;
        const PartPosition startSize = partSize(doc, p);
        const PartPosition startPos = partPosition(doc, box, 96, 96);
        const bool keep = coin();
        EditStep step(&m_s.editor.history(), QStringLiteral("サイズ変更"), partEditParts(p));
        for (int moves = 1 + pick(3); moves > 0; --moves) {
            const PartPosition size = draggedSize(
                doc, startSize, QPoint(pick(200) - 100, pick(200) - 100), 96, 96, corner);
            sizePart(editors(), p, size, keep);
            if (corner != SizeCorner::BottomRight)
                placePart(
                    editors(), p, sizedPosition(startPos, startSize, partSize(doc, p), corner));
        }
    }
    // Arrow keys on the selected thing: a run of presses is one step.
    void arrows()
    {
        PartBox box;
        box.part = part();
        const QString name = partName(m_s.doc, box.part);
        for (int presses = 1 + pick(4); presses > 0; --presses) {
            EditStep run(&m_s.editor.history(), QStringLiteral("移動"), partEditParts(box.part),
                QStringLiteral("preview-move:") + name);
            const int unit = coin() ? 10 : 1;
            const int dx = pick(3) - 1, dy = pick(3) - 1;
            placePart(editors(), box.part,
                steppedPosition(box, partPosition(m_s.doc, box, 96, 96), dx * unit, dy * unit));
        }
        if (coin())
            m_s.editor.history().endTyping();
    }
    // A template picked in the layout window's box: one step that gives the
    // surface's list layout the template's values.
    void chooseTemplate()
    {
        const int side = pick(2);
        ListLayout picked = m_s.doc.listLayout[size_t(side)];
        if (!m_templates.pickTemplate(side, pick(4) - 1, picked))
            return;
        EditStep step(&m_s.editor.history(), QStringLiteral("テンプレート"), EditParts::Settings);
        m_s.doc.listLayout[size_t(side)] = picked;
    }
    // "色取込": the item's picture read again and a colour picked from it,
    // one step.
    void pickColour()
    {
        PrintsEditor &pe = m_s.prints;
        if (!pe.item())
            return;
        EditStep step(pe.recorder(), QStringLiteral("色取込"), EditParts::PrintItems);
        const QImage picture = pe.pictureForColorPick(m_s.messages);
        if (picture.isNull())
            return;
        const QRgb c = picture.pixel(pick(picture.width()), pick(picture.height()));
        pe.setTransColor(ColorRef(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16)));
    }

    void one()
    {
        DocumentEditor &ed = m_s.editor;
        LabelDocument &doc = m_s.doc;
        const Surface s = surface();
        // The picture operations now and then act on a booklet page's picture.
        const PictureSlot slot = pick(5) == 0 ? PictureSlot::ofPage(2 + pick(3)) : PictureSlot(s);
        RecordingProgress progress;
        switch (pick(42)) {
        case 0: ed.setTitleUse(s, coin()); break;
        case 1: type(doc.surface(s).title.text, [&](const QString &t) { ed.setTitleText(s, t); }); break;
        case 2: ed.setTitlePosMode(s, TitlePosition(pick(4))); break;
        case 3: ed.setTitleFont(s, font()); break;
        case 4: coin() ? ed.setTitleCustomXUse(s, coin()) : ed.setTitleCustomYUse(s, coin()); break;
        case 5: type(QString(), [&](const QString &t) { ed.setTitleCustomXText(s, t); }); break;
        case 6: type(QString(), [&](const QString &t) { ed.setTitleOffsetText(s, t); }); break;
        case 7: ed.setTitleSameAsFront(s, coin()); break;
        case 8: ed.setTitleSameAsLeft(coin()); break;
        case 9:
            switch (pick(6)) {
            case 0: ed.setUseList(coin() ? Surface::Top : Surface::Bottom, coin()); break;
            case 1: ed.setUseCoverPrints(coin()); break;
            case 2: ed.setUseInsidePrints(coin()); break;
            case 3: ed.setUseList(Surface::Disc, coin()); break;
            case 4: ed.setUseDiscPrints(coin()); break;
            default: ed.setUsePrints(coin()); break;
            }
            break;
        case 10: ed.setBackgroundColor(Swatch(pick(5)), ColorRef(pick(0x1000000))); break;
        case 11: ed.chooseSurfacePicture(slot, picture(), progress); break;
        case 12: ed.setPictureUse(slot, coin()); break;
        case 13:
            switch (pick(4)) {
            case 0: ed.commitPictureWidth(slot, number(3000)); break;
            case 1: ed.commitPictureHeight(slot, number(3000)); break;
            case 2: ed.commitPicturePosX(slot, number(500)); break;
            default: ed.commitPicturePosY(slot, number(500)); break;
            }
            break;
        case 14:
            coin() ? ed.applySizeMode(slot, PictureSizing(pick(3)))
                   : ed.applyAlignMode(slot, PictureAlignment(pick(7)));
            break;
        case 15: ed.setKeepAspect(slot, coin()); break;
        case 16: coin() ? ed.setPictureSameAsFront(coin()) : ed.setPictureSameAsLeft(coin()); break;
        case 17: {
            if (pick(3) != 0)
                break; // printer setup is rarer than the rest
            FixedPrinter printer;
            printer.dpiX = coin() ? 600 : 360;
            printer.dpiY = coin() ? 600 : 300;
            ChoosePrinter(ed, printer, nullptr, m_s.messages, m_s.printer);
            break;
        }
        case 18: m_s.list.select(pick(int(doc.listRows.size()) + 1) - 1); break;
        case 19:
            switch (pick(5)) {
            case 0: m_s.list.newRow(); break;
            case 1: m_s.list.insertRow(); break;
            case 2: m_s.list.deleteRow(); break;
            case 3: m_s.list.moveUp(); break;
            default: m_s.list.moveDown(); break;
            }
            break;
        case 20: coin() ? m_s.list.setSeparate(pick(2)) : m_s.list.setKind(pick(2)); break;
        case 21: {
            const int cell = pick(3);
            type(m_s.list.controls().cells[size_t(cell)].text,
                [&](const QString &t) { m_s.list.setCellText(cell, t); });
            break;
        }
        case 22:
            switch (pick(3)) {
            case 0: m_s.list.setCellAlign(pick(3), pick(3)); break;
            case 1: m_s.list.setCellFont(pick(3), font()); break;
            default: m_s.list.setDefaultFont(pick(3), font()); break;
            }
            break;
        case 23: {
            BulkFontChoice choice { font(), {} };
            choice.switches.changeSize = coin();
            m_s.list.bulkFontChange(pick(3), choice);
            break;
        }
        case 24: {
            QList<ImportFields> lines;
            for (int n = 1 + pick(6); n > 0; --n)
                lines.append({ number(99), word(), word() });
            m_s.list.appendLines(lines);
            break;
        }
        case 25: {
            // The album import: its rows and the disc titles are one step.
            const QString csv = QDir(m_folder).filePath(QStringLiteral("import.csv"));
            writeAll(csv, sjis(QStringLiteral("1,夜明け,3:45\r\n2,Side A,4:10\r\n")));
            EditStep step(&ed.history(), QStringLiteral("ファイル(リスト)"));
            if (m_s.list.importSources({ csv }, m_s.messages))
                applyDiscTitles(ed, word(), word());
            break;
        }
        case 26: {
            // "閉じる" of the layout window stores its nine values.
            EditStep step(&ed.history(), QStringLiteral("ﾘｽﾄ位置設定(表レーベル)"));
            ListLayout &l = doc.listLayout[size_t(pick(3))];
            l.columnCount = 1 + pick(3);
            l.posX = pick(30);
            l.width2 = 20 + pick(60);
            l.lineSpacing = pick(20);
            break;
        }
        case 27:
            m_s.prints.open(PrintsList(pick(4)));
            m_s.prints.select(pick(int(m_s.prints.list().size()) + 1) - 1);
            break;
        case 28:
            switch (pick(5)) {
            case 0: m_s.prints.newItem(coin()); break;
            case 1: m_s.prints.addItem(coin()); break;
            case 2: m_s.prints.deleteItem(); break;
            case 3: m_s.prints.moveUp(); break;
            default: m_s.prints.moveDown(); break;
            }
            break;
        case 29:
            switch (pick(5)) {
            case 0: m_s.prints.setKind(PrintsKind(pick(3))); break;
            case 1: {
                // A block's text has lines; a text item's is one.
                const TPrintsData *item = m_s.prints.item();
                const bool block = item && item->kind == PrintsTextBlock;
                m_s.prints.setText(block && coin() ? word() + "\n" + word() : word());
                break;
            }
            case 2: m_s.prints.setTextX(pick(120)); break;
            case 3: m_s.prints.setAngle(pick(720)); break;
            default: m_s.prints.setTextY(pick(120)); break;
            }
            break;
        case 30: m_s.prints.setFont(font()); break;
        case 31: m_s.prints.loadPicture(picture(), m_s.messages, progress); break;
        case 32:
            switch (pick(7)) {
            case 0: m_s.prints.setPrintWidth(1 + pick(1000), coin()); break;
            case 1: m_s.prints.setPrintHeight(1 + pick(1000), coin()); break;
            case 2: m_s.prints.setPosX(pick(1000)); break;
            case 3: m_s.prints.setBlockWidth(pick(200)); break;
            case 4: m_s.prints.setBlockAlign(pick(3)); break;
            case 5: m_s.prints.setLineSpacing(pick(500)); break;
            default: m_s.prints.setPosY(pick(1000)); break;
            }
            break;
        case 33: coin() ? m_s.prints.setTransparent(coin()) : m_s.prints.setTransColor(ColorRef(pick(0x1000000))); break;
        case 34: drag(); break;
        case 35: sizeByHandle(); break;
        case 36: arrows(); break;
        case 37: chooseTemplate(); break;
        case 38: ed.setCaseFormat(caseFormatIds()[pick(int(caseFormatIds().size()))]); break;
        case 39:
            // The custom case's sizes, typed or set, now and then out of range
            // or with no spine.
            if (!formatOf(doc).custom && coin())
                ed.setCaseFormat(QStringLiteral("custom-wrap"));
            if (coin())
                ed.setCaseSize({ 150 + pick(2900), 150 + pick(2900), coin() ? 0 : pick(650) });
            else
                ed.commitCaseDimension(
                    CaseDimension(pick(3)), coin() ? number(320) + ".5" : word());
            break;
        case 40: ed.setBookletPages(kBookletPageCounts[pick(3)]); break;
        default: pickColour(); break;
        }
    }

    Session &m_s;
    std::mt19937 m_rng;
    QString m_folder;
    ListTemplateStore m_templates;
};

QStringList testDocuments()
{
    QStringList paths;
    const QDir data(QStringLiteral(CASEWRIGHT_TEST_DATA "/document"));
    for (const QString &name : data.entryList({ QStringLiteral("*.cwr") }, QDir::Files, QDir::Name))
        paths << data.filePath(name);
    paths << QStringLiteral(CASEWRIGHT_SOURCE_DIR "/examples/demo.cwr");
    return paths;
}

// The two JSON texts are the same; a failure shows the first line that differs.
void expectSameJson(const QStringList &got, const QStringList &want)
{
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
        if (got[i] != want[i]) {
            ADD_FAILURE() << "JSON line " << i + 1 << ": " << got[i].toStdString() << " instead of "
                          << want[i].toStdString();
            return;
        }
    EXPECT_EQ(got.size(), want.size());
}

} // namespace

TEST(HistoryProperty, UndoingEverythingGivesTheOpenedFileAndRedoingGivesTheEditedOne)
{
    const QStringList docs = testDocuments();
    ASSERT_GE(docs.size(), 8);
    unsigned seed = 1;
    for (const QString &path : docs) {
        for (int round = 0; round < 2; ++round, ++seed) {
            SCOPED_TRACE(path.toStdString() + " seed " + std::to_string(seed));
            QTemporaryDir dir;
            // Every save goes to the same path, so picture names are written
            // the same way each time.
            const QString out = dir.filePath(QStringLiteral("saved.cwr"));
            Session s(path);
            ASSERT_TRUE(s.loaded);
            const QByteArray opened = s.saved(out);
            const QStringList openedJson = s.json();
            EXPECT_FALSE(s.editor.history().canUndo()) << "opening starts an empty history";

            RandomEdits(s, seed, dir.path()).run(400);
            const qsizetype steps = s.editor.history().undoCount();
            EXPECT_GT(steps, 100);
            const QByteArray edited = s.saved(out);
            const QStringList editedJson = s.json();
            EXPECT_NE(edited, opened);
            EXPECT_EQ(s.editor.history().undoCount(), steps) << "saving keeps the history";

            while (s.editor.history().canUndo())
                ASSERT_TRUE(s.editor.history().undo().done);
            s.list.rowsRestored();
            s.prints.listsRestored();
            EXPECT_EQ(s.saved(out), opened);
            expectSameJson(s.json(), openedJson);

            while (s.editor.history().canRedo())
                ASSERT_TRUE(s.editor.history().redo().done);
            EXPECT_EQ(s.editor.history().undoCount(), steps);
            EXPECT_EQ(s.saved(out), edited);
            expectSameJson(s.json(), editedJson);
        }
    }
}
