// The binary interface between the program and its picture decoder modules.
//
// A decoder module is a shared object with the extension ".spi" that exports
// the three C entry points below. The program loads every module of its
// plug-in folder at start-up, asks each in turn whether it decodes a file, and
// takes the decoded picture as two memory blocks that the module allocated
// with the host's LocalAlloc: a bitmap-info block (a BITMAPINFOHEADER-style
// header, followed by the colour table or the three colour masks) and a
// block of bottom-up pixel rows padded to 4 bytes.
//
// The host executable exports the local-memory functions. A module must not
// hand out memory from any other allocator: the host only accepts handles
// that LocalAlloc returned, and never reads past LocalSize of a block.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// A local-memory handle.
typedef void *SpiHandle;

// LocalAlloc flags.
#define SPI_LMEM_FIXED 0x0000u
#define SPI_LMEM_MOVEABLE 0x0002u
#define SPI_LMEM_ZEROINIT 0x0040u

// Local-memory functions, provided by the host executable. LocalAlloc
// returns 0 when the block cannot be allocated. LocalLock returns the
// address of the block's first byte (0 for an unknown handle), LocalUnlock
// returns 0, LocalFree returns 0 on success and the handle itself when it is
// unknown, LocalSize returns the block's size in bytes (0 for an unknown
// handle).
SpiHandle LocalAlloc(uint32_t flags, size_t bytes);
void *LocalLock(SpiHandle handle);
int32_t LocalUnlock(SpiHandle handle);
SpiHandle LocalFree(SpiHandle handle);
size_t LocalSize(SpiHandle handle);

// The header at the start of the info block (40 bytes, little-endian).
#pragma pack(push, 1)
typedef struct SpiBitmapInfoHeader
{
    uint32_t size; // bytes of this header, 40
    int32_t width; // pixels
    int32_t height; // pixels; positive: rows stored bottom-up
    uint16_t planes; // 1
    uint16_t bitCount; // 1, 4, 8, 16, 24 or 32
    uint32_t compression; // 0 plain rows, 3 bit fields
    uint32_t sizeImage; // bytes of pixel data, or 0
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
} SpiBitmapInfoHeader;
#pragma pack(pop)

// Progress callback; the program passes none.
typedef int32_t (*SpiProgressCallback)(int32_t num, int32_t denom, intptr_t data);

// GetPluginInfo(0, buf, len): the API version text, e.g. "00IN" for an
// import filter. GetPluginInfo(2n + 2, ...) an extension pattern list such as
// "*.png" or "*.jpg;*.jpeg", GetPluginInfo(2n + 3, ...) its description.
// Writes at most len bytes and returns the number written; 0 ends the list.
typedef int32_t (*SpiGetPluginInfo)(int32_t infoNo, char *buf, int32_t len);

// IsSupported(file name, header): header points to the first bytes of the
// file (at least 2048, zero-filled past its end). Non-zero: the module
// decodes this file.
typedef int32_t (*SpiIsSupported)(const char *fileName, const void *header);

// GetPicture(file name, offset, 0, &info, &pixels, 0, 0): decodes the file
// from byte `offset` on. 0 on success, when *info and *pixels hold two
// LocalAlloc blocks that the caller frees; any other value is a failure and
// leaves no block allocated.
typedef int32_t (*SpiGetPicture)(const char *fileName, int32_t offset, uint32_t flags,
    SpiHandle *info, SpiHandle *pixels, SpiProgressCallback progress, intptr_t data);

// Result codes of GetPicture.
#define SPI_OK 0
#define SPI_NOT_IMPLEMENTED (-1)
#define SPI_ABORTED 1
#define SPI_UNKNOWN_FORMAT 2
#define SPI_BROKEN_DATA 3
#define SPI_NO_MEMORY 4
#define SPI_MEMORY_ERROR 5
#define SPI_FILE_READ_ERROR 6
#define SPI_INTERNAL_ERROR 8

// ---------------------------------------------------------------------------
// Optional extension: why GetPicture failed (extension version 1).
//
// A module that accepted a file (IsSupported non-zero) but could not decode
// it may tell the host why, so the user is not sent looking for a module
// they already have. The module exports
//
//     int32_t GetPictureFailure(int32_t hostVersion);
//
// The host calls it, on the same thread, right after a GetPicture call that
// returned non-zero, passing the highest extension version it understands
// (SPI_FAILURE_EXTENSION_VERSION when it was built). The result describes
// that last failed call: one of the SPI_FAILURE_* reasons below, and never a
// reason introduced by a version newer than hostVersion. A module that has
// nothing to say returns SPI_FAILURE_UNSPECIFIED.
//
// The extension is optional: a module that does not export GetPictureFailure
// is treated exactly as before (its failures count as "no module decodes this
// file"). The host treats any value it does not know as unspecified, and it
// calls nothing else of the extension, so later versions only add reasons.
#define SPI_FAILURE_EXTENSION_VERSION 1

// Version 1 reasons.
#define SPI_FAILURE_UNSPECIFIED 0
// The file is of the module's format, but the picture is larger than the
// module (or the host's limit, see the modules' helpers) can hold.
#define SPI_FAILURE_TOO_LARGE 1
// The file is of the module's format, but it is truncated or corrupt.
#define SPI_FAILURE_BROKEN 2

typedef int32_t (*SpiGetPictureFailure)(int32_t hostVersion);

// ---------------------------------------------------------------------------
// Optional extension: the picture at the size the host needs (extension
// version 1).
//
// A photograph often has many times the pixels its printed size can show.
// A module that can decode a picture smaller exports
//
//     int32_t GetPictureReduced(int32_t hostVersion, const char *fileName,
//         int32_t offset, uint32_t flags, int32_t wantedWidth,
//         int32_t wantedHeight, int32_t *fullWidth, int32_t *fullHeight,
//         SpiHandle *info, SpiHandle *pixels, SpiProgressCallback progress,
//         intptr_t data);
//
// It works as GetPicture, and in addition stores the picture's own size
// (as GetPicture would deliver it, turned upright where the module turns
// pictures) in *fullWidth and *fullHeight, and delivers the picture reduced
// by a factor f of 1, 2, 4 or 8: every f x f block of pixels becomes one
// pixel, its average (or a filter at least as good), so the picture is
// ceil(fullWidth / f) x ceil(fullHeight / f) pixels. The factor is the
// largest for which fullWidth >= f * wantedWidth and
// fullHeight >= f * wantedHeight (spi_reduction_for in spi_module.h); a
// module may deliver a smaller factor (more pixels), which the host then
// reduces itself. hostVersion is SPI_REDUCED_EXTENSION_VERSION of the host.
// The host calls GetPictureFailure after a failed call exactly as after
// GetPicture.
//
// A module without it is asked with GetPicture and decodes the whole
// picture, as before; the host reduces what it delivers.
#define SPI_REDUCED_EXTENSION_VERSION 1

typedef int32_t (*SpiGetPictureReduced)(int32_t hostVersion, const char *fileName,
    int32_t offset, uint32_t flags, int32_t wantedWidth, int32_t wantedHeight,
    int32_t *fullWidth, int32_t *fullHeight, SpiHandle *info, SpiHandle *pixels,
    SpiProgressCallback progress, intptr_t data);

// ---------------------------------------------------------------------------
// Optional extension: the picture reduced by sampling (extension version 1).
//
// A picture with a transparent colour must keep exactly the colours of its
// file: an average would blend the transparent colour into its neighbours.
// A module that can reduce that way exports
//
//     int32_t GetPictureSampled(...);   // the parameters of GetPictureReduced
//
// It works as GetPictureReduced, at the same factor and size, except that
// every f x f block becomes one of its own pixels: the one at column
// w / 2 and row h / 2 of the block (w x h is the block's size, f x f but
// at the right and bottom edges, where it may be narrower). hostVersion is
// SPI_REDUCED_EXTENSION_VERSION of the host.
//
// A module without it is asked with GetPicture when the host wants such a
// picture; the host samples the whole picture it delivers.

#ifdef __cplusplus
}
#endif
