#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "base/EditSteps.h"
#include "tracklist/ListLayoutEditor.h"
#include "tracklist/ListTemplate.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class QGridLayout;

namespace cw {

class UserDialogs;

// "Casewright [List Setting]": the layout of the list on one surface, its
// maxima, information and a small drawing, and the layout templates. Opened
// modally from the list editor; only "閉じる" stores the values.
class TListSetWindow : public QDialog
{
    Q_OBJECT
public:
    // `dialogs` is asked for the current dialog interface whenever one is
    // needed (tests replace it after the window is made).
    TListSetWindow(ListTemplateStore &templates, std::function<UserDialogs &()> dialogs,
        QWidget *parent = nullptr);

    // Shows the window (modal, without waiting) for a surface and its stored
    // layout, which "閉じる" and a picked template write to. `columnsChosen` is
    // called with each column choice (the rows and the editor follow it).
    // A booklet page's layout is edited as the front's (its size, its
    // templates), named `owner` in its steps, which keep the document's
    // inner pages (`parts`).
    void openFor(ListLayout *stored, int surface, std::function<void(int)> columnsChosen,
        const QString &owner = QString(), unsigned parts = EditParts::Settings);

    // Where storing the layout ("閉じる", a picked template) is recorded.
    void setRecorder(EditRecorder *recorder) { m_recorder = recorder; }
    // Called when the stored layout changes while the window stays open (a
    // template picked), so that the page shows it.
    void setStoredChanged(std::function<void()> changed) { m_storedChanged = std::move(changed); }

    const ListLayoutEditor &state() const { return m_state; }
    // The drawing last shown in "プレビュー".
    QImage previewImage() const;

    void SeparateNoClick(int item);
    void ListSetCloseClick();
    void TemplateLoadChange(int index);
    void TemplateSaveClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Field
    {
        LayoutField field;
        QLineEdit *edit = nullptr;
        QToolButton *up = nullptr;
        QToolButton *down = nullptr;
        QLabel *caption = nullptr;
        QLabel *unit = nullptr;
        QLabel *maximum = nullptr;
    };

    void buildField(QGridLayout *grid, int row, LayoutField f, const char *name,
        const QString &caption, const QString &unit, const char *maxName);
    void fieldTyped(LayoutField f);
    // False when the text was no number (after the message).
    bool fieldLeft(LayoutField f);
    void fieldStepped(LayoutField f, int delta);
    bool showEntry(LayoutField f, const LayoutEntry &e);
    // Values, limits, labels, information and the drawing from the state.
    void sync();
    void fillTemplateBox();
    Field &field(LayoutField f) { return m_fields[size_t(f)]; }
    QString stepName(const QString &what) const;

    ListTemplateStore &m_templates;
    std::function<UserDialogs &()> m_dialogs;
    ListLayoutEditor m_state;
    ListLayout *m_stored = nullptr;
    EditRecorder *m_recorder = nullptr;
    QString m_owner; // the steps' name for the layout; empty: the surface's
    unsigned m_parts = EditParts::Settings;
    std::function<void(int)> m_columnsChosen;
    std::function<void()> m_storedChanged;
    bool m_syncing = false;

    QButtonGroup *m_separateNo = nullptr;
    std::array<Field, kLayoutFieldCount> m_fields;
    std::array<QLabel *, 5> m_info {};
    std::array<QLabel *, 3> m_infoCaptions {};
    QLabel *m_preview = nullptr;
    QComboBox *m_templateBox = nullptr;
};

} // namespace cw
