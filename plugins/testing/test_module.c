/* A decoder module for the host's tests, built in several variants. It
 * decodes a tiny test format:
 *   bytes 0..3  "CWTP"
 *   byte 4      mode (0: a plain picture; others: misbehaviour, see below)
 *   bytes 8..15 width, height (little-endian 32-bit)
 *   bytes 16..18 red, green, blue of the picture's single colour
 * A file may carry a 128-byte prefix before the magic; the host then finds
 * it with its second probe and passes offset 128. */
#include <stdlib.h>
#ifdef TM_ESCAPE
#include <stdio.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "spi_module.h"

#ifndef TM_VERSION
#define TM_VERSION "00IN"
#endif
#ifndef TM_TINT
#define TM_TINT 0
#endif

#ifdef TM_UNRESOLVED
/* Provided by no host: loading with immediate binding must fail. */
extern int CasewrightHostFunctionThatDoesNotExist(void);
#endif

#ifndef TM_NO_INFO
int32_t GetPluginInfo(int32_t infoNo, char *buf, int32_t len)
{
#ifdef TM_UNRESOLVED
    if (infoNo == 99)
        return CasewrightHostFunctionThatDoesNotExist();
#endif
#ifdef TM_BAD_INFO
    /* Claims far more than it was allowed to write, fills the whole buffer
     * without a terminating zero, and never ends its pattern list. */
    if (infoNo == 0) {
        memcpy(buf, "00IN000000", (size_t)len < 10 ? (size_t)len : 10);
        return 5000;
    }
    memset(buf, infoNo % 2 ? 'D' : 'P', (size_t)len);
    return len + 100;
#else
#ifdef TM_CRASH_LOADING
    /* Dies as soon as the host asks what it is. */
    if (infoNo == 0)
        *(volatile int *)0 = 1;
#endif
    switch (infoNo) {
    case 0:
        return spi_info_text(TM_VERSION, buf, len);
    case 1:
        return spi_info_text("test module " TM_NAME, buf, len);
    case 2:
        return spi_info_text("*.cwtp", buf, len);
    case 3:
        return spi_info_text("Test " TM_NAME, buf, len);
    default:
        return 0;
    }
#endif
}
#endif

#ifndef TM_NO_DECODE
int32_t IsSupported(const char *fileName, const void *header)
{
    (void)fileName;
    return header && memcmp(header, "CWTP", 4) == 0;
}
#endif

__attribute__((unused)) static uint32_t u32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

__attribute__((unused)) static uint8_t staticPixels[64];

/* Allocates an info block of `infoBytes` bytes whose header says the given
 * values, and a pixel block of `pixelBytes` bytes. */
__attribute__((unused)) static void make_blocks(SpiHandle *info, SpiHandle *pixels,
    size_t infoBytes, uint32_t headerSize, int32_t width, int32_t height, uint16_t bitCount,
    uint32_t sizeImage, size_t pixelBytes)
{
    *info = LocalAlloc(SPI_LMEM_ZEROINIT, infoBytes);
    *pixels = LocalAlloc(SPI_LMEM_ZEROINIT, pixelBytes);
    SpiBitmapInfoHeader *h = (SpiBitmapInfoHeader *)LocalLock(*info);
    h->size = headerSize;
    h->width = width;
    h->height = height;
    h->planes = 1;
    h->bitCount = bitCount;
    h->sizeImage = sizeImage;
    h->clrUsed = 7;
    h->clrImportant = 5;
    LocalUnlock(*info);
}

#if !defined(TM_NO_DECODE) && !defined(TM_NO_GETPICTURE)
int32_t GetPicture(const char *fileName, int32_t offset, uint32_t flags, SpiHandle *info,
    SpiHandle *pixels, SpiProgressCallback progress, intptr_t data)
{
    (void)flags;
    (void)progress;
    (void)data;
#if defined(TM_CRASH) || defined(TM_LOOP) || defined(TM_GREEDY)
    (void)fileName;
    (void)offset;
    (void)info;
    (void)pixels;
#endif
#if defined(TM_CRASH)
    /* Dies on a write through a null pointer. */
    *(volatile int *)0 = 1;
    return SPI_INTERNAL_ERROR;
#elif defined(TM_LOOP)
    /* Never returns, and keeps the processor busy. */
    for (volatile unsigned long spin = 0;; ++spin) { }
#elif defined(TM_GREEDY)
    /* Allocates and touches memory without end, keeping every block in
     * reach so that nothing can be left out. */
    static void *volatile kept;
    for (;;) {
        void **block = (void **)malloc(1u << 20);
        memset(block, 1, 1u << 20);
        *block = kept;
        kept = block;
    }
#elif defined(TM_FAIL)
    (void)fileName;
    (void)offset;
    (void)info;
    (void)pixels;
    return SPI_BROKEN_DATA;
#else
#ifdef TM_ONLY128
    if (offset != 128)
        return SPI_UNKNOWN_FORMAT;
#endif
    FILE *f = spi_open_at(fileName, offset);
    if (!f)
        return SPI_FILE_READ_ERROR;
    unsigned char head[20];
    const size_t got = fread(head, 1, sizeof head, f);
    fclose(f);
    if (got != sizeof head || memcmp(head, "CWTP", 4) != 0)
        return SPI_UNKNOWN_FORMAT;
    const int mode = head[4];
    const uint32_t width = u32(head + 8);
    const uint32_t height = u32(head + 12);
    unsigned r = head[16] ^ ((TM_TINT >> 16) & 0xff);
    unsigned g = head[17] ^ ((TM_TINT >> 8) & 0xff);
    unsigned b = head[18] ^ (TM_TINT & 0xff);
#ifdef TM_ESCAPE
    /* Tries what a decoder has no business doing; each attempt that works
     * turns one channel of the picture on: red a file written beside the
     * picture, green a new process, blue a network socket. */
    char target[4096];
    snprintf(target, sizeof target, "%s.written", fileName);
    FILE *w = fopen(target, "w");
    r = w ? 255 : 0;
    if (w)
        fclose(w);
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    g = child > 0 ? 255 : 0;
    if (child > 0)
        waitpid(child, NULL, 0);
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    b = s >= 0 ? 255 : 0;
    if (s >= 0)
        close(s);
#endif
#ifdef TM_HOSTILE
    switch (mode) {
    case 1: /* claims 100000 x 100000 pixels with a tiny pixel block */
        make_blocks(info, pixels, 40, 40, 100000, 100000, 24, 0, 16);
        return SPI_OK;
    case 2: /* a bit count no bitmap has */
        make_blocks(info, pixels, 40, 40, 4, 4, 7, 0, 64);
        return SPI_OK;
    case 3: /* a header size past the end of its block */
        make_blocks(info, pixels, 40, 1000, 4, 4, 24, 0, 64);
        return SPI_OK;
    case 4: /* a pixel "handle" that LocalAlloc never returned */
        make_blocks(info, pixels, 40, 40, 4, 4, 24, 0, 64);
        LocalFree(*pixels);
        *pixels = staticPixels;
        return SPI_OK;
    case 5: /* one block handed out twice */
        make_blocks(info, pixels, 40 + 64, 40, 2, 2, 24, 0, 16);
        LocalFree(*pixels);
        *pixels = *info;
        return SPI_OK;
    case 6: { /* 8 bits with only two colour-table entries */
        make_blocks(info, pixels, 40 + 8, 40, 4, 2, 8, 0, 8);
        uint8_t *pal = (uint8_t *)LocalLock(*info) + 40;
        pal[0] = (uint8_t)b, pal[1] = (uint8_t)g, pal[2] = (uint8_t)r;
        pal[4] = pal[5] = pal[6] = 255;
        uint8_t *px = (uint8_t *)LocalLock(*pixels);
        /* bottom row: 0 1 2 3, top row: 1 1 0 0 */
        px[0] = 0, px[1] = 1, px[2] = 2, px[3] = 3;
        px[4] = 1, px[5] = 1, px[6] = 0, px[7] = 0;
        return SPI_OK;
    }
    case 7: { /* 32 bits, image size 0, no colour masks in the block */
        make_blocks(info, pixels, 40, 40, 3, 2, 32, 0, 3 * 2 * 4);
        uint8_t *px = (uint8_t *)LocalLock(*pixels);
        for (int i = 0; i < 6; ++i) {
            px[4 * i] = (uint8_t)b;
            px[4 * i + 1] = (uint8_t)g;
            px[4 * i + 2] = (uint8_t)r;
            px[4 * i + 3] = 0;
        }
        return SPI_OK;
    }
    case 8: /* negative width */
        make_blocks(info, pixels, 40, 40, -4, 4, 24, 0, 64);
        return SPI_OK;
    case 9: /* an image size beyond the pixel block */
        make_blocks(info, pixels, 40, 40, 4, 4, 24, 100000, 64);
        return SPI_OK;
    case 10: /* success without blocks */
        *info = NULL;
        *pixels = NULL;
        return SPI_OK;
    case 11: /* failure that leaves its blocks behind */
        make_blocks(info, pixels, 40, 40, 4, 4, 24, 0, 64);
        return SPI_BROKEN_DATA;
    case 12: /* zero height */
        make_blocks(info, pixels, 40, 40, 4, 0, 24, 0, 64);
        return SPI_OK;
    case 13: { /* rows stored top-down (negative height): a valid bitmap */
        make_blocks(info, pixels, 40, 40, 1, 2, 24, 0, 8);
        SpiBitmapInfoHeader *h = (SpiBitmapInfoHeader *)LocalLock(*info);
        h->height = -2;
        uint8_t *px = (uint8_t *)LocalLock(*pixels);
        px[0] = (uint8_t)b, px[1] = (uint8_t)g, px[2] = (uint8_t)r; /* top row */
        return SPI_OK;
    }
    case 14: { /* 32 bits top-down with the fourth byte left at 0 */
        make_blocks(info, pixels, 40, 40, 2, 1, 32, 0, 8);
        SpiBitmapInfoHeader *h = (SpiBitmapInfoHeader *)LocalLock(*info);
        h->height = -1;
        uint8_t *px = (uint8_t *)LocalLock(*pixels);
        for (int i = 0; i < 2; ++i) {
            px[4 * i] = (uint8_t)b;
            px[4 * i + 1] = (uint8_t)g;
            px[4 * i + 2] = (uint8_t)r;
            px[4 * i + 3] = 0;
        }
        return SPI_OK;
    }
    default:
        break;
    }
#endif
#ifdef TM_REASON
    /* Failures with a reason given through the extension. */
    if (mode == 20)
        return spi_result(SPI_NO_MEMORY);
    if (mode == 21)
        return spi_result(SPI_BROKEN_DATA);
#endif
    (void)mode;
    SpiOutput out;
    int rc = spi_output_alloc(&out, width, height, 24);
    if (rc != SPI_OK)
        return rc;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t *row = spi_output_row(&out, y);
        for (uint32_t x = 0; x < width; ++x) {
            row[3 * x] = (uint8_t)b;
            row[3 * x + 1] = (uint8_t)g;
            row[3 * x + 2] = (uint8_t)r;
        }
    }
    return spi_output_finish(&out, info, pixels);
#endif
}
#endif

#ifdef TM_REASON
SPI_DEFINE_GET_PICTURE_FAILURE()
#endif
