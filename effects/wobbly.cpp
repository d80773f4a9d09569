#include "effects/wobbly.h"
#include "effects/batch_params.h"
#include <algorithm>
#include <cstring>
#include <memory>

namespace orv {

namespace {

// Column x moves up by off[x]. A result pixel reads only its own column at its own row or
// below, so the rows are computed top to bottom in place, each reading rows not yet changed;
// the band's share of whole rows gives the same picture as the column order.
ColumnPass ColumnPassOf(WorkingCopy& work, std::shared_ptr<const std::vector<int>> off, float from,
                        float span)
{
    ColumnPass pass;
    pass.progressFrom = from;
    pass.progressSpan = span;
    pass.columns = [&work, off](int x0, int x1) {
        const int w = work.width(), h = work.height();
        const RowShare rows = RowsOfBand(w, h, x0, x1);
        if (rows.from >= rows.to) return;
        QImage& image = work.image();
        uchar* bits = image.bits();
        const qsizetype bpl = image.bytesPerLine();
        const int* o = off->data();
        const int maxOffset = *std::max_element(off->begin(), off->end());
        for (int y = rows.from; y < rows.to; ++y) {
            auto* out = reinterpret_cast<uint32_t*>(bits + y * bpl);
            if (maxOffset < h - y) {   // every source row lies inside the picture
                for (int x = 0; x < w; ++x)
                    out[x] = reinterpret_cast<const uint32_t*>(bits + (y + o[x]) * bpl)[x];
            } else {
                for (int x = 0; x < w; ++x)
                    if (o[x] < h - y) out[x] = reinterpret_cast<const uint32_t*>(bits + (y + o[x]) * bpl)[x];
            }
        }
    };
    return pass;
}

// Row y moves left by off[y]: one move of the row's remaining run of pixels.
ColumnPass RowPassOf(WorkingCopy& work, std::shared_ptr<const std::vector<int>> off, float from, float span)
{
    ColumnPass pass;
    pass.progressFrom = from;
    pass.progressSpan = span;
    pass.columns = [&work, off](int x0, int x1) {
        const int w = work.width();
        const RowShare rows = RowsOfBand(w, work.height(), x0, x1);
        for (int y = rows.from; y < rows.to; ++y) {
            const int o = (*off)[static_cast<size_t>(y)];
            if (o >= w) continue;
            uint32_t* row = work.row(y);
            std::memmove(row, row + o, static_cast<size_t>(w - o) * sizeof(uint32_t));
        }
    };
    return pass;
}

} // namespace

std::vector<int> WobblyOffsets(const QString& widthText, int count)
{
    // The only offsets that can equal the text: a whole number above 0 written plainly.
    bool ok = false;
    const int turn = widthText.toInt(&ok, 10);
    const bool turns = ok && turn > 0 && QString::number(turn) == widthText;
    std::vector<int> offsets(static_cast<size_t>(std::max(0, count)));
    int o = 0;
    bool rising = true;
    for (int& value : offsets) {
        o += rising ? 1 : -1;
        if (turns && o == turn) rising = false;
        if (o == 0) rising = true;
        value = o;
    }
    return offsets;
}

std::vector<ColumnPass> WobblyPasses(WorkingCopy& work, const WobblyParams& p)
{
    auto columns = [&] {
        return std::make_shared<const std::vector<int>>(WobblyOffsets(p.width, work.width()));
    };
    auto rows = [&] {
        return std::make_shared<const std::vector<int>>(WobblyOffsets(p.width, work.height()));
    };
    switch (p.mode) {
    case WobblyMode::Top: return {ColumnPassOf(work, columns(), 0.0f, 100.0f)};
    case WobblyMode::Left: return {RowPassOf(work, rows(), 0.0f, 100.0f)};
    case WobblyMode::Both: break;
    }
    return {ColumnPassOf(work, columns(), 0.0f, 50.0f), RowPassOf(work, rows(), 50.0f, 50.0f)};
}

bool ParseWobblyParams(const EffectParams& params, WobblyParams* out, QString* error)
{
    const QString effect = QStringLiteral("wobbly");
    WobblyParams p;
    int mode = static_cast<int>(p.mode);
    if (!CheckParamNames(effect, params, {"mode", "width"}, error)
        || !ReadChoiceParam(effect, params, "mode", {"top", "left", "both"}, &mode, error))
        return false;
    p.mode = static_cast<WobblyMode>(mode);
    p.width = params.value(QStringLiteral("width"), p.width);
    *out = p;
    return true;
}

} // namespace orv
