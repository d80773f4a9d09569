#pragma once
// "Effects: Typical": Emboss, Diffuse, Sharpen or Smooth on a copy of the picture held in the
// dialog, with a progress bar of its own and no cancel. The choice is remembered under
// "TypicalEffcts" / "Effect"; after the run the canvas's drawing unit is twips again.
#include "documents/canvas.h"
#include <QDialog>

class QComboBox;
class QProgressBar;
class QPushButton;

namespace orv {

class frmDocument;

class frmEffectsTypical : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsTypical(frmDocument* doc);

    QComboBox* Combo1;
    QProgressBar* ProgressBar1;
    QPushButton* Command1;   // OK
    QPushButton* Command2;   // Cancel
    Picture Picture1;        // the full-size copy the filter works on

    void Command1_Click();
    // Unloading saves the choice, whichever way the dialog closes.
    void done(int result) override;

private:
    frmDocument* doc_;
};

// Effects > Typical: takes the undo snapshot, then shows the dialog.
void mnuEffectsTypical_Click(frmDocument* doc);

} // namespace orv
