#pragma once
// "Edit: Rotate" (any angle, thumbnail preview), "Edit: Resize" (pixels or percent, keeping
// proportions, Lanczos or nearest) and "Edit: Border" (a width and a colour). OK refuses a value
// it cannot use before anything runs, then runs the change through the shared run sequence,
// which takes the undo snapshot. The last values are remembered in the sections "Rotate",
// "Resize" and "Border"; the border's colour starts as the current colour every time.
#include "effects/ui/thumbnail_effect_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace orv {

class ColorCell;

class frmRotate : public ThumbnailEffectDialog {
    Q_OBJECT
public:
    explicit frmRotate(frmDocument* doc);
    QLineEdit* Text1;   // the angle in degrees
    void done(int result) override;

protected:
    MakePasses currentPasses() override;
};

class frmResize : public QDialog {
    Q_OBJECT
public:
    explicit frmResize(frmDocument* doc);
    QComboBox* Combo1;    // "Pixels", "Percent"
    QLineEdit* Text1;     // width
    QLineEdit* Text2;     // height
    QCheckBox* Check1;    // "Keep proportions"
    QComboBox* Combo2;    // "Lanczos", "Nearest"
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    void cmdOK_Click();
    void done(int result) override;

private:
    void follow(QLineEdit* edited);
    void unitChanged();
    frmDocument* doc_;
    int width_, height_;   // the picture's size
    bool percent_ = false;
};

class frmBorder : public QDialog {
    Q_OBJECT
public:
    explicit frmBorder(frmDocument* doc);
    QLineEdit* Text1;       // width in pixels
    ColorCell* Picture1;    // the colour; a click opens the colour chooser
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    void cmdOK_Click();
    void done(int result) override;

private:
    frmDocument* doc_;
};

void mnuEditRotate_Click(frmDocument* doc);
void mnuEditResize_Click(frmDocument* doc);
void mnuEditBorder_Click(frmDocument* doc);

} // namespace orv
