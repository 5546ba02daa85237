#pragma once

#include <QWidget>

#include "document/LabelDocument.h"

class QGridLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cw {

class CommitEdit;

// The picture controls of one surface's tab, or of the booklet page the
// "ページ" tab shows. Control names carry the surface's prefix
// ("TopGraphicWidth2", "BottomGSizeChange"), a page's "Page". The panel only
// shows values and reports the user's actions; the window applies them.
class PicturePanel : public QWidget
{
    Q_OBJECT
public:
    PicturePanel(PictureSlot slot, QWidget *parent = nullptr);
    // The picture the panel shows and its actions change: a page panel
    // follows the page chosen.
    PictureSlot slot() const { return m_slot; }
    void setSlot(PictureSlot slot) { m_slot = slot; }

    // Shows the surface's picture placement in the document: its values and
    // the texts placementTexts() gives them. The edit that has the focus
    // keeps its text unless `includeFocused`.
    void showPlacement(const LabelDocument &doc, bool includeFocused = true);
    // The "用紙情報" group: the surface's size in reference pixels.
    void showSurfaceSize(int width, int height);
    // The surface's size in millimetres ("用紙情報"), which the case decides.
    void showSurfaceMm(double width, double height);
    // Enables the panel's controls; the link check box (on the back and the
    // right spine) separately.
    void setControlsEnabled(bool enabled);
    void setLinkEnabled(bool enabled);
    void setLinkChecked(bool on);

    QCheckBox *useBox() const { return m_use; }
    QCheckBox *linkBox() const { return m_link; }
    CommitEdit *widthEdit() const { return m_width2; }
    CommitEdit *heightEdit() const { return m_height2; }
    CommitEdit *posXEdit() const { return m_posX; }
    CommitEdit *posYEdit() const { return m_posY; }
    QComboBox *sizeModeBox() const { return m_sizeMode; }
    QComboBox *alignModeBox() const { return m_alignMode; }
    QCheckBox *keepAspectBox() const { return m_keepAspect; }
    QPushButton *fileSelectButton() const { return m_fileSelect; }
    // The panel's controls in reading order, which is also their tab order.
    const QList<QWidget *> &readingOrder() const { return m_readingOrder; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString name(const char *part) const;
    void alignColumns();

    PictureSlot m_slot;
    QCheckBox *m_use = nullptr;
    QCheckBox *m_link = nullptr; // SameGraphic / SameGraphicLeft, or null
    QLabel *m_fileLabel = nullptr;
    QLineEdit *m_fileName = nullptr;
    QPushButton *m_fileSelect = nullptr;
    QLabel *m_pixelWidth = nullptr, *m_pixelHeight = nullptr;
    QLabel *m_pixelWidthMm = nullptr, *m_pixelHeightMm = nullptr;
    CommitEdit *m_width2 = nullptr, *m_height2 = nullptr;
    QLabel *m_width2Mm = nullptr, *m_height2Mm = nullptr;
    CommitEdit *m_posX = nullptr, *m_posY = nullptr;
    QLabel *m_posXMm = nullptr, *m_posYMm = nullptr;
    QComboBox *m_sizeMode = nullptr, *m_alignMode = nullptr;
    QCheckBox *m_keepAspect = nullptr;
    QLabel *m_surfaceWidth = nullptr, *m_surfaceHeight = nullptr;
    QLabel *m_surfaceWidthMm = nullptr, *m_surfaceHeightMm = nullptr;
    QList<QWidget *> m_controls; // everything but the use and link boxes
    QList<QWidget *> m_readingOrder;
    QList<QGridLayout *> m_grids; // "画像情報", "印刷設定", "用紙情報"
};

// Makes the widgets follow each other in the tab order, in the list's order.
void setTabOrderChain(const QList<QWidget *> &widgets);

} // namespace cw
