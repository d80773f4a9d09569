#include "documents/view_zoom.h"
#include <algorithm>
#include <QRegularExpression>
#include <cmath>

namespace orv {

int ZoomStepAfter(int from, int steps)
{
    return std::clamp(from + steps, 0, kZoomStepCount - 1);
}

int FitZoomStep(QSize picture, QSize room, int highest)
{
    for (int step = ZoomStepAfter(highest, 0); step > 0; --step) {
        const ZoomStep z = kZoomSteps[step];
        if (ZoomedExtent(picture.width(), z) <= room.width() && ZoomedExtent(picture.height(), z) <= room.height())
            return step;
    }
    return 0;
}

QString ZoomPercentText(int step)
{
    const ZoomStep z = kZoomSteps[std::clamp(step, 0, kZoomStepCount - 1)];
    const double percent = std::round(10000.0 * z.num / z.den) / 100.0;
    return QString::number(percent, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$"))) + u'%';
}

int ZoomedExtent(int64_t extent, ZoomStep z)
{
    return int(std::max<int64_t>(1, (extent * z.num + z.den - 1) / z.den));
}

double PictureCoordinate(double v, ZoomStep z)
{
    return std::floor(v * z.den / z.num);
}

void ScreenSpan(int64_t first, int64_t end, ZoomStep z, int64_t& screenFirst, int64_t& screenEnd)
{
    // Floor of the start and ceiling of the end, so partly covered screen pixels count.
    const auto floorDiv = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    screenFirst = floorDiv(first * z.num, z.den);
    screenEnd = -floorDiv(-end * z.num, z.den);
}

} // namespace orv
