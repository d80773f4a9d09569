#pragma once
// Many block copies of a picture onto itself, made in order (later blocks read what earlier
// ones wrote) but without walking the whole picture once per block. Every block moves along one
// axis only, so the lines across that axis never exchange pixels and can each take all of their
// moves while they sit in the processor's cache.
#include <QImage>
#include <vector>

namespace orv {

// One block copy, already clipped to the picture: across lines first .. first + count - 1
// (columns when the block moves up or down, rows when it moves sideways), the pixels
// from .. from + length - 1 along the move go to to .. to + length - 1, as if through a
// temporary.
struct BlockMove {
    int first, count, from, to, length;
};

// Moves that run up or down the columns of `picture` (kPixelFormat).
void MoveAlongColumns(QImage& picture, const std::vector<BlockMove>& moves);
// Moves that run sideways along the rows of `picture` (kPixelFormat).
void MoveAlongRows(QImage& picture, const std::vector<BlockMove>& moves);

} // namespace orv
