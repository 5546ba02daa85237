#include "document/DocumentWriter.h"

#include <algorithm>

#include "base/CaseFormat.h"
#include "base/UiText.h"
#include "document/CaseSizeText.h"
#include "document/DocumentFileFormat.h"
#include "document/DocumentLineValues.h"
#include "document/DocumentPictures.h"
#include "document/StepLabels.h"
#include "document/TPrintsData.h"
#include "document/TextBlock.h"
#include "text/LineIO.h"
#include "text/SafeSave.h"

namespace cw {
using docfile::arcNumber;

namespace {

// Writes the lines of one document with the number formats of the file.
class Writer
{
public:
    Writer(const QHash<QString, QString> &storedNames, const QString &path, TextEncoding encoding)
        : m_out(encoding == TextEncoding::Utf8 ? docfile::kUnicodeLineBytes - 1
                                               : docfile::kLineBytes - 1,
            encoding)
        , m_storedNames(storedNames)
        , m_path(path)
    { }
    void line(const QString &text, const QString &field = QString())
    {
        m_out.writeLine(text, field);
    }
    void number(long long v) { line(QString::number(v)); }
    void numbers(std::initializer_list<long long> values)
    {
        QString s;
        for (long long v : values) {
            if (!s.isEmpty())
                s += QLatin1Char(' ');
            s += QString::number(v);
        }
        line(s);
    }
    void section(const char *name)
    {
        line(QString());
        line(QLatin1String(name));
    }
    void colour(ColorRef c) { line(QString::asprintf("%08x", unsigned(c))); }
    void font(const FontSpec &f, const QString &field)
    {
        line(QString::asprintf("%d %03d %d %d %d %d %d", int(f.color), f.size, f.charset,
            int(f.bold), int(f.italic), int(f.underline), int(f.strikeOut)));
        line(f.name, field);
    }
    // A picture's name as the document was read with it, when that name still
    // leads to the same file from where the document is written.
    QString pictureName(const QString &fileName) const
    {
        return pictureNameToWrite(fileName, m_path, m_storedNames);
    }
    void picture(const PicturePlacement &p, const QString &field)
    {
        line(pictureName(p.fileName), field);
        numbers({ p.printWidth, p.printHeight, p.posX, p.posY });
    }
    void layout(const ListLayout &l)
    {
        line(QString::asprintf("%1d %03d %03d %03d %03d %03d %03d %03d %03d", l.columnCount, l.posX,
            l.posY, l.width1, l.width2, l.width3, l.space1, l.space2, l.lineSpacing));
    }
    void item(const TPrintsData &d, const QString &where, bool disc)
    {
        const bool block = d.kind == PrintsTextBlock;
        number(d.kind);
        // A block's text follows the item's lines, in lines of its own.
        line(block ? QString() : d.text, UiText::tr("%1 テキスト").arg(where));
        // A disc item's arc follows its position on the same line: 1 the
        // top arc, 2 the bottom arc, 0 straight; its radius and angle.
        if (disc && !(d.arc == TPrintsData().arc))
            numbers({ d.textX, d.textY, arcNumber(d.arc.place), d.arc.radiusTenths,
                d.arc.angleTenths });
        else
            numbers({ d.textX, d.textY });
        font(d.font, UiText::tr("%1 フォント名").arg(where));
        number(d.angle);
        line(pictureName(d.fileName), UiText::tr("%1 ファイル名").arg(where));
        numbers({ d.transparent ? 1 : 0, (long long)int(d.transColor) });
        numbers({ d.posX, d.posY });
        numbers({ d.printWidth, d.printHeight });
        if (block) {
            const QStringList text = textBlockFileLines(d.text);
            line(textBlockHeaderLine(d, int(text.size())));
            for (const QString &l : text)
                line(l, UiText::tr("%1 テキスト").arg(where));
        }
    }
    void prints(const QList<TPrintsData> &list, const QString &caption, bool disc = false)
    {
        for (int i = 0; i < list.size(); ++i)
            item(list[i], UiText::tr("%1 %2番目の項目").arg(caption).arg(i + 1), disc);
    }
    void row(const TListData &r, int index)
    {
        numbers({ r.separate ? 1 : 0, r.kind });
        for (int c = 0; c < 3; ++c) {
            const TListCell &cell = r.columns[c];
            const QString where = UiText::tr("リスト %1行目 %2列目").arg(index + 1).arg(c + 1);
            number(cell.align);
            line(cell.text, where);
            font(cell.font, UiText::tr("%1 フォント名").arg(where));
        }
    }
    const LineWriter &out() const { return m_out; }

private:
    LineWriter m_out;
    const QHash<QString, QString> &m_storedNames;
    QString m_path;
};

// Whether either spine's text direction is chosen: the "[Case]" section
// then keeps them.
bool hasSpineText(const LabelDocument &doc)
{
    return doc.left.spineText != SpineText::CaseOwn || doc.right.spineText != SpineText::CaseOwn;
}

// A document of the CD jewel case is written as 1.06 or 1.07, as it always
// was; any other case format, a chosen spine text direction, any text block
// and a disc face need 1.08, which is always UTF-8.
bool needsCaseVersion(const LabelDocument &doc)
{
    return doc.caseFormat != jewelCaseFormat().id || hasSpineText(doc) || hasTextBlock(doc)
        || usesDiscFace(doc) || doc.bookletPages > 2;
}

TextEncoding encodingFor(const LabelDocument &doc, TextEncoding asked)
{
    return needsCaseVersion(doc) ? TextEncoding::Utf8 : asked;
}

// Writes every line of the document; the problems stay in the writer.
void writeDocument(Writer &w, const LabelDocument &doc, TextEncoding encoding)
{
    w.line(QLatin1String(docfile::kHeader));
    if (needsCaseVersion(doc)) {
        w.line(QLatin1String(docfile::kCaseVersion));
        w.section(docfile::kCaseSection);
        w.line(doc.caseFormat);
        if (formatOf(doc).custom)
            w.line(QStringLiteral("Size ") + formatCaseSizeLine(doc.caseSize));
        if (hasSpineText(doc))
            w.line(QStringLiteral("%1 %2 %3")
                       .arg(QLatin1String(docfile::kSpineTextWord))
                       .arg(int(doc.left.spineText))
                       .arg(int(doc.right.spineText)));
    } else {
        w.line(QLatin1String(
            encoding == TextEncoding::Utf8 ? docfile::kUnicodeVersion : docfile::kVersion));
    }

    w.section("[Print Setting]");
    w.layout(doc.listLayout[0]);
    w.layout(doc.listLayout[1]);

    w.section("[DPI]");
    w.numbers({ doc.dpiX, doc.dpiY });

    const SurfaceSettings &t = doc.top;
    w.section("[Top Label]");
    w.colour(t.backgroundColor1);
    w.colour(t.backgroundColor2);
    w.number(t.title.use);
    w.line(t.title.text, UiText::tr("%1 タイトル").arg(surfaceTabName(Surface::Top)));
    w.number(int(t.title.posMode));
    w.numbers({ t.title.customXUse, t.title.customX });
    w.numbers({ t.title.customYUse, t.title.customY });
    w.font(t.title.font, UiText::tr("%1 タイトルのフォント名").arg(surfaceTabName(Surface::Top)));
    w.number(t.picture.use);
    w.picture(t.picture, UiText::tr("%1 画像ファイル名").arg(surfaceTabName(Surface::Top)));
    w.numbers({ t.useCoverPrints, t.useInsidePrints });
    w.number(t.useList);

    w.section("[Top1Prints]");
    w.prints(doc.coverPrints, UiText::tr("任意印刷(前面)"));
    w.section("[Top2Prints]");
    w.prints(doc.insidePrints, UiText::tr("任意印刷(背面)"));

    const SurfaceSettings &b = doc.bottom;
    w.section("[Bottom Label]");
    w.colour(b.backgroundColor1);
    w.numbers({ b.title.use, b.titleSameAsFront });
    w.line(b.title.text, UiText::tr("%1 タイトル").arg(surfaceTabName(Surface::Bottom)));
    w.number(int(b.title.posMode));
    w.numbers({ b.title.customXUse, b.title.customX });
    w.numbers({ b.title.customYUse, b.title.customY });
    w.font(
        b.title.font, UiText::tr("%1 タイトルのフォント名").arg(surfaceTabName(Surface::Bottom)));
    w.numbers({ b.picture.use, b.pictureSameAsFront });
    w.picture(b.picture, UiText::tr("%1 画像ファイル名").arg(surfaceTabName(Surface::Bottom)));
    w.number(b.usePrints);
    w.number(b.useList);

    const SurfaceSettings &l = doc.left;
    w.section("[Left Title]");
    w.colour(l.backgroundColor1);
    w.numbers({ l.title.use, l.titleSameAsFront });
    w.line(l.title.text, UiText::tr("%1 タイトル").arg(surfaceTabName(Surface::Left)));
    w.number(int(l.title.posMode));
    w.number(l.title.offset);
    w.font(l.title.font, UiText::tr("%1 タイトルのフォント名").arg(surfaceTabName(Surface::Left)));
    w.number(l.picture.use);
    w.picture(l.picture, UiText::tr("%1 画像ファイル名").arg(surfaceTabName(Surface::Left)));

    const SurfaceSettings &r = doc.right;
    w.section("[Right Title]");
    w.colour(r.backgroundColor1);
    w.numbers({ r.title.use, r.titleSameAsFront, r.titleSameAsLeft });
    w.line(r.title.text, UiText::tr("%1 タイトル").arg(surfaceTabName(Surface::Right)));
    w.number(int(r.title.posMode));
    w.number(r.title.offset);
    w.font(r.title.font, UiText::tr("%1 タイトルのフォント名").arg(surfaceTabName(Surface::Right)));
    w.numbers({ r.picture.use, r.pictureSameAsLeft });
    w.picture(r.picture, UiText::tr("%1 画像ファイル名").arg(surfaceTabName(Surface::Right)));

    w.section("[BottomPrints]");
    w.prints(doc.backPrints, UiText::tr("任意印刷"));

    if (usesDiscFace(doc)) {
        const SurfaceSettings &d = doc.disc;
        const QString disc = surfaceTabName(Surface::Disc);
        w.section("[Disc]");
        w.colour(d.backgroundColor1);
        for (DiscText which : { DiscText::Title, DiscText::Subtitle }) {
            const TitleSettings &t = doc.discText(which);
            const QString name
                = which == DiscText::Title ? UiText::tr("タイトル") : UiText::tr("サブタイトル");
            w.number(t.use);
            w.line(t.text, disc + QLatin1Char(' ') + name);
            w.numbers({ int(t.arc.place), t.arc.radiusTenths, t.arc.angleTenths });
            w.numbers({ t.customXUse, t.customX });
            w.numbers({ t.customYUse, t.customY });
            w.font(t.font, UiText::tr("%1 %2のフォント名").arg(disc, name));
        }
        w.number(d.picture.use);
        w.picture(d.picture, UiText::tr("%1 画像ファイル名").arg(disc));
        w.numbers({ d.useList, d.usePrints });
        w.layout(doc.listLayout[2]);
        w.section("[DiscPrints]");
        w.prints(doc.discPrints, UiText::tr("任意印刷(ディスク)"), true);
    }

    // A booklet: its page count, then each inner page in order, page 2 first,
    // with its picture (only a page that has one: a booklet written before
    // pages had pictures reads and writes as it was) and its free prints.
    if (doc.bookletPages > 2) {
        w.section("[Booklet]");
        w.number(doc.bookletPages);
        for (int i = 0; i < doc.pages.size(); ++i) {
            const BookletPage &p = doc.pages[i];
            w.section("[Page]");
            w.colour(p.background);
            w.numbers({ p.useList, p.usePrints });
            w.layout(p.listLayout);
            const PicturePlacement &picture = p.picture;
            if (picture.use || !picture.fileName.isEmpty() || picture.printWidth != 0
                || picture.printHeight != 0 || picture.posX != 0 || picture.posY != 0) {
                w.section("[PagePicture]");
                w.number(picture.use);
                w.picture(picture, UiText::tr("%1 画像ファイル名").arg(bookletPageName(i + 2)));
            }
            w.section("[PagePrints]");
            w.prints(p.prints, UiText::tr("任意印刷(%1)").arg(bookletPageName(i + 2)));
        }
    }

    w.section("[List]");
    for (int i = 0; i < doc.listRows.size(); ++i)
        w.row(doc.listRows[i], i);
}

// A problem that only the Unicode form mends: characters outside CP932 (a
// line break is refused in either form).
bool outsideCp932(const LineWriter::Problem &p)
{
    return !p.unencodable.isEmpty() && !p.lineBreak;
}

} // namespace

DocumentBytes documentBytes(const LabelDocument &doc, const QString &path, TextEncoding asked)
{
    const TextEncoding encoding = encodingFor(doc, asked);
    Writer w(doc.pictureNamesAsStored, path.isEmpty() ? doc.fileName : path, encoding);
    writeDocument(w, doc, encoding);
    DocumentBytes out;
    if (w.out().ok()) {
        out.data = w.out().data();
    } else {
        out.problems = w.out().problemText();
        if (encoding == TextEncoding::Cp932)
            out.needsUnicode
                = std::any_of(w.out().problems().begin(), w.out().problems().end(), outsideCp932);
    }
    return out;
}

QList<UnicodeField> fieldsNeedingUnicode(const LabelDocument &doc)
{
    if (needsCaseVersion(doc))
        return {};
    Writer w(doc.pictureNamesAsStored, doc.fileName, TextEncoding::Cp932);
    writeDocument(w, doc, TextEncoding::Cp932);
    QList<UnicodeField> out;
    for (const LineWriter::Problem &p : w.out().problems()) {
        if (outsideCp932(p))
            out.append({ p.field, p.unencodable });
    }
    return out;
}

QString unicodeSaveQuestion()
{
    return UiText::tr(
        "この文書にはShift-JISで保存できない文字があります。新しい形式(1.07)で保存しますか？");
}

bool saveDocument(const LabelDocument &doc, const QString &path, MessageSink &messages,
    UnicodeSave unicode, ConfirmSink *confirm)
{
    const QString failed = docfile::fileMessage(
        path, QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)が記録できません"));
    DocumentBytes bytes = documentBytes(doc, path);
    if (!bytes.ok() && bytes.needsUnicode) {
        const bool allowed = unicode == UnicodeSave::Allow
            || (unicode == UnicodeSave::Ask && confirm
                && confirm->confirm(unicodeSaveQuestion(), UiText::tr("確認")));
        if (allowed)
            bytes = documentBytes(doc, path, TextEncoding::Utf8);
    }
    if (!bytes.ok()) {
        messages.showMessage(failed + QLatin1Char('\n') + bytes.problems);
        return false;
    }
    if (!saveFileSafely(path, bytes.data)) {
        messages.showMessage(failed);
        return false;
    }
    return true;
}

} // namespace cw
