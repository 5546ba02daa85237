#pragma once

#include <QString>

#include "base/UiText.h"

namespace cw {

// The parts of the document a step may change besides its settings (titles,
// pictures, switches, colours, list layouts, the resolution), which every
// step watches: the list rows and the free-print lists are watched only when
// named, since watching a list means copying it.
namespace EditParts {
constexpr unsigned Settings = 0;
constexpr unsigned ListRows = 1;
constexpr unsigned PrintItems = 2;
constexpr unsigned Pages = 4; // a booklet's page count and inner pages
constexpr unsigned All = ListRows | PrintItems | Pages;
} // namespace EditParts

// Records the document's changes as steps that can be taken back. Every
// change operation opens a step before it changes anything and closes it when
// it is done; a step opened while another is open belongs to the outer one, so
// an operation made of others, or a command made of several operations, is
// one step. `typingKey` names the text field an operation takes typed text
// from: consecutive steps with the same key make one step until typing ends.
class EditRecorder
{
public:
    virtual ~EditRecorder() = default;
    virtual void openStep(const QString &label, const QString &typingKey, unsigned parts) = 0;
    virtual void closeStep() = 0;
};

// A step's name: what was changed and where, "タイトル(表レーベル)".
inline QString stepLabel(const QString &what, const QString &where)
{
    return UiText::tr("%1(%2)").arg(what, where);
}

// Opens a step for the lifetime of the object; a null recorder records nothing.
class EditStep
{
public:
    EditStep(EditRecorder *recorder, const QString &label, unsigned parts = EditParts::All,
        const QString &typingKey = QString())
        : m_recorder(recorder)
    {
        if (m_recorder)
            m_recorder->openStep(label, typingKey, parts);
    }
    ~EditStep()
    {
        if (m_recorder)
            m_recorder->closeStep();
    }
    EditStep(const EditStep &) = delete;
    EditStep &operator=(const EditStep &) = delete;

private:
    EditRecorder *m_recorder;
};

} // namespace cw
