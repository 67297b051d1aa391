#pragma once
// libHVBmpToFile.so: the suite's picture converter. It saves a rendered page
// bitmap as a JPEG or GIF file. Callers load it by its Windows name
// ("HVBmpToFile.dll") and look up the one entry point BMPToFile.
//
// A bitmap crosses the C boundary as a THVBitmap: a plain description of
// pixel memory that the caller owns (for a QImage: width(), height(),
// bytesPerLine(), constBits() and the matching pixel format). The library
// only reads the pixels, never keeps the pointer past the call and never
// frees anything of the caller's.
//
// This header is the whole contract, kept with its caller (the report output)
// and included by the library; it is plain C so that any caller can include it.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Pixel layouts a THVBitmap may describe (QImage formats in brackets).
enum THVPixelFormat {
    HVPixelRGB32 = 1, // 32-bit words 0xffRRGGBB in native byte order (Format_RGB32)
    HVPixelARGB32 = 2, // 32-bit words 0xAARRGGBB, not premultiplied (Format_ARGB32); alpha is dropped
    HVPixelRGB888 = 3, // three bytes R, G, B per pixel (Format_RGB888)
    HVPixelRGB16 = 4 // 16-bit words RGB 5-6-5 in native byte order (Format_RGB16)
};

// The bitmap handle BMPToFile takes: a pointer to one of these.
typedef struct THVBitmap {
    uint32_t StructSize; // sizeof(THVBitmap): lets later versions grow the struct
    int32_t Width; // pixels, > 0
    int32_t Height; // pixels, > 0
    int32_t BytesPerLine; // distance between the starts of two rows, >= Width * bytes per pixel
    int32_t PixelFormat; // a THVPixelFormat
    int32_t DotsPerInch; // the resolution the page was rendered at, recorded in the file; 0 = 96
    const void* Bits; // first byte of the top row
} THVBitmap;

// Picture kinds of the library. The numbers are fixed by the library's
// callers, and are the same as those of the report's JPG and GIF export
// (options/OutputKind.h), which PictureLibrary maps to these.
enum THVPictureKind { HVPictureJPG = 1, HVPictureGIF = 2 };

// Answers of BMPToFile.
enum THVBmpResult {
    HVBmpOK = 0,
    HVBmpBadBitmap = 1, // null handle, wrong StructSize, sizes or format out of range
    HVBmpBadKind = 2, // kind is neither HVPictureJPG nor HVPictureGIF
    HVBmpBadName = 3, // no name, a name without NUL inside the buffer, or no room for the extension
    HVBmpWriteFailed = 4 // the file could not be written (nothing is left behind)
};

// Saves the bitmap as a picture of the given kind.
//
// fileName is a buffer of bufferSize bytes (256 in the report output) that
// holds the UTF-8 base name of the file, NUL-terminated. The library appends
// ".jpg" or ".gif" and, on success, leaves the final name in the buffer.
// On failure the buffer is left as it was.
//
// The file appears complete or not at all: it is written to a temporary file
// beside it and renamed. JPEG uses quality 90 (text stays crisp at 96 dpi);
// GIF uses the page's own colours when it has at most 256 of them, else a
// median-cut palette of 256 colours fitted to the page.
int BMPToFile(const THVBitmap* bitmap, int kind, char* fileName, int bufferSize);

#ifdef __cplusplus
}
#endif
