#pragma once
// The Preferences dialog: the splash choice (SplshScrn: 0 none, 1 picture, 2 animation) and
// the mouse-pointer choice (Pointer: 0 normal, 1 cross, 2 custom), both in the "Preferences"
// section of the settings store. OK saves both and closes; Cancel closes without saving.
// A stored value outside 0 to 2 leaves its group without a selection, and OK then keeps that
// stored value rather than inventing one.
// The pointer takes effect on every canvas at once: Normal shows the tool's own pointer, Cross
// a crosshair, Custom the picture chosen with Browse (PointerFile); Custom is only ever
// selected with a picture that could be read. "Scrolling toolbars" (ScrollingToolbars, True
// by default) lets the toolbar and window-bar slides move, else they jump to their end.
// "Load plug-ins" (PlugInsAtStart, True by default) decides whether the next start loads
// any plug-in library: the way out when one breaks the start.
// Also there: whether recovery copies of unsaved pictures are kept (KeepRecoveryCopies, True
// by default) and how often, at least, they are renewed during long work (RecoveryInterval,
// seconds, 60 by default).
#include <QDialog>
#include <cstdint>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace orv {

class frmMainPreferences : public QDialog {
    Q_OBJECT
public:
    explicit frmMainPreferences(QWidget* owner);

    QGroupBox* Frame1 = nullptr;   // "Show splash screen"
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QGroupBox* Frame2 = nullptr;   // "Mouse pointer"
    QRadioButton* Option4 = nullptr;
    QRadioButton* Option5 = nullptr;
    QRadioButton* Option6 = nullptr;
    QPushButton* Command3 = nullptr;   // "Browse", available with "Custom"
    QLabel* lblPointerFile = nullptr;  // the custom pointer's file name
    QCheckBox* Check1 = nullptr;       // "Scrolling toolbars"
    QCheckBox* Check2 = nullptr;       // "Load plug-ins"
    QCheckBox* chkRecovery = nullptr;  // "Keep recovery copies" (KeepRecoveryCopies)
    QSpinBox* spnRecoveryInterval = nullptr;   // seconds between copies during long work (RecoveryInterval)
    QSpinBox* UndoMemory = nullptr;    // "Undo memory", megabytes (UndoMemory)
    QPushButton* Command1 = nullptr;   // OK
    QPushButton* Command2 = nullptr;   // Cancel

    void Command1_Click();

private:
    void Form_Load();
    // Asks for a pointer picture and takes it, selecting "Custom"; false, with the choice as
    // it was, when the user cancels or the file cannot serve (after saying why).
    bool Command3_Click();
    void showPointerFile();

    QString pointerFile_;
    QAbstractButton* lastPointer_ = nullptr;   // the pointer choice before the current one
};

// Puts the stored preferences that act at once into effect: the canvas pointer (a custom
// picture that cannot be read any more gives the crosshair), the slides and the undo memory.
void ApplyPreferences();

// Whether this start loads the plug-in libraries (PlugInsAtStart).
bool PlugInsAtStart();

// The undo memory the preferences hold (UndoMemory, megabytes), or the machine's default.
int64_t UndoMemoryBudget();

} // namespace orv
