#pragma once
// Per-pixel maps over the share of a working copy that belongs to one band of a pass: whole
// rows, as RowsOfBand explains, read from the canvas snapshot where not yet copied
// (WorkingCopy::mapRows). They run on the caller's thread: a map reads and writes each pixel
// once and is bound by the memory's speed, which a second thread on a shared machine slowed
// down rather than sped up.
#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include <cstddef>

namespace orv {

// Calls mapRow(in, out, width) for every row of the band's share.
template <class MapRow>
void MapRows(WorkingCopy& work, int x0, int x1, MapRow mapRow)
{
    const RowShare rows = RowsOfBand(work.width(), work.height(), x0, x1);
    const WorkingCopy::MappedRows mapped = work.mapRows(rows.from, rows.to);
    const auto width = static_cast<size_t>(work.width());
    for (int y = rows.from; y < rows.to; ++y) mapRow(mapped.in(y), mapped.out(y), width);
}

} // namespace orv
