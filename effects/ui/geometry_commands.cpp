#include "effects/ui/geometry_commands.h"
#include "documents/ui/frmDocument.h"
#include "effects/flip.h"
#include "effects/grayscale.h"
#include "effects/rotate90.h"
#include "effects/ui/effect_run.h"

namespace orv {

namespace {

void Flip(frmDocument* doc, void (*flip)(QImage&))
{
    doc->TakeUndoSnapshot();
    Canvas& canvas = doc->canvas();
    canvas.setScaleMode(kScalePixels);
    flip(canvas.buffer());
    canvas.Refresh();
}

} // namespace

void mnuEditConvertGrayscale_Click(frmDocument* doc)
{
    EffectRun(doc, {QStringLiteral("Grayscaling..."), nullptr, false,
                    [](WorkingCopy& work) { return GrayscalePasses(work); }});
}

void mnuEditFlipHorizontal_Click(frmDocument* doc)
{
    Flip(doc, FlipHorizontal);
}

void mnuEditFlipVertical_Click(frmDocument* doc)
{
    Flip(doc, FlipVertical);
}

void mnuEditRotate90_Click(frmDocument* doc)
{
    // The run resizes the canvas when the turned picture comes back; the document then places
    // its handles at the new edges.
    EffectRun(doc, {QStringLiteral("Rotating..."), nullptr, false,
                    [](WorkingCopy& work) { return Rotate90Passes(work); }});
}

} // namespace orv
