/* JPEG decoder module: colour pictures come out as 32 bits, rows top-down
 * (blue, green, red, 0xff: the host uses them without a copy), grey ones as
 * 8 bits with a grey ramp. CMYK pictures are converted to RGB as stored by
 * the usual (inverted) convention. */
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
} Decode;

static int32_t decode(Decode *d, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    struct jpeg_decompress_struct *cinfo = &d->cinfo;
    if (setjmp(d->err.jump))
        return SPI_BROKEN_DATA;
    jpeg_create_decompress(cinfo);
    d->created = 1;
    jpeg_stdio_src(cinfo, d->file);
    jpeg_read_header(cinfo, TRUE);
    if ((uint64_t)cinfo->image_width * cinfo->image_height > SPI_MAX_PIXELS)
        return SPI_NO_MEMORY;
    const int grey = cinfo->jpeg_color_space == JCS_GRAYSCALE;
    const int cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(cinfo);
    const JDIMENSION width = cinfo->output_width;
    const JDIMENSION height = cinfo->output_height;
    int rc = grey ? spi_output_alloc(&d->out, width, height, 8)
                  : spi_output_alloc_rows(&d->out, width, height, 32, 1);
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
    while (cinfo->output_scanline < height) {
        const JDIMENSION y = cinfo->output_scanline;
        uint8_t *dst = spi_output_row(&d->out, y);
        if (!cmyk) {
            JSAMPROW row = dst;
            jpeg_read_scanlines(cinfo, &row, 1);
            continue;
        }
        JSAMPROW row = d->cmykRow;
        jpeg_read_scanlines(cinfo, &row, 1);
        for (JDIMENSION x = 0; x < width; ++x) {
            const unsigned c = row[4 * x], m = row[4 * x + 1], yy = row[4 * x + 2],
                           k = row[4 * x + 3];
            dst[4 * x + 0] = (uint8_t)(yy * k / 255);
            dst[4 * x + 1] = (uint8_t)(m * k / 255);
            dst[4 * x + 2] = (uint8_t)(c * k / 255);
            dst[4 * x + 3] = 0xff;
        }
    }
    jpeg_finish_decompress(cinfo);
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

static int32_t get_picture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,
    SpiHandle *pixels, SpiProgressCallback progress, intptr_t data)
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
    const int32_t rc = decode(d, info, pixels);
    if (d->created)
        jpeg_destroy_decompress(&d->cinfo);
    fclose(d->file);
    free(d->cmykRow);
    spi_output_free(&d->out);
    free(d);
    return rc;
}

int32_t GetPicture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,
    SpiHandle *pixels, SpiProgressCallback progress, intptr_t data)
{
    return spi_result(get_picture(fileName, offset, flags, info, pixels, progress, data));
}

SPI_DEFINE_GET_PICTURE_FAILURE()
