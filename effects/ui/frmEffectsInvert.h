#pragma once
// "Effects: Invert": invert the picture, or keep only the ticked colour channels.
#include "effects/invert.h"
#include <QDialog>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace orv {

class frmDocument;

class frmEffectsInvert : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsInvert(frmDocument* doc);

    QRadioButton* Option1;   // "Invert"
    QRadioButton* Option2;   // "Color separation"
    QCheckBox* Check1;       // "Red"
    QCheckBox* Check2;       // "Green"
    QCheckBox* Check3;       // "Blue"
    QPushButton* Command1;   // OK
    QPushButton* Command2;   // Cancel

    InvertParams params() const;
    void Command1_Click();

private:
    void updateHint();

    frmDocument* doc_;
    QLabel* hint_;
};

// Effects > Invert: takes the undo snapshot, then shows the dialog.
void mnuInvert_Click(frmDocument* doc);

} // namespace orv
