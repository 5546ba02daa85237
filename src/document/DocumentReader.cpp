#include "document/DocumentReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include "base/BookletImposition.h"
#include "base/CaseFormat.h"
#include "base/Units.h"
#include "base/UiText.h"
#include "base/Units.h"
#include "document/CaseSizeText.h"
#include "document/DocumentEditor.h"
#include "document/DocumentFileFormat.h"
#include "document/DocumentLineValues.h"
#include "document/DocumentPictures.h"
#include "document/TPrintsData.h"
#include "document/TextBlock.h"
#include "pictures/PictureLoading.h"
#include "text/LineIO.h"
#include "tracklist/ListLayoutRules.h"

namespace cw {

namespace {

using namespace docfile;

// One line of a section or record: the first version that has it, what the
// line sets, and what an older file gets instead.
struct Field
{
    double since = 0;
    std::function<void(const QByteArray &)> read;
    std::function<void()> substitute;
    // The section may end before this line (a file written before the line
    // was added to its version): it and the lines after it take their
    // substitutes.
    bool mayEndSection = false;
};
using Fields = std::vector<Field>;

class Reader
{
public:
    Reader(DocumentEditor &editor, const QString &path)
        : m_ed(editor)
        , m_doc(editor.document())
        , m_path(path)
    {
        buildFields();
    }

    // Runs the section state machine over the lines after the version line.
    // False at a line that has no place in the file.
    bool run(LineReader &lines)
    {
        QByteArray raw;
        while (lines.readRawLine(raw)) {
            if (m_emptyLine) {
                const Section s = sectionOf(raw);
                if (s != Section::None) {
                    enter(s);
                    m_emptyLine = false;
                    continue;
                }
            }
            m_emptyLine = false;
            if (!take(raw))
                return false;
        }
        // A text block's lines end with the file only when all were there.
        return m_blockLines == kNoBlock && bookletComplete();
    }

    // The lines before run() ended with an empty line (the end of the
    // "[Case]" section): the next line may open a section.
    void startAfterEmptyLine() { m_emptyLine = true; }

    // Whether the booklet's sections agree: as many pages as the count
    // says, and a count of 4, 8, 12 or 16; or neither section.
    bool bookletComplete() const
    {
        if (m_bookletCount == 0)
            return m_doc.pages.isEmpty();
        return m_bookletCount > 2 && isBookletPageCount(m_bookletCount)
            && m_doc.pages.size() == m_bookletCount - 2;
    }
    int bookletCount() const { return m_bookletCount == 0 ? 2 : m_bookletCount; }

    double version = 0;
    TextEncoding encoding = TextEncoding::Cp932;
    int fileDpiX = 0;
    int fileDpiY = 0;

private:
    bool take(const QByteArray &raw)
    {
        if (m_blockLines != kNoBlock)
            return takeBlockLine(raw);
        if (m_section == Section::None) {
            if (!raw.isEmpty())
                return false;
            m_emptyLine = true;
            return true;
        }
        if (isListSection(m_section) && !m_inRecord) {
            if (raw.isEmpty()) {
                m_emptyLine = true;
                return true;
            }
            startRecord();
        }
        if (raw.isEmpty() && !m_inRecord && m_next < m_fields->size()
            && (*m_fields)[m_next].mayEndSection) {
            for (; m_next < m_fields->size(); ++m_next)
                if ((*m_fields)[m_next].substitute)
                    (*m_fields)[m_next].substitute();
            m_emptyLine = true;
            return true;
        }
        if (m_next >= m_fields->size()) {
            // A fixed section whose lines are complete.
            if (!raw.isEmpty())
                return false;
            m_emptyLine = true;
            return true;
        }
        (*m_fields)[m_next].read(raw);
        ++m_next;
        skipMissing();
        if (m_inRecord && m_next >= m_fields->size()) {
            if (m_section != Section::List && m_item.kind == PrintsTextBlock)
                m_blockLines = kBlockHeader; // the block's own lines follow
            else
                finishRecord();
        }
        return true;
    }

    static constexpr int kNoBlock = -1, kBlockHeader = -2;

    // A text block's header line, then its text lines; the item is complete
    // after the last. False for a line that is not what the block needs.
    bool takeBlockLine(const QByteArray &raw)
    {
        if (m_blockLines == kBlockHeader) {
            const std::optional<TextBlockHeader> h = parseTextBlockHeader(raw);
            if (!h)
                return false;
            m_item.blockWidth = h->width;
            m_item.blockHeight = h->height;
            m_item.blockAlign = h->align;
            m_item.lineSpacing = h->spacing;
            m_blockText.clear();
            m_blockLines = h->lines;
        } else {
            m_blockText.append(text(raw));
            --m_blockLines;
        }
        if (m_blockLines > 0)
            return true;
        m_blockLines = kNoBlock;
        const std::optional<QString> t = textFromBlockFileLines(m_blockText);
        if (!t)
            return false;
        m_item.text = *t;
        finishRecord();
        return true;
    }

    void enter(Section s)
    {
        m_section = s;
        m_inRecord = false;
        switch (s) {
        case Section::PrintSetting:
            m_fields = &m_printSetting;
            break;
        case Section::Dpi:
            m_fields = &m_dpi;
            break;
        case Section::TopLabel:
            m_fields = &m_topLabel;
            break;
        case Section::BottomLabel:
            m_fields = &m_bottomLabel;
            break;
        case Section::LeftTitle:
            m_fields = &m_leftTitle;
            break;
        case Section::RightTitle:
            m_fields = &m_rightTitle;
            break;
        case Section::Disc:
            // Only a 1.08 file has a disc section; in an older one its
            // lines have no place.
            m_fields = version > kCaseFrom - 1e-9 ? &m_disc : &m_none;
            break;
        case Section::DiscPrints:
        case Section::PagePrints:
            // So are the disc's free prints and a booklet page's: an older
            // file is refused at their first line, and a page's prints need
            // their page before them.
            if (version < kCaseFrom - 1e-9
                || (s == Section::PagePrints && m_doc.pages.isEmpty()))
                m_section = Section::None;
            m_fields = &m_none;
            return;
        case Section::Booklet:
            // Once, before its pages.
            m_fields = version > kCaseFrom - 1e-9 && m_bookletCount == 0 && m_doc.pages.isEmpty()
                ? &m_booklet
                : &m_none;
            break;
        case Section::PagePicture:
            // After its page, in a 1.08 file only.
            m_fields = version > kCaseFrom - 1e-9 && !m_doc.pages.isEmpty() ? &m_pagePicture
                                                                             : &m_none;
            break;
        case Section::Page:
            // Only as many pages as a count the booklet offers says.
            if (version > kCaseFrom - 1e-9 && m_bookletCount > 2
                && isBookletPageCount(m_bookletCount) && m_doc.pages.size() < m_bookletCount - 2) {
                m_doc.pages.append(BookletPage());
                m_fields = &m_page;
            } else {
                m_fields = &m_none;
            }
            break;
        default:
            m_fields = &m_none; // list sections choose their record on its first line
            return;
        }
        m_next = 0;
        skipMissing();
    }

    // Fields the file's version does not have take their substitutes.
    void skipMissing()
    {
        while (m_next < m_fields->size() && version < (*m_fields)[m_next].since - 1e-9) {
            if ((*m_fields)[m_next].substitute)
                (*m_fields)[m_next].substitute();
            ++m_next;
        }
    }

    void startRecord()
    {
        m_inRecord = true;
        m_next = 0;
        if (m_section == Section::List) {
            m_row = TListData();
            m_fields = &m_rowFields;
        } else {
            m_item = TPrintsData();
            m_itemPicture.clear();
            m_itemPlaced = m_itemSized = false;
            m_fields = m_section == Section::Top1Prints ? &m_coverItem : &m_otherItem;
        }
        skipMissing();
    }

    // The item's picture, at the size its printed size needs (sampled for
    // one with a transparent colour, whose colours must stay exact); the
    // position and size the file gives stay.
    void loadItemPicture()
    {
        if (m_itemPicture.isEmpty())
            return;
        const TPrintsData stored = m_item;
        const QSize wanted = m_itemSized ? QSize(stored.printWidth, stored.printHeight) : QSize();
        if (!loadPrintsPicture(m_item, m_itemPicture, m_ed.messages(), wanted))
            return;
        if (m_itemPlaced) {
            m_item.posX = stored.posX;
            m_item.posY = stored.posY;
        }
        if (m_itemSized) {
            m_item.printWidth = stored.printWidth;
            m_item.printHeight = stored.printHeight;
        }
    }

    void finishRecord()
    {
        m_inRecord = false;
        if (m_section != Section::List)
            loadItemPicture();
        switch (m_section) {
        case Section::List:
            m_doc.listRows.append(m_row);
            break;
        case Section::Top1Prints:
            m_doc.coverPrints.append(m_item);
            break;
        case Section::Top2Prints:
            m_doc.insidePrints.append(m_item);
            break;
        case Section::BottomPrints:
            m_doc.backPrints.append(m_item);
            break;
        case Section::DiscPrints:
            m_doc.discPrints.append(m_item);
            break;
        case Section::PagePrints:
            m_doc.pages.last().prints.append(m_item);
            break;
        default:
            break;
        }
        m_fields = &m_none;
        m_next = 0;
    }

    QString text(const QByteArray &raw) const { return decodeText(raw, encoding); }

    void readFontNumbers(const QByteArray &raw, FontSpec &f)
    {
        const std::vector<int> v = parseNumbers(raw, 7);
        f.color = ColorRef(quint32(v[0]));
        f.size = v[1];
        f.charset = std::clamp(v[2], 0, 255);
        f.bold = v[3] != 0;
        f.italic = v[4] != 0;
        f.underline = v[5] != 0;
        f.strikeOut = v[6] != 0;
    }

    QString picturePath(const QByteArray &raw) const
    {
        return readPictureName(text(raw), m_path, m_doc.pictureNamesAsStored);
    }

    // The lines every surface stores for its title font and picture.
    void addFont(Fields &f, Surface s)
    {
        f.push_back({ 0, [this](const QByteArray &raw) { readFontNumbers(raw, m_font); }, {} });
        f.push_back({ 0,
            [this, s](const QByteArray &raw) {
                m_font.name = text(raw);
                m_ed.setTitleFont(s, m_font);
            },
            {} });
    }
    void addPicture(Fields &f, Surface s)
    {
        addPicture(f, [s] { return PictureSlot(s); });
    }
    // `where` names the picture when its lines are read: a booklet page's
    // is the page read last.
    template <typename Where> void addPicture(Fields &f, Where where)
    {
        f.push_back({ 0,
            [this, where](const QByteArray &raw) {
                if (!raw.isEmpty())
                    m_ed.loadSurfacePicture(where(), picturePath(raw));
            },
            {} });
        f.push_back({ 0,
            [this, where](const QByteArray &raw) {
                const PictureSlot s = where();
                PicturePlacement *picture = pictureAt(m_doc, s);
                if (!picture)
                    return;
                const std::vector<int> v = parseNumbers(raw, 4);
                // The size stored is the size that was shown and printed:
                // it is kept as it is, with the aspect lock off meanwhile
                // (its rule is not exact for every size the program makes,
                // such as a picture loaded to cover its surface).
                const bool locked = picture->keepAspect;
                picture->keepAspect = false;
                m_ed.setPictureWidth(s, v[0]);
                m_ed.setPictureHeight(s, v[1]);
                pictureAt(m_doc, s)->keepAspect = locked;
                m_ed.setPicturePosX(s, v[2]);
                m_ed.setPicturePosY(s, v[3]);
            },
            {} });
    }
    void addColour(Fields &f, Swatch w)
    {
        f.push_back({ 1.02,
            [this, w](const QByteArray &raw) { m_ed.setBackgroundColor(w, parseColour(raw)); },
            [this, w] { m_ed.setBackgroundColor(w, kWhite); } });
    }
    void addCustomPosition(Fields &f, Surface s)
    {
        f.push_back({ 1.02,
            [this, s](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setTitleCustomXUse(s, v[0] != 0);
                m_ed.setTitleCustomX(s, v[1]);
            },
            [this, s] {
                m_ed.setTitleCustomXUse(s, false);
                m_ed.setTitleCustomX(s, 0);
            } });
        f.push_back({ 1.02,
            [this, s](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setTitleCustomYUse(s, v[0] != 0);
                m_ed.setTitleCustomY(s, v[1]);
            },
            [this, s] {
                m_ed.setTitleCustomYUse(s, false);
                m_ed.setTitleCustomY(s, 0);
            } });
    }
    void addTitleText(Fields &f, Surface s)
    {
        f.push_back(
            { 0, [this, s](const QByteArray &raw) { m_ed.setTitleText(s, text(raw)); }, {} });
    }
    void addPosMode(Fields &f, Surface s, double since)
    {
        f.push_back({ since,
            [this, s](const QByteArray &raw) {
                m_ed.setTitlePosMode(s, titlePositionFrom(parseNumber(raw)));
            },
            [this, s] { m_ed.setTitlePosMode(s, TitlePosition::Custom); } });
    }
    void addOffset(Fields &f, Surface s)
    {
        f.push_back(
            { 1.01, [this, s](const QByteArray &raw) { m_ed.setTitleOffset(s, parseNumber(raw)); },
                [this, s] { m_ed.setTitleOffset(s, 0); } });
    }

    // The disc section: its colour, its two texts and its picture.
    void buildDiscFields()
    {
        Fields &d = m_disc;
        addColour(d, Swatch::Disc);
        for (DiscText which : { DiscText::Title, DiscText::Subtitle }) {
            d.push_back({ 0,
                [this, which](const QByteArray &raw) {
                    m_ed.setDiscTextUse(which, parseNumber(raw) != 0);
                },
                {} });
            d.push_back({ 0,
                [this, which](
                    const QByteArray &raw) { m_ed.setDiscTextText(which, text(raw)); },
                {} });
            d.push_back({ 0,
                [this, which](const QByteArray &raw) {
                    const std::vector<int> v = parseNumbers(raw, 3);
                    m_ed.setDiscTextPlace(
                        which, discTextPlaceFrom(v[0]).value_or(DiscTextPlace::TopArc));
                    m_ed.setDiscTextArc(which, v[1], v[2]);
                },
                {} });
            // The position across is kept until the line down gives the other.
            d.push_back(
                { 0, [this](const QByteArray &raw) { m_customX = parseNumbers(raw, 2); }, {} });
            d.push_back({ 0,
                [this, which](const QByteArray &raw) {
                    const std::vector<int> v = parseNumbers(raw, 2);
                    m_ed.setDiscTextCustomPosition(
                        which, m_customX[0] != 0, m_customX[1], v[0] != 0, v[1]);
                },
                {} });
            d.push_back({ 0, [this](const QByteArray &raw) { readFontNumbers(raw, m_font); }, {} });
            d.push_back({ 0,
                [this, which](const QByteArray &raw) {
                    m_font.name = text(raw);
                    m_ed.setDiscTextFont(which, m_font);
                },
                {} });
        }
        d.push_back({ 0,
            [this](const QByteArray &raw) {
                m_ed.setPictureUse(Surface::Disc, parseNumber(raw) != 0);
            },
            {} });
        addPicture(d, Surface::Disc);
        // The track list and free prints came later in 1.08: a disc section
        // that ends before them has neither.
        d.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setUseList(Surface::Disc, v[0] != 0);
                m_ed.setUseDiscPrints(v[1] != 0);
            },
            [this] {
                m_ed.setUseList(Surface::Disc, false);
                m_ed.setUseDiscPrints(false);
            },
            true });
        d.push_back({ 0, [this](const QByteArray &raw) { readLayout(raw, kListSurfaceDisc); },
            [this] { m_doc.listLayout[kListSurfaceDisc] = defaultListLayout(kListSurfaceDisc); },
            true });
    }

    // The booklet's page count (at least 1, so that a count of 0 is not
    // taken for none), and each inner page's colour, switches and layout.
    void buildBookletFields()
    {
        m_booklet.push_back({ 0,
            [this](const QByteArray &raw) { m_bookletCount = std::max(parseNumber(raw), 1); },
            {} });
        m_page.push_back({ 0,
            [this](const QByteArray &raw) { m_doc.pages.last().background = parseColour(raw); },
            {} });
        m_page.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_doc.pages.last().useList = v[0] != 0;
                m_doc.pages.last().usePrints = v[1] != 0;
            },
            {} });
        m_page.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 9);
                std::array<int, 9> values {};
                std::copy(v.begin(), v.end(), values.begin());
                m_doc.pages.last().listLayout = layoutFromValues(values);
            },
            {} });
        // A page's picture, in a section of its own after the page's lines.
        const auto shownPage = [this] { return PictureSlot::ofPage(int(m_doc.pages.size()) + 1); };
        m_pagePicture.push_back({ 0,
            [this, shownPage](const QByteArray &raw) {
                m_ed.setPictureUse(shownPage(), parseNumber(raw) != 0);
            },
            {} });
        addPicture(m_pagePicture, shownPage);
    }

    void readLayout(const QByteArray &raw, int side)
    {
        // Files before 1.04 have eight numbers: the line spacing stays.
        const bool spacing = version >= 1.04 - 1e-9;
        const int count = spacing ? 9 : 8;
        const std::vector<int> v = parseNumbers(raw, count);
        std::array<int, 9> values = layoutValues(m_doc.listLayout[side]);
        std::copy(v.begin(), v.begin() + count, values.begin());
        m_doc.listLayout[side] = layoutFromValues(values);
    }

    void buildFields()
    {
        m_printSetting.push_back({ 0, [this](const QByteArray &raw) { readLayout(raw, 0); }, {} });
        m_printSetting.push_back({ 0, [this](const QByteArray &raw) { readLayout(raw, 1); }, {} });

        m_dpi.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                fileDpiX = v[0];
                fileDpiY = v[1];
            },
            {} });

        const Surface T = Surface::Top, B = Surface::Bottom, L = Surface::Left, R = Surface::Right;
        Fields &t = m_topLabel;
        addColour(t, Swatch::TopCover);
        addColour(t, Swatch::TopInside);
        t.push_back({ 0,
            [this](
                const QByteArray &raw) { m_ed.setTitleUse(Surface::Top, parseNumber(raw) != 0); },
            {} });
        addTitleText(t, T);
        addPosMode(t, T, 0);
        addCustomPosition(t, T);
        addFont(t, T);
        t.push_back({ 0,
            [this](
                const QByteArray &raw) { m_ed.setPictureUse(Surface::Top, parseNumber(raw) != 0); },
            {} });
        addPicture(t, T);
        t.push_back({ 1.03,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setUseCoverPrints(v[0] != 0);
                m_ed.setUseInsidePrints(v[1] != 0);
            },
            [this] {
                m_ed.setUseCoverPrints(false);
                m_ed.setUseInsidePrints(false);
            } });
        t.push_back({ 0,
            [this](const QByteArray &raw) { m_ed.setUseList(Surface::Top, parseNumber(raw) != 0); },
            {} });

        Fields &b = m_bottomLabel;
        addColour(b, Swatch::Bottom);
        b.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setTitleUse(Surface::Bottom, v[0] != 0);
                m_ed.setTitleSameAsFront(Surface::Bottom, v[1] != 0);
            },
            {} });
        addTitleText(b, B);
        addPosMode(b, B, 0);
        addCustomPosition(b, B);
        addFont(b, B);
        b.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setPictureUse(Surface::Bottom, v[0] != 0);
                m_ed.setPictureSameAsFront(v[1] != 0);
            },
            {} });
        addPicture(b, B);
        b.push_back(
            { 1.03, [this](const QByteArray &raw) { m_ed.setUsePrints(parseNumber(raw) != 0); },
                [this] { m_ed.setUsePrints(false); } });
        b.push_back({ 0,
            [this](
                const QByteArray &raw) { m_ed.setUseList(Surface::Bottom, parseNumber(raw) != 0); },
            {} });

        Fields &l = m_leftTitle;
        addColour(l, Swatch::Left);
        l.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setTitleUse(Surface::Left, v[0] != 0);
                m_ed.setTitleSameAsFront(Surface::Left, v[1] != 0);
            },
            {} });
        addTitleText(l, L);
        addPosMode(l, L, 1.06);
        addOffset(l, L);
        addFont(l, L);
        l.push_back({ 0,
            [this](const QByteArray &raw) {
                m_ed.setPictureUse(Surface::Left, parseNumber(raw) != 0);
            },
            {} });
        addPicture(l, L);

        Fields &r = m_rightTitle;
        addColour(r, Swatch::Right);
        r.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 3);
                m_ed.setTitleUse(Surface::Right, v[0] != 0);
                // The two links exclude each other: clear before setting, so
                // that the link the file names is not refused because of the
                // one the document had before.
                if (v[2] == 0)
                    m_ed.setTitleSameAsLeft(false);
                if (v[1] == 0)
                    m_ed.setTitleSameAsFront(Surface::Right, false);
                if (v[1] != 0)
                    m_ed.setTitleSameAsFront(Surface::Right, true);
                if (v[2] != 0)
                    m_ed.setTitleSameAsLeft(true);
            },
            {} });
        addTitleText(r, R);
        addPosMode(r, R, 1.06);
        addOffset(r, R);
        addFont(r, R);
        r.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_ed.setPictureUse(Surface::Right, v[0] != 0);
                m_ed.setPictureSameAsLeft(v[1] != 0);
            },
            {} });
        addPicture(r, R);

        buildDiscFields();
        buildBookletFields();

        buildItemFields(m_coverItem, 1.05);
        buildItemFields(m_otherItem, 1.04);

        m_rowFields.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_row.separate = v[0] != 0;
                m_row.kind = v[1] == 1 ? 1 : 0;
            },
            {} });
        for (int c = 0; c < 3; ++c) {
            m_rowFields.push_back({ 0,
                [this, c](const QByteArray &raw) { m_row.columns[c].align = parseNumber(raw); },
                {} });
            m_rowFields.push_back(
                { 0, [this, c](const QByteArray &raw) { m_row.columns[c].text = text(raw); }, {} });
            m_rowFields.push_back({ 0,
                [this, c](const QByteArray &raw) { readFontNumbers(raw, m_row.columns[c].font); },
                {} });
            m_rowFields.push_back({ 0,
                [this, c](const QByteArray &raw) { m_row.columns[c].font.name = text(raw); }, {} });
        }
    }

    void buildItemFields(Fields &f, double transparencySince)
    {
        // Only 0 and 1 name a kind, and from 1.08 also 2, a text block;
        // anything else is read as a text item.
        f.push_back({ 0,
            [this](const QByteArray &raw) {
                const int kind = parseNumber(raw);
                m_item.kind = kind == PrintsPicture ? PrintsPicture
                    : kind == PrintsTextBlock && version > kCaseFrom - 1e-9
                    ? PrintsTextBlock
                    : PrintsText;
            },
            {} });
        f.push_back({ 0, [this](const QByteArray &raw) { m_item.text = text(raw); }, {} });
        f.push_back({ 0,
            [this](const QByteArray &raw) {
                // A disc item may follow its position with its arc.
                const std::vector<int> v = parseNumbers(raw, 5);
                m_item.textX = v[0];
                m_item.textY = v[1];
                if (m_section == Section::DiscPrints)
                    m_item.arc = keptArc({ arcPlaceFrom(v[2]), v[3], v[4] });
            },
            {} });
        f.push_back(
            { 0, [this](const QByteArray &raw) { readFontNumbers(raw, m_item.font); }, {} });
        f.push_back({ 0, [this](const QByteArray &raw) { m_item.font.name = text(raw); }, {} });
        f.push_back({ 1.04, [this](const QByteArray &raw) { m_item.angle = parseNumber(raw); },
            [this] { m_item.angle = 0; } });
        f.push_back({ 0,
            [this](const QByteArray &raw) {
                // Loaded when the record is complete: its printed size says
                // how many of the picture's pixels it needs.
                if (!raw.isEmpty())
                    m_itemPicture = picturePath(raw);
            },
            {} });
        f.push_back({ transparencySince,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_item.transparent = v[0] != 0;
                m_item.transColor = ColorRef(quint32(v[1]));
            },
            [this] {
                m_item.transparent = false;
                m_item.transColor = kBlack;
            } });
        f.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_item.posX = v[0];
                m_item.posY = v[1];
                m_itemPlaced = true;
            },
            {} });
        f.push_back({ 0,
            [this](const QByteArray &raw) {
                const std::vector<int> v = parseNumbers(raw, 2);
                m_item.printWidth = v[0];
                m_item.printHeight = v[1];
                m_itemSized = true;
            },
            {} });
    }

    DocumentEditor &m_ed;
    LabelDocument &m_doc;
    QString m_path;

    Section m_section = Section::None;
    bool m_emptyLine = false;
    bool m_inRecord = false;
    const Fields *m_fields = &m_none;
    size_t m_next = 0;

    FontSpec m_font;
    TPrintsData m_item;
    QString m_itemPicture; // the item's picture file, loaded at the record's end
    bool m_itemPlaced = false; // the record gave the item's position
    bool m_itemSized = false; // and its printed size
    TListData m_row;
    // kNoBlock outside a text block's own lines, kBlockHeader before its header
    // line, else how many of its text lines are still to come.
    int m_blockLines = kNoBlock;
    QStringList m_blockText;

    Fields m_none, m_printSetting, m_dpi, m_topLabel, m_bottomLabel, m_leftTitle, m_rightTitle;
    Fields m_disc, m_booklet, m_page, m_pagePicture;
    int m_bookletCount = 0; // 0: no booklet section
    std::vector<int> m_customX = { 0, 0 };
    Fields m_coverItem, m_otherItem, m_rowFields;
};

// The lines of the [Case] section after its id: each optional line at most
// once and in this order, up to the blank line that ends the section (or the
// end of the file).
struct CaseSectionLines
{
    std::optional<CaseSize> size; // "Size 129.5 183.0 14.0"
    std::array<int, 2> spineText {}; // "SpineText 1 2"
    bool endedByBlankLine = false;
};

std::optional<CaseSectionLines> readCaseSectionLines(LineReader &lines)
{
    CaseSectionLines out;
    static const QByteArray keys[] = { QByteArrayLiteral("Size "), QByteArrayLiteral("SpineText ") };
    int next = 0; // the first key that may still come
    QByteArray line;
    while (lines.readRawLine(line)) {
        if (line.isEmpty()) {
            out.endedByBlankLine = true;
            break;
        }
        int key = next;
        while (key < int(std::size(keys)) && !line.startsWith(keys[key]))
            ++key;
        if (key == int(std::size(keys)))
            return std::nullopt;
        const QByteArray value = line.mid(keys[key].size());
        next = key + 1;
        if (key == 0) {
            out.size = parseCaseSizeLine(value);
            if (!out.size)
                return std::nullopt;
        } else {
            const std::optional<std::array<int, 2>> directions = docfile::parseSpineTextLine(line);
            if (!directions)
                return std::nullopt;
            out.spineText = *directions;
        }
    }
    return out;
}

// Whether every text block of a 1.08 file is whole and valid, checked before
// the file changes anything of the open document: walks the records of the
// free-print sections (ten lines each in a 1.08 file) and each block's own
// lines as the reader takes them. A record the file cuts short is left to the
// reader.
bool textBlocksValid(LineReader &lines)
{
    QByteArray raw;
    bool emptyBefore = false;
    bool inPrints = false;
    while (lines.readRawLine(raw)) {
        if (emptyBefore) {
            const Section s = sectionOf(raw);
            if (s != Section::None) {
                inPrints = isListSection(s) && s != Section::List;
                emptyBefore = false;
                continue;
            }
        }
        emptyBefore = raw.isEmpty();
        if (!inPrints || raw.isEmpty())
            continue;
        const bool block = parseNumber(raw) == PrintsTextBlock;
        for (int k = 0; k < 9; ++k) {
            if (!lines.readRawLine(raw))
                return true;
        }
        if (!block)
            continue;
        std::optional<TextBlockHeader> header;
        if (!lines.readRawLine(raw) || !(header = parseTextBlockHeader(raw)))
            return false;
        QStringList text;
        for (int k = 0; k < header->lines; ++k) {
            if (!lines.readRawLine(raw))
                return false;
            text.append(decodeText(raw, TextEncoding::Utf8));
        }
        if (!textFromBlockFileLines(text))
            return false;
    }
    return true;
}

} // namespace

LoadStatus readDocument(DocumentEditor &editor, const QByteArray &data, const QString &path,
    ProgressSink &progress, DocumentFileInfo *info)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readDocument(editor, buffer, path, progress, info);
}

LoadStatus readDocument(DocumentEditor &editor, QIODevice &device, const QString &path,
    ProgressSink &progress, DocumentFileInfo *info)
{
    MessageSink &messages = editor.messages();
    LabelDocument &doc = editor.document();
    auto fail = [&](const char *reason, LoadStatus status) {
        progress.hide();
        messages.showMessage(docfile::fileMessage(path, reason));
        return status;
    };

    const qint64 start = device.pos();
    LineReader lines(&device, docfile::kLineBytes);
    QByteArray raw;
    if (!lines.readRawLine(raw) || raw != docfile::kHeader)
        return fail(QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)はデータファイルではありません"),
            LoadStatus::NotADataFile);
    Reader reader(editor, path);
    // A picture named by several surfaces or items is decoded once.
    SharedPictureLoads sharedPictures;
    raw.clear();
    lines.readRawLine(raw);
    reader.version = parseVersion(raw);
    if (docfile::isNewerVersion(reader.version, docfile::kNewestVersion))
        return fail(QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)のバージョンが違います"),
            LoadStatus::WrongVersion);
    if (reader.version > docfile::kUnicodeFrom - 1e-9) {
        // The Unicode form: the same lines in UTF-8, longer.
        reader.encoding = TextEncoding::Utf8;
        lines.setMaxBytes(docfile::kUnicodeLineBytes);
    }
    const QByteArray version = raw;
    // Files before 1.08 are of the CD jewel case; a 1.08 file names its case
    // in the section before all others, so that a case this program does not
    // know is refused before anything of the document changes.
    QString caseFormat = jewelCaseFormat().id;
    CaseSize caseSize = defaultCaseSize();
    std::array<int, 2> spineText {};
    if (reader.version > docfile::kCaseFrom - 1e-9) {
        const auto damaged = [&] {
            progress.hide();
            messages.showMessage(docfile::fileMessage(
                path, QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)が異常です")));
            return LoadStatus::Damaged;
        };
        QByteArray blank, header, id;
        if (!lines.readRawLine(blank) || !blank.isEmpty() || !lines.readRawLine(header)
            || header != docfile::kCaseSection || !lines.readRawLine(id))
            return damaged();
        caseFormat = QString::fromUtf8(id);
        const CaseFormat *format = findCaseFormat(caseFormat);
        if (!format) {
            progress.hide();
            messages.showMessage(
                UiText::tr("ファイル(%1)のケースの種類(%2)はこのプログラムでは扱えません")
                    .arg(path, caseFormat));
            return LoadStatus::UnknownCaseFormat;
        }
        const std::optional<CaseSectionLines> more = readCaseSectionLines(lines);
        // A custom case is nothing without its sizes; any other has none.
        if (!more || more->size.has_value() != format->custom)
            return damaged();
        if (more->size)
            caseSize = *more->size;
        if (more->endedByBlankLine)
            reader.startAfterEmptyLine();
        spineText = more->spineText;
        if (!device.isSequential()) {
            // The whole file once more from its start; then on from here.
            const qint64 here = device.pos();
            bool valid = device.seek(start);
            if (valid) {
                LineReader scan(&device, docfile::kUnicodeLineBytes);
                valid = textBlocksValid(scan);
            }
            if (!device.seek(here) || !valid) {
                progress.hide();
                messages.showMessage(docfile::fileMessage(
                    path, QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)が異常です")));
                return LoadStatus::Damaged;
            }
        }
    }
    if (info) {
        info->version = cp932::decode(version);
        info->encoding = reader.encoding;
    }

    // The file is accepted: the lists are read afresh, and its values are
    // placed on its case's panels.
    const CaseFormat *formatBefore = &formatOf(doc);
    doc.caseFormat = caseFormat;
    doc.caseSize = caseSize;
    // Surfaces of another size: their pixel sizes follow before any value is
    // placed on them (formats are kept, so the same format is the same address).
    if (&formatOf(doc) != formatBefore)
        doc.surfacePixels = surfacePixelsAt(doc.dpiX, doc.dpiY, formatOf(doc));
    doc.left.spineText = SpineText(spineText[0]);
    doc.right.spineText = SpineText(spineText[1]);
    doc.pictureNamesAsStored.clear();
    doc.listRows.clear();
    doc.coverPrints.clear();
    doc.insidePrints.clear();
    doc.backPrints.clear();
    // A file without a disc section has an empty disc face.
    doc.disc = LabelDocument().disc;
    doc.discPrints.clear();
    doc.listLayout[kListSurfaceDisc] = defaultListLayout(kListSurfaceDisc);
    // And one without a booklet section is a front insert of two pages.
    doc.bookletPages = 2;
    doc.pages.clear();

    const bool complete = reader.run(lines) && !lines.readError();
    doc.bookletPages = reader.bookletCount();
    if (!complete) {
        // A booklet whose pages do not agree with its count is not kept.
        doc.bookletPages = 2;
        doc.pages.clear();
    }
    // The values are in pixels of the file's resolution.
    editor.convertToResolution(reader.fileDpiX, reader.fileDpiY);
    if (!complete) {
        // What was read stays, but the document no longer stands for the file.
        doc.fileName.clear();
        return fail(QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)が異常です"), LoadStatus::Damaged);
    }
    doc.fileName = path;
    progress.hide();
    return LoadStatus::Loaded;
}

LoadStatus loadDocument(
    DocumentEditor &editor, const QString &path, ProgressSink &progress, DocumentFileInfo *info)
{
    progress.ShowText(UiText::tr("セーブデータロード中"));
    QFile file(path);
    // Only regular files: a pipe would wait for a writer forever and a device
    // such as /dev/zero never ends.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        progress.hide();
        editor.messages().showMessage(docfile::fileMessage(
            path, QT_TRANSLATE_NOOP("cw::UiText", "ファイル(%1)がオープンできません")));
        return LoadStatus::CannotOpen;
    }
    return readDocument(editor, file, path, progress, info);
}

} // namespace cw
