#pragma once
// A document window: one picture on its canvas DrawIMG inside the scrolling viewport Picture4,
// with three resize handles, the scratch surfaces, the undo pictures and the per-document state.
// Its menu bar is the one the user sees while it is the active document.
#include "documents/canvas.h"
#include "documents/undo_history.h"
#include <memory>
#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QMdiSubWindow;
class QScrollBar;

namespace orv {

class CanvasView;
class frmMain;

class frmDocument : public QWidget {
    Q_OBJECT
public:
    explicit frmDocument(frmMain* main);

    // Public members other windows read and write.
    QString ToolName;
    int16_t ToolIndex = 0;
    bool ButtonPressed = false;
    bool Changed = false;
    bool IsUndo = false;

    // Controls.
    CanvasView* DrawIMG = nullptr;
    QWidget* Picture4 = nullptr;   // viewport
    QWidget* Picture1 = nullptr;   // handle at the middle of the right edge
    QWidget* Picture2 = nullptr;   // handle at the bottom-right corner
    QWidget* Picture3 = nullptr;   // handle at the middle of the bottom edge
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    Canvas picTemp;
    Canvas picSaveDummy;
    QLineEdit* Text1 = nullptr;    // the text tool's entry box, a child of the canvas

    Canvas& canvas();

    // The document's menu bar, in order: File, Edit, View, Effects, Plugins, Window, Help.
    const QList<QMenu*>& menus() const { return menus_; }
    QAction* menuAction(const QString& controlName) const;   // e.g. "mnuEditUndo"

    void Form_Activate();
    void Form_Resize();
    void DrawIMG_Resize();
    void HScroll1_Change();
    void VScroll1_Change();
    int CountDocuments() const;
    // The save question of a changed document, Save As on Yes. False on Cancel, or when Yes
    // did not save: the document must stay open.
    bool AskToSave();
    // Closes the window without asking again: AskToSave has been answered.
    void closeAnswered();

    // Mouse on the canvas: button mask 1 left, 2 right; x, y in the canvas's drawing unit.
    void DrawIMG_MouseDown(int button, float x, float y);
    void DrawIMG_MouseMove(int button, float x, float y);
    void DrawIMG_MouseUp(int button, float x, float y);
    void Text1_Change();
    void Text1_Commit();    // Enter in the entry box
    void Text1_Discard();   // Escape or focus loss

    void mnuCopy_Click();
    void mnuOptions_Click();
    void mnuViewTools_Click();
    void mnuViewColors_Click();
    void mnuViewWindows_Click();
    // A history step for the whole picture before a change, named by the command that runs
    // (setUndoStepName) or "Change".
    void TakeUndoSnapshot();
    // A step for a change of the pixels in `area` (pixels; may be empty): what the change
    // draws anywhere is kept as it is drawn, until the next step or the end of the stroke.
    void TakeUndoSnapshot(const QRect& area, const QString& name);
    void setUndoStepName(const QString& name) { stepName_ = name; }
    UndoHistory& undoHistory() { return *history_; }
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void updateUndoEntries();   // captions and availability of Undo and Redo
    void mnuPlugIn_Click(int index);   // runs item `index` of the Plugins menu
    // Save As; returns whether the picture was saved.
    bool mnuFileSaveAs_Click();
    // Save: the BMP, JPEG or PNG file the picture came from or was last saved to is written
    // again (a JPEG at the quality chosen last for this document); Save As for any other.
    bool mnuFileSave_Click();
    // The file Save writes: `path` when it ends in bmp, jpg or png and is no work file, else none.
    void setFilePath(const QString& path);
    QString filePath() const { return filePath_; }
    int jpegQuality() const { return jpegQuality_; }
    void setJpegQuality(int quality) { jpegQuality_ = quality; }
    void mnuPaste_Click();   // the clipboard's picture as a new document
    void mnuFilePrint_Click();
    void mnuFilePageSetup_Click();
    void mnuFilePrintPreview_Click();
    void mnuFileScanSelectSource_Click();
    void mnuFileScanScan_Click();

    // Window-bar double click: a switched-off document window is hidden.
    bool isSwitchedOff() const { return switchedOff_; }
    void setSwitchedOn(bool on);

    // View zoom. zoomTo keeps the picture point under `anchor` (in Picture4) where it is;
    // zoomBy steps about the viewport's centre.
    void zoomTo(int step, QPointF anchor);
    void zoomBy(int steps);
    // The largest step up to `highest` that shows the whole picture in a client area of
    // `client` pixels.
    int fitStep(QSize client, int highest) const;
    void mnuViewFit_Click();

    // Canvas placement inside the viewport, in twips.
    int canvasLeftTwips() const { return canvasLeft_; }
    int canvasTopTwips() const { return canvasTop_; }

    QMdiSubWindow* subWindow() const;
    QSize sizeHint() const override { return {480, 360}; }

signals:
    // The picture or its saved state may have changed (a stroke, an effect, a save).
    void changeNoted();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void buildMenus();
    void updateStatusTexts();
    void placeCanvas(int leftTwips, int topTwips);
    void placeHandles();
    bool Form_QueryUnload();
    void setupTools();
    void openTextBox(float x, float y);
    void placeTextBox();   // font and place of the entry box for textAt_ at the zoom
    void historyMoved();   // after Undo / Redo
    bool handleMouse(QWidget* handle, QEvent* event);
    // Writes the picture to `path` (a JPEG at `quality`, asked for when negative) and, once it
    // is in place, takes the name: caption, recent list, Save's file; Changed is cleared.
    bool savedTo(const QString& path, int quality);
    void fillRecentEntries();   // the File menu's recent pictures

    frmMain* main_;
    QList<QMenu*> menus_;
    bool FirstActivation = true;
    bool switchedOff_ = false;
    int canvasLeft_ = 100;
    int canvasTop_ = 100;
    QPointF textAt_;      // the text box's top-left, in picture pixels
    int wheelRest_ = 0;   // wheel movement short of a whole zoom step
    QPoint handleGrab_;   // where the pointer took the handle being dragged, in the handle
    bool handleSnapshotTaken_ = false;   // the drag in progress has taken its undo snapshot
    bool saveAnswered_ = false;          // closeAnswered: the question is not asked again
    QString filePath_;                   // the file Save writes; empty: Save asks for a name
    int jpegQuality_ = 85;               // the JPEG quality chosen last for this document
    QList<QAction*> recentEntries_;      // mnuFileMRU, four entries
    QAction* recentSeparator_ = nullptr;
    std::unique_ptr<UndoHistory> history_;
    QString stepName_;   // the name the next whole-picture step takes
};

// The undo snapshot of the active document, taken before every change.
void TakeUndoSnapshot();

// Twips <-> pixels for window layout (15 twips per pixel).
inline int TwipsToPixels(double twips) { return static_cast<int>(std::nearbyint(twips / 15.0)); }
inline int PixelsToTwips(int pixels) { return pixels * 15; }

} // namespace orv
