#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include "pictures/PictureReduction.h"
#include "pictures/RenderCache.h"

namespace cw {

class MessageSink;

// Where the renderers get picture pixels from when a render cache misses.
// The file reader is one object so that callers (and tests) can count reads,
// route the reader's messages, or stand in for a failing resource.
class PictureFileReader
{
public:
    virtual ~PictureFileReader() = default;
    // Decodes the whole picture file into `bitmap`. False: the file could not
    // be read (the reader has told the user) and `bitmap` is unchanged.
    virtual bool load(QImage &bitmap, const QString &fileName) = 0;
    // Decodes the picture file reduced for `wanted` (see LoadPictureFile;
    // an invalid size is the whole picture), in the way `kind` says, into
    // `bitmap`, and tells the file's size and the factor in `reduction`. This
    // one reads the whole picture through load().
    virtual bool loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average);
    // The same, from a caller that knows the picture's own size `full`, which
    // tells a reader what the read will cost before it starts.
    virtual bool loadReducedKnowing(QImage &bitmap, const QString &fileName, QSize full,
        QSize wanted, PictureReduction &reduction, ReductionKind kind = ReductionKind::Average)
    {
        (void)full;
        return loadReduced(bitmap, fileName, wanted, reduction, kind);
    }
    // A new bitmap of the rectangle's size holding that part of `source`; a
    // null image when the memory for it cannot be had.
    virtual QImage copyRegion(const QImage &source, const QRect &rect);
    // The slow fallback: replaces `bitmap` by its rectangle, working in small
    // strips. False when that fails too.
    virtual bool crop(QImage &bitmap, const PixelRect &rect);
};

// Reads picture files with the program's picture loader; its messages go to
// `messages`.
class FilePictureReader : public PictureFileReader
{
public:
    explicit FilePictureReader(MessageSink &messages)
        : m_messages(messages)
    { }
    bool load(QImage &bitmap, const QString &fileName) override;
    bool loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average) override;
    bool crop(QImage &bitmap, const PixelRect &rect) override;

private:
    MessageSink &m_messages;
};

// A reader in front of another: what it does not do otherwise, the reader
// behind it does.
class PictureReaderLayer : public PictureFileReader
{
public:
    explicit PictureReaderLayer(PictureFileReader &inner)
        : m_inner(inner)
    { }
    QImage copyRegion(const QImage &source, const QRect &rect) override
    {
        return m_inner.copyRegion(source, rect);
    }
    bool crop(QImage &bitmap, const PixelRect &rect) override { return m_inner.crop(bitmap, rect); }

protected:
    PictureFileReader &m_inner;
};

// A reader that, while holding, keeps the last whole picture it read and
// gives it again for the same file instead of decoding the file anew. The
// preview holds while a picture is dragged: its visible part changes on every
// frame and the render cache keeps only that part. Holding costs one decoded
// picture (at the reduction it was read at), given back when holding ends.
class HeldPictureReader : public PictureReaderLayer
{
public:
    explicit HeldPictureReader(PictureFileReader &inner)
        : PictureReaderLayer(inner)
    { }
    void setHolding(bool on);
    bool holding() const { return m_holding; }
    bool load(QImage &bitmap, const QString &fileName) override;
    bool loadReduced(QImage &bitmap, const QString &fileName, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average) override;
    bool loadReducedKnowing(QImage &bitmap, const QString &fileName, QSize full, QSize wanted,
        PictureReduction &reduction, ReductionKind kind = ReductionKind::Average) override;

private:
    bool m_holding = false;
    QString m_heldFile;
    QImage m_held;
    PictureReduction m_heldReduction;
};

// The reader the renderers use when the caller names none: the program's
// loader, with its messages dropped.
PictureFileReader &defaultPictureFileReader();

} // namespace cw
