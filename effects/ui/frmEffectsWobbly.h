#pragma once
// "Effects: Wobbly": top, left or both, and the wave's width as typed (remembered under
// "Wobbly"). Preview runs the wobble on the dialog's full-size copy of the picture; OK runs it
// on a working copy of the canvas with the dialog's own progress bar and no cancel, writes it
// back and closes the dialog. The menu command takes the undo snapshot before the dialog opens.
#include <QDialog>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace orv {

class CanvasView;
class frmDocument;
struct WobblyParams;

class frmEffectsWobbly : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsWobbly(frmDocument* doc);

    QRadioButton* Option1;   // "Top"
    QRadioButton* Option2;   // "Left"
    QRadioButton* Option3;   // "Both"
    QLineEdit* Text1;        // the width
    CanvasView* Picture1;    // the full-size copy Preview works on
    QProgressBar* ProgressBar1;
    QPushButton* Command1;   // OK
    QPushButton* Command2;   // Cancel
    QPushButton* Command3;   // Preview

    void Command1_Click();
    void Command3_Click();
    // Unloading saves the width and the mode, whichever way the dialog closes.
    void done(int result) override;

private:
    WobblyParams params() const;

    frmDocument* doc_;
    QImage picture_;   // the picture as it was when the dialog opened
};

// Effects > Wobbly: takes the undo snapshot, then shows the dialog.
void mnuEffectsWobbly_Click(frmDocument* doc);

} // namespace orv
