#pragma once
// "Effects: Video Feedback": the step of the shrink factor and the vanishing point, chosen with
// a row of six buttons (across, from the middle at the right to the left) and a column of six
// (down, from the middle at the bottom to the top). OK runs the effect through the shared run
// sequence with its progress dialog and Cancel (the menu command took the undo snapshot).
#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orv {

class frmDocument;

class frmEffectsVideoFeedback : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsVideoFeedback(frmDocument* doc);

    QLineEdit* Text1;            // step
    QRadioButton* Option2[6];    // across: qx = index + 2
    QRadioButton* Option1[6];    // down: qy = index + 2
    QPushButton* Command1;       // OK
    QPushButton* Command2;       // Cancel

    int qx = 2;
    int qy = 2;

    void Command1_Click();

private:
    frmDocument* doc_;
};

void mnuVideoFeedBack_Click(frmDocument* doc);

} // namespace orv
