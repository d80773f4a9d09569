#pragma once
// Canvas: a raster surface with a persistent image, a drawing unit (pixels or twips), a pen and
// the drawing, pixel and picture operations that documents, tools, effects and fills use.
//
// The persistent image is a kPixelFormat buffer (see platform/color.h) that a widget can show
// without converting it. Every operation reports the pixels it changed through onDirty, so a
// view repaints only those; direct changes to buffer() are reported with markDirty() or
// Refresh(). Coordinates are in the current drawing unit (ScaleMode): pixels, or twips at
// 15 per pixel.
#include "platform/color.h"
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>

namespace orv {

constexpr double kTwipsPerPixel = 15.0;

enum : int16_t { kScaleTwips = 1, kScalePixels = 3 };
enum : int16_t { kDrawModeNotXorPen = 10, kDrawModeCopyPen = 13 };
enum : int16_t { kFillSolid = 0, kFillTransparent = 1 };

enum class LineMode { Line, Box, FilledBox };

// A picture object: an image value that later drawing on any canvas never alters
// (QImage shares the pixels until one side writes, then copies).
using Picture = QImage;

class PictureSnapshot;

class Canvas {
public:
    explicit Canvas(int widthPx = 1, int heightPx = 1, ColorRef backColor = 0xFFFFFF);
    ~Canvas();

    // --- size ---------------------------------------------------------------------------
    int pixelWidth() const { return image_.width(); }
    int pixelHeight() const { return image_.height(); }
    // New size in pixels (at least 1 x 1): the image keeps its pixels in place, new area
    // shows BackColor, pixels beyond a smaller size are cut off. Calls onResize when the
    // size changed.
    void resizePixels(int widthPx, int heightPx);
    float ScaleWidth() const;    // width in the drawing unit
    float ScaleHeight() const;
    int16_t ScaleMode() const { return scaleMode_; }
    void setScaleMode(int16_t mode) { scaleMode_ = mode; }
    // Conversion between the drawing unit and pixels.
    double toPixels(double v) const { return scaleMode_ == kScaleTwips ? v / kTwipsPerPixel : v; }
    double fromPixels(double v) const { return scaleMode_ == kScaleTwips ? v * kTwipsPerPixel : v; }

    // --- pen -----------------------------------------------------------------------------
    ColorRef ForeColor() const { return foreColor_; }
    void setForeColor(ColorRef c) { foreColor_ = c & 0xFFFFFF; }
    ColorRef BackColor() const { return backColor_; }
    void setBackColor(ColorRef c) { backColor_ = c & 0xFFFFFF; }
    int16_t DrawWidth() const { return drawWidth_; }
    void setDrawWidth(int16_t w) { drawWidth_ = w < 1 ? 1 : w; }
    int16_t DrawMode() const { return drawMode_; }
    // 13: copy pen; 10: each drawn pixel becomes NOT(pen XOR old), so the same shape drawn
    // twice restores the pixels.
    void setDrawMode(int16_t mode) { drawMode_ = mode; }
    int16_t FillStyle() const { return fillStyle_; }
    void setFillStyle(int16_t s) { fillStyle_ = s; }
    ColorRef FillColor() const { return fillColor_; }
    void setFillColor(ColorRef c) { fillColor_ = c & 0xFFFFFF; }

    // --- drawing (coordinates in the drawing unit) ---------------------------------------
    void PSet(float x, float y) { PSet(x, y, foreColor_); }
    void PSet(float x, float y, ColorRef color);      // a dot of DrawWidth
    ColorRef Point(float x, float y) const;           // -1 outside
    void Line(float x1, float y1, float x2, float y2) { Line(x1, y1, x2, y2, foreColor_, LineMode::Line); }
    void Line(float x1, float y1, float x2, float y2, ColorRef color, LineMode mode);
    // Ellipse outline (filled per FillStyle/FillColor): aspect <= 1 gives semi-axes r and
    // r * aspect (horizontal, vertical); aspect > 1 gives r / aspect and r.
    void Circle(float x, float y, float radius, ColorRef color, float aspect = 1.0f);

    float CurrentX() const { return currentX_; }
    float CurrentY() const { return currentY_; }
    void setCurrentX(float x) { currentX_ = x; }
    void setCurrentY(float y) { currentY_ = y; }

    // --- text ------------------------------------------------------------------------------
    QFont font() const { return font_; }
    void setFont(const QFont& f) { font_ = f; }
    // Draws text at CurrentX, CurrentY (its top-left) in ForeColor; CurrentX moves past it.
    void Print(const QString& text);
    float TextWidth(const QString& text) const;   // in the drawing unit
    float TextHeight(const QString& text) const;

    // --- pictures --------------------------------------------------------------------------
    // Copies a picture at (x, y), at natural size or stretched to width x height.
    void PaintPicture(const Picture& pic, float x, float y);
    void PaintPicture(const Picture& pic, float x, float y, float width, float height);
    // Replaces what the canvas shows with pic at the top-left corner; the rest shows
    // BackColor. With AutoSize the canvas first takes the picture's size.
    void setPicture(const Picture& pic);
    Picture Image() const { return image_; }       // the persistent image, drawings included
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }
    void Cls();                                    // clear to BackColor; CurrentX/Y to 0
    void Refresh() { markDirty(image_.rect()); }   // show the whole image again

    // --- raw access --------------------------------------------------------------------------
    // For a change anywhere, announced or not: a snapshot being read takes its own reference
    // first. Not to be kept across the event loop.
    QImage& buffer();
    const QImage& buffer() const { return image_; }
    // For writes each announced with aboutToChange() before it is made: a snapshot being read
    // keeps only the rows announced.
    QImage& reportedBuffer();
    void markDirty(const QRect& pixels);
    // To be called before pixels within `pixels` are written (the canvas's own operations do).
    void aboutToChange(const QRect& pixels);

    // The persistent image as it is now, for a reader on another thread (see
    // picture_snapshot.h): taking it copies nothing, and drawing on the canvas meanwhile copies
    // only the rows drawn on that the reader has not read yet. One snapshot at a time keeps up
    // with the canvas; taking another makes the earlier one hold its pixels.
    std::shared_ptr<PictureSnapshot> snapshot();

    // Notifications to the view: pixels to repaint, and size changes.
    std::function<void(const QRect&)> onDirty;
    std::function<void()> onResize;
    // The pixels about to be written, before they change (for the undo history).
    std::function<void(const QRect&)> onBeforeChange;

private:
    // The snapshot that still reads the canvas's own pixels gets a reference of its own.
    void releaseSnapshot();

    // A copy of the canvas shares its pixels, not its snapshot.
    struct SnapshotLink {
        std::weak_ptr<PictureSnapshot> reader;
        SnapshotLink() = default;
        SnapshotLink(const SnapshotLink&) {}
        SnapshotLink& operator=(const SnapshotLink&) = delete;
    };

    QImage image_;
    SnapshotLink snapshot_;
    int16_t scaleMode_ = kScalePixels;
    ColorRef foreColor_ = 0;
    ColorRef backColor_ = 0xFFFFFF;
    ColorRef fillColor_ = 0;
    int16_t drawWidth_ = 1;
    int16_t drawMode_ = kDrawModeCopyPen;
    int16_t fillStyle_ = kFillTransparent;
    bool autoSize_ = false;
    float currentX_ = 0;
    float currentY_ = 0;
    QFont font_;
};

} // namespace orv
