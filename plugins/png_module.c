/* PNG decoder module. Palette pictures come out as 8 bits with their
 * palette (a transparent palette entry keeps its colour, so the program's
 * transparent colour can name it); grey pictures as 8 bits with a grey
 * ramp; everything else as 32 bits, rows top-down (blue, green, red,
 * 0xff: the host uses them without a copy), with an alpha channel flattened
 * onto white. A picture asked for at a reduced size (GetPictureReduced) is
 * reduced row by row while it is decoded, so the whole picture is never
 * held; an interlaced one is reduced pass by pass, each pixel going into
 * the block it belongs to. */
#include <png.h>
#include <setjmp.h>
#include <stdlib.h>

#include "spi_module.h"

int32_t GetPluginInfo(int32_t infoNo, char *buf, int32_t len)
{
    return spi_plugin_info(infoNo, buf, len, "PNG decoder (libpng)", "*.png", "PNG");
}

int32_t IsSupported(const char *fileName, const void *header)
{
    (void)fileName;
    if (!header)
        return 0;
    return png_sig_cmp((png_const_bytep)header, 0, 8) == 0;
}

typedef struct Decode
{
    FILE *file;
    png_structp png;
    png_infop info;
    SpiOutput out;
    png_bytep rgba; /* whole picture, 4 bytes a pixel, for alpha pictures */
    png_bytepp rows;
    png_bytep row; /* one row, when reducing */
    SpiReducer reducer;
    SpiScatter scatter; /* an interlaced picture's blocks, when reducing */
    int32_t wantedWidth, wantedHeight; /* 0: the whole picture */
    int sample; /* reduce by each block's middle pixel (SPI_SAMPLE_BLOCKS) */
    int32_t fullWidth, fullHeight;
} Decode;

static void on_png_error(png_structp png, png_const_charp message)
{
    (void)message;
    longjmp(png_jmpbuf(png), 1);
}

static void on_png_warning(png_structp png, png_const_charp message)
{
    (void)png;
    (void)message;
}

static void cleanup(Decode *d)
{
    if (d->png)
        png_destroy_read_struct(&d->png, d->info ? &d->info : NULL, NULL);
    if (d->file)
        fclose(d->file);
    free(d->rgba);
    free(d->rows);
    free(d->row);
    spi_reducer_finish(&d->reducer);
    free(d->scatter.sums);
    spi_output_free(&d->out);
}

/* A row as 32 bits (blue, green, red, alpha) with its alpha flattened onto
 * white. */
static void flatten_row(png_bytep p, png_uint_32 count)
{
    for (png_uint_32 x = 0; x < count; ++x, p += 4) {
        const unsigned a = p[3];
        p[0] = spi_on_white(p[0], a);
        p[1] = spi_on_white(p[1], a);
        p[2] = spi_on_white(p[2], a);
    }
}

/* The picture reduced by `factor` while its rows are read: every row
 * becomes 32 bits (blue, green, red, alpha), alpha is flattened onto white as
 * in the whole picture (a palette's transparency is not: its colours are
 * kept), and the row goes into the reducer. An interlaced picture's rows
 * come pass by pass, each holding every few pixels of a picture row; their
 * pixels go into the blocks they belong to. */
static int32_t decode_reduced(Decode *d, uint32_t factor, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    png_structp png = d->png;
    png_infop info = d->info;
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    const int hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    const int palette = colorType == PNG_COLOR_TYPE_PALETTE;
    const int flatten = !palette && ((colorType & PNG_COLOR_MASK_ALPHA) || hasTrns);
    const int interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    /* No interlace handling: libpng gives each pass's own rows. */
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != 4 || png_get_rowbytes(png, info) != (size_t)width * 4)
        return SPI_BROKEN_DATA;
    d->row = (png_bytep)malloc((size_t)width * 4);
    if (!d->row)
        return SPI_NO_MEMORY;
    if (interlaced) {
        static const uint8_t white[3] = { 0xff, 0xff, 0xff };
        int rc = spi_scatter_start(&d->scatter, &d->out, width, height, factor, white, d->sample);
        if (rc != SPI_OK)
            return rc;
        for (int pass = 0; pass < 7; ++pass) {
            const png_uint_32 cols = PNG_PASS_COLS(width, pass);
            const png_uint_32 rows = PNG_PASS_ROWS(height, pass);
            if (cols == 0 || rows == 0)
                continue; /* libpng skips an empty pass */
            for (png_uint_32 r = 0; r < rows; ++r) {
                png_read_row(png, d->row, NULL);
                if (flatten)
                    flatten_row(d->row, cols);
                spi_scatter_add_run(&d->scatter, PNG_ROW_FROM_PASS_ROW(r, pass),
                    PNG_COL_FROM_PASS_COL(0, pass), PNG_PASS_COL_OFFSET(pass), cols, d->row);
            }
        }
        png_read_end(png, NULL);
        spi_scatter_finish(&d->scatter);
        return spi_output_finish(&d->out, infoOut, pixelsOut);
    }
    int rc = spi_reducer_start(&d->reducer, &d->out, width, height, factor, d->sample);
    if (rc != SPI_OK)
        return rc;
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, d->row, NULL);
        if (flatten)
            flatten_row(d->row, width);
        spi_reducer_add(&d->reducer, y, d->row);
    }
    png_read_end(png, NULL);
    spi_reducer_finish(&d->reducer);
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

static int32_t decode(Decode *d, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    png_structp png = d->png;
    png_infop info = d->info;
    if (setjmp(png_jmpbuf(png)))
        return SPI_BROKEN_DATA;
    png_init_io(png, d->file);
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    /* Text, profiles and the other chunks of any length that the pixels do
     * not need are skipped unread: libpng would allocate whatever length a
     * chunk's header claims, a gigabyte for a file of a few hundred bytes. */
    static const png_byte skipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0pCAL\0sCAL";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, skipped, (int)(sizeof skipped / 5));
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if ((uint64_t)width * height > SPI_MAX_PIXELS)
        return SPI_NO_MEMORY;
    d->fullWidth = (int32_t)width;
    d->fullHeight = (int32_t)height;
    const uint32_t factor = spi_reduction_for(width, height, d->wantedWidth, d->wantedHeight);
    if (factor > 1)
        return decode_reduced(d, factor, infoOut, pixelsOut);

    const int hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    const int palette = colorType == PNG_COLOR_TYPE_PALETTE;
    const int grey = colorType == PNG_COLOR_TYPE_GRAY && !hasTrns;
    const int alpha = !palette && !grey;
    const int alphaChannel = (colorType & PNG_COLOR_MASK_ALPHA) || hasTrns;

    if (depth == 16)
        png_set_scale_16(png);
    if (palette || grey) {
        if (depth < 8)
            png_set_packing(png);
        if (grey && depth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
    } else {
        if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
            png_set_gray_to_rgb(png);
        if (hasTrns)
            png_set_tRNS_to_alpha(png);
        if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        if (!alphaChannel)
            png_set_bgr(png);
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    }
    const int passes = png_set_interlace_handling(png);
    (void)passes;
    png_read_update_info(png, info);

    int rc = (palette || grey) ? spi_output_alloc(&d->out, width, height, 8)
                               : spi_output_alloc_rows(&d->out, width, height, 32, 1);
    if (rc != SPI_OK)
        return rc;
    if (palette) {
        png_colorp colors = NULL;
        int count = 0;
        png_get_PLTE(png, info, &colors, &count);
        for (int i = 0; i < count && i < 256; ++i)
            spi_output_set_palette(&d->out, i, colors[i].red, colors[i].green, colors[i].blue);
    } else if (grey) {
        for (int i = 0; i < 256; ++i)
            spi_output_set_palette(&d->out, i, i, i, i);
    }

    d->rows = (png_bytepp)malloc(sizeof(png_bytep) * height);
    if (!d->rows)
        return SPI_NO_MEMORY;
    if (alpha && alphaChannel) {
        d->rgba = (png_bytep)malloc((size_t)width * 4 * height);
        if (!d->rgba)
            return SPI_NO_MEMORY;
        for (png_uint_32 y = 0; y < height; ++y)
            d->rows[y] = d->rgba + (size_t)y * width * 4;
    } else {
        for (png_uint_32 y = 0; y < height; ++y)
            d->rows[y] = spi_output_row(&d->out, y);
    }
    png_read_image(png, d->rows);
    png_read_end(png, NULL);

    if (alpha && alphaChannel) {
        for (png_uint_32 y = 0; y < height; ++y) {
            const png_bytep src = d->rows[y];
            uint8_t *dst = spi_output_row(&d->out, y);
            for (png_uint_32 x = 0; x < width; ++x) {
                const unsigned a = src[4 * x + 3];
                dst[4 * x + 0] = spi_on_white(src[4 * x + 2], a);
                dst[4 * x + 1] = spi_on_white(src[4 * x + 1], a);
                dst[4 * x + 2] = spi_on_white(src[4 * x + 0], a);
                dst[4 * x + 3] = 0xff;
            }
        }
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
    Decode d;
    memset(&d, 0, sizeof d);
    d.file = spi_open_at(fileName, offset);
    if (!d.file)
        return SPI_FILE_READ_ERROR;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, on_png_error, on_png_warning);
    if (d.png)
        d.info = png_create_info_struct(d.png);
    if (!d.png || !d.info) {
        cleanup(&d);
        return SPI_NO_MEMORY;
    }
    d.wantedWidth = wantedWidth;
    d.sample = (flags & SPI_SAMPLE_BLOCKS) != 0;
    d.wantedHeight = wantedHeight;
    const int32_t rc = decode(&d, info, pixels);
    if (fullWidth)
        *fullWidth = d.fullWidth;
    if (fullHeight)
        *fullHeight = d.fullHeight;
    cleanup(&d);
    return rc;
}

SPI_DEFINE_GET_PICTURE_ENTRIES()
SPI_DEFINE_GET_PICTURE_SAMPLED()

SPI_DEFINE_GET_PICTURE_FAILURE()
