#pragma once

#include <QList>
#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "base/EditSteps.h"
#include "base/PreviewPage.h"
#include "document/LabelDocument.h"

namespace cw {

// What an undo or a redo changed, for the windows that show the document.
struct HistoryChange
{
    bool done = false; // false: there was nothing to take back or redo
    QString label; // the step's label
    std::array<bool, 5> surfaces {}; // by Surface
    std::array<bool, 3> layouts {}; // listLayout[0], [1], [2]
    bool resolution = false; // dpiX, dpiY, the case format and sizes, the surface sizes
    bool listRows = false;
    std::array<bool, 4> prints {}; // by PrintsList: cover, inside, back, disc
    bool booklet = false; // the booklet's page count and inner pages
    // The preview pages that show what changed, each once.
    QList<PreviewPage> pages;
};

// The history of one document: every change made through its change
// operations (the main window's, the list editor's, the free-print editor's)
// as steps that can be taken back and redone, whatever window made them.
//
// A step keeps only the parts of the document it changed, each before and
// after: a surface's settings, a list layout, the resolution and case format, and for the
// list rows and each free-print list the one range of entries that differs
// (entries before and after it are the same). The decoded pictures a step
// keeps are shared with the document, never copied, so a replaced picture
// comes back without its file being read again. The lists a step names are
// copied when it opens, so the document's own lists are never shared and
// their entries stay where they are while an operation works on them. Render caches (the visible
// part of a picture and its stretched copy) travel with their picture but do
// not make a change by themselves.
//
// Typing: a step with a typing key merges with the step before it when that
// one has the same key and typing has not ended (endTyping(): the field was
// left; another step, an undo or a redo end it too).
class DocumentHistory : public EditRecorder
{
public:
    // The history keeps at least this many steps.
    static constexpr int kMinimumSteps = 200;
    // Beyond the minimum, steps are kept while there are at most `capacity`
    // of them and they hold at most `byteBudget` bytes together.
    explicit DocumentHistory(LabelDocument &doc, int capacity = 1000,
        qsizetype byteBudget = qsizetype(256) * 1024 * 1024);
    ~DocumentHistory() override;

    void openStep(const QString &label, const QString &typingKey, unsigned parts) override;
    void closeStep() override;

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    qsizetype undoCount() const { return qsizetype(m_undo.size()); }
    qsizetype redoCount() const { return qsizetype(m_redo.size()); }
    // The label of the step undo() / redo() would take; empty when none.
    QString undoLabel() const;
    QString redoLabel() const;

    HistoryChange undo();
    HistoryChange redo();

    // "新規作成" and "開く": an empty history, and the document as it stands
    // counts as unchanged.
    void clear();

    // The document was saved as it stands now.
    void markSaved();
    // Whether the document differs from what was last saved or opened: the
    // history stands at another step than it did then. Undoing or redoing back
    // to that step makes the document unchanged again; a change made after
    // undoing past it (which drops the steps that led there) leaves it
    // changed for good.
    bool isModified() const;
    // The field being typed into was left: the next typed text is a step of
    // its own.
    void endTyping() { m_typingOpen = false; }

    // While a Pause exists, nothing is recorded (reading a file).
    class Pause
    {
    public:
        explicit Pause(DocumentHistory &h)
            : m_h(h)
        {
            ++m_h.m_paused;
        }
        ~Pause() { --m_h.m_paused; }
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;

    private:
        DocumentHistory &m_h;
    };

    // Called whenever the steps change (recorded, merged, undone, redone,
    // cleared): menus re-read their texts.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // What the kept steps hold, in bytes, as estimated from their entries.
    qsizetype estimatedBytes() const { return m_bytes; }

    struct Step;

private:
    struct Snapshot;
    void finishStep();
    void trim();
    void notify();
    HistoryChange apply(Step &step, bool forward);

    LabelDocument &m_doc;
    int m_capacity;
    qsizetype m_byteBudget;
    std::deque<std::unique_ptr<Step>> m_undo;
    std::deque<std::unique_ptr<Step>> m_redo;
    std::unique_ptr<Snapshot> m_open;
    QString m_openLabel;
    QString m_openKey;
    unsigned m_openParts = 0;
    int m_depth = 0;
    int m_paused = 0;
    bool m_typingOpen = false;
    qsizetype m_bytes = 0;
    std::function<void()> m_listener;
    // Each recorded step has a number of its own; the document stands at the
    // number of the last step done, or at m_bottom with none left to undo
    // (0 for a new history, else the last step trimmed away).
    quint64 m_nextNumber = 1;
    quint64 m_bottom = 0;
    quint64 m_saved = 0; // where the document stood when last saved or opened
    quint64 position() const;
};

} // namespace cw
