#pragma once

#include <QDialog>
#include <QPixmap>
#include <functional>
#include <optional>

#include "fonts/FontDialogModel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace cw {

// The font dialog "ﾌｫﾝﾄの指定": families with the TrueType mark, character
// sets, styles, sizes, decorations, colours and an editable preview whose
// font is the result. The rules live in FontDialogModel; this window binds
// the controls to it.
class TFontDialogX : public QDialog
{
    Q_OBJECT
public:
    // `families` is the family list to show (built afresh for each opening
    // by TFontDialogEx); `font` the working font.
    TFontDialogX(const QList<FontFamilyEntry> &families, const FontSpec &font, QWidget *parent = nullptr);

    // The working font: the preview's font once "OK" was pressed, else the
    // font the dialog was opened on.
    const FontSpec &workingFont() const { return m_working; }
    const FontDialogModel &model() const { return m_model; }

    // The custom colour's dialog; replaceable so tests answer it. Nothing
    // when cancelled.
    std::function<std::optional<ColorRef>(ColorRef start)> chooseCustomColor;

private:
    FontDialogModel m_model;
    FontSpec m_working;
    QPixmap m_markNormal;
    QPixmap m_markSelected;
    bool m_sizeClick = false; // the size text changes because of a list click
    bool m_updating = false;

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    QLineEdit *FontNameEdit, *StyleEdit, *SizeEdit, *Preview;
    QListWidget *FontBox, *StyleBox, *SizeBox;
    QGroupBox *GroupBox1, *GroupBox2;
    QCheckBox *EraseCheck, *UnderlineCheck;
    QComboBox *ColorBox, *KindBox;
    QPushButton *OK, *Cancel;

    void FormShow();
    void FontBoxClick(int row);
    void KindBoxChange(int row);
    void StyleBoxClick(int row);
    void SizeBoxClick(int row);
    void SizeEditChange(const QString &text);
    void ColorBoxChange(int row);
    void OKClick();

    // Puts the model's lists and selections into the controls.
    void showFamilyChoice();
    void selectSizeRow(bool scroll);
    void showPreview();
    void showColors();

    friend class FontBoxDelegate;
    friend class ColorBoxDelegate;
};

} // namespace cw
