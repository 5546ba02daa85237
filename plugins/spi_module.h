/* Helpers shared by the decoder modules: the info texts, opening the file at
 * an offset, and building the two output blocks. */
#ifndef CASEWRIGHT_SPI_MODULE_H
#define CASEWRIGHT_SPI_MODULE_H

#include <stdio.h>
#include <string.h>

#include "spi.h"

#include <stdlib.h>

/* The largest picture a module decodes: the host refuses anything larger
 * (768 MB as 32-bit pixels), so a module need not allocate for it. The
 * environment variable CASEWRIGHT_MAX_PICTURE_PIXELS lowers the limit (the
 * fuzz targets run with a small one). */
static inline uint64_t spi_max_pixels(void)
{
    uint64_t limit = 768ull * 1024 * 1024 / 4;
    const char *env = getenv("CASEWRIGHT_MAX_PICTURE_PIXELS");
    if (env && *env) {
        const unsigned long long v = strtoull(env, NULL, 10);
        if (v > 0 && v < limit)
            limit = v;
    }
    return limit;
}
#define SPI_MAX_PIXELS (spi_max_pixels())

/* Copies `text` into buf (at most len bytes with the terminating zero) and
 * returns the number of bytes written without it. */
static inline int32_t spi_info_text(const char *text, char *buf, int32_t len)
{
    if (!buf || len <= 0)
        return 0;
    size_t n = strlen(text);
    if (n > (size_t)len - 1)
        n = (size_t)len - 1;
    memcpy(buf, text, n);
    buf[n] = 0;
    return (int32_t)n;
}

/* GetPluginInfo of an import filter with one pattern entry: 0 the version
 * ("00IN"), 1 the module's own description, 2 the patterns, 3 their
 * description; any other number has no text. */
static inline int32_t spi_plugin_info(int32_t infoNo, char *buf, int32_t len, const char *about,
                                      const char *patterns, const char *description)
{
    switch (infoNo) {
    case 0:
        return spi_info_text("00IN", buf, len);
    case 1:
        return spi_info_text(about, buf, len);
    case 2:
        return spi_info_text(patterns, buf, len);
    case 3:
        return spi_info_text(description, buf, len);
    default:
        return 0;
    }
}

/* Opens the file and positions it at `offset`. */
static inline FILE *spi_open_at(const char *fileName, int32_t offset)
{
    if (!fileName || offset < 0)
        return NULL;
    FILE *f = fopen(fileName, "rb");
    if (!f)
        return NULL;
    if (fseek(f, offset, SEEK_SET) != 0) {
        fclose(f);
        return NULL;
    }
    return f;
}

/* Bytes per row of a bottom-up BMP row at a bit count, padded to 4. */
static inline uint64_t spi_row_bytes(uint32_t width, int bitCount)
{
    return ((uint64_t)width * (uint64_t)bitCount + 31) / 32 * 4;
}

/* The output of one decode: the info block (header and colour table) and the
 * pixel block, allocated with the host's LocalAlloc. */
typedef struct SpiOutput
{
    SpiHandle info;
    SpiHandle pixels;
    SpiBitmapInfoHeader *header;
    uint8_t *palette; /* 4 bytes per entry: blue, green, red, 0 */
    uint8_t *bits;
    uint64_t rowBytes;
    uint32_t width, height;
    int topDown;
} SpiOutput;

/* Allocates the blocks for a width x height picture at 8 bits (with a
 * 256-entry colour table), 24 bits, or 32 bits (blue, green, red, 0xff: the
 * host can use such rows as they are). Rows are stored bottom-up, or
 * top-down (a negative height) when `topDown` is set. 0 on success, else an
 * SPI error code with nothing allocated. */
static inline int spi_output_alloc_rows(
    SpiOutput *out, uint32_t width, uint32_t height, int bitCount, int topDown)
{
    memset(out, 0, sizeof *out);
    if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff)
        return SPI_BROKEN_DATA;
    if ((uint64_t)width * height > SPI_MAX_PIXELS)
        return SPI_NO_MEMORY;
    const uint32_t entries = bitCount == 8 ? 256 : bitCount == 32 ? 3 : 0;
    const uint64_t rowBytes = spi_row_bytes(width, bitCount);
    const uint64_t imageBytes = rowBytes * height;
    out->info = LocalAlloc(
        SPI_LMEM_MOVEABLE | SPI_LMEM_ZEROINIT, sizeof(SpiBitmapInfoHeader) + 4 * (size_t)entries);
    out->pixels = LocalAlloc(SPI_LMEM_MOVEABLE | SPI_LMEM_ZEROINIT, (size_t)imageBytes);
    if (!out->info || !out->pixels) {
        LocalFree(out->info);
        LocalFree(out->pixels);
        memset(out, 0, sizeof *out);
        return SPI_NO_MEMORY;
    }
    out->header = (SpiBitmapInfoHeader *)LocalLock(out->info);
    out->palette = (uint8_t *)out->header + sizeof(SpiBitmapInfoHeader);
    out->bits = (uint8_t *)LocalLock(out->pixels);
    out->rowBytes = rowBytes;
    out->width = width;
    out->height = height;
    SpiBitmapInfoHeader *h = out->header;
    h->size = sizeof(SpiBitmapInfoHeader);
    h->width = (int32_t)width;
    h->height = topDown ? -(int32_t)height : (int32_t)height;
    h->planes = 1;
    h->bitCount = (uint16_t)bitCount;
    h->compression = 0;
    h->sizeImage = (uint32_t)(imageBytes > 0xffffffffu ? 0 : imageBytes);
    h->xPelsPerMeter = 3780;
    h->yPelsPerMeter = 3780;
    h->clrUsed = bitCount == 8 ? 256 : 0;
    out->topDown = topDown;
    return SPI_OK;
}

static inline int spi_output_alloc(SpiOutput *out, uint32_t width, uint32_t height, int bitCount)
{
    return spi_output_alloc_rows(out, width, height, bitCount, 0);
}

/* The address of picture row y (0 = top) in the pixel block. */
static inline uint8_t *spi_output_row(const SpiOutput *out, uint32_t y)
{
    const uint64_t row = out->topDown ? y : out->height - 1 - y;
    return out->bits + row * out->rowBytes;
}

static inline void spi_output_set_palette(SpiOutput *out, int index, int r, int g, int b)
{
    out->palette[4 * index + 0] = (uint8_t)b;
    out->palette[4 * index + 1] = (uint8_t)g;
    out->palette[4 * index + 2] = (uint8_t)r;
    out->palette[4 * index + 3] = 0;
}

static inline void spi_output_free(SpiOutput *out)
{
    if (out->info) {
        LocalUnlock(out->info);
        LocalFree(out->info);
    }
    if (out->pixels) {
        LocalUnlock(out->pixels);
        LocalFree(out->pixels);
    }
    memset(out, 0, sizeof *out);
}

static inline int32_t spi_output_finish(SpiOutput *out, SpiHandle *info, SpiHandle *pixels)
{
    LocalUnlock(out->info);
    LocalUnlock(out->pixels);
    *info = out->info;
    *pixels = out->pixels;
    memset(out, 0, sizeof *out);
    return SPI_OK;
}

/* The failure-reason extension (see spi.h). A module records the reason of
 * its last GetPicture call with spi_result() and exports GetPictureFailure by
 * placing SPI_DEFINE_GET_PICTURE_FAILURE() once in its source. */
__attribute__((unused)) static int32_t spi_last_failure = SPI_FAILURE_UNSPECIFIED;

/* Records the reason that goes with a GetPicture result code: SPI_NO_MEMORY
 * (the picture is beyond what can be allocated) is "too large",
 * SPI_BROKEN_DATA "broken"; success and every other code give no reason. */
static inline int32_t spi_result(int32_t rc)
{
    spi_last_failure = rc == SPI_NO_MEMORY ? SPI_FAILURE_TOO_LARGE
        : rc == SPI_BROKEN_DATA             ? SPI_FAILURE_BROKEN
                                            : SPI_FAILURE_UNSPECIFIED;
    return rc;
}

/* The flag get_picture sees when the host asks for a sampled reduction
 * (GetPictureSampled): each block becomes its middle pixel, not its average.
 * It lies outside the bits GetPicture gives meaning to. */
#define SPI_SAMPLE_BLOCKS 0x80000000u

/* A module whose decoding is one function
 *     static int32_t get_picture(fileName, offset, flags, info, pixels,
 *         progress, data, wantedWidth, wantedHeight, fullWidth, fullHeight)
 * (a wanted size of 0 x 0 and null full sizes: the whole picture) defines
 * GetPicture and the reduced-decoding extension GetPictureReduced from it
 * by placing SPI_DEFINE_GET_PICTURE_ENTRIES() once in its source. */
#define SPI_DEFINE_GET_PICTURE_ENTRIES()                                                          \
    int32_t GetPicture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,     \
        SpiHandle *pixels, SpiProgressCallback progress, intptr_t data)                           \
    {                                                                                             \
        return spi_result(get_picture(fileName, offset, flags & ~SPI_SAMPLE_BLOCKS, info, pixels, \
            progress, data, 0, 0, NULL, NULL));                                                   \
    }                                                                                             \
    int32_t GetPictureReduced(int32_t hostVersion, const char *fileName, int32_t offset,          \
        uint32_t flags, int32_t wantedWidth, int32_t wantedHeight, int32_t *fullWidth,            \
        int32_t *fullHeight, SpiHandle *info, SpiHandle *pixels, SpiProgressCallback progress,    \
        intptr_t data)                                                                            \
    {                                                                                             \
        if (hostVersion < 1 || !fullWidth || !fullHeight)                                         \
            return spi_result(SPI_NOT_IMPLEMENTED);                                               \
        return spi_result(get_picture(fileName, offset, flags & ~SPI_SAMPLE_BLOCKS, info, pixels, \
            progress, data, wantedWidth, wantedHeight, fullWidth, fullHeight));                   \
    }

/* The sampling extension (see spi.h): a module whose reducers honour
 * SPI_SAMPLE_BLOCKS defines GetPictureSampled from the same get_picture by
 * placing SPI_DEFINE_GET_PICTURE_SAMPLED() once in its source. */
#define SPI_DEFINE_GET_PICTURE_SAMPLED()                                                          \
    int32_t GetPictureSampled(int32_t hostVersion, const char *fileName, int32_t offset,          \
        uint32_t flags, int32_t wantedWidth, int32_t wantedHeight, int32_t *fullWidth,            \
        int32_t *fullHeight, SpiHandle *info, SpiHandle *pixels, SpiProgressCallback progress,    \
        intptr_t data)                                                                            \
    {                                                                                             \
        if (hostVersion < 1 || !fullWidth || !fullHeight || (flags & SPI_SAMPLE_BLOCKS))          \
            return spi_result(SPI_NOT_IMPLEMENTED);                                               \
        return spi_result(get_picture(fileName, offset, flags | SPI_SAMPLE_BLOCKS, info, pixels,  \
            progress, data, wantedWidth, wantedHeight, fullWidth, fullHeight));                   \
    }

#define SPI_DEFINE_GET_PICTURE_FAILURE()                                                          \
    int32_t GetPictureFailure(int32_t hostVersion)                                                \
    {                                                                                             \
        return hostVersion >= 1 ? spi_last_failure : SPI_FAILURE_UNSPECIFIED;                     \
    }

/* The reduction extension (see spi.h): the factor (1, 2, 4 or 8) a picture
 * of fullWidth x fullHeight is delivered at when the host wants at least
 * wantedWidth x wantedHeight pixels. A wanted size of 0 asks for the whole
 * picture. */
static inline uint32_t spi_reduction_for(
    uint32_t fullWidth, uint32_t fullHeight, int32_t wantedWidth, int32_t wantedHeight)
{
    if (wantedWidth <= 0 || wantedHeight <= 0)
        return 1;
    for (uint32_t f = 8; f > 1; f /= 2)
        if ((uint64_t)fullWidth >= (uint64_t)f * (uint32_t)wantedWidth
            && (uint64_t)fullHeight >= (uint64_t)f * (uint32_t)wantedHeight)
            return f;
    return 1;
}

/* Averages blocks of factor x factor pixels of 32-bit rows (blue, green,
 * red, unused) into a 32-bit output while the rows are decoded, so the whole
 * picture is never held. Rows come in the order of their picture rows; rows
 * never given are white. */
typedef struct SpiReducer
{
    SpiOutput *out;
    uint32_t width, height, factor;
    int64_t block; /* reduced row being summed, -1 when none */
    uint32_t rows; /* rows of it given so far */
    uint32_t *sums; /* blue, green, red per reduced column */
    int sample; /* keep each block's middle pixel instead of its average */
} SpiReducer;

/* Allocates the output (ceil(width / factor) x ceil(height / factor), 32
 * bits, top-down, white) and the sums. With `sample` each block becomes its
 * middle pixel (see SPI_SAMPLE_BLOCKS). 0 on success, else an SPI error code
 * with nothing allocated. */
static inline int spi_reducer_start(
    SpiReducer *r, SpiOutput *out, uint32_t width, uint32_t height, uint32_t factor, int sample)
{
    memset(r, 0, sizeof *r);
    const uint32_t rw = (width + factor - 1) / factor, rh = (height + factor - 1) / factor;
    int rc = spi_output_alloc_rows(out, rw, rh, 32, 1);
    if (rc != SPI_OK)
        return rc;
    r->sums = (uint32_t *)calloc((size_t)rw * 3, sizeof(uint32_t));
    if (!r->sums) {
        spi_output_free(out);
        return SPI_NO_MEMORY;
    }
    memset(out->bits, 0xff, (size_t)(out->rowBytes * rh));
    r->out = out;
    r->width = width;
    r->height = height;
    r->factor = factor;
    r->block = -1;
    r->sample = sample;
    return SPI_OK;
}

static inline void spi_reducer_flush(SpiReducer *r)
{
    if (r->sample || r->block < 0 || (uint64_t)r->block >= r->out->height)
        return;
    const uint32_t f = r->factor;
    const uint64_t firstRow = (uint64_t)r->block * f;
    const uint32_t blockRows = (uint32_t)(r->height - firstRow < f ? r->height - firstRow : f);
    const uint32_t missing = blockRows > r->rows ? blockRows - r->rows : 0;
    uint8_t *dst = spi_output_row(r->out, (uint32_t)r->block);
    for (uint32_t cx = 0; cx < r->out->width; ++cx) {
        const uint32_t left = r->width - cx * f;
        const uint32_t colWidth = left < f ? left : f;
        const uint32_t n = colWidth * blockRows;
        const uint32_t white = 255u * colWidth * missing;
        uint32_t *c = r->sums + 3 * (size_t)cx;
        for (int i = 0; i < 3; ++i) {
            dst[4 * cx + i] = (uint8_t)((c[i] + white + n / 2) / n);
            c[i] = 0;
        }
        dst[4 * cx + 3] = 0xff;
    }
    r->rows = 0;
    r->block = -1;
}

/* Adds picture row y: width pixels of 4 bytes (blue, green, red, unused). */
static inline void spi_reducer_add(SpiReducer *r, uint32_t y, const uint8_t *row)
{
    const int64_t block = y / r->factor;
    if (r->sample) {
        const uint32_t f = r->factor, top = (uint32_t)block * f;
        const uint32_t blockRows = r->height - top < f ? r->height - top : f;
        if (y - top != blockRows / 2 || (uint64_t)block >= r->out->height)
            return;
        uint8_t *dst = spi_output_row(r->out, (uint32_t)block);
        for (uint32_t cx = 0; cx < r->out->width; ++cx) {
            const uint32_t left = r->width - cx * f;
            const uint8_t *px = row + 4 * (size_t)(cx * f + (left < f ? left : f) / 2);
            dst[4 * cx] = px[0];
            dst[4 * cx + 1] = px[1];
            dst[4 * cx + 2] = px[2];
            dst[4 * cx + 3] = 0xff;
        }
        return;
    }
    if (block != r->block) {
        spi_reducer_flush(r);
        r->block = block;
    }
    const uint32_t f = r->factor;
    for (uint32_t x = 0; x < r->width; ++x) {
        uint32_t *c = r->sums + 3 * (size_t)(x / f);
        c[0] += row[4 * x];
        c[1] += row[4 * x + 1];
        c[2] += row[4 * x + 2];
    }
    ++r->rows;
}

/* Writes the last block and frees the sums; the output stays in `out`. */
static inline void spi_reducer_finish(SpiReducer *r)
{
    if (r->out)
        spi_reducer_flush(r);
    free(r->sums);
    memset(r, 0, sizeof *r);
}

/* Averages blocks as SpiReducer does, for pixels that come in any order
 * (the passes of an interlaced picture, the stored rows of a turned one): it
 * holds a sum and a count for every pixel of the reduced picture, 8 bytes
 * each (a quarter of the whole picture at a factor of 2, far less above),
 * never the picture itself. Pixels never given count as `missing`, in the
 * output's byte order (blue, green, red). */
typedef struct SpiScatter
{
    SpiOutput *out;
    uint32_t width, height, factor, shift;
    uint8_t missing[3];
    uint16_t *sums; /* blue, green, red, count per reduced pixel: 64 x 255 fits */
    int sample; /* keep each block's middle pixel instead of its average */
} SpiScatter;

/* Allocates the output (ceil(width / factor) x ceil(height / factor), 32
 * bits, top-down) and the sums; `factor` is 2, 4 or 8. With `sample` each
 * block becomes its middle pixel (no sums are needed; blocks whose middle
 * pixel never comes are `missing`). 0 on success, else an SPI error code with
 * nothing allocated. */
static inline int spi_scatter_start(SpiScatter *s, SpiOutput *out, uint32_t width, uint32_t height,
    uint32_t factor, const uint8_t missing[3], int sample)
{
    memset(s, 0, sizeof *s);
    const uint32_t rw = (width + factor - 1) / factor, rh = (height + factor - 1) / factor;
    int rc = spi_output_alloc_rows(out, rw, rh, 32, 1);
    if (rc != SPI_OK)
        return rc;
    if (sample) {
        for (uint32_t y = 0; y < rh; ++y) {
            uint8_t *dst = spi_output_row(out, y);
            for (uint32_t x = 0; x < rw; ++x) {
                memcpy(dst + 4 * (size_t)x, missing, 3);
                dst[4 * (size_t)x + 3] = 0xff;
            }
        }
    } else if (!(s->sums = (uint16_t *)calloc((size_t)rw * rh * 4, sizeof(uint16_t)))) {
        spi_output_free(out);
        return SPI_NO_MEMORY;
    }
    s->sample = sample;
    s->out = out;
    s->width = width;
    s->height = height;
    s->factor = factor;
    while ((1u << s->shift) < factor)
        ++s->shift;
    memcpy(s->missing, missing, 3);
    return SPI_OK;
}

/* Adds the pixel (x, y) of the picture (blue, green, red, unused). */
static inline void spi_scatter_add(SpiScatter *s, uint32_t x, uint32_t y, const uint8_t *px)
{
    if (x >= s->width || y >= s->height)
        return;
    if (s->sample) {
        const uint32_t f = s->factor, left = x & ~(f - 1), top = y & ~(f - 1);
        const uint32_t w = s->width - left < f ? s->width - left : f;
        const uint32_t h = s->height - top < f ? s->height - top : f;
        if (x - left != w / 2 || y - top != h / 2)
            return;
        uint8_t *dst = spi_output_row(s->out, y >> s->shift) + 4 * (size_t)(x >> s->shift);
        dst[0] = px[0];
        dst[1] = px[1];
        dst[2] = px[2];
        return;
    }
    uint16_t *c = s->sums + 4 * ((size_t)(y >> s->shift) * s->out->width + (x >> s->shift));
    c[0] = (uint16_t)(c[0] + px[0]);
    c[1] = (uint16_t)(c[1] + px[1]);
    c[2] = (uint16_t)(c[2] + px[2]);
    ++c[3];
}

/* Adds `count` pixels of row y at columns x0, x0 + step, ... */
static inline void spi_scatter_add_run(
    SpiScatter *s, uint32_t y, uint32_t x0, uint32_t step, uint32_t count, const uint8_t *pixels)
{
    for (uint32_t i = 0; i < count; ++i)
        spi_scatter_add(s, x0 + i * step, y, pixels + 4 * (size_t)i);
}

/* Writes every reduced pixel (the same rounding as SpiReducer) and frees
 * the sums; the output stays in `out`. Nothing is written when the sums were
 * never had. */
static inline void spi_scatter_finish(SpiScatter *s)
{
    if (s->out && s->sums) {
        const uint32_t f = s->factor;
        for (uint32_t by = 0; by < s->out->height; ++by) {
            const uint32_t down = s->height - by * f;
            const uint32_t blockRows = down < f ? down : f;
            uint8_t *dst = spi_output_row(s->out, by);
            const uint16_t *c = s->sums + 4 * (size_t)by * s->out->width;
            for (uint32_t bx = 0; bx < s->out->width; ++bx, c += 4) {
                const uint32_t left = s->width - bx * f;
                const uint32_t n = (left < f ? left : f) * blockRows;
                const uint32_t absent = n > c[3] ? n - c[3] : 0;
                for (int i = 0; i < 3; ++i)
                    dst[4 * bx + i] = (uint8_t)((c[i] + s->missing[i] * absent + n / 2) / n);
                dst[4 * bx + 3] = 0xff;
            }
        }
    }
    free(s->sums);
    memset(s, 0, sizeof *s);
}

/* Where stored pixel (sx, sy) of a sw x sh picture lies in the upright
 * picture, for the orientation values of TIFF and EXIF (1 upright, 2 to 4
 * mirrored, 5 to 8 turned a quarter; any other value is upright). */
static inline void spi_upright_position(
    int orientation, uint32_t sx, uint32_t sy, uint32_t sw, uint32_t sh, uint32_t *x, uint32_t *y)
{
    switch (orientation) {
    case 2:
        *x = sw - 1 - sx;
        *y = sy;
        break;
    case 3:
        *x = sw - 1 - sx;
        *y = sh - 1 - sy;
        break;
    case 4:
        *x = sx;
        *y = sh - 1 - sy;
        break;
    case 5:
        *x = sy;
        *y = sx;
        break;
    case 6:
        *x = sh - 1 - sy;
        *y = sx;
        break;
    case 7:
        *x = sh - 1 - sy;
        *y = sw - 1 - sx;
        break;
    case 8:
        *x = sy;
        *y = sw - 1 - sx;
        break;
    default:
        *x = sx;
        *y = sy;
        break;
    }
}

/* Flattens a non-premultiplied colour value with alpha onto white. */
static inline uint8_t spi_on_white(unsigned value, unsigned alpha)
{
    return (uint8_t)((value * alpha + 255u * (255u - alpha) + 127u) / 255u);
}

#endif
