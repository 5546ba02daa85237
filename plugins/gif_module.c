/* GIF decoder module: the first frame on the logical screen, as 8 bits with
 * the frame's colour table. The transparent entry keeps its colour, so the
 * program's transparent colour can name it. The screen around a frame that
 * does not cover it is left transparent, as viewers show it, which is white
 * on paper: such a picture comes as 32 bits, white where no frame pixel lies
 * (the screen's background colour is not painted). A picture
 * asked for at a reduced size
 * (GetPictureReduced) is reduced row by row while it is decoded, so the
 * whole screen is never held; an interlaced frame, whose passes revisit every
 * part of it, has each line go into the blocks it belongs to. */
#include <gif_lib.h>
#include <stdlib.h>

#include "spi_module.h"

int32_t GetPluginInfo(int32_t infoNo, char *buf, int32_t len)
{
    return spi_plugin_info(infoNo, buf, len, "GIF decoder (giflib)", "*.gif", "GIF");
}

int32_t IsSupported(const char *fileName, const void *header)
{
    (void)fileName;
    if (!header)
        return 0;
    return memcmp(header, "GIF87a", 6) == 0 || memcmp(header, "GIF89a", 6) == 0;
}

static int read_file(GifFileType *gif, GifByteType *buf, int len)
{
    return (int)fread(buf, 1, (size_t)len, (FILE *)gif->UserData);
}

typedef struct Decode
{
    FILE *file;
    GifFileType *gif;
    SpiOutput out;
    GifByteType *line;
    uint8_t *row; /* one screen row of 32 bits, when reducing */
    SpiReducer reducer;
    SpiScatter scatter; /* an interlaced frame's blocks, when reducing */
    int32_t wantedWidth, wantedHeight; /* 0: the whole picture */
    int sample; /* reduce by each block's middle pixel (SPI_SAMPLE_BLOCKS) */
    int32_t fullWidth, fullHeight;
} Decode;

static const uint8_t kWhite[4] = { 0xff, 0xff, 0xff, 0xff };

/* An interlaced frame on its screen, reduced by `factor`: each line is
 * made in 32 bits as it comes and goes into the blocks it belongs to; the
 * screen the frame leaves uncovered counts as white. */
static int32_t decode_reduced_interlaced(Decode *d, uint32_t width, uint32_t height,
    uint32_t factor, const uint8_t *table, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    GifFileType *gif = d->gif;
    const GifImageDesc *frame = &gif->Image;
    d->line = (GifByteType *)malloc((size_t)frame->Width);
    d->row = (uint8_t *)malloc((size_t)frame->Width * 4);
    if (!d->line || !d->row)
        return SPI_NO_MEMORY;
    int rc = spi_scatter_start(
        &d->scatter, &d->out, width, height, factor, kWhite, d->sample);
    if (rc != SPI_OK)
        return rc;
    /* The part of a line on the screen. */
    const long first = frame->Left < 0 ? -(long)frame->Left : 0;
    const long end
        = (long)frame->Left + frame->Width > (long)width ? (long)width - frame->Left : frame->Width;
    const int interlaceStart[] = { 0, 4, 2, 1 };
    const int interlaceStep[] = { 8, 8, 4, 2 };
    for (int pass = 0; pass < 4; ++pass) {
        for (int line = interlaceStart[pass]; line < frame->Height; line += interlaceStep[pass]) {
            if (DGifGetLine(gif, d->line, frame->Width) == GIF_ERROR)
                return SPI_BROKEN_DATA;
            const long y = (long)frame->Top + line;
            if (y < 0 || y >= (long)height || end <= first)
                continue;
            for (long x = first; x < end; ++x)
                memcpy(d->row + 4 * (size_t)x, table + 4 * d->line[x], 4);
            spi_scatter_add_run(&d->scatter, (uint32_t)y, (uint32_t)(frame->Left + first), 1,
                (uint32_t)(end - first), d->row + 4 * (size_t)first);
        }
    }
    spi_scatter_finish(&d->scatter);
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

/* A non-interlaced frame on its screen, reduced by `factor`: each screen
 * row is made in 32 bits from white and the frame's line, and goes into the
 * reducer. */
static int32_t decode_reduced(Decode *d, uint32_t width, uint32_t height, uint32_t factor,
    const uint8_t *table, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    GifFileType *gif = d->gif;
    const GifImageDesc *frame = &gif->Image;
    d->line = (GifByteType *)malloc((size_t)frame->Width);
    d->row = (uint8_t *)malloc((size_t)width * 4);
    if (!d->line || !d->row)
        return SPI_NO_MEMORY;
    int rc = spi_reducer_start(&d->reducer, &d->out, width, height, factor, d->sample);
    if (rc != SPI_OK)
        return rc;
    long next = 0; /* the frame's next line to read */
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            memcpy(d->row + 4 * (size_t)x, kWhite, 4);
        const long line = (long)y - frame->Top;
        if (line >= 0 && line < frame->Height) {
            /* Lines above the screen are read and dropped. */
            for (; next <= line; ++next)
                if (DGifGetLine(gif, d->line, frame->Width) == GIF_ERROR)
                    return SPI_BROKEN_DATA;
            for (int x = 0; x < frame->Width; ++x) {
                const long sx = (long)frame->Left + x;
                if (sx >= 0 && sx < (long)width)
                    memcpy(d->row + 4 * (size_t)sx, table + 4 * d->line[x], 4);
            }
        }
        spi_reducer_add(&d->reducer, y, d->row);
    }
    spi_reducer_finish(&d->reducer);
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

static int32_t decode(Decode *d, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    GifFileType *gif = d->gif;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return SPI_BROKEN_DATA;
        if (type == TERMINATE_RECORD_TYPE)
            return SPI_BROKEN_DATA; /* no frame at all */
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *ext = NULL;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR)
                return SPI_BROKEN_DATA;
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
                    return SPI_BROKEN_DATA;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return SPI_BROKEN_DATA;
        break;
    }

    const GifImageDesc *frame = &gif->Image;
    const ColorMapObject *colors = frame->ColorMap ? frame->ColorMap : gif->SColorMap;
    if (!colors || frame->Width <= 0 || frame->Height <= 0)
        return SPI_BROKEN_DATA;
    /* A file without a logical screen size shows the frame alone; a frame
     * reaching outside the screen is clipped to it. */
    uint32_t width = gif->SWidth > 0 ? (uint32_t)gif->SWidth : 0;
    uint32_t height = gif->SHeight > 0 ? (uint32_t)gif->SHeight : 0;
    if (width == 0 || height == 0) {
        width = (uint32_t)frame->Width;
        height = (uint32_t)frame->Height;
    }
    if ((uint64_t)width * height > SPI_MAX_PIXELS)
        return SPI_NO_MEMORY;
    d->fullWidth = (int32_t)width;
    d->fullHeight = (int32_t)height;
    const uint32_t factor = spi_reduction_for(width, height, d->wantedWidth, d->wantedHeight);
    const int reducing = factor > 1;
    /* The colours as blue, green, red, 0, for the output's table or for the
     * reduced rows. */
    uint8_t table[256 * 4];
    memset(table, 0, sizeof table);
    for (int i = 0; i < colors->ColorCount && i < 256; ++i) {
        table[4 * i + 0] = colors->Colors[i].Blue;
        table[4 * i + 1] = colors->Colors[i].Green;
        table[4 * i + 2] = colors->Colors[i].Red;
    }
    if (reducing && frame->Interlace)
        return decode_reduced_interlaced(d, width, height, factor, table, infoOut, pixelsOut);
    if (reducing)
        return decode_reduced(d, width, height, factor, table, infoOut, pixelsOut);
    /* A frame that covers its screen is the picture, in 8 bits with its
     * colour table; one that leaves part of the screen uncovered lies on
     * white, in 32 bits (top-down, blue, green, red, 0xff), since its table
     * need not hold white nor have room for it. */
    const int covers = frame->Left <= 0 && frame->Top <= 0
        && (long)frame->Left + frame->Width >= (long)width
        && (long)frame->Top + frame->Height >= (long)height;
    int rc = covers ? spi_output_alloc(&d->out, width, height, 8)
                    : spi_output_alloc_rows(&d->out, width, height, 32, 1);
    if (rc != SPI_OK)
        return rc;
    if (covers) {
        memcpy(d->out.palette, table, sizeof table);
    } else {
        for (int i = 0; i < 256; ++i)
            table[4 * i + 3] = 0xff;
        for (uint32_t y = 0; y < height; ++y)
            memset(spi_output_row(&d->out, y), 0xff, (size_t)width * 4);
    }

    d->line = (GifByteType *)malloc((size_t)frame->Width);
    if (!d->line)
        return SPI_NO_MEMORY;
    const int interlaceStart[] = { 0, 4, 2, 1 };
    const int interlaceStep[] = { 8, 8, 4, 2 };
    const int passes = frame->Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame->Interlace ? interlaceStart[pass] : 0;
        const int step = frame->Interlace ? interlaceStep[pass] : 1;
        for (int row = start; row < frame->Height; row += step) {
            if (DGifGetLine(gif, d->line, frame->Width) == GIF_ERROR)
                return SPI_BROKEN_DATA;
            const long y = (long)frame->Top + row;
            if (y < 0 || y >= (long)height)
                continue;
            uint8_t *dst = spi_output_row(&d->out, (uint32_t)y);
            for (int x = 0; x < frame->Width; ++x) {
                const long sx = (long)frame->Left + x;
                if (sx < 0 || sx >= (long)width)
                    continue;
                if (covers)
                    dst[sx] = d->line[x];
                else
                    memcpy(dst + 4 * (size_t)sx, table + 4 * d->line[x], 4);
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
    int error = 0;
    d.wantedWidth = wantedWidth;
    d.sample = (flags & SPI_SAMPLE_BLOCKS) != 0;
    d.wantedHeight = wantedHeight;
    d.gif = DGifOpen(d.file, read_file, &error);
    int32_t rc = d.gif ? decode(&d, info, pixels) : SPI_BROKEN_DATA;
    if (fullWidth)
        *fullWidth = d.fullWidth;
    if (fullHeight)
        *fullHeight = d.fullHeight;
    spi_reducer_finish(&d.reducer);
    free(d.scatter.sums);
    free(d.row);
    if (d.gif)
        DGifCloseFile(d.gif, &error);
    fclose(d.file);
    free(d.line);
    spi_output_free(&d.out);
    return rc;
}

SPI_DEFINE_GET_PICTURE_ENTRIES()
SPI_DEFINE_GET_PICTURE_SAMPLED()

SPI_DEFINE_GET_PICTURE_FAILURE()
