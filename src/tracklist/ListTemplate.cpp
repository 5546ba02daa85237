#include "tracklist/ListTemplate.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <charconv>

#include "base/ProgramFolders.h"
#include "base/UiText.h"
#include "text/LineIO.h"
#include "text/SafeSave.h"

namespace cw {

const char kListTemplateHeader[] = "<Casewright List Template File>";
const char kListTemplateVersion[] = "1.01";
const char kListTemplateUnicodeVersion[] = "1.02";

namespace {

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading decimal number of a line, as the C library's conversion reads
// it (0 when there is none), independent of the locale.
double leadingNumber(const QByteArray &line)
{
    const char *p = line.constData();
    const char *end = p + line.size();
    while (p < end && isCSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p < end && *p == '-')
        return 0; // "+-1" is not a number
    double v = 0;
    auto format = std::chars_format::general;
    if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        // Hexadecimal; "0x" without a hex digit after it reads as 0.
        if (end - p < 3 || p[2] == '-' || p[2] == '+')
            return 0;
        p += 2;
        format = std::chars_format::hex;
    }
    auto r = std::from_chars(p, end, v, format);
    if (r.ec != std::errc())
        return 0;
    return negative ? -v : v;
}

// Reads whole numbers as a scanf format of "%Nd" conversions separated by
// spaces does: leading white space skipped, at most `width` characters (a
// sign counts) per number. Returns how many numbers were converted; stops at
// the first that fails.
int scanNumbers(const QByteArray &line, const int *widths, int count, int *out)
{
    const char *p = line.constData();
    const char *end = p + line.size();
    int converted = 0;
    for (int i = 0; i < count; ++i) {
        while (p < end && isCSpace(*p))
            ++p;
        int taken = 0;
        bool negative = false;
        if (p < end && (*p == '+' || *p == '-') && taken < widths[i]) {
            negative = *p == '-';
            ++p;
            ++taken;
        }
        int digits = 0;
        long long value = 0;
        while (p < end && taken < widths[i] && *p >= '0' && *p <= '9') {
            value = value * 10 + (*p - '0');
            ++p;
            ++taken;
            ++digits;
        }
        if (digits == 0)
            break;
        out[i] = int(negative ? -value : value);
        ++converted;
    }
    return converted;
}

QString saveFailure(const QString &path)
{
    return UiText::tr("ファイル(%1)が記録できません").arg(path);
}

} // namespace

int parseListTemplate(const QByteArray &data, ListTemplate &result)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return parseListTemplate(buffer, result);
}

int parseListTemplate(QIODevice &device, ListTemplate &result)
{
    LineReader reader(&device, 255);
    QByteArray line;
    if (!reader.readRawLine(line) || line != kListTemplateHeader)
        return -1;
    if (!reader.readRawLine(line))
        line.clear();
    const float version = float(leadingNumber(line));
    if (version > float(1.02))
        return -1;
    const bool nineValues = version >= float(1.01);
    // 1.02 is the Unicode form: the same lines in UTF-8, up to 1,023 bytes.
    const TextEncoding encoding = version == float(1.02) ? TextEncoding::Utf8 : TextEncoding::Cp932;
    if (encoding == TextEncoding::Utf8)
        reader.setMaxBytes(1023);

    int state = 0;
    bool previousEmpty = false;
    int surface = -1;
    QString name;
    std::array<int, 9> values {};
    int valuesRead = 0;
    while (reader.readRawLine(line)) {
        if (previousEmpty && line == "[Tmp Name]") {
            state = 100;
            previousEmpty = false;
            continue;
        }
        if (previousEmpty && line == "[Tmp Mode]") {
            state = 200;
            previousEmpty = false;
            continue;
        }
        if (previousEmpty && line == "[Tmp Data]") {
            state = 300;
            previousEmpty = false;
            continue;
        }
        switch (state) {
        case 100:
            name = decodeText(line, encoding);
            break;
        case 200: {
            const int width = 1;
            int v = 0;
            if (scanNumbers(line, &width, 1, &v) == 1)
                surface = v;
            break;
        }
        case 300: {
            static const int widths[9] = { 1, 3, 3, 3, 3, 3, 3, 3, 3 };
            std::array<int, 9> read {};
            const int n = scanNumbers(line, widths, nineValues ? 9 : 8, read.data());
            for (int i = 0; i < n; ++i)
                values[size_t(i)] = read[size_t(i)];
            valuesRead = std::max(valuesRead, n);
            break;
        }
        default:
            if (!line.isEmpty())
                return -1;
            previousEmpty = true;
            continue;
        }
        previousEmpty = false;
        ++state;
    }
    if ((surface != 0 && surface != 1) || reader.readError())
        return -1;
    // Values the data line did not give (a version 1.00 file has no line
    // spacing) keep the surface's defaults.
    std::array<int, 9> full = layoutValues(defaultListLayout(surface));
    for (int i = 0; i < valuesRead; ++i)
        full[size_t(i)] = values[size_t(i)];
    result.name = name;
    result.layout = layoutFromValues(full);
    return surface;
}

int ReadListTemplate(const QString &path, ListTemplate &result)
{
    // Only regular files: the folder may hold a pipe or a device named
    // "*.cwt", which must not stop the program from starting.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return -1;
    ListTemplate t;
    const int surface = parseListTemplate(file, t);
    if (surface < 0)
        return -1;
    t.fileName = QFileInfo(path).fileName();
    result = t;
    return surface;
}

QByteArray listTemplateFileBytes(
    const QString &name, int surface, const ListLayout &values, QString *problem)
{
    const std::array<int, 9> v = layoutValues(values);
    // Each value must read back within its field width.
    for (size_t i = 0; i < v.size(); ++i) {
        const int low = i == 0 ? 0 : -99, high = i == 0 ? 9 : 999;
        if (v[i] < low || v[i] > high) {
            if (problem)
                *problem = UiText::tr("値が範囲外です(%1)").arg(v[i]);
            return QByteArray();
        }
    }
    if (surface != 0 && surface != 1) {
        if (problem)
            *problem = UiText::tr("面の番号が正しくありません(%1)").arg(surface);
        return QByteArray();
    }
    // A name that CP932 cannot hold is written in the Unicode form 1.02.
    const TextEncoding encoding = needsUnicodeForm(name) ? TextEncoding::Utf8 : TextEncoding::Cp932;
    LineWriter w(encoding == TextEncoding::Utf8 ? 1022 : 254, encoding);
    w.writeLine(QString::fromLatin1(kListTemplateHeader));
    w.writeLine(QString::fromLatin1(
        encoding == TextEncoding::Utf8 ? kListTemplateUnicodeVersion : kListTemplateVersion));
    w.writeLine(QString());
    w.writeLine(QStringLiteral("[Tmp Name]"));
    w.writeLine(name, UiText::tr("テンプレート名"));
    w.writeLine(QString());
    w.writeLine(QStringLiteral("[Tmp Mode]"));
    w.writeLine(QString::asprintf("%d", surface));
    w.writeLine(QString());
    w.writeLine(QStringLiteral("[Tmp Data]"));
    w.writeLine(QString::asprintf("%01d %03d %03d %03d %03d %03d %03d %03d %03d", v[0], v[1], v[2],
        v[3], v[4], v[5], v[6], v[7], v[8]));
    if (!w.ok()) {
        if (problem)
            *problem = w.problemText();
        return QByteArray();
    }
    return w.data();
}

bool WriteListTemplate(const QString &path, const QString &name, int surface,
    const ListLayout &values, MessageSink &messages)
{
    QString problem;
    const QByteArray bytes = listTemplateFileBytes(name, surface, values, &problem);
    if (bytes.isEmpty()) {
        messages.showMessage(saveFailure(path) + QLatin1Char('\n') + problem);
        return false;
    }
    if (!saveFileSafely(path, bytes)) {
        messages.showMessage(saveFailure(path));
        return false;
    }
    return true;
}

QString programTemplateFolder()
{
    return programDataFolder() + QStringLiteral("/templates");
}

QString userTemplateFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString templateSaveFolder()
{
    const QString program = programTemplateFolder();
    const QFileInfo info(program);
    if (!program.isEmpty() && info.isDir() && info.isWritable())
        return program;
    const QString user = userTemplateFolder();
    if (!user.isEmpty())
        QDir().mkpath(user);
    return user;
}

ListTemplateStore::ListTemplateStore() = default;

void ListTemplateStore::LoadTemplateFolder(const QStringList &folders)
{
    for (auto &list : m_templates)
        list.clear();
    m_current = { -1, -1 };
    m_folders.clear();
    for (const QString &folder : folders)
        if (!folder.isEmpty() && !m_folders.contains(folder))
            m_folders.append(folder);
    QStringList seen;
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || seen.contains(canonical))
            continue;
        seen.append(canonical);
        QDir dir(folder);
        const QStringList files = dir.entryList(
            { QStringLiteral("*.cwt") }, QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
        for (const QString &file : files) {
            ListTemplate t;
            const int surface = ReadListTemplate(dir.filePath(file), t);
            if (surface != 0 && surface != 1)
                continue;
            QList<ListTemplate> &list = m_templates[size_t(surface)];
            qsizetype existing = -1;
            for (qsizetype i = 0; i < list.size(); ++i)
                if (list[i].fileName == t.fileName)
                    existing = i;
            if (existing >= 0)
                list[existing] = t;
            else if (list.size() < kMaxTemplatesPerSurface)
                list.append(t);
        }
    }
}

void ListTemplateStore::LoadTemplateFolder()
{
    LoadTemplateFolder({ programTemplateFolder(), userTemplateFolder() });
}

const QList<ListTemplate> &ListTemplateStore::templates(int surface) const
{
    return m_templates[surface == 1 ? 1 : 0];
}

int ListTemplateStore::currentTemplate(int surface) const
{
    return m_current[surface == 1 ? 1 : 0];
}

QStringList ListTemplateStore::names(int surface) const
{
    QStringList out;
    for (const ListTemplate &t : templates(surface))
        out.append(t.name);
    return out;
}

bool ListTemplateStore::pickTemplate(int surface, int index, ListLayout &layout)
{
    const size_t s = surface == 1 ? 1 : 0;
    if (index < 0 || index >= m_templates[s].size() || index == m_current[s])
        return false;
    m_current[s] = index;
    layout = m_templates[s][index].layout;
    return true;
}

QString ListTemplateStore::proposedFileName(int surface) const
{
    const int current = currentTemplate(surface);
    const QList<ListTemplate> &list = templates(surface);
    if (current < 0 || current >= list.size())
        return QString();
    return list[current].fileName;
}

QString ListTemplateStore::saveDialogStart(int surface, const QString &folder) const
{
    QString start = folder;
    if (!start.endsWith(QLatin1Char('/')))
        start += QLatin1Char('/');
    return start + proposedFileName(surface);
}

QStringList ListTemplateStore::readFolders() const
{
    if (!m_folders.isEmpty())
        return m_folders;
    return { programTemplateFolder(), userTemplateFolder() };
}

bool ListTemplateStore::isReadFrom(const QString &path) const
{
    const QString folder = QFileInfo(path).absoluteDir().canonicalPath();
    if (folder.isEmpty())
        return false;
    for (const QString &read : readFolders())
        if (QFileInfo(read).canonicalFilePath() == folder)
            return true;
    return false;
}

QString templateFolderMessage(const QStringList &folders)
{
    return UiText::tr("このフォルダに保存したテンプレートは読み込まれません。"
                      "テンプレートは次のフォルダに保存してください\n")
        + folders.join(QLatin1Char('\n'));
}

bool ListTemplateStore::saveTemplate(int surface, const QString &path, const QString &name,
    const ListLayout &values, MessageSink &messages)
{
    if (!isReadFrom(path)) {
        messages.showMessage(templateFolderMessage(readFolders()));
        return false;
    }
    const size_t s = surface == 1 ? 1 : 0;
    QList<ListTemplate> &list = m_templates[s];
    const QString fileName = QFileInfo(path).fileName();
    qsizetype found = -1;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i].fileName == fileName) {
            found = i;
            break;
        }
    }
    if (found < 0 && list.size() >= kMaxTemplatesPerSurface) {
        messages.showMessage(UiText::tr("これ以上テンプレートを追加できません"));
        return false;
    }
    if (!WriteListTemplate(path, name, int(s), values, messages))
        return false;
    ListTemplate t { name, fileName, values };
    if (found >= 0) {
        list[found] = t;
    } else {
        list.append(t);
        found = list.size() - 1;
    }
    m_current[s] = int(found);
    return true;
}

} // namespace cw
