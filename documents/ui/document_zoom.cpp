// The zoom of a document window: the View menu's entries, Ctrl + wheel and the Zoom tool all
// end in zoomTo, which changes only what the window shows and keeps the picture point under
// the pointer (or the viewport's centre) in its place.
#include "documents/ui/canvas_view.h"
#include "documents/ui/frmDocument.h"
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>

namespace orv {

void frmDocument::zoomTo(int step, QPointF anchor)
{
    const double before = DrawIMG->zoom().factor();
    const QPointF picturePoint = (anchor - QPointF(DrawIMG->pos())) / before;
    DrawIMG->setZoomStep(step);   // the window lays itself out again for the new size
    // The scroll bars put the canvas's corner where the point lands back under the anchor;
    // a canvas that fits stays at home.
    const QPointF corner = anchor - picturePoint * DrawIMG->zoom().factor();
    if (HScroll1->isVisible()) HScroll1->setValue(canvasLeftTwips() + HScroll1->value() - PixelsToTwips(int(corner.x())));
    if (VScroll1->isVisible()) VScroll1->setValue(canvasTopTwips() + VScroll1->value() - PixelsToTwips(int(corner.y())));
    if (Text1->isVisible()) placeTextBox();
    updateStatusTexts();
}

void frmDocument::zoomBy(int steps)
{
    zoomTo(ZoomStepAfter(DrawIMG->zoomStep(), steps), QRectF(Picture4->rect()).center());
}

void frmDocument::mnuViewFit_Click()
{
    zoomTo(fitStep(size(), kZoomStepCount - 1), QRectF(Picture4->rect()).center());
}

void frmDocument::wheelEvent(QWheelEvent* event)
{
    // Ctrl + wheel zooms about the pointer, one step a notch; the wheel alone scrolls up and
    // down, with Shift across.
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (event->modifiers() & Qt::ControlModifier) {
        wheelRest_ += delta;
        const int steps = wheelRest_ / 120;
        wheelRest_ %= 120;
        if (steps) zoomTo(ZoomStepAfter(DrawIMG->zoomStep(), steps), Picture4->mapFrom(this, event->position()));
    } else {
        QScrollBar* bar = event->modifiers() & Qt::ShiftModifier ? HScroll1 : VScroll1;
        if (bar->isVisible()) bar->setValue(bar->value() - delta * PixelsToTwips(60) / 120);
    }
    event->accept();
}

} // namespace orv
