/* JPEG decoder module: colour pictures come out as 32 bits, rows top-down
 * (blue, green, red, 0xff: the host uses them without a copy), grey ones as
 * 8 bits with a grey ramp. CMYK pictures are converted to RGB as stored by
 * the usual (inverted) convention. The EXIF orientation of a photograph is
 * applied, so a picture taken upright comes out upright. A picture asked
 * for at a reduced size (GetPictureReduced) is decoded at that size through
 * the library's scaled decoding; one asked for sampled (GetPictureSampled)
 * is decoded a row at a time at its own size and keeps each block's middle
 * pixel, so only the sampled picture is held. */
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>

#include "spi_module.h"

#include <jpeglib.h>

int32_t GetPluginInfo(int32_t infoNo, char *buf, int32_t len)
{
    return spi_plugin_info(infoNo, buf, len, "JPEG decoder (libjpeg-turbo)", "*.jpg;*.jpeg;*.jpe;*.jfif", "JPEG");
}

int32_t IsSupported(const char *fileName, const void *header)
{
    (void)fileName;
    if (!header)
        return 0;
    const unsigned char *h = (const unsigned char *)header;
    return h[0] == 0xff && h[1] == 0xd8 && h[2] == 0xff;
}

typedef struct ErrorManager
{
    struct jpeg_error_mgr base;
    jmp_buf jump;
} ErrorManager;

static void on_error(j_common_ptr cinfo)
{
    longjmp(((ErrorManager *)cinfo->err)->jump, 1);
}

static void on_message(j_common_ptr cinfo, int level)
{
    (void)cinfo;
    (void)level;
}

typedef struct Decode
{
    FILE *file;
    struct jpeg_decompress_struct cinfo;
    ErrorManager err;
    int created;
    SpiOutput out;
    JSAMPLE *cmykRow;
    uint8_t *upright; /* the stored picture, when it must be turned */
    uint8_t *row; /* one 32-bit row, when sampling */
    SpiReducer reducer;
    SpiScatter scatter; /* a turned picture's blocks, when sampling */
    int sample; /* keep each block's middle pixel (SPI_SAMPLE_BLOCKS) */
    int32_t wantedWidth, wantedHeight; /* 0: the whole picture */
    int32_t fullWidth, fullHeight; /* the picture's own size, upright */
} Decode;

static unsigned exif_u16(const uint8_t *p, int big)
{
    return big ? (unsigned)(p[0] << 8 | p[1]) : (unsigned)(p[1] << 8 | p[0]);
}

static uint32_t exif_u32(const uint8_t *p, int big)
{
    return big ? (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]
               : (uint32_t)p[3] << 24 | (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
}

/* The orientation (1..8) recorded in an APP1 "Exif" marker, 1 when there is
 * none or it is unreadable. */
static int exif_orientation(const struct jpeg_decompress_struct *cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
        if (m->marker != JPEG_APP0 + 1 || m->data_length < 14
            || memcmp(m->data, "Exif\0\0", 6) != 0)
            continue;
        const uint8_t *tiff = m->data + 6;
        const uint32_t size = m->data_length - 6;
        int big;
        if (memcmp(tiff, "II", 2) == 0)
            big = 0;
        else if (memcmp(tiff, "MM", 2) == 0)
            big = 1;
        else
            continue;
        if (exif_u16(tiff + 2, big) != 42)
            continue;
        const uint32_t ifd = exif_u32(tiff + 4, big);
        if (ifd > size - 2 || ifd < 8)
            continue;
        const unsigned count = exif_u16(tiff + ifd, big);
        for (unsigned i = 0; i < count; ++i) {
            const uint64_t entry = (uint64_t)ifd + 2 + 12 * (uint64_t)i;
            if (entry + 12 > size)
                break;
            const uint8_t *e = tiff + entry;
            /* Tag 0x0112, one SHORT. */
            if (exif_u16(e, big) != 0x0112)
                continue;
            if (exif_u16(e + 2, big) != 3 || exif_u32(e + 4, big) != 1)
                return 1;
            const unsigned v = exif_u16(e + 8, big);
            return v >= 1 && v <= 8 ? (int)v : 1;
        }
    }
    return 1;
}

/* Writes the stored picture (w x h pixels of `bpp` bytes, rows of `stride`
 * bytes) into the output turned by an EXIF orientation of 2..8. */
static void turn(const uint8_t *src, uint32_t w, uint32_t h, size_t stride, int bpp,
    int orientation, SpiOutput *out)
{
    for (uint32_t y = 0; y < out->height; ++y) {
        uint8_t *dst = spi_output_row(out, y);
        for (uint32_t x = 0; x < out->width; ++x) {
            uint32_t sx, sy;
            switch (orientation) {
            case 2: sx = w - 1 - x; sy = y; break; /* mirrored */
            case 3: sx = w - 1 - x; sy = h - 1 - y; break; /* upside down */
            case 4: sx = x; sy = h - 1 - y; break; /* mirrored upside down */
            case 5: sx = y; sy = x; break; /* transposed */
            case 6: sx = y; sy = h - 1 - x; break; /* turned a quarter clockwise */
            case 7: sx = w - 1 - y; sy = h - 1 - x; break; /* transversed */
            default: sx = w - 1 - y; sy = x; break; /* 8: a quarter anticlockwise */
            }
            memcpy(dst + (size_t)x * bpp, src + (size_t)sy * stride + (size_t)sx * bpp, (size_t)bpp);
        }
    }
}

/* A CMYK row (stored inverted, as the usual writers do) as 32-bit blue,
 * green, red, 0xff. */
static void cmyk_row(const JSAMPLE *row, JDIMENSION width, uint8_t *dst)
{
    for (JDIMENSION x = 0; x < width; ++x) {
        const unsigned c = row[4 * x], m = row[4 * x + 1], yy = row[4 * x + 2], k = row[4 * x + 3];
        dst[4 * x + 0] = (uint8_t)(yy * k / 255);
        dst[4 * x + 1] = (uint8_t)(m * k / 255);
        dst[4 * x + 2] = (uint8_t)(c * k / 255);
        dst[4 * x + 3] = 0xff;
    }
}

/* The picture sampled by `factor` while its rows are decoded at full size:
 * an upright picture's rows go into the reducer, a mirrored or turned one's
 * pixels into the blocks of the upright picture they belong to. */
static int32_t decode_sampled(
    Decode *d, int orientation, int cmyk, uint32_t factor, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    struct jpeg_decompress_struct *cinfo = &d->cinfo;
    const JDIMENSION width = cinfo->output_width, height = cinfo->output_height;
    static const uint8_t white[3] = { 0xff, 0xff, 0xff };
    int rc = orientation == 1 ? spi_reducer_start(&d->reducer, &d->out, (uint32_t)d->fullWidth,
                                    (uint32_t)d->fullHeight, factor, 1)
                              : spi_scatter_start(&d->scatter, &d->out, (uint32_t)d->fullWidth,
                                    (uint32_t)d->fullHeight, factor, white, 1);
    if (rc != SPI_OK)
        return rc;
    d->row = (uint8_t *)malloc((size_t)width * 4);
    if (cmyk)
        d->cmykRow = (JSAMPLE *)malloc((size_t)width * 4);
    if (!d->row || (cmyk && !d->cmykRow))
        return SPI_NO_MEMORY;
    while (cinfo->output_scanline < height) {
        const JDIMENSION y = cinfo->output_scanline;
        JSAMPROW row = cmyk ? d->cmykRow : d->row;
        jpeg_read_scanlines(cinfo, &row, 1);
        if (cmyk)
            cmyk_row(d->cmykRow, width, d->row);
        if (orientation == 1) {
            spi_reducer_add(&d->reducer, y, d->row);
            continue;
        }
        for (JDIMENSION x = 0; x < width; ++x) {
            uint32_t ux, uy;
            spi_upright_position(orientation, x, y, width, height, &ux, &uy);
            spi_scatter_add(&d->scatter, ux, uy, d->row + 4 * (size_t)x);
        }
    }
    jpeg_finish_decompress(cinfo);
    spi_reducer_finish(&d->reducer);
    spi_scatter_finish(&d->scatter);
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

static int32_t decode(Decode *d, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    struct jpeg_decompress_struct *cinfo = &d->cinfo;
    if (setjmp(d->err.jump))
        return SPI_BROKEN_DATA;
    jpeg_create_decompress(cinfo);
    d->created = 1;
    jpeg_stdio_src(cinfo, d->file);
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(cinfo, TRUE);
    const int orientation = exif_orientation(cinfo);
    if ((uint64_t)cinfo->image_width * cinfo->image_height > SPI_MAX_PIXELS)
        return SPI_NO_MEMORY;
    {
        /* The reduction counts in upright pixels; a quarter turn swaps the sides. */
        const int turned = orientation >= 5;
        d->fullWidth = (int32_t)(turned ? cinfo->image_height : cinfo->image_width);
        d->fullHeight = (int32_t)(turned ? cinfo->image_width : cinfo->image_height);
        cinfo->scale_num = 1;
        cinfo->scale_denom = spi_reduction_for(
            (uint32_t)d->fullWidth, (uint32_t)d->fullHeight, d->wantedWidth, d->wantedHeight);
    }
    const int grey = cinfo->jpeg_color_space == JCS_GRAYSCALE;
    const int cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    if (d->sample && cinfo->scale_denom > 1) {
        /* Sampling needs the file's own pixels: decoded at full size, a row
         * at a time, grey ones as 32 bits too. */
        const uint32_t factor = cinfo->scale_denom;
        cinfo->scale_denom = 1;
        cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
        jpeg_start_decompress(cinfo);
        return decode_sampled(d, orientation, cmyk, factor, infoOut, pixelsOut);
    }
    cinfo->out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(cinfo);
    const JDIMENSION width = cinfo->output_width;
    const JDIMENSION height = cinfo->output_height;
    /* A quarter turn swaps the sides. */
    const int swap = orientation >= 5;
    const uint32_t outWidth = swap ? height : width, outHeight = swap ? width : height;
    int rc = grey ? spi_output_alloc(&d->out, outWidth, outHeight, 8)
                  : spi_output_alloc_rows(&d->out, outWidth, outHeight, 32, 1);
    if (rc != SPI_OK)
        return rc;
    if (grey)
        for (int i = 0; i < 256; ++i)
            spi_output_set_palette(&d->out, i, i, i, i);
    if (cmyk) {
        d->cmykRow = (JSAMPLE *)malloc((size_t)width * 4);
        if (!d->cmykRow)
            return SPI_NO_MEMORY;
    }
    const int bpp = grey ? 1 : 4;
    const size_t stride = (size_t)width * bpp;
    if (orientation != 1) {
        d->upright = (uint8_t *)malloc(stride * height);
        if (!d->upright)
            return SPI_NO_MEMORY;
    }
    while (cinfo->output_scanline < height) {
        const JDIMENSION y = cinfo->output_scanline;
        uint8_t *dst = d->upright ? d->upright + stride * y : spi_output_row(&d->out, y);
        if (!cmyk) {
            JSAMPROW row = dst;
            jpeg_read_scanlines(cinfo, &row, 1);
            continue;
        }
        JSAMPROW row = d->cmykRow;
        jpeg_read_scanlines(cinfo, &row, 1);
        cmyk_row(row, width, dst);
    }
    if (d->upright)
        turn(d->upright, width, height, stride, bpp, orientation, &d->out);
    jpeg_finish_decompress(cinfo);
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
    d->file = spi_open_at(fileName, offset);
    if (!d->file) {
        free(d);
        return SPI_FILE_READ_ERROR;
    }
    d->cinfo.err = jpeg_std_error(&d->err.base);
    d->err.base.error_exit = on_error;
    d->err.base.emit_message = on_message;
    d->wantedWidth = wantedWidth;
    d->wantedHeight = wantedHeight;
    d->sample = (flags & SPI_SAMPLE_BLOCKS) != 0;
    const int32_t rc = decode(d, info, pixels);
    if (fullWidth)
        *fullWidth = d->fullWidth;
    if (fullHeight)
        *fullHeight = d->fullHeight;
    if (d->created)
        jpeg_destroy_decompress(&d->cinfo);
    fclose(d->file);
    free(d->cmykRow);
    free(d->upright);
    free(d->row);
    spi_reducer_finish(&d->reducer);
    free(d->scatter.sums);
    spi_output_free(&d->out);
    free(d);
    return rc;
}

SPI_DEFINE_GET_PICTURE_ENTRIES()
SPI_DEFINE_GET_PICTURE_SAMPLED()

SPI_DEFINE_GET_PICTURE_FAILURE()
