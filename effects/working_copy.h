#pragma once
// The off-screen working copy of an effect run: exactly W x H pixels that start as a straight
// copy of the canvas. A read outside returns 0xFFFFFFFF (-1); a write outside is ignored.
// Kernels work on rows directly; Get/Set serve the edge cases and tests.
//
// The copy is made row by row as late as possible, from a snapshot of the canvas (a shared
// QImage, so the canvas itself can never change under it). Rows not copied yet are read from
// the snapshot, so every read sees the straight copy. The first writable access copies all the
// remaining rows, except through mapRows, with which a per-pixel kernel reads the snapshot and
// writes its result into the working copy in one go instead of copying first and mapping
// after; and replace, which takes a finished result without copying at all.
#include "platform/color.h"
#include <QImage>

namespace orv {

class WorkingCopy {
public:
    explicit WorkingCopy(const QImage& canvasImage);
    WorkingCopy(int w, int h);

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

    ColorRef Get(int x, int y) const
    {
        return inside(x, y) ? FromPixel(row(y)[x]) : kInvalidColor;
    }
    void Set(int x, int y, ColorRef c)
    {
        if (inside(x, y)) row(y)[x] = ToPixel(c);
    }

    uint32_t* row(int y)
    {
        if (copiedRows_ < height()) copyRowsUpTo(height());
        return reinterpret_cast<uint32_t*>(image_.scanLine(y));
    }
    const uint32_t* row(int y) const
    {
        const QImage& from = y < copiedRows_ ? image_ : source_;
        return reinterpret_cast<const uint32_t*>(from.constScanLine(y));
    }

    // Rows from .. to-1 as a per-pixel map reads them (in) and where its results go (out).
    // Bands are to be mapped top to bottom; rows not copied yet are read from the snapshot and
    // count as copied once mapped, so the caller must write every pixel of them. The rows may
    // be mapped in any order, or at once on several threads.
    class MappedRows {
    public:
        const uint32_t* in(int y) const
        {
            return reinterpret_cast<const uint32_t*>(y < copied_ ? out_ + y * outStride_ : in_ + y * inStride_);
        }
        uint32_t* out(int y) const { return reinterpret_cast<uint32_t*>(out_ + y * outStride_); }

    private:
        friend class WorkingCopy;
        const uchar* in_ = nullptr;   // the snapshot
        uchar* out_ = nullptr;        // the working copy
        qsizetype inStride_ = 0, outStride_ = 0;
        int copied_ = 0;              // rows above this one are read from the working copy
    };
    MappedRows mapRows(int from, int to);

    PictureResolution resolution() const { return ResolutionOf(image_); }
    QImage& image()
    {
        if (copiedRows_ < height()) copyRowsUpTo(height());
        return image_;
    }
    // The canvas picture the copy was made from, unchanged whatever the run writes (null for
    // a copy made blank). Effects that read the picture as it was while writing over it take
    // their pixels from here.
    const QImage& original() const { return source_; }
    // The pixels as they stand before the run writes any: the original, or for a copy made
    // blank its own picture.
    const QImage& unwritten() { return source_.isNull() ? image() : source_; }
    // Takes `result` as the working copy (it may have another size).
    void replace(QImage result);

private:
    void copyRowsUpTo(int end);   // copies rows copiedRows_ .. end-1 from the snapshot

    QImage image_;
    QImage source_;       // the canvas snapshot; kept to the end, as rows read from it may be in use
    int copiedRows_ = 0;  // rows 0 .. copiedRows_-1 of image_ hold the working copy
};

} // namespace orv
