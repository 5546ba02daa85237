#include "document/DocumentHistory.h"

#include <algorithm>
#include <vector>

namespace cw {

namespace {

// ---- What counts as a change --------------------------------------------------
// Render caches (a picture's bitmap, the part of it the bitmap holds, its
// stretched copy) and the list editor's cell flags are not document content:
// the renderer and the list editor rewrite them between changes.

bool sameRow(const TListData &a, const TListData &b)
{
    if (a.separate != b.separate || a.kind != b.kind)
        return false;
    for (size_t k = 0; k < 3; ++k) {
        const TListCell &x = a.columns[k], &y = b.columns[k];
        if (x.text != y.text || x.align != y.align || !(x.font == y.font))
            return false;
    }
    return true;
}

bool sameItem(const TPrintsData &a, const TPrintsData &b)
{
    return a.kind == b.kind && a.text == b.text && a.textX == b.textX && a.textY == b.textY
        && a.angle == b.angle && a.font == b.font && a.fileName == b.fileName
        && a.posX == b.posX && a.posY == b.posY && a.printWidth == b.printWidth
        && a.printHeight == b.printHeight && a.pixelWidth == b.pixelWidth
        && a.pixelHeight == b.pixelHeight && a.transparent == b.transparent
        && a.transColor == b.transColor && a.blockWidth == b.blockWidth
        && a.blockHeight == b.blockHeight && a.blockAlign == b.blockAlign
        && a.lineSpacing == b.lineSpacing && a.arc == b.arc;
}

// What lays the surfaces out: the reference resolution, the case format and
// a custom case's sizes, and the surface sizes that follow from them.
struct Resolution
{
    int dpiX = 0, dpiY = 0;
    QString caseFormat;
    CaseSize caseSize;
    SurfacePixels pixels;
};

bool sameResolution(const Resolution &a, const Resolution &b)
{
    const SurfacePixels &p = a.pixels, &q = b.pixels;
    return a.dpiX == b.dpiX && a.dpiY == b.dpiY && a.caseFormat == b.caseFormat
        && a.caseSize == b.caseSize && p.topWidth == q.topWidth && p.topHeight == q.topHeight
        && p.bottomWidth == q.bottomWidth && p.bottomHeight == q.bottomHeight
        && p.sideWidth == q.sideWidth && p.sideHeight == q.sideHeight;
}

Resolution resolutionOf(const LabelDocument &doc)
{
    return Resolution { doc.dpiX, doc.dpiY, doc.caseFormat, doc.caseSize, doc.surfacePixels };
}

// A booklet's page count and inner pages.
struct Booklet
{
    int count = 2;
    QList<BookletPage> pages;
};

bool samePages(const Booklet &a, const Booklet &b)
{
    if (a.count != b.count || a.pages.size() != b.pages.size())
        return false;
    for (qsizetype i = 0; i < a.pages.size(); ++i) {
        const BookletPage &x = a.pages.at(i), &y = b.pages.at(i);
        if (x.background != y.background || x.usePrints != y.usePrints || x.useList != y.useList
            || !(x.listLayout == y.listLayout) || !samePicturePlacement(x.picture, y.picture)
            || x.prints.size() != y.prints.size()
            || !std::equal(x.prints.cbegin(), x.prints.cend(), y.prints.cbegin(), sameItem))
            return false;
    }
    return true;
}

// ---- Sizes ----------------------------------------------------------------------

qsizetype textBytes(const QString &s)
{
    return s.size() * qsizetype(sizeof(QChar));
}

qsizetype entryBytes(const TListData &row)
{
    qsizetype n = sizeof(TListData);
    for (const TListCell &c : row.columns)
        n += textBytes(c.text) + textBytes(c.font.name);
    return n;
}

qsizetype entryBytes(const TPrintsData &item)
{
    return sizeof(TPrintsData) + textBytes(item.text) + textBytes(item.fileName)
        + textBytes(item.font.name);
}

qsizetype bookletBytes(const Booklet &b)
{
    qsizetype n = sizeof(Booklet);
    for (const BookletPage &p : b.pages) {
        n += sizeof(BookletPage) + textBytes(p.picture.fileName);
        for (const TPrintsData &item : p.prints)
            n += entryBytes(item);
    }
    return n;
}

qsizetype surfaceBytes(const SurfaceSettings &s)
{
    return sizeof(SurfaceSettings) + textBytes(s.title.text) + textBytes(s.title.font.name)
        + textBytes(s.picture.fileName) + textBytes(s.subtitle.text) + textBytes(s.subtitle.font.name);
}

// ---- Ranges of a list -------------------------------------------------------------

// A copy of a list in a buffer of its own (the entries' texts and pictures
// are still shared).
template <class T>
QList<T> ownCopy(const QList<T> &list)
{
    return QList<T>(list.cbegin(), list.cend());
}

// The entries [at, at + before.size()) of a list became `after`.
template <class T>
struct RangeChange
{
    qsizetype at = 0;
    QList<T> before;
    QList<T> after;

    qsizetype bytes() const
    {
        qsizetype n = 0;
        for (const T &e : before)
            n += entryBytes(e);
        for (const T &e : after)
            n += entryBytes(e);
        return n;
    }
};

// The one range where two lists differ: everything before it and after it is
// the same in both.
template <class T, class Same>
std::optional<RangeChange<T>> diffLists(const QList<T> &before, const QList<T> &after, Same same)
{
    const qsizetype n = before.size(), m = after.size();
    qsizetype head = 0;
    while (head < n && head < m && same(before.at(head), after.at(head)))
        ++head;
    if (head == n && head == m)
        return std::nullopt;
    qsizetype tail = 0;
    while (tail < n - head && tail < m - head
        && same(before.at(n - 1 - tail), after.at(m - 1 - tail)))
        ++tail;
    RangeChange<T> r;
    r.at = head;
    // Copies of their own: a step never shares the document's buffer.
    r.before = QList<T>(before.cbegin() + head, before.cend() - tail);
    r.after = QList<T>(after.cbegin() + head, after.cend() - tail);
    return r;
}

// Replaces `count` entries at `at` with `with`.
template <class T>
void replaceRange(QList<T> &list, qsizetype at, qsizetype count, const QList<T> &with)
{
    at = std::clamp<qsizetype>(at, 0, list.size());
    count = std::clamp<qsizetype>(count, 0, list.size() - at);
    if (count == with.size()) {
        for (qsizetype i = 0; i < count; ++i)
            list[at + i] = with.at(i);
        return;
    }
    if (at == 0 && count == list.size()) {
        list = ownCopy(with);
        return;
    }
    // A few entries are moved in place; many are rebuilt in one pass.
    if (count + with.size() <= 8) {
        list.remove(at, count);
        for (qsizetype i = 0; i < with.size(); ++i)
            list.insert(at + i, with.at(i));
        return;
    }
    QList<T> out;
    out.reserve(list.size() - count + with.size());
    for (qsizetype i = 0; i < at; ++i)
        out.append(list.at(i));
    out.append(with);
    for (qsizetype i = at + count; i < list.size(); ++i)
        out.append(list.at(i));
    list = std::move(out);
}

// Two steps of the same typing make one: the first's before, the second's
// after. Only ranges at the same place and of matching length join.
template <class T>
bool canJoin(const std::optional<RangeChange<T>> &first, const std::optional<RangeChange<T>> &second)
{
    return !first || !second
        || (first->at == second->at && first->after.size() == second->before.size());
}

template <class T>
void join(std::optional<RangeChange<T>> &first, std::optional<RangeChange<T>> &&second)
{
    if (!second)
        return;
    if (!first)
        first = std::move(second);
    else
        first->after = std::move(second->after);
}

template <class T>
struct Pair
{
    int index = 0;
    T before;
    T after;
};

template <class T>
void joinPairs(std::vector<Pair<T>> &first, std::vector<Pair<T>> &&second)
{
    for (Pair<T> &p : second) {
        auto it = std::find_if(
            first.begin(), first.end(), [&](const Pair<T> &q) { return q.index == p.index; });
        if (it != first.end())
            it->after = std::move(p.after);
        else
            first.push_back(std::move(p));
    }
}

QList<TPrintsData> &printsOf(LabelDocument &doc, int list)
{
    return list == 0 ? doc.coverPrints
        : list == 1  ? doc.insidePrints
        : list == 2  ? doc.backPrints
                     : doc.discPrints;
}

// The free-print lists as the history counts them (cover, inside, back, disc).
constexpr int kPrintsLists = 4;

// The page that shows list layout `index` and free-print list `list`.
PreviewPage listPage(int index)
{
    return index == 0 ? PreviewPage::Front : index == 1 ? PreviewPage::Back : PreviewPage::Disc;
}
PreviewPage printsPage(int list)
{
    return list == 2 ? PreviewPage::Back : list == 3 ? PreviewPage::Disc : PreviewPage::Front;
}

void addPage(QList<PreviewPage> &pages, PreviewPage page)
{
    if (!pages.contains(page))
        pages.append(page);
}

} // namespace

struct DocumentHistory::Snapshot
{
    std::array<SurfaceSettings, 5> surfaces;
    std::array<ListLayout, 3> layouts;
    Resolution resolution;
    QList<TListData> rows;
    std::array<QList<TPrintsData>, kPrintsLists> prints;
    Booklet booklet;
};

struct DocumentHistory::Step
{
    quint64 number = 0;
    QString label;
    QString typingKey;
    std::vector<Pair<SurfaceSettings>> surfaces;
    std::vector<Pair<ListLayout>> layouts;
    std::optional<Pair<Resolution>> resolution;
    std::optional<RangeChange<TListData>> rows;
    std::array<std::optional<RangeChange<TPrintsData>>, kPrintsLists> prints;
    std::optional<Pair<Booklet>> booklet;
    qsizetype bytes = 0;

    bool isEmpty() const
    {
        return surfaces.empty() && layouts.empty() && !resolution && !rows && !booklet
            && std::none_of(prints.begin(), prints.end(), [](const auto &p) { return bool(p); });
    }

    void measure()
    {
        bytes = sizeof(Step) + textBytes(label) + textBytes(typingKey);
        for (const auto &p : surfaces)
            bytes += surfaceBytes(p.before) + surfaceBytes(p.after);
        bytes += qsizetype(layouts.size() * sizeof(Pair<ListLayout>));
        if (resolution)
            bytes += sizeof(Pair<Resolution>);
        if (rows)
            bytes += rows->bytes();
        if (booklet)
            bytes += bookletBytes(booklet->before) + bookletBytes(booklet->after);
        for (const auto &p : prints) {
            if (p)
                bytes += p->bytes();
        }
    }
};

DocumentHistory::DocumentHistory(LabelDocument &doc, int capacity, qsizetype byteBudget)
    : m_doc(doc)
    , m_capacity(std::max(capacity, 1))
    , m_byteBudget(byteBudget)
{ }

DocumentHistory::~DocumentHistory() = default;

void DocumentHistory::openStep(const QString &label, const QString &typingKey, unsigned parts)
{
    if (m_depth++ > 0 || m_paused > 0)
        return;
    // The settings are small. A list is copied entry by entry into a buffer
    // of its own: were the copy to share the document's buffer, the first
    // write would move every entry of the document's list elsewhere.
    m_open = std::make_unique<Snapshot>();
    for (Surface s : kDocumentSurfaces)
        m_open->surfaces[size_t(s)] = m_doc.surface(s);
    m_open->layouts = m_doc.listLayout;
    m_open->resolution = resolutionOf(m_doc);
    if (parts & EditParts::ListRows)
        m_open->rows = ownCopy(m_doc.listRows);
    if (parts & EditParts::PrintItems) {
        for (int i = 0; i < kPrintsLists; ++i)
            m_open->prints[size_t(i)] = ownCopy(printsOf(m_doc, i));
    }
    if (parts & EditParts::Pages)
        m_open->booklet = Booklet { m_doc.bookletPages, ownCopy(m_doc.pages) };
    m_openLabel = label;
    m_openKey = typingKey;
    m_openParts = parts;
}

void DocumentHistory::closeStep()
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0 || !m_open)
        return;
    finishStep();
}

void DocumentHistory::finishStep()
{
    std::unique_ptr<Snapshot> before = std::move(m_open);
    auto step = std::make_unique<Step>();
    step->label = m_openLabel;
    step->typingKey = m_openKey;
    for (Surface s : kDocumentSurfaces) {
        const SurfaceSettings &was = before->surfaces[size_t(s)];
        const SurfaceSettings &now = m_doc.surface(s);
        if (!sameSurfaceSettings(was, now))
            step->surfaces.push_back({ int(s), was, now });
    }
    for (int i = 0; i < int(m_doc.listLayout.size()); ++i) {
        if (!(before->layouts[size_t(i)] == m_doc.listLayout[size_t(i)]))
            step->layouts.push_back({ i, before->layouts[size_t(i)], m_doc.listLayout[size_t(i)] });
    }
    const Resolution now = resolutionOf(m_doc);
    if (!sameResolution(before->resolution, now))
        step->resolution = Pair<Resolution> { 0, before->resolution, now };
    if (m_openParts & EditParts::ListRows)
        step->rows = diffLists(before->rows, m_doc.listRows, sameRow);
    if (m_openParts & EditParts::PrintItems) {
        for (int i = 0; i < kPrintsLists; ++i)
            step->prints[size_t(i)]
                = diffLists(before->prints[size_t(i)], printsOf(m_doc, i), sameItem);
    }
    if (m_openParts & EditParts::Pages) {
        Booklet now { m_doc.bookletPages, ownCopy(m_doc.pages) };
        if (!samePages(before->booklet, now))
            step->booklet = Pair<Booklet> { 0, std::move(before->booklet), std::move(now) };
    }
    before.reset();
    if (step->isEmpty())
        return; // nothing changed: typing goes on as it was

    Step *last = m_undo.empty() ? nullptr : m_undo.back().get();
    const bool typing = !step->typingKey.isEmpty();
    if (typing && m_typingOpen && last && last->typingKey == step->typingKey && m_redo.empty()
        && canJoin(last->rows, step->rows)) {
        bool joinable = true;
        for (int i = 0; i < kPrintsLists; ++i)
            joinable = joinable && canJoin(last->prints[size_t(i)], step->prints[size_t(i)]);
        if (joinable) {
            m_bytes -= last->bytes;
            joinPairs(last->surfaces, std::move(step->surfaces));
            joinPairs(last->layouts, std::move(step->layouts));
            if (step->resolution) {
                if (last->resolution)
                    last->resolution->after = step->resolution->after;
                else
                    last->resolution = step->resolution;
            }
            join(last->rows, std::move(step->rows));
            if (step->booklet) {
                if (last->booklet)
                    last->booklet->after = std::move(step->booklet->after);
                else
                    last->booklet = std::move(step->booklet);
            }
            for (int i = 0; i < kPrintsLists; ++i)
                join(last->prints[size_t(i)], std::move(step->prints[size_t(i)]));
            last->measure();
            m_bytes += last->bytes;
            notify();
            return;
        }
    }
    for (const auto &undone : m_redo)
        m_bytes -= undone->bytes;
    m_redo.clear();
    step->number = m_nextNumber++;
    step->measure();
    m_bytes += step->bytes;
    m_undo.push_back(std::move(step));
    m_typingOpen = typing;
    trim();
    notify();
}

void DocumentHistory::trim()
{
    while (!m_undo.empty()
        && (qsizetype(m_undo.size()) > m_capacity
            || (m_bytes > m_byteBudget && qsizetype(m_undo.size()) > kMinimumSteps))) {
        m_bytes -= m_undo.front()->bytes;
        // Undoing can now go back to the state after this step, no further.
        m_bottom = m_undo.front()->number;
        m_undo.pop_front();
    }
}

void DocumentHistory::notify()
{
    if (m_listener)
        m_listener();
}

QString DocumentHistory::undoLabel() const
{
    return m_undo.empty() ? QString() : m_undo.back()->label;
}

QString DocumentHistory::redoLabel() const
{
    return m_redo.empty() ? QString() : m_redo.back()->label;
}

HistoryChange DocumentHistory::apply(Step &step, bool forward)
{
    HistoryChange change;
    change.done = true;
    change.label = step.label;
    for (const auto &p : step.surfaces) {
        const Surface s = Surface(p.index);
        m_doc.surface(s) = forward ? p.after : p.before;
        change.surfaces[size_t(p.index)] = true;
        addPage(change.pages, surfacePage(s));
    }
    for (const auto &p : step.layouts) {
        m_doc.listLayout[size_t(p.index)] = forward ? p.after : p.before;
        change.layouts[size_t(p.index)] = true;
        addPage(change.pages, listPage(p.index));
    }
    if (step.resolution) {
        const Resolution &r = forward ? step.resolution->after : step.resolution->before;
        m_doc.dpiX = r.dpiX;
        m_doc.dpiY = r.dpiY;
        m_doc.caseFormat = r.caseFormat;
        m_doc.caseSize = r.caseSize;
        m_doc.surfacePixels = r.pixels;
        change.resolution = true;
        addPage(change.pages, PreviewPage::Front);
        addPage(change.pages, PreviewPage::Back);
    }
    if (step.rows) {
        const RangeChange<TListData> &r = *step.rows;
        if (forward)
            replaceRange(m_doc.listRows, r.at, r.before.size(), r.after);
        else
            replaceRange(m_doc.listRows, r.at, r.after.size(), r.before);
        change.listRows = true;
        addPage(change.pages, PreviewPage::Front);
        addPage(change.pages, PreviewPage::Back);
        if (m_doc.disc.useList)
            addPage(change.pages, PreviewPage::Disc);
    }
    for (int i = 0; i < kPrintsLists; ++i) {
        const auto &r = step.prints[size_t(i)];
        if (!r)
            continue;
        if (forward)
            replaceRange(printsOf(m_doc, i), r->at, r->before.size(), r->after);
        else
            replaceRange(printsOf(m_doc, i), r->at, r->after.size(), r->before);
        change.prints[size_t(i)] = true;
        addPage(change.pages, printsPage(i));
    }
    if (step.booklet) {
        // The booklet's sides come and go with its page count: every sheet
        // before and after is drawn again.
        const auto addSheets = [&change](const CaseFormat &format) {
            for (int sheet = 0; sheet < format.sheets.size(); ++sheet)
                addPage(change.pages, PreviewPage(sheet));
        };
        addSheets(formatOf(m_doc));
        const Booklet &b = forward ? step.booklet->after : step.booklet->before;
        m_doc.bookletPages = b.count;
        m_doc.pages = ownCopy(b.pages);
        change.booklet = true;
        addSheets(formatOf(m_doc));
    }
    return change;
}

HistoryChange DocumentHistory::undo()
{
    m_typingOpen = false;
    if (m_undo.empty() || m_depth > 0)
        return HistoryChange();
    std::unique_ptr<Step> step = std::move(m_undo.back());
    m_undo.pop_back();
    HistoryChange change = apply(*step, false);
    m_redo.push_back(std::move(step));
    notify();
    return change;
}

HistoryChange DocumentHistory::redo()
{
    m_typingOpen = false;
    if (m_redo.empty() || m_depth > 0)
        return HistoryChange();
    std::unique_ptr<Step> step = std::move(m_redo.back());
    m_redo.pop_back();
    HistoryChange change = apply(*step, true);
    m_undo.push_back(std::move(step));
    notify();
    return change;
}

void DocumentHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
    m_typingOpen = false;
    m_bottom = 0;
    m_saved = 0;
    notify();
}

quint64 DocumentHistory::position() const
{
    return m_undo.empty() ? m_bottom : m_undo.back()->number;
}

void DocumentHistory::markSaved()
{
    m_saved = position();
    // Typing after the save is a step of its own: merged into the saved
    // step, it would change what that step stands for.
    m_typingOpen = false;
}

bool DocumentHistory::isModified() const
{
    return position() != m_saved;
}

} // namespace cw
