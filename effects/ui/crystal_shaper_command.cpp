#include "effects/ui/crystal_shaper_command.h"
#include "documents/ui/frmDocument.h"
#include "effects/crystal_shaper.h"

namespace orv {

void mnuEffectsCrystalShaper_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    Canvas& canvas = doc->canvas();
    canvas.setScaleMode(kScalePixels);
    CrystalShape(canvas.buffer());
    canvas.Refresh();
}

} // namespace orv
