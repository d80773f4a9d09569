#pragma once
// Per-pixel maps over the share of a working copy that belongs to one band of a pass: whole
// rows, as RowsOfBand explains, read from the canvas snapshot where not yet copied
// (WorkingCopy::mapRows). Each pixel's result depends on that pixel alone, so the rows are
// spread over the processor's cores.
#include "effects/column_passes.h"
#include "effects/row_shares.h"
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
    ForRowShares(rows.from, rows.to, work.width(), [&](int from, int to) {
        for (int y = from; y < to; ++y) mapRow(mapped.in(y), mapped.out(y), width);
    });
}

} // namespace orv
