#include "base/CaseFormat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSet>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "base/BookletFormat.h"
#include "base/UiText.h"

namespace cw {

namespace {

constexpr PanelRole kRoles[]
    = { PanelRole::Cover, PanelRole::Inside, PanelRole::Back, PanelRole::SpineLeft,
          PanelRole::SpineRight, PanelRole::Blank };

bool roleFromName(const QString &name, PanelRole *role)
{
    for (PanelRole r : kRoles) {
        if (panelRoleName(r) == name) {
            *role = r;
            return true;
        }
    }
    return false;
}

// Reads one format table entry; on failure sets `error` to what is wrong.
class TableReader
{
public:
    QString error;

    bool fail(const QString &where, const QString &what)
    {
        if (error.isEmpty())
            error = where + QStringLiteral(": ") + what;
        return false;
    }

    static bool positive(const QJsonValue &v) { return v.isDouble() && v.toDouble() > 0; }

    bool readPanel(const QJsonObject &o, const QString &where, CasePanel *p)
    {
        p->id = o.value(QStringLiteral("id")).toString();
        if (p->id.isEmpty())
            return fail(where, QStringLiteral("a panel has no id"));
        const QString at = where + QLatin1Char('/') + p->id;
        if (!roleFromName(o.value(QStringLiteral("role")).toString(), &p->role))
            return fail(at, QStringLiteral("unknown role"));
        const QJsonValue x = o.value(QStringLiteral("xMm")), y = o.value(QStringLiteral("yMm"));
        if (!x.isDouble() || !y.isDouble() || x.toDouble() < 0 || y.toDouble() < 0)
            return fail(at, QStringLiteral("position missing or negative"));
        if (!positive(o.value(QStringLiteral("widthMm")))
            || !positive(o.value(QStringLiteral("heightMm"))))
            return fail(at, QStringLiteral("size missing or not positive"));
        p->xMm = x.toDouble();
        p->yMm = y.toDouble();
        p->widthMm = o.value(QStringLiteral("widthMm")).toDouble();
        p->heightMm = o.value(QStringLiteral("heightMm")).toDouble();

        const QString shape = o.value(QStringLiteral("shape")).toString(QStringLiteral("rectangle"));
        if (shape == QLatin1String("disc")) {
            p->shape = PanelShape::Disc;
            p->holeMm = o.value(QStringLiteral("holeMm")).toDouble();
            if (p->holeMm < 0 || p->holeMm >= qMin(p->widthMm, p->heightMm))
                return fail(at, QStringLiteral("hole does not fit the disc"));
        } else if (shape != QLatin1String("rectangle")) {
            return fail(at, QStringLiteral("unknown shape"));
        }

        for (const QJsonValue &e : o.value(QStringLiteral("outer")).toArray()) {
            const QString edge = e.toString();
            if (edge == QLatin1String("left"))
                p->outer.left = true;
            else if (edge == QLatin1String("top"))
                p->outer.top = true;
            else if (edge == QLatin1String("right"))
                p->outer.right = true;
            else if (edge == QLatin1String("bottom"))
                p->outer.bottom = true;
            else
                return fail(at, QStringLiteral("unknown edge"));
        }

        const QString run = o.value(QStringLiteral("titleRun")).toString(QStringLiteral("across"));
        if (run == QLatin1String("up"))
            p->titleRun = TitleRun::Up;
        else if (run == QLatin1String("down"))
            p->titleRun = TitleRun::Down;
        else if (run != QLatin1String("across"))
            return fail(at, QStringLiteral("unknown title direction"));
        const QString inset = o.value(QStringLiteral("titleInset")).toString(QStringLiteral("edges"));
        if (inset == QLatin1String("folds"))
            p->titleInset = TitleInset::Folds;
        else if (inset != QLatin1String("edges"))
            return fail(at, QStringLiteral("unknown title inset"));
        if (o.contains(QStringLiteral("titleCellMaxMm"))) {
            if (!positive(o.value(QStringLiteral("titleCellMaxMm"))) || p->titleRun == TitleRun::Across)
                return fail(at, QStringLiteral("title cell cap not positive or not on a spine"));
            p->titleCellMaxMm = o.value(QStringLiteral("titleCellMaxMm")).toDouble();
        }

        p->pictureFollows = o.value(QStringLiteral("pictureFollows")).toString();
        for (const QJsonValue &f : o.value(QStringLiteral("titleFollows")).toArray())
            p->titleFollows << f.toString();

        if (o.contains(QStringLiteral("list"))) {
            const QJsonObject l = o.value(QStringLiteral("list")).toObject();
            p->listIndex = l.value(QStringLiteral("index")).toInt(-1);
            p->listWidthMm = l.value(QStringLiteral("widthMm")).toInt();
            p->listHeightMm = l.value(QStringLiteral("heightMm")).toInt();
            if (p->listIndex < 0 || p->listIndex > 1)
                return fail(at, QStringLiteral("list index out of range"));
            if (p->listWidthMm <= 0 || p->listHeightMm <= 0 || p->listWidthMm > p->widthMm
                || p->listHeightMm > p->heightMm)
                return fail(at, QStringLiteral("list does not fit the panel"));
        }
        if (p->role == PanelRole::Blank
            && (p->listIndex >= 0 || !p->pictureFollows.isEmpty() || !p->titleFollows.isEmpty()))
            return fail(at, QStringLiteral("a blank panel carries nothing"));
        return true;
    }

    bool readSheet(const QJsonObject &o, const QString &where, CaseSheet *s)
    {
        s->id = o.value(QStringLiteral("id")).toString();
        if (s->id.isEmpty())
            return fail(where, QStringLiteral("a sheet has no id"));
        const QString at = where + QLatin1Char('/') + s->id;
        if (!positive(o.value(QStringLiteral("widthMm")))
            || !positive(o.value(QStringLiteral("heightMm"))))
            return fail(at, QStringLiteral("size missing or not positive"));
        s->widthMm = o.value(QStringLiteral("widthMm")).toDouble();
        s->heightMm = o.value(QStringLiteral("heightMm")).toDouble();
        const QString centre = o.value(QStringLiteral("centre")).toString(QStringLiteral("panels"));
        if (centre == QLatin1String("sheet"))
            s->centreBySheet = true;
        else if (centre != QLatin1String("panels"))
            return fail(at, QStringLiteral("unknown centring"));
        const QString right = o.value(QStringLiteral("rightEdge")).toString(QStringLiteral("last"));
        if (right == QLatin1String("beyond"))
            s->rightEdgeBeyond = true;
        else if (right != QLatin1String("last"))
            return fail(at, QStringLiteral("unknown right edge"));
        const QString marks = o.value(QStringLiteral("marks")).toString(QStringLiteral("fit"));
        if (marks == QLatin1String("whole"))
            s->wholeMarks = true;
        else if (marks != QLatin1String("fit"))
            return fail(at, QStringLiteral("unknown trim marks"));
        if (o.contains(QStringLiteral("printedWhen"))) {
            if (o.value(QStringLiteral("printedWhen")).toString() != QLatin1String("inside"))
                return fail(at, QStringLiteral("unknown printing condition"));
            s->printedWithInside = true;
        }
        const QJsonArray panels = o.value(QStringLiteral("panels")).toArray();
        if (panels.isEmpty())
            return fail(at, QStringLiteral("no panels"));
        for (const QJsonValue &v : panels) {
            CasePanel p;
            if (!readPanel(v.toObject(), at, &p))
                return false;
            // A hundredth of a millimetre of slack for the table's decimals.
            if (p.xMm + p.widthMm > s->widthMm + 0.01 || p.yMm + p.heightMm > s->heightMm + 0.01)
                return fail(at + QLatin1Char('/') + p.id, QStringLiteral("panel off its sheet"));
            s->panels << p;
        }
        return true;
    }

    bool readFormat(const QJsonObject &o, CaseFormat *f)
    {
        f->id = o.value(QStringLiteral("id")).toString();
        if (f->id.isEmpty())
            return fail(QStringLiteral("table"), QStringLiteral("a format has no id"));
        const QJsonObject name = o.value(QStringLiteral("name")).toObject();
        f->nameJa = name.value(QStringLiteral("ja")).toString();
        f->nameEn = name.value(QStringLiteral("en")).toString();
        if (f->nameJa.isEmpty() || f->nameEn.isEmpty())
            return fail(f->id, QStringLiteral("name missing in a language"));
        const QJsonArray preview = o.value(QStringLiteral("previewMm")).toArray();
        if (preview.size() != 2 || !positive(preview.at(0)) || !positive(preview.at(1)))
            return fail(f->id, QStringLiteral("preview size missing"));
        f->previewWidthMm = preview.at(0).toDouble();
        f->previewHeightMm = preview.at(1).toDouble();
        const QJsonArray sheets = o.value(QStringLiteral("sheets")).toArray();
        if (sheets.isEmpty())
            return fail(f->id, QStringLiteral("no sheets"));
        for (const QJsonValue &v : sheets) {
            CaseSheet s;
            if (!readSheet(v.toObject(), f->id, &s))
                return false;
            if (s.widthMm > f->previewWidthMm || s.heightMm > f->previewHeightMm)
                return fail(f->id + QLatin1Char('/') + s.id,
                    QStringLiteral("sheet larger than the preview page"));
            if (f->sheetIndex(s.id) >= 0)
                return fail(f->id + QLatin1Char('/') + s.id, QStringLiteral("sheet id repeated"));
            if (!f->sheets.isEmpty() && f->sheets.last().printedWithInside)
                return fail(f->id + QLatin1Char('/') + s.id,
                    QStringLiteral("a sheet follows the inside sheet"));
            f->sheets << s;
        }
        const QJsonValue custom = o.value(QStringLiteral("custom"));
        if (!custom.isUndefined() && !custom.isBool())
            return fail(f->id, QStringLiteral("custom is not true or false"));
        f->custom = custom.toBool();
        const QJsonValue booklet = o.value(QStringLiteral("booklet"));
        if (!booklet.isUndefined() && !booklet.isBool())
            return fail(f->id, QStringLiteral("booklet is not true or false"));
        f->booklet = booklet.toBool();
        return checkInsideSheet(*f) && checkPanels(*f) && (!f->custom || checkCustom(f))
            && (!f->booklet || checkBooklet(*f));
    }

    // A booklet's pages are laid out as its front sheet's two faces.
    bool checkBooklet(const CaseFormat &f)
    {
        if (bookletFrontSheet(f))
            return true;
        return fail(f.id,
            QStringLiteral("a booklet needs its inside and cover panels side by side, alone on a "
                           "sheet"));
    }

    // A custom entry is a wrap the user's sizes can redraw: a cover panel of
    // width P0, a left spine of width S0, every panel H0 high from the top,
    // and every x edge one of 0, P0, P0+S0, 2P0+S0. Its sizes are its
    // default sizes, within what the user may type.
    bool checkCustom(CaseFormat *f)
    {
        const CasePanel *cover = f->panel(PanelRole::Cover);
        const CasePanel *spine = f->panel(PanelRole::SpineLeft);
        if (!cover || !spine)
            return fail(f->id, QStringLiteral("a custom case needs a cover and a left spine"));
        f->size = { int(std::lround(cover->widthMm * 10)), int(std::lround(cover->heightMm * 10)),
            int(std::lround(spine->widthMm * 10)) };
        if (!isValidCaseSize(f->size))
            return fail(f->id, QStringLiteral("custom sizes out of range"));
        const double p = f->size.panelWidth / 10.0, sp = f->size.spineWidth / 10.0;
        const double edges[] = { 0.0, p, p + sp, 2 * p + sp };
        auto onEdge = [&](double x) {
            return std::any_of(std::begin(edges), std::end(edges),
                [x](double e) { return std::abs(x - e) < 0.01; });
        };
        const double h = f->size.panelHeight / 10.0;
        for (const CaseSheet &s : f->sheets) {
            if (!onEdge(s.widthMm) || std::abs(s.heightMm - h) >= 0.01)
                return fail(f->id + QLatin1Char('/') + s.id,
                    QStringLiteral("sheet not on the custom case's edges"));
            for (const CasePanel &panel : s.panels) {
                if (!onEdge(panel.xMm) || !onEdge(panel.xMm + panel.widthMm) || panel.yMm != 0
                    || std::abs(panel.heightMm - h) >= 0.01 || panel.shape != PanelShape::Rectangle)
                    return fail(f->id + QLatin1Char('/') + panel.id,
                        QStringLiteral("panel not on the custom case's edges"));
            }
        }
        return true;
    }

    // The inside sheet is the last one and the reverse of the first: of its
    // size and centred as it is, so that it lies on the page where the first
    // one does.
    bool checkInsideSheet(const CaseFormat &f)
    {
        const CaseSheet &inside = f.sheets.last();
        if (!inside.printedWithInside)
            return true;
        const CaseSheet &first = f.sheets.first();
        if (&first == &inside)
            return fail(f.id + QLatin1Char('/') + inside.id,
                QStringLiteral("the inside sheet has no sheet to back"));
        if (inside.widthMm != first.widthMm || inside.heightMm != first.heightMm
            || inside.centreBySheet != first.centreBySheet
            || inside.rightEdgeBeyond != first.rightEdgeBeyond)
            return fail(f.id + QLatin1Char('/') + inside.id,
                QStringLiteral("the inside sheet is not placed as the sheet it backs"));
        return true;
    }

    // Ids, roles and list indexes are unique within a format, and a panel
    // follows only panels of its own format.
    bool checkPanels(const CaseFormat &f)
    {
        QSet<QString> ids;
        QSet<int> roles, lists;
        for (const CaseSheet &s : f.sheets) {
            for (const CasePanel &p : s.panels) {
                if (ids.contains(p.id))
                    return fail(f.id + QLatin1Char('/') + p.id, QStringLiteral("panel id repeated"));
                if (p.role != PanelRole::Blank && roles.contains(int(p.role)))
                    return fail(f.id + QLatin1Char('/') + p.id, QStringLiteral("role repeated"));
                if (p.listIndex >= 0 && lists.contains(p.listIndex))
                    return fail(f.id + QLatin1Char('/') + p.id, QStringLiteral("list repeated"));
                ids.insert(p.id);
                roles.insert(int(p.role));
                lists.insert(p.listIndex);
            }
        }
        for (const CaseSheet &s : f.sheets) {
            for (const CasePanel &p : s.panels) {
                QStringList follows = p.titleFollows;
                if (!p.pictureFollows.isEmpty())
                    follows << p.pictureFollows;
                for (const QString &id : follows) {
                    if (!ids.contains(id) || id == p.id)
                        return fail(f.id + QLatin1Char('/') + p.id,
                            QStringLiteral("follows an unknown panel"));
                }
            }
        }
        return true;
    }
};

const QVector<CaseFormat> &loadedFormats()
{
    static const QVector<CaseFormat> formats = [] {
        QFile file(QStringLiteral(":/casewright/case-formats.json"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The case format table is missing from the program.");
        QString error;
        QVector<CaseFormat> read = parseCaseFormats(file.readAll(), &error);
        const bool hasJewel = std::any_of(read.cbegin(), read.cend(),
            [](const CaseFormat &f) { return f.id == QLatin1String("cd-jewel"); });
        if (!hasJewel)
            qFatal("The case format table is invalid: %s", qPrintable(error));
        return read;
    }();
    return formats;
}

// Maps an x of a custom entry drawn at `from` to the same edge at `to`, in
// tenths of a millimetre (checkCustom() made every x one of the four edges).
int mapEdge(double xMm, const CaseSize &from, const CaseSize &to)
{
    const int fromEdges[] = { 0, from.panelWidth, from.panelWidth + from.spineWidth,
        2 * from.panelWidth + from.spineWidth };
    const int toEdges[]
        = { 0, to.panelWidth, to.panelWidth + to.spineWidth, 2 * to.panelWidth + to.spineWidth };
    const int tenths = int(std::lround(xMm * 10));
    for (int i = 3; i >= 0; --i)
        if (tenths >= fromEdges[i])
            return toEdges[i];
    return 0;
}

CaseFormat buildCustom(const CaseFormat &entry, const CaseSize &size)
{
    CaseFormat f = entry;
    f.size = size;
    const double height = size.panelHeight / 10.0;
    QSet<QString> dropped;
    for (CaseSheet &s : f.sheets) {
        s.widthMm = mapEdge(s.widthMm, entry.size, size) / 10.0;
        s.heightMm = height;
        QVector<CasePanel> kept;
        for (CasePanel p : s.panels) {
            const int left = mapEdge(p.xMm, entry.size, size);
            const int right = mapEdge(p.xMm + p.widthMm, entry.size, size);
            if (right <= left) {
                dropped.insert(p.id);
                continue;
            }
            p.xMm = left / 10.0;
            p.widthMm = (right - left) / 10.0;
            p.heightMm = height;
            if (p.listIndex >= 0) {
                p.listWidthMm = (right - left - 20) / 10;
                p.listHeightMm = (size.panelHeight - 25) / 10;
            }
            kept << p;
        }
        s.panels = kept;
    }
    for (CaseSheet &s : f.sheets) {
        for (CasePanel &p : s.panels) {
            if (dropped.contains(p.pictureFollows))
                p.pictureFollows.clear();
            p.titleFollows.removeIf([&](const QString &id) { return dropped.contains(id); });
        }
    }
    f.previewWidthMm = (2 * size.panelWidth + size.spineWidth) / 10.0 + 36.0;
    f.previewHeightMm = height + 40.0;
    return f;
}

} // namespace

bool isValidCaseSize(const CaseSize &size)
{
    auto panel = [](int t) { return t >= kCasePanelMinTenths && t <= kCasePanelMaxTenths; };
    return panel(size.panelWidth) && panel(size.panelHeight)
        && size.spineWidth >= kCaseSpineMinTenths && size.spineWidth <= kCaseSpineMaxTenths;
}

const CaseFormat &customCaseFormat(const CaseFormat &entry, const CaseSize &size)
{
    const CaseSize s { std::clamp(size.panelWidth, kCasePanelMinTenths, kCasePanelMaxTenths),
        std::clamp(size.panelHeight, kCasePanelMinTenths, kCasePanelMaxTenths),
        std::clamp(size.spineWidth, kCaseSpineMinTenths, kCaseSpineMaxTenths) };
    // Pages may be drawn on other threads; a map's entries never move.
    static QMutex mutex;
    static std::map<std::tuple<QString, int, int, int>, CaseFormat> built;
    const QMutexLocker lock(&mutex);
    const auto key = std::make_tuple(entry.id, s.panelWidth, s.panelHeight, s.spineWidth);
    auto it = built.find(key);
    if (it == built.end())
        it = built.emplace(key, buildCustom(entry, s)).first;
    return it->second;
}

CaseSize defaultCaseSize()
{
    for (const CaseFormat &f : caseFormats())
        if (f.custom)
            return f.size;
    return CaseSize();
}

QString CaseFormat::name() const
{
    return currentUiLanguage() == UiLanguage::English ? nameEn : nameJa;
}

const CasePanel *CaseFormat::panel(PanelRole role) const
{
    for (const CaseSheet &s : sheets)
        for (const CasePanel &p : s.panels)
            if (p.role == role)
                return &p;
    return nullptr;
}

const CasePanel *CaseFormat::listPanel(int index) const
{
    for (const CaseSheet &s : sheets)
        for (const CasePanel &p : s.panels)
            if (p.listIndex == index && index >= 0)
                return &p;
    return nullptr;
}

int CaseFormat::sheetOf(PanelRole role) const
{
    for (int i = 0; i < sheets.size(); ++i)
        for (const CasePanel &p : sheets[i].panels)
            if (p.role == role)
                return i;
    return -1;
}

int CaseFormat::sheetIndex(const QString &sheetId) const
{
    for (int i = 0; i < sheets.size(); ++i)
        if (sheets[i].id == sheetId)
            return i;
    return -1;
}

QStringList CaseFormat::sheetIds() const
{
    QStringList ids;
    for (const CaseSheet &s : sheets)
        ids << s.id;
    return ids;
}

bool CaseFormat::hasSurface(Surface s) const
{
    // Every case may have its disc printed.
    if (s == Surface::Disc)
        return true;
    return panel(surfaceRole(s)) != nullptr;
}

bool CaseFormat::hasInsideSheet() const
{
    return !sheets.isEmpty() && sheets.last().printedWithInside;
}

PanelRole surfaceRole(Surface s)
{
    switch (s) {
    case Surface::Top:
        return PanelRole::Cover;
    case Surface::Bottom:
        return PanelRole::Back;
    case Surface::Left:
        return PanelRole::SpineLeft;
    case Surface::Right:
        return PanelRole::SpineRight;
    case Surface::Disc:
        // The disc lies on no sheet of the case.
        return PanelRole::Blank;
    }
    return PanelRole::Cover;
}

Surface panelSurface(PanelRole role)
{
    switch (role) {
    case PanelRole::Cover:
    case PanelRole::Inside:
        return Surface::Top;
    case PanelRole::Back:
        return Surface::Bottom;
    case PanelRole::SpineLeft:
        return Surface::Left;
    case PanelRole::SpineRight:
        return Surface::Right;
    case PanelRole::Blank:
    case PanelRole::Page:
        break; // no surface: the drawer passes blank panels by, and draws a
               // booklet's page from the page's own settings
    }
    return Surface::Top;
}

QString panelRoleName(PanelRole role)
{
    switch (role) {
    case PanelRole::Cover:
        return QStringLiteral("cover");
    case PanelRole::Inside:
        return QStringLiteral("inside");
    case PanelRole::Back:
        return QStringLiteral("back");
    case PanelRole::SpineLeft:
        return QStringLiteral("spine-left");
    case PanelRole::SpineRight:
        return QStringLiteral("spine-right");
    case PanelRole::Blank:
        return QStringLiteral("blank");
    case PanelRole::Page:
        return QStringLiteral("page");
    }
    return QString();
}

QVector<CaseFormat> parseCaseFormats(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    TableReader reader;
    QVector<CaseFormat> formats;
    if (doc.isNull()) {
        reader.fail(QStringLiteral("table"), parseError.errorString());
    } else {
        const QJsonArray list = doc.object().value(QStringLiteral("formats")).toArray();
        if (list.isEmpty())
            reader.fail(QStringLiteral("table"), QStringLiteral("no formats"));
        for (const QJsonValue &v : list) {
            CaseFormat f;
            if (!reader.readFormat(v.toObject(), &f))
                break;
            for (const CaseFormat &other : formats)
                if (other.id == f.id)
                    reader.fail(f.id, QStringLiteral("format id repeated"));
            if (!reader.error.isEmpty())
                break;
            formats << f;
        }
    }
    if (error)
        *error = reader.error;
    if (!reader.error.isEmpty())
        formats.clear();
    return formats;
}

const QVector<CaseFormat> &caseFormats()
{
    return loadedFormats();
}

const CaseFormat *findCaseFormat(const QString &id)
{
    for (const CaseFormat &f : caseFormats())
        if (f.id == id)
            return &f;
    return nullptr;
}

const CaseFormat &jewelCaseFormat()
{
    return *findCaseFormat(QStringLiteral("cd-jewel"));
}

QStringList caseFormatIds()
{
    QStringList ids;
    for (const CaseFormat &f : caseFormats())
        ids << f.id;
    return ids;
}

} // namespace cw
