#pragma once
// The widget that shows a Canvas at the window's zoom: it paints only the exposed or changed
// part of the persistent image (straight from its buffer at 1:1, through the zoom pyramid at any
// other step), takes the canvas's size at that zoom, and hands mouse events on in the canvas's
// drawing unit, so the tools never see the zoom.
#include "documents/canvas.h"
#include "documents/view_zoom.h"
#include "documents/zoom_pyramid.h"
#include <QWidget>

namespace orv {

class CanvasView : public QWidget {
    Q_OBJECT
public:
    explicit CanvasView(QWidget* parent);

    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }

    int zoomStep() const { return zoomStep_; }
    ZoomStep zoom() const { return kZoomSteps[zoomStep_]; }
    // A new step: the widget takes the canvas's size at it (resized() follows).
    void setZoomStep(int step);
    // View > Pixel Grid: lines between picture pixels, drawn from 8:1 on.
    bool pixelGrid() const { return pixelGrid_; }
    void setPixelGrid(bool on);
    // Where picture point (x, y), in pixels, lies on the widget.
    QPointF viewPoint(double x, double y) const;
    // The current tool's own pointer; what the canvas shows is the Preferences' choice
    // (CanvasPointer), which may be this one.
    void setToolPointer(Qt::CursorShape shape);

signals:
    void resized();   // the canvas changed size, or the zoom did
    void pixelsChanged();
    // Button mask 1 = left, 2 = right; x, y in the canvas's drawing unit.
    void mouseDown(int button, float x, float y);
    void mouseMove(int button, float x, float y);
    void mouseUp(int button, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void emitMouse(void (CanvasView::*signal)(int, float, float), int buttons, const QPointF& pos);
    void takeZoomedSize();
    void showPointer();
    QRect viewRect(const QRect& pixels) const;   // the widget pixels that show these picture pixels

    Canvas canvas_;
    int zoomStep_ = kActualSizeStep;
    bool pixelGrid_ = false;
    Qt::CursorShape toolPointer_ = Qt::ArrowCursor;
    ZoomPyramid pyramid_;
    QImage scratch_;   // screen pixels of the last repaint, reused while big enough
};

} // namespace orv
