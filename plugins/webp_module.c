/* WebP decoder module: still pictures, lossy and lossless, and the first
 * frame of an animation. Pictures come out as 32 bits, rows top-down (blue,
 * green, red, 0xff: the host uses them without a copy), with alpha flattened
 * onto white; a still picture is decoded straight into the output block.
 * A picture asked for at a reduced size (GetPictureReduced) is decoded at
 * that size through the library's scaled decoding (the first frame of an
 * animation is decoded whole and then reduced). */
#include <stdlib.h>
#include <webp/decode.h>
#include <webp/demux.h>

#include "spi_module.h"

int32_t GetPluginInfo(int32_t infoNo, char *buf, int32_t len)
{
    return spi_plugin_info(infoNo, buf, len, "WebP decoder (libwebp)", "*.webp", "WebP");
}

int32_t IsSupported(const char *fileName, const void *header)
{
    (void)fileName;
    if (!header)
        return 0;
    const unsigned char *h = (const unsigned char *)header;
    return memcmp(h, "RIFF", 4) == 0 && memcmp(h + 8, "WEBP", 4) == 0
        && (memcmp(h + 12, "VP8 ", 4) == 0 || memcmp(h + 12, "VP8L", 4) == 0
            || memcmp(h + 12, "VP8X", 4) == 0);
}

typedef struct Decode
{
    FILE *file;
    uint8_t *data;
    size_t size;
    WebPAnimDecoder *anim;
    SpiOutput out;
    SpiReducer reducer;
    int32_t wantedWidth, wantedHeight; /* 0: the whole picture */
    int32_t fullWidth, fullHeight;
} Decode;

/* Reads the RIFF file (its header's size, at most what the file holds). */
static int32_t read_file(Decode *d)
{
    uint8_t riff[12];
    if (fread(riff, 1, sizeof riff, d->file) != sizeof riff)
        return SPI_BROKEN_DATA;
    const uint64_t riffSize = (uint64_t)riff[4] | (uint64_t)riff[5] << 8
        | (uint64_t)riff[6] << 16 | (uint64_t)riff[7] << 24;
    const uint64_t total = riffSize + 8;
    if (total < sizeof riff || total > 0x7fffffffu)
        return SPI_BROKEN_DATA;
    /* Grow the buffer as bytes arrive, so a header claiming gigabytes costs
     * no more than the file really holds. */
    size_t capacity = total < (1u << 20) ? (size_t)total : (1u << 20);
    d->data = (uint8_t *)malloc(capacity);
    if (!d->data)
        return SPI_NO_MEMORY;
    memcpy(d->data, riff, sizeof riff);
    d->size = sizeof riff;
    while (d->size < total) {
        if (d->size == capacity) {
            size_t grown = capacity * 2 < total ? capacity * 2 : (size_t)total;
            uint8_t *p = (uint8_t *)realloc(d->data, grown);
            if (!p)
                return SPI_NO_MEMORY;
            d->data = p;
            capacity = grown;
        }
        const size_t got = fread(d->data + d->size, 1, capacity - d->size, d->file);
        if (got == 0)
            break;
        d->size += got;
    }
    return SPI_OK;
}

static void flatten_onto_white(SpiOutput *out)
{
    for (uint32_t y = 0; y < out->height; ++y) {
        uint8_t *p = spi_output_row(out, y);
        for (uint32_t x = 0; x < out->width; ++x, p += 4) {
            const unsigned a = p[3];
            if (a != 0xff) {
                p[0] = spi_on_white(p[0], a);
                p[1] = spi_on_white(p[1], a);
                p[2] = spi_on_white(p[2], a);
                p[3] = 0xff;
            }
        }
    }
}

static int32_t decode(Decode *d, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    int32_t rc = read_file(d);
    if (rc != SPI_OK)
        return rc;
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(d->data, d->size, &features) != VP8_STATUS_OK)
        return SPI_BROKEN_DATA;
    if (features.width <= 0 || features.height <= 0)
        return SPI_BROKEN_DATA;
    /* For an animation this is the canvas: refused before the animation
     * decoder allocates one. */
    if ((uint64_t)features.width * (uint64_t)features.height > SPI_MAX_PIXELS)
        return SPI_NO_MEMORY;
    d->fullWidth = features.width;
    d->fullHeight = features.height;
    const uint32_t factor = spi_reduction_for(
        (uint32_t)features.width, (uint32_t)features.height, d->wantedWidth, d->wantedHeight);

    if (!features.has_animation && factor > 1) {
        const uint32_t w = ((uint32_t)features.width + factor - 1) / factor;
        const uint32_t h = ((uint32_t)features.height + factor - 1) / factor;
        rc = spi_output_alloc_rows(&d->out, w, h, 32, 1);
        if (rc != SPI_OK)
            return rc;
        WebPDecoderConfig config;
        if (!WebPInitDecoderConfig(&config))
            return SPI_INTERNAL_ERROR;
        config.options.use_scaling = 1;
        config.options.scaled_width = (int)w;
        config.options.scaled_height = (int)h;
        config.output.colorspace = MODE_BGRA;
        config.output.is_external_memory = 1;
        config.output.u.RGBA.rgba = d->out.bits;
        config.output.u.RGBA.stride = (int)d->out.rowBytes;
        config.output.u.RGBA.size = (size_t)(d->out.rowBytes * d->out.height);
        if (WebPDecode(d->data, d->size, &config) != VP8_STATUS_OK)
            return SPI_BROKEN_DATA;
    } else if (!features.has_animation) {
        rc = spi_output_alloc_rows(&d->out, (uint32_t)features.width, (uint32_t)features.height, 32, 1);
        if (rc != SPI_OK)
            return rc;
        const size_t bytes = (size_t)(d->out.rowBytes * d->out.height);
        if (!WebPDecodeBGRAInto(d->data, d->size, d->out.bits, bytes, (int)d->out.rowBytes))
            return SPI_BROKEN_DATA;
    } else {
        WebPAnimDecoderOptions options;
        if (!WebPAnimDecoderOptionsInit(&options))
            return SPI_INTERNAL_ERROR;
        options.color_mode = MODE_BGRA;
        options.use_threads = 0;
        WebPData webp = { d->data, d->size };
        d->anim = WebPAnimDecoderNew(&webp, &options);
        if (!d->anim)
            return SPI_BROKEN_DATA;
        WebPAnimInfo info;
        if (!WebPAnimDecoderGetInfo(d->anim, &info) || info.canvas_width != (uint32_t)features.width
            || info.canvas_height != (uint32_t)features.height)
            return SPI_BROKEN_DATA;
        uint8_t *canvas = NULL;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(d->anim, &canvas, &timestamp) || !canvas)
            return SPI_BROKEN_DATA;
        if (factor > 1) {
            /* The frame, flattened row by row, into the reducer. */
            rc = spi_reducer_start(
                &d->reducer, &d->out, info.canvas_width, info.canvas_height, factor, 0);
            if (rc != SPI_OK)
                return rc;
            for (uint32_t y = 0; y < info.canvas_height; ++y) {
                uint8_t *p = canvas + (size_t)y * info.canvas_width * 4;
                for (uint32_t x = 0; x < info.canvas_width; ++x) {
                    const unsigned a = p[4 * x + 3];
                    p[4 * x + 0] = spi_on_white(p[4 * x + 0], a);
                    p[4 * x + 1] = spi_on_white(p[4 * x + 1], a);
                    p[4 * x + 2] = spi_on_white(p[4 * x + 2], a);
                }
                spi_reducer_add(&d->reducer, y, p);
            }
            spi_reducer_finish(&d->reducer);
            return spi_output_finish(&d->out, infoOut, pixelsOut);
        }
        rc = spi_output_alloc_rows(&d->out, info.canvas_width, info.canvas_height, 32, 1);
        if (rc != SPI_OK)
            return rc;
        memcpy(d->out.bits, canvas, (size_t)d->out.rowBytes * d->out.height);
    }
    if (features.has_alpha || features.has_animation)
        flatten_onto_white(&d->out);
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
    d.wantedWidth = wantedWidth;
    d.wantedHeight = wantedHeight;
    const int32_t rc = decode(&d, info, pixels);
    if (fullWidth)
        *fullWidth = d.fullWidth;
    if (fullHeight)
        *fullHeight = d.fullHeight;
    spi_reducer_finish(&d.reducer);
    if (d.anim)
        WebPAnimDecoderDelete(d.anim);
    fclose(d.file);
    free(d.data);
    spi_output_free(&d.out);
    return rc;
}

/* Every failure leaves through here: SPI_NO_MEMORY for a picture too large
 * to hold, SPI_BROKEN_DATA for a damaged file. A host that asks why a
 * picture failed gets the reason from these codes. */
SPI_DEFINE_GET_PICTURE_ENTRIES()
SPI_DEFINE_GET_PICTURE_FAILURE()
