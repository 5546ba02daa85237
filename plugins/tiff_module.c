/* TIFF decoder module: the first page of the file, in every colour kind and
 * compression libtiff's RGBA reader handles (1 to 16 bits per sample,
 * palette, grey, RGB, YCbCr, CMYK at 8 bits, alpha flattened onto white),
 * with the orientation tag applied. Pictures come out as 32 bits, rows
 * top-down (blue, green, red, 0xff: the host uses them without a copy).
 * libtiff's messages go to handlers of this decode only, never to stderr.
 * A picture asked for at a reduced size (GetPictureReduced) is read a band
 * of rows at a time and reduced as it comes, so the whole picture is never
 * held (a mirrored or turned one has each pixel go into the block of the
 * upright picture it belongs to); only 16-bit CMYK stored in planes is
 * decoded whole. */
#include <stdlib.h>
#include <tiffio.h>

#include "spi_module.h"

int32_t GetPluginInfo(int32_t infoNo, char *buf, int32_t len)
{
    return spi_plugin_info(infoNo, buf, len, "TIFF decoder (libtiff)", "*.tif;*.tiff", "TIFF");
}

int32_t IsSupported(const char *fileName, const void *header)
{
    (void)fileName;
    if (!header)
        return 0;
    const unsigned char *h = (const unsigned char *)header;
    /* Classic TIFF (42) and BigTIFF (43), either byte order. */
    if (h[0] == 'I' && h[1] == 'I')
        return (h[2] == 42 || h[2] == 43) && h[3] == 0;
    if (h[0] == 'M' && h[1] == 'M')
        return h[2] == 0 && (h[3] == 42 || h[3] == 43);
    return 0;
}

/* The file as libtiff sees it: the bytes from `base` on. */
typedef struct Source
{
    FILE *file;
    long base;
} Source;

static tmsize_t source_read(thandle_t h, void *buf, tmsize_t size)
{
    if (size <= 0)
        return 0;
    return (tmsize_t)fread(buf, 1, (size_t)size, ((Source *)h)->file);
}

static tmsize_t source_write(thandle_t h, void *buf, tmsize_t size)
{
    (void)h;
    (void)buf;
    (void)size;
    return 0;
}

static toff_t source_seek(thandle_t h, toff_t off, int whence)
{
    Source *s = (Source *)h;
    int rc;
    if (whence == SEEK_SET) {
        if (off > (toff_t)(0x7fffffffffffffffll - s->base))
            return (toff_t)-1;
        rc = fseeko(s->file, (off_t)(s->base + (long long)off), SEEK_SET);
    } else {
        rc = fseeko(s->file, (off_t)(int64_t)off, whence);
    }
    if (rc != 0)
        return (toff_t)-1;
    const off_t pos = ftello(s->file);
    return pos < s->base ? (toff_t)-1 : (toff_t)(pos - s->base);
}

static int source_close(thandle_t h)
{
    (void)h;
    return 0;
}

static toff_t source_size(thandle_t h)
{
    Source *s = (Source *)h;
    const off_t here = ftello(s->file);
    if (fseeko(s->file, 0, SEEK_END) != 0)
        return 0;
    const off_t end = ftello(s->file);
    fseeko(s->file, here, SEEK_SET);
    return end < s->base ? 0 : (toff_t)(end - s->base);
}

static int source_map(thandle_t h, void **base, toff_t *size)
{
    (void)h;
    (void)base;
    (void)size;
    return 0;
}

static void source_unmap(thandle_t h, void *base, toff_t size)
{
    (void)h;
    (void)base;
    (void)size;
}

static int quiet(TIFF *tif, void *user, const char *module, const char *fmt, va_list ap)
{
    (void)tif;
    (void)user;
    (void)module;
    (void)fmt;
    (void)ap;
    return 1; /* handled: nothing reaches stderr */
}

typedef struct Decode
{
    Source source;
    TIFFOpenOptions *options;
    TIFF *tif;
    TIFFRGBAImage img;
    int imgStarted;
    uint32_t *stored; /* the picture in its stored layout, when it is turned */
    SpiOutput out;
    uint32_t *band; /* rows read at once, when reducing */
    uint8_t *line; /* one 16-bit CMYK scanline, when reducing */
    SpiReducer reducer;
    SpiScatter scatter; /* a mirrored or turned picture's blocks, when reducing */
    int32_t wantedWidth, wantedHeight; /* 0: the whole picture */
    int sample; /* reduce by each block's middle pixel (SPI_SAMPLE_BLOCKS) */
    int32_t fullWidth, fullHeight;
} Decode;

/* Where picture pixel (x, y) of an oriented picture lies in the stored one
 * (sw x sh pixels), for the orientation tag's values 2 to 8. */
static size_t stored_index(int orientation, uint32_t x, uint32_t y, uint32_t sw, uint32_t sh)
{
    uint32_t sx, sy;
    switch (orientation) {
    case ORIENTATION_TOPRIGHT: sx = sw - 1 - x; sy = y; break;
    case ORIENTATION_BOTRIGHT: sx = sw - 1 - x; sy = sh - 1 - y; break;
    case ORIENTATION_BOTLEFT: sx = x; sy = sh - 1 - y; break;
    case ORIENTATION_LEFTTOP: sx = y; sy = x; break;
    case ORIENTATION_RIGHTTOP: sx = y; sy = sh - 1 - x; break;
    case ORIENTATION_RIGHTBOT: sx = sw - 1 - y; sy = sh - 1 - x; break;
    case ORIENTATION_LEFTBOT: sx = sw - 1 - y; sy = x; break;
    default: sx = x; sy = y; break;
    }
    return (size_t)sy * sw + sx;
}

/* libtiff's RGBA pixels (red in the low byte, alpha associated) as the
 * output's blue, green, red, 0xff, flattened onto white. */
static inline uint32_t to_output(uint32_t abgr)
{
    const uint32_t a = abgr >> 24;
    if (a == 0xff)
        return 0xff000000u | (abgr & 0xff) << 16 | (abgr & 0xff00) | (abgr >> 16 & 0xff);
    const uint32_t lift = 255 - a; /* premultiplied colour + white * (1 - alpha) */
    const uint32_t r = (abgr & 0xff) + lift, g = (abgr >> 8 & 0xff) + lift,
                   b = (abgr >> 16 & 0xff) + lift;
    return 0xff000000u | (r > 255 ? 255 : r) << 16 | (g > 255 ? 255 : g) << 8 | (b > 255 ? 255 : b);
}

/* A 16-bit CMYK scanline with its samples together as libtiff's RGBA reader
 * would give it at 8 bits: each ink rounded to 8 bits, then
 * red = (255 - C) x (255 - K) / 255. */
static void cmyk16_row(const uint16_t *v, uint16_t samples, uint32_t w, uint32_t *px)
{
    for (uint32_t x = 0; x < w; ++x, v += samples) {
        const uint32_t c = 255u - (v[0] + 128u) / 257u, m = 255u - (v[1] + 128u) / 257u,
                       y = 255u - (v[2] + 128u) / 257u, k = 255u - (v[3] + 128u) / 257u;
        px[x] = 0xff000000u | (k * y / 255) << 16 | (k * m / 255) << 8 | k * c / 255;
    }
}

/* A 16-bit CMYK picture, stored in strips with its samples together or in
 * planes, into `raster` as cmyk16_row gives its pixels. */
static int32_t read_cmyk16(Decode *d, uint32_t *raster, uint32_t w, uint32_t h, uint16_t samples)
{
    TIFF *tif = d->tif;
    uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    if (TIFFIsTiled(tif))
        return SPI_BROKEN_DATA;
    const int planes = planar == PLANARCONFIG_SEPARATE;
    const tmsize_t lineBytes = TIFFScanlineSize(tif);
    const uint64_t need = (uint64_t)w * 2 * (planes ? 1 : samples);
    if (lineBytes <= 0 || (uint64_t)lineBytes < need)
        return SPI_BROKEN_DATA;
    uint8_t *line = (uint8_t *)malloc((size_t)lineBytes);
    if (!line)
        return SPI_NO_MEMORY;
    int32_t rc = SPI_OK;
    if (!planes) {
        for (uint32_t y = 0; y < h && rc == SPI_OK; ++y) {
            if (TIFFReadScanline(tif, line, y, 0) < 0)
                rc = SPI_BROKEN_DATA;
            else
                cmyk16_row((const uint16_t *)line, samples, w, raster + (size_t)y * w);
        }
        free(line);
        return rc;
    }
    memset(raster, 0xff, (size_t)w * h * 4); /* white ink: nothing yet */
    for (int s = 0; s < 4 && rc == SPI_OK; ++s) {
        for (uint32_t y = 0; y < h; ++y) {
            if (TIFFReadScanline(tif, line, y, (uint16_t)s) < 0) {
                rc = SPI_BROKEN_DATA;
                break;
            }
            /* Each ink is kept inverted (255 - ink, rounded to 8 bits) in
             * its byte (C, M, Y, K as red, green, blue, alpha) until all
             * four planes are in. */
            const uint16_t *v = (const uint16_t *)line;
            uint32_t *px = raster + (size_t)y * w;
            const uint32_t shift = 8u * (uint32_t)s;
            for (uint32_t x = 0; x < w; ++x)
                px[x] = (px[x] & ~(0xffu << shift)) | (255u - (v[x] + 128u) / 257u) << shift;
        }
    }
    free(line);
    if (rc != SPI_OK)
        return rc;
    for (size_t i = 0, n = (size_t)w * h; i < n; ++i) {
        const uint32_t v = raster[i], k = v >> 24;
        raster[i] = 0xff000000u | (k * (v >> 16 & 0xff) / 255) << 16
            | (k * (v >> 8 & 0xff) / 255) << 8 | k * (v & 0xff) / 255;
    }
    return SPI_OK;
}

/* The picture reduced by `factor` while it is read, a band of `factor`
 * stored rows at a time (16-bit CMYK a scanline at a time): an upright
 * picture's rows go into the reducer, a mirrored or turned one's pixels into
 * the blocks of the upright picture they belong to. */
static int32_t decode_reduced(Decode *d, uint32_t sw, uint32_t sh, int orientation, int cmyk16,
    uint16_t samples, uint32_t factor, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    const int upright = orientation == ORIENTATION_TOPLEFT;
    const int turned = orientation >= ORIENTATION_LEFTTOP;
    const uint32_t width = turned ? sh : sw, height = turned ? sw : sh;
    d->band = (uint32_t *)malloc((size_t)sw * factor * 4);
    if (!d->band)
        return SPI_NO_MEMORY;
    if (cmyk16) {
        const tmsize_t lineBytes = TIFFScanlineSize(d->tif);
        if (lineBytes <= 0 || (uint64_t)lineBytes < (uint64_t)sw * 2 * samples)
            return SPI_BROKEN_DATA;
        d->line = (uint8_t *)malloc((size_t)lineBytes);
        if (!d->line)
            return SPI_NO_MEMORY;
    }
    static const uint8_t white[3] = { 0xff, 0xff, 0xff };
    int32_t rc = upright
        ? spi_reducer_start(&d->reducer, &d->out, width, height, factor, d->sample)
        : spi_scatter_start(&d->scatter, &d->out, width, height, factor, white, d->sample);
    if (rc != SPI_OK)
        return rc;
    for (uint32_t y = 0; y < sh; y += factor) {
        const uint32_t rows = sh - y < factor ? sh - y : factor;
        if (cmyk16) {
            for (uint32_t r = 0; r < rows; ++r) {
                if (TIFFReadScanline(d->tif, d->line, y + r, 0) < 0)
                    return SPI_BROKEN_DATA;
                cmyk16_row((const uint16_t *)d->line, samples, sw, d->band + (size_t)r * sw);
            }
        } else {
            d->img.row_offset = (int)y;
            d->img.col_offset = 0;
            if (!TIFFRGBAImageGet(&d->img, d->band, sw, rows))
                return SPI_BROKEN_DATA;
        }
        for (uint32_t r = 0; r < rows; ++r) {
            uint32_t *px = d->band + (size_t)r * sw;
            for (uint32_t x = 0; x < sw; ++x)
                px[x] = to_output(px[x]);
            if (upright) {
                spi_reducer_add(&d->reducer, y + r, (const uint8_t *)px);
                continue;
            }
            for (uint32_t sx = 0; sx < sw; ++sx) {
                uint32_t ux, uy;
                spi_upright_position(orientation, sx, y + r, sw, sh, &ux, &uy);
                spi_scatter_add(&d->scatter, ux, uy, (const uint8_t *)(px + sx));
            }
        }
    }
    spi_reducer_finish(&d->reducer);
    spi_scatter_finish(&d->scatter);
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

static int32_t decode(Decode *d, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    TIFF *tif = d->tif;
    uint32_t sw = 0, sh = 0;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &sw) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &sh))
        return SPI_BROKEN_DATA;
    if (sw == 0 || sh == 0)
        return SPI_BROKEN_DATA;
    if ((uint64_t)sw * sh > SPI_MAX_PIXELS)
        return SPI_NO_MEMORY;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    if (orientation < ORIENTATION_TOPLEFT || orientation > ORIENTATION_LEFTBOT)
        orientation = ORIENTATION_TOPLEFT;

    /* libtiff's RGBA reader takes CMYK at 8 bits only; 16-bit CMYK scans are
     * read here. */
    uint16_t photometric = 0, bits = 0, samples = 0, inkset = INKSET_CMYK;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inkset);
    const int cmyk16 = photometric == PHOTOMETRIC_SEPARATED && bits == 16 && samples >= 4
        && inkset == INKSET_CMYK;
    if (!cmyk16) {
        char message[1024];
        if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&d->img, tif, 1, message))
            return SPI_BROKEN_DATA;
        d->imgStarted = 1;
        if (d->img.width != sw || d->img.height != sh)
            return SPI_BROKEN_DATA;
        /* Ask for the rows as stored (libtiff would mirror, but never turn),
         * and apply the whole orientation below. */
        d->img.req_orientation = d->img.orientation;
    }
    const int turned = orientation >= ORIENTATION_LEFTTOP;
    const uint32_t width = turned ? sh : sw, height = turned ? sw : sh;
    d->fullWidth = (int32_t)width;
    d->fullHeight = (int32_t)height;
    const uint32_t factor = spi_reduction_for(width, height, d->wantedWidth, d->wantedHeight);
    uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    if (factor > 1 && !(cmyk16 && (planar == PLANARCONFIG_SEPARATE || TIFFIsTiled(tif))))
        return decode_reduced(d, sw, sh, orientation, cmyk16, samples, factor, infoOut, pixelsOut);
    int32_t rc = spi_output_alloc_rows(&d->out, width, height, 32, 1);
    if (rc != SPI_OK)
        return rc;
    /* 32-bit rows are exactly width x 4 bytes: the upright picture is read
     * straight into the output block. */
    uint32_t *raster = (uint32_t *)d->out.bits;
    if (orientation != ORIENTATION_TOPLEFT) {
        d->stored = (uint32_t *)malloc((size_t)sw * sh * 4);
        if (!d->stored)
            return SPI_NO_MEMORY;
        raster = d->stored;
    }
    if (cmyk16) {
        rc = read_cmyk16(d, raster, sw, sh, samples);
        if (rc != SPI_OK)
            return rc;
    } else if (!TIFFRGBAImageGet(&d->img, raster, sw, sh)) {
        return SPI_BROKEN_DATA;
    }

    uint32_t *dst = (uint32_t *)d->out.bits;
    if (!d->stored && (cmyk16 || d->img.alpha == 0)) {
        /* Opaque: only red and blue change places (a loop the compiler
         * vectorises). */
        const size_t n = (size_t)sw * sh;
        for (size_t i = 0; i < n; ++i) {
            const uint32_t v = dst[i];
            dst[i] = 0xff000000u | (v & 0xff) << 16 | (v & 0xff00) | (v >> 16 & 0xff);
        }
    } else if (!d->stored) {
        const size_t n = (size_t)sw * sh;
        for (size_t i = 0; i < n; ++i)
            dst[i] = to_output(dst[i]);
    } else {
        for (uint32_t y = 0; y < height; ++y, dst += width)
            for (uint32_t x = 0; x < width; ++x)
                dst[x] = to_output(d->stored[stored_index(orientation, x, y, sw, sh)]);
    }
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

static int32_t get_picture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,
    SpiHandle *pixels, SpiProgressCallback progress, intptr_t data, int32_t wantedWidth,
    int32_t wantedHeight, int32_t *fullWidth, int32_t *fullHeight)
{
    (void)progress;
    (void)data;
    if ((flags & 7) != 0 || !info || !pixels)
        return SPI_NOT_IMPLEMENTED;
    Decode *d = (Decode *)calloc(1, sizeof(Decode));
    if (!d)
        return SPI_NO_MEMORY;
    int32_t rc = SPI_FILE_READ_ERROR;
    d->wantedWidth = wantedWidth;
    d->sample = (flags & SPI_SAMPLE_BLOCKS) != 0;
    d->wantedHeight = wantedHeight;
    d->source.file = spi_open_at(fileName, offset);
    d->source.base = offset;
    if (d->source.file) {
        rc = SPI_NO_MEMORY;
        d->options = TIFFOpenOptionsAlloc();
        if (d->options) {
            /* No single allocation beyond what the whole picture may take:
             * a strip or tile claiming more is refused by libtiff itself. */
            TIFFOpenOptionsSetMaxSingleMemAlloc(d->options, (tmsize_t)(SPI_MAX_PIXELS * 4));
            TIFFOpenOptionsSetErrorHandlerExtR(d->options, quiet, NULL);
            TIFFOpenOptionsSetWarningHandlerExtR(d->options, quiet, NULL);
            d->tif = TIFFClientOpenExt(fileName, "r", (thandle_t)&d->source, source_read,
                source_write, source_seek, source_close, source_size, source_map, source_unmap,
                d->options);
            rc = d->tif ? decode(d, info, pixels) : SPI_BROKEN_DATA;
        }
    }
    if (fullWidth)
        *fullWidth = d->fullWidth;
    if (fullHeight)
        *fullHeight = d->fullHeight;
    spi_reducer_finish(&d->reducer);
    free(d->scatter.sums);
    free(d->band);
    free(d->line);
    if (d->imgStarted)
        TIFFRGBAImageEnd(&d->img);
    if (d->tif)
        TIFFClose(d->tif);
    if (d->options)
        TIFFOpenOptionsFree(d->options);
    if (d->source.file)
        fclose(d->source.file);
    free(d->stored);
    spi_output_free(&d->out);
    free(d);
    return rc;
}

/* Every failure leaves through here: SPI_NO_MEMORY for a picture too large
 * to hold, SPI_BROKEN_DATA for a damaged file. A host that asks why a
 * picture failed gets the reason from these codes. */
SPI_DEFINE_GET_PICTURE_ENTRIES()
SPI_DEFINE_GET_PICTURE_SAMPLED()
SPI_DEFINE_GET_PICTURE_FAILURE()
