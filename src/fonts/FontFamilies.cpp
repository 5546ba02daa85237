#include "fonts/FontFamilies.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <algorithm>
#include <utility>

#include "fonts/FontCharsets.h"
#include "fonts/FontQt.h"

namespace cw {

namespace {

void insertSize(QList<int> &sizes, int size)
{
    auto it = std::lower_bound(sizes.begin(), sizes.end(), size);
    if (it == sizes.end() || *it != size)
        sizes.insert(it, size);
}

bool nameLess(const FontFamilyEntry &a, const FontFamilyEntry &b)
{
    return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
}

} // namespace

const QList<int> &standardFontSizes()
{
    static const QList<int> sizes = { 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 };
    return sizes;
}

int FontFamilyEntry::charsetIndex(int code) const
{
    for (int i = 0; i < charsets.size(); ++i) {
        if (charsets[i].code == code)
            return i;
    }
    return -1;
}

QString familyWithoutFoundry(const QString &family)
{
    if (family.endsWith(QLatin1Char(']'))) {
        const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
        if (open > 0)
            return family.left(open);
    }
    return family;
}

QList<FontFamilyEntry> buildFamilyList(const QList<FontFaceInfo> &faces)
{
    QList<FontFamilyEntry> list;
    QHash<QString, qsizetype> rowOf;
    // Scalable families: every character set with the standard sizes.
    for (const FontFaceInfo &face : faces) {
        if (!face.scalable)
            continue;
        const QString name = familyWithoutFoundry(face.family);
        qsizetype row = rowOf.value(name, -1);
        if (row < 0) {
            row = list.size();
            rowOf.insert(name, row);
            list.append(FontFamilyEntry { name, face.outline, {}, {} });
        }
        FontFamilyEntry &entry = list[row];
        entry.trueType = entry.trueType || face.outline;
        if (face.probeLatin)
            entry.latinToProbe.append(face.family);
        for (int code : face.charsets) {
            if (entry.charsetIndex(code) < 0)
                entry.charsets.append(FontCharsetSizes { code, standardFontSizes() });
        }
    }
    // Bitmap families: their own sizes, unless a scalable family has the name.
    const qsizetype scalableCount = list.size();
    for (const FontFaceInfo &face : faces) {
        if (face.scalable)
            continue;
        const QString name = familyWithoutFoundry(face.family);
        qsizetype row = rowOf.value(name, -1);
        if (row >= 0 && row < scalableCount)
            continue;
        if (row < 0) {
            row = list.size();
            rowOf.insert(name, row);
            list.append(FontFamilyEntry { name, false, {}, {} });
        }
        FontFamilyEntry &entry = list[row];
        for (int code : face.charsets) {
            int i = entry.charsetIndex(code);
            if (i < 0) {
                entry.charsets.append(FontCharsetSizes { code, {} });
                i = int(entry.charsets.size() - 1);
            }
            for (int size : face.pointSizes)
                insertSize(entry.charsets[i].sizes, size);
        }
    }
    std::stable_sort(list.begin(), list.end(), nameLess);
    return list;
}

void resolveCharsets(FontFamilyEntry &entry)
{
    if (entry.latinToProbe.isEmpty())
        return;
    const QStringList probes = std::exchange(entry.latinToProbe, {});
    int at = entry.charsetIndex(0);
    if (at < 0)
        return;
    const QList<int> sizes = entry.charsets[at].sizes;
    for (const QString &family : probes) {
        const QList<int> extra = charsetsOfWritingSystems({ QFontDatabase::Latin }, latinCoverageOf(family));
        for (int code : extra) {
            if (entry.charsetIndex(code) < 0)
                entry.charsets.insert(++at, FontCharsetSizes { code, sizes });
        }
    }
}

QList<FontFaceInfo> installedFontFaces()
{
    QList<FontFaceInfo> faces;
    const QStringList families = QFontDatabase::families();
    faces.reserve(families.size());
    for (const QString &family : families) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        FontFaceInfo face;
        face.family = family;
        face.scalable = QFontDatabase::isScalable(family);
        face.outline = QFontDatabase::isSmoothlyScalable(family);
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        face.charsets = charsetsOfWritingSystems(systems);
        face.probeLatin = face.scalable && systems.contains(QFontDatabase::Latin);
        if (!face.scalable)
            face.pointSizes = QFontDatabase::pointSizes(family);
        faces.append(face);
    }
    return faces;
}

QList<FontFamilyEntry> installedFontFamilies()
{
    return buildFamilyList(installedFontFaces());
}

int findFamily(const QList<FontFamilyEntry> &families, const QString &name)
{
    for (int i = 0; i < families.size(); ++i) {
        if (families[i].name == name)
            return i;
    }
    for (int i = 0; i < families.size(); ++i) {
        if (families[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int ensureFamilyListed(QList<FontFamilyEntry> &families, const FontSpec &font)
{
    int row = -1;
    for (int i = 0; i < families.size(); ++i) {
        if (families[i].name == font.name) {
            row = i;
            break;
        }
    }
    if (row < 0) {
        // The face that draws this name here: a listed substitute, else
        // whatever the font matching picks.
        int from = -1;
        for (const QString &sub : QFont::substitutes(font.name)) {
            from = findFamily(families, sub);
            if (from >= 0)
                break;
        }
        if (from < 0)
            from = findFamily(families, familyWithoutFoundry(QFontInfo(toQFont(font)).family()));
        FontFamilyEntry entry;
        if (from >= 0)
            entry = families[from];
        else
            entry.trueType = true;
        entry.name = font.name;
        auto at = std::upper_bound(families.begin(), families.end(), entry, nameLess);
        row = int(at - families.begin());
        families.insert(at, entry);
    }
    FontFamilyEntry &entry = families[row];
    resolveCharsets(entry);
    if (entry.charsetIndex(font.charset) < 0) {
        QList<int> sizes = entry.charsets.isEmpty() ? standardFontSizes() : entry.charsets.first().sizes;
        entry.charsets.append(FontCharsetSizes { font.charset, sizes });
    }
    return row;
}

} // namespace cw
