#pragma once
// Effects whose result cannot be written over the pixels they still have to read (a turn, a
// filter that reads its neighbours) write it into a second picture while the working copy stays
// untouched. After the last band the second picture takes the working copy's place, so the run
// writes it back like any other result; a cancelled run just drops it. That costs one extra
// picture, no more.
#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include <cstdint>
#include <functional>

namespace orv {

// Computes the target's pixels that belong to the source's columns x0 .. x1-1. The target is
// not cleared beforehand: the function writes every target pixel over the whole run.
using TargetColumns =
    std::function<void(const WorkingCopy& source, QImage& target, int x0, int x1)>;

// One pass over the source's columns (progress 0 to 100) into a new targetWidth x targetHeight
// picture.
ColumnPass PassIntoTarget(WorkingCopy& work, int targetWidth, int targetHeight,
                          TargetColumns columns);

// The rows of a picture as pixel words, taken once on the caller's thread (QImage's own row
// access may copy a shared picture) so that threads can fill rows at once.
class PixelRows {
public:
    explicit PixelRows(QImage& image) : bits_(image.bits()), stride_(image.bytesPerLine()) {}
    uint32_t* operator[](int y) const { return reinterpret_cast<uint32_t*>(bits_ + y * stride_); }

private:
    uchar* bits_;
    qsizetype stride_;
};

} // namespace orv
