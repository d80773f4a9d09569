#pragma once
// Raster operations on pixel buffers (kPixelFormat images): block copies with raster
// operations, stretched copies, surface flood fill, solid and pattern fills, key-colour masks.
// They work on the colour bits only; every written pixel keeps the opaque top byte.
// Source and destination may be the same image (the copy is then made through a temporary).
#include "platform/color.h"
#include <QRect>
#include <array>
#include <functional>

namespace orv {

// Raster operation codes (ternary operation numbers of the classic raster model).
enum class Rop : uint32_t {
    SrcCopy = 0x00CC0020,     // D = S
    SrcAnd = 0x008800C6,      // D = S AND D
    SrcInvert = 0x00660046,   // D = S XOR D
    NotSrcCopy = 0x00330008,  // D = NOT S
    DstInvert = 0x00550009,   // D = NOT D
};

// One axis of a block copy: destination start d, source start s and length n, clipped so
// that both d .. d+n-1 and s .. s+n-1 lie inside their images. False when nothing is left.
bool ClipAxis(int64_t d, int64_t s, int64_t n, int64_t dLimit, int64_t sLimit,
              int& outD, int& outS, int& outN);

// Copies the w x h block of src at (sx, sy) to dst at (x, y) combined by rop.
// The block is clipped to both images; parts outside either are left alone.
void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop);

// Copies src's (sx, sy, sw, sh) block stretched onto dst's (x, y, w, h) block. A negative
// width or height mirrors: the destination block then runs from x (or y) leftwards (upwards),
// covering x+w .. x-1. Shrinking drops rows and columns (nearest source pixel); the pixel
// chosen for destination column i is src column sx + floor((i + 0.5) * sw / w).
void StretchBlt(QImage& dst, int x, int y, int w, int h,
                const QImage& src, int sx, int sy, int sw, int sh, Rop rop);

// Surface flood fill: every pixel 4-connected to (x, y) whose colour equals the colour at
// (x, y) becomes fill. Iterative (scanline spans), so a region of any size fills without
// deep recursion. Returns the bounding rectangle of changed pixels (empty when nothing changed,
// e.g. the region already has the fill colour or (x, y) is outside). beforeWrite, when given,
// is told each run of one row just before it is painted, so a caller can keep what the fill
// overwrites without knowing its reach in advance.
QRect FloodFillSurface(QImage& img, int x, int y, ColorRef fill,
                       const std::function<void(const QRect&)>& beforeWrite = {});

// Fills the rectangle (clipped to the image) with a solid colour.
void FillRectSolid(QImage& dst, const QRect& r, ColorRef color);

// An 8 x 8 one-bit brush pattern: bit (7 - col) of rows[row] set means white (1), clear
// means black (0). The pattern is aligned to the destination's origin.
struct Pattern8x8 {
    std::array<uint8_t, 8> rows{};
    bool white(int col, int row) const { return (rows[row & 7] >> (7 - (col & 7))) & 1; }
};

// The raster operation 0xAC0744 with a black-and-white pattern brush: each destination pixel
// of the w x h block at (x, y) keeps its value where the pattern is white and takes the
// source pixel (src at sx, sy) where it is black.
void BlitPatternSelect(QImage& dst, int x, int y, int w, int h,
                       const QImage& src, int sx, int sy, const Pattern8x8& pattern);

// A one-bit mask of src's block r as a pixel buffer of r's size: white (0xFFFFFF) where the
// source pixel equals key, black (0) elsewhere. Combine it with BitBlt SRCAND / NOTSRCCOPY.
QImage MakeKeyMask(const QImage& src, const QRect& r, ColorRef key);

// Sets n pixel words from p on to v, at the speed of the C library's vectorised fills.
void FillPixels(uint32_t* p, size_t n, uint32_t v);

} // namespace orv
