#pragma once
// ColorRef: a colour as 0x00BBGGRR (red in the low byte), and the pixel word that holds it.
//
// Pixel buffers are QImage::Format_RGBX8888: on a little-endian machine the 32-bit word of a
// pixel is 0xFFBBGGRR, i.e. the ColorRef with the unused top byte set to 0xFF, so a buffer can
// be shown on screen as it is and a ColorRef is one mask away.
#include <QImage>
#include <optional>
#include <cstdint>

namespace orv {

using ColorRef = int32_t;

constexpr QImage::Format kPixelFormat = QImage::Format_RGBX8888;
constexpr uint32_t kPixelOpaque = 0xFF000000u;
constexpr uint32_t kColorMask = 0x00FFFFFFu;
constexpr ColorRef kInvalidColor = -1;   // 0xFFFFFFFF: a read outside a surface

constexpr int CapChannel(int v) { return v > 255 ? 255 : (v < 0 ? 0 : v); }

// r + 256 g + 65536 b with each channel capped at 255 (negative channels count as 0).
constexpr ColorRef RGB(int r, int g, int b)
{
    return CapChannel(r) + 256 * CapChannel(g) + 65536 * CapChannel(b);
}

constexpr uint32_t ToPixel(ColorRef c) { return (static_cast<uint32_t>(c) & kColorMask) | kPixelOpaque; }
constexpr ColorRef FromPixel(uint32_t p) { return static_cast<ColorRef>(p & kColorMask); }

constexpr int RedOf(ColorRef c) { return c & 0xFF; }
constexpr int GreenOf(ColorRef c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(ColorRef c) { return (c >> 16) & 0xFF; }

// The three signed channels of a pixel value: blue = c \ 65536, green = (c - 65536 blue) \ 256,
// red = the rest. Every colour 0..16777215 gives its bytes; -1 gives red -1, green 0, blue 0.
struct ColorParts {
    int32_t red;
    int32_t green;
    int32_t blue;
};

constexpr ColorParts SplitColor(ColorRef c)
{
    const int32_t blue = c / 65536;
    const int32_t green = (c - blue * 65536) / 256;
    const int32_t red = c - blue * 65536 - green * 256;
    return {red, green, blue};
}

// Asks the system to back the memory of [begin, begin + bytes) not yet touched with 2 MiB
// pages where it can: fresh memory is then filled far faster (fewer page faults).
void AdviseHugePages(void* begin, size_t bytes);

// A new pixel buffer of w x h whose pixels are not yet set (the caller writes every one); null
// for an empty size. Both allocators throw std::bad_alloc when the memory cannot be had.
QImage NewUninitializedPixelBuffer(int w, int h);

// Gives a picture that shares its pixels with another (an undo snapshot, say) pixels of its
// own before it is written to, copied into memory obtained as NewUninitializedPixelBuffer
// does: much faster than the copy a shared picture makes for itself on its first write.
void DetachPixelBuffer(QImage& picture);

// Pixel words that hold a colour in their low three bytes and its alpha in the top byte become
// opaque words of the colour composed onto `background` by the alpha. Without a background
// the alpha stays, and the picture becomes QImage::Format_RGBA8888 (the same bytes). A picture
// wholly transparent carries no transparency at all and shows its colours.
void ComposeOntoBackground(QImage& pixels, std::optional<ColorRef> background);

// A new pixel buffer of w x h filled with one colour.
QImage NewPixelBuffer(int w, int h, ColorRef fill);

// The resolution a picture file declared travels with its pixels, so that writing the picture
// again declares the same: pixels per metre across and down, 0 where the file declared none.
// Pictures made here without a file have Qt's default (96 dots per inch).
struct PictureResolution {
    int x = 0;
    int y = 0;
};
PictureResolution ResolutionOf(const QImage& picture);
void SetResolution(QImage& picture, PictureResolution r);
inline void CopyResolution(const QImage& from, QImage& to) { SetResolution(to, ResolutionOf(from)); }

// The same picture in the pixel format (a no-op share when it already is).
QImage ToPixelFormat(const QImage& image);

} // namespace orv
