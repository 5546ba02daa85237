#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QImage>

#include "pictures/PictureThumbnail.h"

class QLabel;
class QToolButton;
class QFrame;

namespace cw {

// The paint box of the picture pane: "(なし)" without a picture, the
// picture unscaled and centred when it fits, else stretched from the
// top-left corner (paintBoxTarget). A double click asks for the preview.
class PicturePaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit PicturePaintBox(QWidget *parent = nullptr);
    // `fullSize` is the picture's own size; `image` may be a reduced copy.
    void setPicture(QSize fullSize, const QImage &image);
    QSize pictureSize() const { return m_fullSize; }
    // Where the picture is drawn now (empty without one).
    QRect target() const;

Q_SIGNALS:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QSize m_fullSize;
    QImage m_image;
};

// The "プレビュー" window: the whole picture at its natural size in a
// scrolling box; it also closes on the apostrophe key.
class TPicturePreviewWindow : public QDialog
{
    Q_OBJECT
public:
    TPicturePreviewWindow(const QImage &picture, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The picture open dialog: Qt's own file dialog with a preview pane on its
// right that shows each selected file's thumbnail and size. Files are
// decoded off the interface thread; only the newest selection is shown.
class TOpenPictureDialogEx : public QFileDialog
{
    Q_OBJECT
public:
    explicit TOpenPictureDialogEx(QWidget *owner = nullptr);

    // The filter in the "description|patterns|..." form.
    void setPictureFilter(const QString &filter);
    // Starts in `folder` (nothing for an empty one).
    void setStartFolder(const QString &folder);
    // The chosen file after exec() returned Accepted.
    QString fileName() const;

    // The pane's answer to a selection (also called on every change of the
    // dialog's current file). The decode runs in the background.
    void showSelection(const QString &path);
    // Waits for the decode in flight and shows its result (tests).
    void waitForPreview();
    // Opens the "プレビュー" window for the picture shown.
    void openPreview();

    QLabel *pictureLabel() const { return m_label; }
    QToolButton *previewButton() const { return m_previewButton; }
    PicturePaintBox *paintBox() const { return m_paintBox; }
    QString shownFile() const { return m_shownFile; }

public Q_SLOTS:
    void done(int result) override;

private:
    void showThumbnail(const QString &path, const PictureThumbnail &thumbnail);

    QFrame *m_panel = nullptr;
    QLabel *m_label = nullptr;
    QToolButton *m_previewButton = nullptr;
    QFrame *m_paintPanel = nullptr;
    PicturePaintBox *m_paintBox = nullptr;
    ThumbnailLoader m_loader;
    QString m_shownFile;
};

} // namespace cw
