#include "documents/ui/canvas_view.h"
#include "documents/ui/canvas_pointer.h"
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <utility>

namespace orv {

namespace {
int ButtonMask(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

constexpr double kGridFrom = 8.0;   // the pixel grid shows from this zoom on
}

CanvasView::CanvasView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DrawIMG"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    showPointer();
    connect(&CanvasPointer::instance(), &CanvasPointer::changed, this, &CanvasView::showPointer);
    setFocusPolicy(Qt::StrongFocus);
    takeZoomedSize();
    canvas_.onDirty = [this](const QRect& r) {
        pyramid_.invalidate(r);
        update(viewRect(r));
        emit pixelsChanged();
    };
    canvas_.onResize = [this] {
        pyramid_.clear();
        takeZoomedSize();
        update();
        emit resized();
    };
}

void CanvasView::takeZoomedSize()
{
    resize(ZoomedExtent(canvas_.pixelWidth(), zoom()), ZoomedExtent(canvas_.pixelHeight(), zoom()));
}

void CanvasView::setToolPointer(Qt::CursorShape shape)
{
    toolPointer_ = shape;
    showPointer();
}

void CanvasView::showPointer()
{
    setCursor(CanvasPointer::instance().cursor(toolPointer_));
}

void CanvasView::setZoomStep(int step)
{
    step = ZoomStepAfter(step, 0);
    if (step == zoomStep_) return;
    zoomStep_ = step;
    takeZoomedSize();
    update();
    emit resized();
}

void CanvasView::setPixelGrid(bool on)
{
    pixelGrid_ = on;
    update();
}

QPointF CanvasView::viewPoint(double x, double y) const
{
    return {x * zoom().factor(), y * zoom().factor()};
}

QRect CanvasView::viewRect(const QRect& pixels) const
{
    if (pixels.isEmpty()) return {};
    int64_t x0, x1, y0, y1;
    ScreenSpan(pixels.left(), int64_t(pixels.right()) + 1, zoom(), x0, x1);
    ScreenSpan(pixels.top(), int64_t(pixels.bottom()) + 1, zoom(), y0, y1);
    return QRect(QPoint(int(x0), int(y0)), QPoint(int(x1) - 1, int(y1) - 1));
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    if (zoomStep_ == kActualSizeStep) {
        // One picture pixel covers one logical pixel: on a scaled display it becomes a block
        // of device pixels, copied without smoothing so that the picture stays sharp.
        p.drawImage(r.topLeft(), std::as_const(canvas_).buffer(), r);
    } else {
        // Made at the display's own resolution, so zoomed pixels stay sharp squares and a
        // zoomed-out picture is smoothed at every device pixel.
        const double dpr = devicePixelRatioF();
        const int x0 = int(std::floor(r.left() * dpr)), y0 = int(std::floor(r.top() * dpr));
        const int x1 = int(std::ceil((r.right() + 1) * dpr)), y1 = int(std::ceil((r.bottom() + 1) * dpr));
        if (scratch_.width() < x1 - x0 || scratch_.height() < y1 - y0)
            scratch_ = QImage(std::max(x1 - x0, scratch_.width()), std::max(y1 - y0, scratch_.height()), kPixelFormat);
        // A view of the scratch buffer's top-left part, sharing its pixels.
        QImage part(scratch_.bits(), x1 - x0, y1 - y0, scratch_.bytesPerLine(), kPixelFormat);
        pyramid_.render(std::as_const(canvas_).buffer(), zoom().factor() * dpr, x0, y0, part);
        part.setDevicePixelRatio(dpr);
        p.drawImage(QPointF(x0 / dpr, y0 / dpr), part);
    }
    if (pixelGrid_ && zoom().factor() >= kGridFrom) {
        p.setPen(QPen(QColor(128, 128, 128, 160), 0));
        const double f = zoom().factor();
        const int firstX = int(r.left() / f), lastX = int((r.right() + 1) / f) + 1;
        const int firstY = int(r.top() / f), lastY = int((r.bottom() + 1) / f) + 1;
        for (int x = firstX; x <= lastX; ++x) p.drawLine(QPointF(x * f, r.top()), QPointF(x * f, r.bottom() + 1));
        for (int y = firstY; y <= lastY; ++y) p.drawLine(QPointF(r.left(), y * f), QPointF(r.right() + 1, y * f));
    }
}

void CanvasView::emitMouse(void (CanvasView::*signal)(int, float, float), int buttons, const QPointF& pos)
{
    // The picture pixel under the pointer is the one whose square holds it, also where the
    // platform reports positions between logical pixels (x.5 at a display scale of 2).
    emit(this->*signal)(buttons, static_cast<float>(canvas_.fromPixels(PictureCoordinate(pos.x(), zoom()))),
                        static_cast<float>(canvas_.fromPixels(PictureCoordinate(pos.y(), zoom()))));
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
