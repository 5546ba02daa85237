#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "base/UserPrompts.h"
#include "tracklist/TListData.h"

namespace cw {

// A named, reusable list layout kept in a "*.cwt" file.
struct ListTemplate
{
    QString name; // shown in the layout window's template box
    QString fileName; // the file's name, without folder
    ListLayout layout;

    bool operator==(const ListTemplate &) const = default;
};

constexpr int kMaxTemplatesPerSurface = 50;
extern const char kListTemplateHeader[]; // "<Casewright List Template File>"
extern const char kListTemplateVersion[]; // "1.01", CP932
// A template whose name CP932 cannot hold is written as "1.02", in UTF-8.
extern const char kListTemplateUnicodeVersion[];

// Reads a template from the bytes of a file. Returns the surface (0 front,
// 1 back), or -1 when the data is not a usable template. `fileName` is left
// to the caller. Values missing from the data line keep the surface's
// default layout values.
int parseListTemplate(const QByteArray &data, ListTemplate &result);
// The same from an open device, read line by line.
int parseListTemplate(QIODevice &device, ListTemplate &result);

// Reads a template file; `fileName` becomes the file's name without folder.
int ReadListTemplate(const QString &path, ListTemplate &result);

// The bytes of a template file (CR LF): version 1.01 in CP932, or 1.02 in
// UTF-8 when the name has characters outside CP932. Empty, with `problem`
// set, when the name cannot be written so that it reads back (a line too
// long, a line break) or a value does not fit its field.
QByteArray listTemplateFileBytes(
    const QString &name, int surface, const ListLayout &values, QString *problem = nullptr);

// Writes a template file; on failure shows "ファイル(" + path + ")が記録できません"
// (with the reason when there is one) and returns false. An existing file is
// replaced only when the whole new file has been written.
bool WriteListTemplate(const QString &path, const QString &name, int surface,
    const ListLayout &values, MessageSink &messages);

// The program's template folder (the shipped templates: "templates" in the
// program's data folder, share/casewright) and the user's own template folder.
QString programTemplateFolder();
QString userTemplateFolder();
// Where the save dialog starts: the program's template folder when it can be
// written to, otherwise the user's folder (created when missing).
QString templateSaveFolder();

// The templates of both surfaces as the layout window offers them.
class ListTemplateStore
{
public:
    ListTemplateStore();

    // Empties both collections, sets both current indexes to -1, and reads
    // every "*.cwt" file of the folders, in name order within a folder. Files
    // that are not usable templates, name a surface other than 0 or 1, or
    // would be a 51st template of their surface are skipped without a
    // message. A later folder's file with the same name as an earlier one of
    // the same surface replaces it (the user's copy wins).
    void LoadTemplateFolder(const QStringList &folders);
    // The program's template folder, then the user's folder.
    void LoadTemplateFolder();

    const QList<ListTemplate> &templates(int surface) const;
    int currentTemplate(int surface) const;
    // The entries of the template box, in order.
    QStringList names(int surface) const;

    // Picking entry `index` of the template box. Nothing happens (false) when
    // the index is the current one or no entry (-1, or out of range).
    // Otherwise the entry becomes current and `layout` takes its nine values.
    bool pickTemplate(int surface, int index, ListLayout &layout);

    // The file name the save dialog proposes: the current template's, or
    // empty.
    QString proposedFileName(int surface) const;
    // Where the save dialog starts: `folder` + "/" + proposedFileName (a
    // path ending in "/" when there is no name).
    QString saveDialogStart(int surface, const QString &folder) const;
    // The folders templates are read from: those last loaded, or the
    // program's and the user's folder before any load.
    QStringList readFolders() const;
    // Whether a template saved as `path` is read again (its folder is one of
    // readFolders()).
    bool isReadFrom(const QString &path) const;

    // Saves the window's values under `name` to `path`: updates the entry with
    // the same file name, or appends one; refuses a 51st entry with
    // "これ以上テンプレートを追加できません", and a path outside the folders
    // templates are read from with templateFolderMessage (nothing written). The saved entry
    // becomes current. False when nothing was saved.
    bool saveTemplate(int surface, const QString &path, const QString &name,
        const ListLayout &values, MessageSink &messages);

private:
    std::array<QList<ListTemplate>, 2> m_templates;
    std::array<int, 2> m_current = { -1, -1 };
    QStringList m_folders;
};

// The message for a template that would be saved where it is never read.
QString templateFolderMessage(const QStringList &folders);

} // namespace cw
