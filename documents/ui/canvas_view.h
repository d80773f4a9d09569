#pragma once
// The widget that shows a Canvas: it paints only the exposed or changed part of the
// persistent image (straight from its buffer, no per-repaint conversion of the picture), takes
// the canvas's size, and hands mouse events on in the canvas's drawing unit.
#include "documents/canvas.h"
#include <QWidget>

namespace orv {

class CanvasView : public QWidget {
    Q_OBJECT
public:
    explicit CanvasView(QWidget* parent);

    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }

signals:
    void resized();   // the canvas changed size
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

    Canvas canvas_;
};

} // namespace orv
