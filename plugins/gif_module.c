/* GIF decoder module: the first frame on the logical screen, as 8 bits with
 * the frame's colour table. The transparent entry keeps its colour, so the
 * program's transparent colour can name it; the screen around the frame is
 * the background colour. */
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
} Decode;

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
    int rc = spi_output_alloc(&d->out, width, height, 8);
    if (rc != SPI_OK)
        return rc;
    for (int i = 0; i < colors->ColorCount && i < 256; ++i)
        spi_output_set_palette(
            &d->out, i, colors->Colors[i].Red, colors->Colors[i].Green, colors->Colors[i].Blue);
    int background = gif->SColorMap ? gif->SBackGroundColor : 0;
    /* The background index names an entry of the screen's (global) colour
     * table. A frame with its own table that leaves part of the screen
     * uncovered gets that colour as an extra entry, or the nearest of its own
     * entries when its table is full. */
    const int covers = frame->Left <= 0 && frame->Top <= 0
        && (long)frame->Left + frame->Width >= (long)width
        && (long)frame->Top + frame->Height >= (long)height;
    if (frame->ColorMap && gif->SColorMap && !covers && background >= 0
        && background < gif->SColorMap->ColorCount) {
        const GifColorType bg = gif->SColorMap->Colors[background];
        if (colors->ColorCount < 256) {
            background = colors->ColorCount;
            spi_output_set_palette(&d->out, background, bg.Red, bg.Green, bg.Blue);
        } else {
            long best = -1;
            for (int i = 0; i < 256; ++i) {
                const GifColorType c = colors->Colors[i];
                const long dr = c.Red - bg.Red, dg = c.Green - bg.Green, db = c.Blue - bg.Blue;
                const long dist = dr * dr + dg * dg + db * db;
                if (best < 0 || dist < best) {
                    best = dist;
                    background = i;
                }
            }
        }
    }
    if (background != 0)
        for (uint32_t y = 0; y < height; ++y)
            memset(spi_output_row(&d->out, y), background & 0xff, width);

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
                if (sx >= 0 && sx < (long)width)
                    dst[sx] = d->line[x];
            }
        }
    }
    return spi_output_finish(&d->out, infoOut, pixelsOut);
}

static int32_t get_picture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,
    SpiHandle *pixels, SpiProgressCallback progress, intptr_t data)
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
    d.gif = DGifOpen(d.file, read_file, &error);
    int32_t rc = d.gif ? decode(&d, info, pixels) : SPI_BROKEN_DATA;
    if (d.gif)
        DGifCloseFile(d.gif, &error);
    fclose(d.file);
    free(d.line);
    spi_output_free(&d.out);
    return rc;
}

int32_t GetPicture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,
    SpiHandle *pixels, SpiProgressCallback progress, intptr_t data)
{
    return spi_result(get_picture(fileName, offset, flags, info, pixels, progress, data));
}

SPI_DEFINE_GET_PICTURE_FAILURE()
