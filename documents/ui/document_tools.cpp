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
}

void frmDocument::DrawIMG_MouseDown(int button, float x, float y)
{
    if (button != 1) return;   // only the left button alone draws
    Changed = true;
    TakeUndoSnapshot();
    if (Tool* tool = FindTool(ToolName)) {
        ColorPanel* panel = main_->colors();
        ToolContext ctx;
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
}

void frmDocument::openTextBox(float x, float y)
{
    Text1->setFont(canvas().font());   // what is typed looks like what will be printed
    Text1->move(int(std::lround(x)), int(std::lround(y)));
    Text1_Change();
    Text1->show();
    Text1->setFocus();
}

void frmDocument::Text1_Change()
{
    Text1->resize(TextBoxWidth(canvas(), Text1->text()), Text1->sizeHint().height());
}

void frmDocument::Text1_Commit()
{
    CommitText(canvas(), Text1->text(), float(Text1->x()), float(Text1->y()), main_->colors()->shadow());
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
    const QPoint d = me->position().toPoint() - handleGrab_;
    int w = canvas().pixelWidth(), h = canvas().pixelHeight();
    if (handle != Picture3) w += d.x();
    if (handle != Picture1) h += d.y();
    w = std::max(w, 1);   // the canvas never shrinks below one pixel
    h = std::max(h, 1);
    if (w != canvas().pixelWidth() || h != canvas().pixelHeight()) {
        // A shrink cuts pixels away: the picture before the drag is held for Undo (which also
        // marks the document changed), once per drag.
        if (!handleSnapshotTaken_) {
            TakeUndoSnapshot();
            handleSnapshotTaken_ = true;
        }
        canvas().resizePixels(w, h);   // the resize handling places the handles again
    }
    return true;
}

bool frmDocument::eventFilter(QObject* watched, QEvent* event)
{
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
