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
    X(heif_context_set_maximum_image_size_limit)                                \
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
#define heif_context_set_maximum_image_size_limit (*p_heif_context_set_maximum_image_size_limit)
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

/* --- The canvas a derived primary picture declares ---------------------
 * A grid ("grid") or overlay ("iovl") picture states its canvas in its own
 * item data, and libheif allocates and clears that canvas before it decodes
 * a single tile, whatever size the picture's "ispe" property states (or
 * when it states none). The few boxes needed to find that declaration are
 * read here, so that a 500-byte file that declares a canvas of a billion
 * pixels is refused before libheif allocates anything. */

typedef struct Bytes
{
    const uint8_t *p;
    size_t n;
} Bytes;

/* Reads an unsigned big-endian field of `len` bytes (0 to 8) at *at. */
static int read_be(Bytes b, size_t *at, unsigned len, uint64_t *out)
{
    if (len > 8 || b.n < *at || b.n - *at < len)
        return 0;
    uint64_t v = 0;
    for (unsigned i = 0; i < len; ++i)
        v = v << 8 | b.p[*at + i];
    *at += len;
    *out = v;
    return 1;
}

/* The payload of the first box of type `type` among the boxes in `b`. */
static int find_box(Bytes b, const char *type, Bytes *payload)
{
    size_t at = 0;
    while (b.n - at >= 8) {
        uint64_t size = be32(b.p + at);
        size_t header = 8;
        if (size == 1) {
            size_t s = at + 8;
            if (!read_be(b, &s, 8, &size))
                return 0;
            header = 16;
        } else if (size == 0) {
            size = b.n - at;
        }
        if (size < header || size > b.n - at)
            return 0;
        if (memcmp(b.p + at + 4, type, 4) == 0) {
            payload->p = b.p + at + header;
            payload->n = (size_t)size - header;
            return 1;
        }
        at += (size_t)size;
    }
    return 0;
}

/* The item type of item `id` in the "iinf" box. */
static int item_type(Bytes iinf, uint32_t id, char type[4])
{
    size_t at = 0;
    uint64_t version, count;
    if (!read_be(iinf, &at, 4, &version))
        return 0;
    if (!read_be(iinf, &at, (version >> 24) == 0 ? 2 : 4, &count))
        return 0;
    Bytes rest = { iinf.p + at, iinf.n - at };
    for (uint64_t i = 0; i < count; ++i) {
        Bytes infe;
        if (!find_box(rest, "infe", &infe))
            return 0;
        size_t e = 0;
        uint64_t v, itemId, protection;
        if (!read_be(infe, &e, 4, &v) || (v >> 24) < 2
            || !read_be(infe, &e, (v >> 24) == 2 ? 2 : 4, &itemId) || !read_be(infe, &e, 2, &protection)
            || infe.n - e < 4)
            return 0;
        if (itemId == id) {
            memcpy(type, infe.p + e, 4);
            return 1;
        }
        const size_t used = (size_t)(infe.p + infe.n - rest.p);
        rest.p += used;
        rest.n -= used;
    }
    return 0;
}

/* The first extent of item `id` in the "iloc" box, resolved to bytes of the
 * file (construction method 0) or of the "idat" box (method 1). */
static int item_data(Bytes file, Bytes iloc, Bytes idat, uint32_t id, Bytes *data)
{
    size_t at = 0;
    uint64_t head, sizes, count;
    if (!read_be(iloc, &at, 4, &head) || !read_be(iloc, &at, 2, &sizes))
        return 0;
    const unsigned version = (unsigned)(head >> 24);
    const unsigned offsetSize = (unsigned)(sizes >> 12) & 15, lengthSize = (unsigned)(sizes >> 8) & 15;
    const unsigned baseSize = (unsigned)(sizes >> 4) & 15;
    const unsigned indexSize = version == 1 || version == 2 ? (unsigned)sizes & 15 : 0;
    if (version > 2 || !read_be(iloc, &at, version < 2 ? 2 : 4, &count))
        return 0;
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t itemId, method = 0, dataRef, base, extents;
        if (!read_be(iloc, &at, version < 2 ? 2 : 4, &itemId))
            return 0;
        if (version >= 1 && !read_be(iloc, &at, 2, &method))
            return 0;
        if (!read_be(iloc, &at, 2, &dataRef) || !read_be(iloc, &at, baseSize, &base)
            || !read_be(iloc, &at, 2, &extents))
            return 0;
        for (uint64_t x = 0; x < extents; ++x) {
            uint64_t index, offset, length;
            if (!read_be(iloc, &at, indexSize, &index) || !read_be(iloc, &at, offsetSize, &offset)
                || !read_be(iloc, &at, lengthSize, &length))
                return 0;
            if (itemId != id || x != 0)
                continue;
            const Bytes from = (method & 15) == 1 ? idat : file;
            if ((method & 15) > 1 || base > from.n || offset > from.n - base)
                return 0;
            const size_t start = (size_t)(base + offset);
            data->p = from.p + start;
            data->n = length == 0 || length > from.n - start ? from.n - start : (size_t)length;
            return 1;
        }
    }
    return 0;
}

enum { CANVAS_NONE, CANVAS_FOUND, CANVAS_UNREADABLE };

/* The canvas width and height that a grid or overlay primary picture
 * declares: CANVAS_NONE for a coded picture, CANVAS_UNREADABLE for a derived
 * picture whose declaration cannot be read. */
static int declared_canvas(const uint8_t *bytes, size_t size, uint64_t *width, uint64_t *height)
{
    const Bytes file = { bytes, size };
    Bytes meta, pitm, iinf, iloc, idat = { NULL, 0 }, data;
    if (!find_box(file, "meta", &meta) || meta.n < 4)
        return CANVAS_NONE;
    meta.p += 4; /* version and flags */
    meta.n -= 4;
    size_t at = 0;
    uint64_t head, primary;
    char type[4];
    if (!find_box(meta, "pitm", &pitm) || !read_be(pitm, &at, 4, &head)
        || !read_be(pitm, &at, (head >> 24) == 0 ? 2 : 4, &primary) || !find_box(meta, "iinf", &iinf)
        || !item_type(iinf, (uint32_t)primary, type))
        return CANVAS_NONE;
    const int grid = memcmp(type, "grid", 4) == 0, overlay = memcmp(type, "iovl", 4) == 0;
    if (!grid && !overlay)
        return CANVAS_NONE;
    find_box(meta, "idat", &idat);
    if (!find_box(meta, "iloc", &iloc) || !item_data(file, iloc, idat, (uint32_t)primary, &data))
        return CANVAS_UNREADABLE;
    /* grid: version, flags, rows - 1, columns - 1, then the size; overlay:
     * version, flags, a fill colour of four 16-bit values, then the size.
     * Bit 0 of the flags makes the size fields 32 bits wide. */
    at = 0;
    uint64_t version, flags, skipped;
    if (!read_be(data, &at, 1, &version) || !read_be(data, &at, 1, &flags)
        || !read_be(data, &at, grid ? 2 : 8, &skipped))
        return CANVAS_UNREADABLE;
    const unsigned field = (flags & 1) ? 4 : 2;
    if (!read_be(data, &at, field, width) || !read_be(data, &at, field, height))
        return CANVAS_UNREADABLE;
    return CANVAS_FOUND;
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
    /* libheif's own bound on a side: no side of a picture within the pixel
     * limit can be longer than the limit itself. */
    const uint64_t limit = SPI_MAX_PIXELS;
    heif_context_set_maximum_image_size_limit(d->context, limit < 0x7fffffff ? (int)limit : 0x7fffffff);
    struct heif_error err
        = heif_context_read_from_memory_without_copy(d->context, d->data, d->size, NULL);
    if (err.code != heif_error_Ok)
        return err.code == heif_error_Memory_allocation_error ? SPI_NO_MEMORY : SPI_BROKEN_DATA;
    err = heif_context_get_primary_image_handle(d->context, &d->handle);
    if (err.code != heif_error_Ok)
        return SPI_BROKEN_DATA;
    /* Refused before anything the size of the picture is allocated: both
     * the stored size and the size after cropping and turning, and the
     * canvas a grid or overlay picture declares. A picture that states no
     * size, or whose canvas holds more pixels than the size it states, is broken:
     * libheif would allocate whatever the canvas declares. */
    const int shownWidth = heif_image_handle_get_width(d->handle);
    const int shownHeight = heif_image_handle_get_height(d->handle);
    const int ispeWidth = heif_image_handle_get_ispe_width(d->handle);
    const int ispeHeight = heif_image_handle_get_ispe_height(d->handle);
    if (too_large(shownWidth, shownHeight) || too_large(ispeWidth, ispeHeight))
        return SPI_NO_MEMORY;
    if (shownWidth <= 0 || shownHeight <= 0 || ispeWidth <= 0 || ispeHeight <= 0)
        return SPI_BROKEN_DATA;
    uint64_t canvasWidth = 0, canvasHeight = 0;
    switch (declared_canvas(d->data, d->size, &canvasWidth, &canvasHeight)) {
    case CANVAS_UNREADABLE:
        return SPI_BROKEN_DATA;
    case CANVAS_FOUND:
        if (canvasWidth * canvasHeight > SPI_MAX_PIXELS)
            return SPI_NO_MEMORY;
        /* By area: some writers state the size after turning in "ispe". */
        if (canvasWidth == 0 || canvasHeight == 0
            || canvasWidth * canvasHeight > (uint64_t)ispeWidth * (uint64_t)ispeHeight)
            return SPI_BROKEN_DATA;
        break;
    default:
        break;
    }

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
