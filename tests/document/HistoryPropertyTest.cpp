// Undo and redo as inverses: from each test document, a long random sequence
// of edits through the operations the windows use, all undone, then all
// redone, compared byte for byte with the files saved before.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "TestSupport.h"
#include "document/DiscTitles.h"
#include "document/DocumentEditor.h"
#include "prints/PrintsEditor.h"
#include "render/ChoosePrinter.h"
#include "tracklist/ListEditor.h"

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
    { }

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

    void one()
    {
        DocumentEditor &ed = m_s.editor;
        LabelDocument &doc = m_s.doc;
        const Surface s = surface();
        RecordingProgress progress;
        switch (pick(34)) {
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
            switch (pick(4)) {
            case 0: ed.setUseList(coin() ? Surface::Top : Surface::Bottom, coin()); break;
            case 1: ed.setUseCoverPrints(coin()); break;
            case 2: ed.setUseInsidePrints(coin()); break;
            default: ed.setUsePrints(coin()); break;
            }
            break;
        case 10: ed.setBackgroundColor(Swatch(pick(5)), ColorRef(pick(0x1000000))); break;
        case 11: ed.chooseSurfacePicture(s, picture(), progress); break;
        case 12: ed.setPictureUse(s, coin()); break;
        case 13:
            switch (pick(4)) {
            case 0: ed.commitPictureWidth(s, number(3000)); break;
            case 1: ed.commitPictureHeight(s, number(3000)); break;
            case 2: ed.commitPicturePosX(s, number(500)); break;
            default: ed.commitPicturePosY(s, number(500)); break;
            }
            break;
        case 14:
            coin() ? ed.applySizeMode(s, PictureSizing(pick(3)))
                   : ed.applyAlignMode(s, PictureAlignment(pick(7)));
            break;
        case 15: ed.setKeepAspect(s, coin()); break;
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
            ListLayout &l = doc.listLayout[size_t(pick(2))];
            l.columnCount = 1 + pick(3);
            l.posX = pick(30);
            l.width2 = 20 + pick(60);
            l.lineSpacing = pick(20);
            break;
        }
        case 27:
            m_s.prints.open(PrintsList(pick(3)));
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
            case 0: m_s.prints.setKind(coin()); break;
            case 1: m_s.prints.setText(word()); break;
            case 2: m_s.prints.setTextX(pick(120)); break;
            case 3: m_s.prints.setAngle(pick(720)); break;
            default: m_s.prints.setTextY(pick(120)); break;
            }
            break;
        case 30: m_s.prints.setFont(font()); break;
        case 31: m_s.prints.loadPicture(picture(), m_s.messages, progress); break;
        case 32:
            switch (pick(4)) {
            case 0: m_s.prints.setPrintWidth(1 + pick(1000), coin()); break;
            case 1: m_s.prints.setPrintHeight(1 + pick(1000), coin()); break;
            case 2: m_s.prints.setPosX(pick(1000)); break;
            default: m_s.prints.setPosY(pick(1000)); break;
            }
            break;
        default: coin() ? m_s.prints.setTransparent(coin()) : m_s.prints.setTransColor(ColorRef(pick(0x1000000))); break;
        }
    }

    Session &m_s;
    std::mt19937 m_rng;
    QString m_folder;
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
            EXPECT_FALSE(s.editor.history().canUndo()) << "opening starts an empty history";

            RandomEdits(s, seed, dir.path()).run(400);
            const qsizetype steps = s.editor.history().undoCount();
            EXPECT_GT(steps, 100);
            const QByteArray edited = s.saved(out);
            EXPECT_NE(edited, opened);
            EXPECT_EQ(s.editor.history().undoCount(), steps) << "saving keeps the history";

            while (s.editor.history().canUndo())
                ASSERT_TRUE(s.editor.history().undo().done);
            s.list.rowsRestored();
            s.prints.listsRestored();
            EXPECT_EQ(s.saved(out), opened);

            while (s.editor.history().canRedo())
                ASSERT_TRUE(s.editor.history().redo().done);
            EXPECT_EQ(s.editor.history().undoCount(), steps);
            EXPECT_EQ(s.saved(out), edited);
        }
    }
}
