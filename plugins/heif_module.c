/* HEIF decoder module: the primary picture of a HEIC (HEVC) or AVIF (AV1)
 * file, with its cropping, rotation and mirroring applied, deeper colour
 * reduced to 8 bits per channel. Pictures come out as 32 bits, rows top-down
 * (blue, green, red, 0xff: the host uses them without a copy), with alpha
 * flattened onto white. */
#include <dlfcn.h>
#include <libheif/heif.h>
#include <stdlib.h>

#include "spi_module.h"

/* libheif brings its HEVC and AV1 codecs (x265, libde265, dav1d, aom), tens
 * of megabytes to map and relocate. The host loads every module to ask it
 * about each picture file, so the module opens libheif only when it first
 * decodes a picture: asking about a JPEG costs nothing here. */
#define HEIF_FUNCTIONS(X)                                                       \
    X(heif_context_alloc)                                                       \
    X(heif_context_free)                                                        \
    X(heif_context_get_primary_image_handle)                                    \
    X(heif_context_read_from_memory_without_copy)                               \
    X(heif_decode_image)                                                        \
    X(heif_decoding_options_alloc)                                              \
    X(heif_decoding_options_free)                                               \
    X(heif_image_get_height)                                                    \
    X(heif_image_get_plane_readonly)                                            \
    X(heif_image_get_width)                                                     \
    X(heif_image_handle_get_height)                                             \
    X(heif_image_handle_get_ispe_height)                                        \
    X(heif_image_handle_get_ispe_width)                                         \
    X(heif_image_handle_get_width)                                              \
    X(heif_image_handle_has_alpha_channel)                                      \
    X(heif_image_handle_release)                                                \
    X(heif_image_release)

#define HEIF_POINTER(name) static __typeof__(&name) p_##name;
HEIF_FUNCTIONS(HEIF_POINTER)

/* True once every function is bound. libheif stays loaded for the rest of
 * the process: its heif_deinit (1.15) frees its codec registry twice, so it
 * must never be unloaded. */
static int heif_library(void)
{
    static int state; /* 0 not tried, 1 bound, -1 unavailable */
    if (state)
        return state > 0;
    state = -1;
    void *lib = dlopen(HEIF_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!lib)
        return 0;
#define HEIF_BIND(name)                                                         \
    p_##name = (__typeof__(&name))dlsym(lib, #name);                          \
    if (!p_##name)                                                             \
        return 0;
    HEIF_FUNCTIONS(HEIF_BIND)
    state = 1;
    return 1;
}

/* From here on the names call through the bound pointers. */
#define heif_context_alloc (*p_heif_context_alloc)
#define heif_context_free (*p_heif_context_free)
#define heif_context_get_primary_image_handle (*p_heif_context_get_primary_image_handle)
#define heif_context_read_from_memory_without_copy (*p_heif_context_read_from_memory_without_copy)
#define heif_decode_image (*p_heif_decode_image)
#define heif_decoding_options_alloc (*p_heif_decoding_options_alloc)
#define heif_decoding_options_free (*p_heif_decoding_options_free)
#define heif_image_get_height (*p_heif_image_get_height)
#define heif_image_get_plane_readonly (*p_heif_image_get_plane_readonly)
#define heif_image_get_width (*p_heif_image_get_width)
#define heif_image_handle_get_height (*p_heif_image_handle_get_height)
#define heif_image_handle_get_ispe_height (*p_heif_image_handle_get_ispe_height)
#define heif_image_handle_get_ispe_width (*p_heif_image_handle_get_ispe_width)
#define heif_image_handle_get_width (*p_heif_image_handle_get_width)
#define heif_image_handle_has_alpha_channel (*p_heif_image_handle_has_alpha_channel)
#define heif_image_handle_release (*p_heif_image_handle_release)
#define heif_image_release (*p_heif_image_release)

int32_t GetPluginInfo(int32_t infoNo, char *buf, int32_t len)
{
    return spi_plugin_info(infoNo, buf, len, "HEIF / AVIF decoder (libheif)", "*.heic;*.heif;*.avif",
        "HEIF / AVIF");
}

static uint32_t be32(const unsigned char *p)
{
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

/* The brands of still HEIF pictures coded with HEVC or AV1. */
static int is_picture_brand(const unsigned char *b)
{
    static const char brands[][5]
        = { "heic", "heix", "heim", "heis", "hevc", "hevx", "hevm", "hevs", "mif1", "msf1", "avif",
              "avis" };
    for (size_t i = 0; i < sizeof brands / sizeof brands[0]; ++i)
        if (memcmp(b, brands[i], 4) == 0)
            return 1;
    return 0;
}

int32_t IsSupported(const char *fileName, const void *header)
{
    (void)fileName;
    if (!header)
        return 0;
    /* The file opens with its "ftyp" box: a major brand, a version, then
     * compatible brands up to the box's end (all within the probe). */
    const unsigned char *h = (const unsigned char *)header;
    const uint32_t boxSize = be32(h);
    if (memcmp(h + 4, "ftyp", 4) != 0 || boxSize < 16 || boxSize > 2048 || boxSize % 4 != 0)
        return 0;
    if (is_picture_brand(h + 8))
        return 1;
    for (uint32_t at = 16; at + 4 <= boxSize; at += 4)
        if (is_picture_brand(h + at))
            return 1;
    return 0;
}

typedef struct Decode
{
    FILE *file;
    uint8_t *data;
    size_t size;
    struct heif_context *context;
    struct heif_image_handle *handle;
    struct heif_decoding_options *options;
    struct heif_image *image;
    SpiOutput out;
} Decode;

/* The whole file from the offset on: HEIF boxes point anywhere in it. */
static int32_t read_file(Decode *d)
{
    const off_t start = ftello(d->file);
    if (start < 0 || fseeko(d->file, 0, SEEK_END) != 0)
        return SPI_FILE_READ_ERROR;
    const off_t end = ftello(d->file);
    if (end <= start || fseeko(d->file, start, SEEK_SET) != 0)
        return SPI_BROKEN_DATA;
    if ((uint64_t)(end - start) > 0x7fffffffu)
        return SPI_NO_MEMORY;
    d->size = (size_t)(end - start);
    d->data = (uint8_t *)malloc(d->size);
    if (!d->data)
        return SPI_NO_MEMORY;
    if (fread(d->data, 1, d->size, d->file) != d->size)
        return SPI_FILE_READ_ERROR;
    return SPI_OK;
}

static int too_large(int width, int height)
{
    return width > 0 && height > 0 && (uint64_t)width * (uint64_t)height > SPI_MAX_PIXELS;
}

static int32_t decode(Decode *d, SpiHandle *infoOut, SpiHandle *pixelsOut)
{
    int32_t rc = read_file(d);
    if (rc != SPI_OK)
        return rc;
    d->context = heif_context_alloc();
    if (!d->context)
        return SPI_NO_MEMORY;
    struct heif_error err
        = heif_context_read_from_memory_without_copy(d->context, d->data, d->size, NULL);
    if (err.code != heif_error_Ok)
        return err.code == heif_error_Memory_allocation_error ? SPI_NO_MEMORY : SPI_BROKEN_DATA;
    err = heif_context_get_primary_image_handle(d->context, &d->handle);
    if (err.code != heif_error_Ok)
        return SPI_BROKEN_DATA;
    /* Refused before anything the size of the picture is allocated: both
     * the stored size and the size after cropping and turning. */
    if (too_large(heif_image_handle_get_width(d->handle), heif_image_handle_get_height(d->handle))
        || too_large(heif_image_handle_get_ispe_width(d->handle),
            heif_image_handle_get_ispe_height(d->handle)))
        return SPI_NO_MEMORY;

    d->options = heif_decoding_options_alloc();
    if (!d->options)
        return SPI_NO_MEMORY;
    d->options->ignore_transformations = 0;
    d->options->convert_hdr_to_8bit = 1;
    const int alpha = heif_image_handle_has_alpha_channel(d->handle);
    err = heif_decode_image(d->handle, &d->image, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, d->options);
    if (err.code != heif_error_Ok || !d->image)
        return err.code == heif_error_Memory_allocation_error ? SPI_NO_MEMORY : SPI_BROKEN_DATA;
    const int width = heif_image_get_width(d->image, heif_channel_interleaved);
    const int height = heif_image_get_height(d->image, heif_channel_interleaved);
    int stride = 0;
    const uint8_t *src = heif_image_get_plane_readonly(d->image, heif_channel_interleaved, &stride);
    if (!src || width <= 0 || height <= 0 || stride < width * (alpha ? 4 : 3))
        return SPI_BROKEN_DATA;
    rc = spi_output_alloc_rows(&d->out, (uint32_t)width, (uint32_t)height, 32, 1);
    if (rc != SPI_OK)
        return rc;
    for (int y = 0; y < height; ++y) {
        const uint8_t *s = src + (size_t)y * (size_t)stride;
        uint8_t *o = spi_output_row(&d->out, (uint32_t)y);
        if (alpha) {
            for (int x = 0; x < width; ++x, s += 4, o += 4) {
                o[0] = spi_on_white(s[2], s[3]);
                o[1] = spi_on_white(s[1], s[3]);
                o[2] = spi_on_white(s[0], s[3]);
                o[3] = 0xff;
            }
        } else {
            for (int x = 0; x < width; ++x, s += 3, o += 4) {
                o[0] = s[2];
                o[1] = s[1];
                o[2] = s[0];
                o[3] = 0xff;
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
    if ((flags & 7) != 0 || !info || !pixels || !heif_library())
        return SPI_NOT_IMPLEMENTED;
    Decode d;
    memset(&d, 0, sizeof d);
    d.file = spi_open_at(fileName, offset);
    if (!d.file)
        return SPI_FILE_READ_ERROR;
    const int32_t rc = decode(&d, info, pixels);
    if (d.image)
        heif_image_release(d.image);
    if (d.options)
        heif_decoding_options_free(d.options);
    if (d.handle)
        heif_image_handle_release(d.handle);
    if (d.context)
        heif_context_free(d.context);
    fclose(d.file);
    free(d.data);
    spi_output_free(&d.out);
    return rc;
}

/* Every failure leaves through here: SPI_NO_MEMORY for a picture too large
 * to hold, SPI_BROKEN_DATA for a damaged file. A host that asks why a
 * picture failed gets the reason from these codes. */
int32_t GetPicture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,
    SpiHandle *pixels, SpiProgressCallback progress, intptr_t data)
{
    return spi_result(get_picture(fileName, offset, flags, info, pixels, progress, data));
}
SPI_DEFINE_GET_PICTURE_FAILURE()
