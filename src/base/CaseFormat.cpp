#include "base/CaseFormat.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtGlobal>
#include <algorithm>

#include "base/UiText.h"

namespace cw {

namespace {

constexpr PanelRole kRoles[]
    = { PanelRole::Cover, PanelRole::Inside, PanelRole::Back, PanelRole::SpineLeft,
          PanelRole::SpineRight };

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
            f->sheets << s;
        }
        return checkPanels(*f);
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
                if (roles.contains(int(p.role)))
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

} // namespace

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
    return panel(surfaceRole(s)) != nullptr;
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
