#include "documents/ui/canvas_view.h"
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace orv {

namespace {
int ButtonMask(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}
}

CanvasView::CanvasView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DrawIMG"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    resize(canvas_.pixelWidth(), canvas_.pixelHeight());
    canvas_.onDirty = [this](const QRect& r) { update(r); };
    canvas_.onResize = [this] {
        resize(canvas_.pixelWidth(), canvas_.pixelHeight());
        update();
        emit resized();
    };
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    // One picture pixel covers one logical pixel: on a scaled display it becomes a block of
    // device pixels, copied without smoothing so that the picture stays sharp.
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), canvas_.buffer(), r);
}

void CanvasView::emitMouse(void (CanvasView::*signal)(int, float, float), int buttons, const QPointF& pos)
{
    // On a scaled display the pointer may lie between logical pixels (x.5 at a scale of 2)
    // where the platform reports such positions: the picture pixel under it is the one whose
    // square holds it, never the next one a rounding would give.
    emit(this->*signal)(buttons, static_cast<float>(canvas_.fromPixels(std::floor(pos.x()))),
                        static_cast<float>(canvas_.fromPixels(std::floor(pos.y()))));
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    // Every button held counts: a left press while the right one is down is not a left press.
    emitMouse(&CanvasView::mouseDown, ButtonMask(event->buttons()), event->position());
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    emitMouse(&CanvasView::mouseMove, ButtonMask(event->buttons()), event->position());
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    emitMouse(&CanvasView::mouseUp, ButtonMask(event->button()), event->position());
}

} // namespace orv
