#pragma once

#include <QImage>
#include <QSize>
#include <vector>

namespace cw {

// Pictures decoded at a reduction: every block of `factor` x `factor` pixels
// of the file (1, 2, 4 or 8 per side) becomes one pixel, the average of the
// block; the last column and row of blocks may be narrower, so a W x H
// picture reduced by f is ceil(W / f) x ceil(H / f). Everything the document
// stores and shows stays in the file's own pixels; only the pixels held for
// drawing are reduced.

constexpr int kLargestPictureReduction = 8;

// How a block becomes one pixel. A photograph takes the block's average; a
// picture with a transparent colour takes the block's middle pixel (the one
// at half its width and height, rounded down), so that every colour it
// holds is one of the file's own and the transparent colour still matches
// exactly.
enum class ReductionKind { Average, Sample };

// What a decoder delivered: the file's own size and the factor its pixels
// were reduced by, and how (a factor of 1 is the file's pixels either way).
struct PictureReduction
{
    QSize fullSize;
    int factor = 1;
    ReductionKind kind = ReductionKind::Average;
};

// Whether pixels reduced by `factor` in the way `held` serve a reader that
// wants them reduced in the way `wanted`: the file's own pixels serve both.
inline bool reductionServes(int factor, ReductionKind held, ReductionKind wanted)
{
    return factor <= 1 || held == wanted;
}

// The largest factor f of 1, 2, 4 and 8 for which the picture still has at
// least `wanted` pixels: full.width() >= f * wanted.width() and
// full.height() >= f * wanted.height(). An empty or invalid `wanted` (the
// whole picture) gives 1.
int pictureReductionFor(QSize full, QSize wanted);

// The size of a `full` picture reduced by `factor`.
QSize reducedPictureSize(QSize full, int factor);

// The least size to ask of a decoder so that it reduces a `full` picture by
// no more than `factor` (the inverse of pictureReductionFor: asking for it
// gives `factor` back whenever the picture has at least `factor` pixels per
// side).
QSize wantedSizeFor(QSize full, int factor);

// `image` reduced by `factor` through the block average (or its middle
// pixel), as an opaque Format_RGB32 picture of
// reducedPictureSize(image.size(), factor). The image itself for a factor of
// 1; a null image when the memory cannot be had.
QImage reducePicture(
    const QImage &image, int factor, ReductionKind kind = ReductionKind::Average);

// Averages rows of a picture into a reduced picture while they are decoded,
// so the whole picture is never held. Rows come one at a time, in the order
// of their picture rows (upwards or downwards). Rows never given count as
// white, the colour of the paper (or another colour the decoder gives them).
// Sampling, it keeps only the middle pixel of each block; a block whose
// middle row is never given keeps what `out` holds.
class RowReducer
{
public:
    // `out` must be a Format_RGB32 picture of reducedPictureSize(full, factor).
    // Rows never given count as `missing` (white unless said otherwise).
    RowReducer(QImage &out, QSize full, int factor, QRgb missing = qRgb(255, 255, 255),
        ReductionKind kind = ReductionKind::Average);
    // A row of full.width() opaque pixels at picture row y.
    void addRow(int y, const QRgb *row);
    // Writes the last block; rows of it not given count as white. Blocks
    // never touched are left as `out` holds them (fill it white first).
    void finish();

private:
    void flush();

    QImage &m_out;
    int m_width, m_height, m_factor;
    int m_block = -1; // reduced row being summed
    int m_rows = 0; // rows of it given so far
    QRgb m_missing;
    ReductionKind m_kind;
    std::vector<quint32> m_sums; // red, green, blue per reduced column
};

} // namespace cw
