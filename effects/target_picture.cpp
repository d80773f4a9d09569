#include "effects/target_picture.h"
#include <memory>

namespace orv {

ColumnPass PassIntoTarget(WorkingCopy& work, int targetWidth, int targetHeight,
                          TargetColumns columns)
{
    auto target = std::make_shared<QImage>(NewUninitializedPixelBuffer(targetWidth, targetHeight));
    SetResolution(*target, work.resolution());
    ColumnPass pass;
    pass.columns = [&work, target, columns = std::move(columns)](int x0, int x1) {
        columns(work, *target, x0, x1);
        if (x1 == work.width()) work.replace(std::move(*target));
    };
    return pass;
}

} // namespace orv
