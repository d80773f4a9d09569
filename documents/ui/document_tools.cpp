// The drawing side of a document window: mouse presses, moves and releases on the canvas go
// to the document's tool; the text tool's entry box; and the three resize handles.
#include "documents/ui/canvas_view.h"
#include "documents/ui/frmDocument.h"
#include "shell/ui/color_panel.h"
#include "shell/ui/frmMain.h"
#include "tools/draw_tools.h"
#include "tools/text_tool.h"
#include "tools/tool.h"
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

namespace orv {

void frmDocument::setupTools()
{
    connect(DrawIMG, &CanvasView::mouseDown, this, &frmDocument::DrawIMG_MouseDown);
    connect(DrawIMG, &CanvasView::mouseMove, this, &frmDocument::DrawIMG_MouseMove);
    connect(DrawIMG, &CanvasView::mouseUp, this, &frmDocument::DrawIMG_MouseUp);
    Text1 = new QLineEdit(DrawIMG);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setStyleSheet(QStringLiteral("background: white; color: black"));   // not the canvas's colours
    Text1->hide();
    Text1->installEventFilter(this);
    connect(Text1, &QLineEdit::textChanged, this, &frmDocument::Text1_Change);
    for (QWidget* handle : {Picture1, Picture2, Picture3}) handle->installEventFilter(this);
    DrawIMG->installEventFilter(this);   // the wheel over the canvas scrolls or zooms the window
    Picture4->installEventFilter(this);
}

void frmDocument::DrawIMG_MouseDown(int button, float x, float y)
{
    Tool* tool = FindTool(ToolName);
    ColorPanel* panel = main_->colors();
    ToolContext ctx;
    ctx.button = button;
    if (tool && !tool->changesPicture()) {   // Zoom: either button, and the picture stays as it is
        if (button != 1 && button != 2) return;
        ctx.zoomLevel = panel->zoomLevel();
        ctx.zoomAbout = [this](int steps, float px, float py) {
            zoomTo(ZoomStepAfter(DrawIMG->zoomStep(), steps),
                   DrawIMG->mapTo(Picture4, DrawIMG->viewPoint(px + 0.5, py + 0.5)));
        };
        tool->press(canvas(), ctx, x, y);
        return;
    }
    if (button != 1) return;   // only the left button alone draws
    QString name = ToolName;
    for (const ToolButtonInfo& b : kToolButtons)
        if (ToolName == QLatin1String(b.toolName)) name = QString::fromLatin1(b.tip);
    TakeUndoSnapshot(QRect(), name);   // the stroke keeps what it draws over
    if (tool) {
        ctx.colorPicked = [panel](ColorRef c, bool onPress) { panel->showPickedColor(c, onPress); };
        ctx.openTextBox = [this](float left, float top) { openTextBox(left, top); };
        tool->press(canvas(), ctx, x, y);
    }
    ButtonPressed = true;
}

void frmDocument::DrawIMG_MouseMove(int button, float x, float y)
{
    if (ButtonPressed) {
        if (Tool* tool = FindTool(ToolName)) {
            ColorPanel* panel = main_->colors();
            ToolContext ctx;
            ctx.eraserWidth = panel->eraserWidth();
            ctx.colorPicked = [panel](ColorRef c, bool onPress) { panel->showPickedColor(c, onPress); };
            tool->move(canvas(), ctx, button, x, y);
        }
    }
    main_->setStatusPanel(4, ColorReadoutText(canvas().Point(x, y)));
}

void frmDocument::DrawIMG_MouseUp(int button, float, float)
{
    if (Tool* tool = FindTool(ToolName)) tool->release(canvas(), button);
    ButtonPressed = false;
    history_->close();   // the stroke is done; a press that drew nothing leaves no step
    Changed = !history_->atSaved();
    updateUndoEntries();
}

void frmDocument::openTextBox(float x, float y)
{
    textAt_ = QPointF(x, y);
    placeTextBox();
    Text1->show();
    Text1->setFocus();
}

void frmDocument::placeTextBox()
{
    // What is typed looks like what will be printed, at the view's zoom, over its pixel.
    QFont font = canvas().font();
    font.setPointSizeF(font.pointSizeF() * DrawIMG->zoom().factor());
    Text1->setFont(font);
    Text1->move(DrawIMG->viewPoint(textAt_.x(), textAt_.y()).toPoint());
    Text1_Change();
}

void frmDocument::Text1_Change()
{
    Text1->resize(int(std::ceil(TextBoxWidth(canvas(), Text1->text()) * DrawIMG->zoom().factor())),
                  Text1->sizeHint().height());
}

void frmDocument::Text1_Commit()
{
    TakeUndoSnapshot(QRect(), QStringLiteral("Text"));
    CommitText(canvas(), Text1->text(), float(textAt_.x()), float(textAt_.y()), main_->colors()->shadow());
    history_->close();
    updateUndoEntries();
    Text1_Discard();
}

void frmDocument::Text1_Discard()
{
    Text1->hide();
    Text1->clear();
    Text1->resize(0, Text1->height());
}

bool frmDocument::handleMouse(QWidget* handle, QEvent* event)
{
    auto* me = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonPress) {
        handleGrab_ = me->position().toPoint();
        handleSnapshotTaken_ = false;
        return true;
    }
    if (event->type() != QEvent::MouseMove || me->buttons() != Qt::LeftButton) return false;
    // The canvas edge follows the pointer; the handle moves with the edge, so the pointer
    // keeps its place in the handle and the next move applies only the new movement.
    // The pointer's movement in whole picture pixels: at a zoom above 1:1 the handle waits
    // until the pointer has crossed a whole pixel.
    const QPoint d = me->position().toPoint() - handleGrab_;
    const ZoomStep z = DrawIMG->zoom();
    int w = canvas().pixelWidth(), h = canvas().pixelHeight();
    if (handle != Picture3) w += int(int64_t(d.x()) * z.den / z.num);
    if (handle != Picture1) h += int(int64_t(d.y()) * z.den / z.num);
    w = std::max(w, 1);   // the canvas never shrinks below one pixel
    h = std::max(h, 1);
    if (w != canvas().pixelWidth() || h != canvas().pixelHeight()) {
        // A shrink cuts pixels away: the picture before the drag is held for Undo (which also
        // marks the document changed), once per drag.
        if (!handleSnapshotTaken_) {
            setUndoStepName(QStringLiteral("Resize"));
            TakeUndoSnapshot();
            setUndoStepName({});
            handleSnapshotTaken_ = true;
        }
        canvas().resizePixels(w, h);   // the resize handling places the handles again
    }
    return true;
}

bool frmDocument::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == DrawIMG || watched == Picture4) && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPointF at = static_cast<QWidget*>(watched)->mapTo(this, wheel->position());
        QWheelEvent here(at, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                         wheel->modifiers(), wheel->phase(), wheel->inverted());
        wheelEvent(&here);
        return true;
    }
    if (watched == Picture1 || watched == Picture2 || watched == Picture3) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)
            return handleMouse(static_cast<QWidget*>(watched), event);
    } else if (watched == Text1) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Text1_Commit();
                return true;
            }
            if (key == Qt::Key_Escape) {
                Text1_Discard();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Only a move to another control of the program ends the entry; the focus leaving
            // for another application or a menu comes back to the box with the text intact.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
                && reason != Qt::MenuBarFocusReason)
                Text1_Discard();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orv
