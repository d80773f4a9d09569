#pragma once
// "Effects: Circlize": row step, column step and circle radius as typed; OK runs the effect
// through the shared run sequence (the menu command took the undo snapshot).
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orv {

class frmDocument;

class frmEffectsCirclize : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsCirclize(frmDocument* doc);

    QLineEdit* Text1;   // row step DY
    QLineEdit* Text2;   // column step DX
    QLineEdit* Text3;   // radius
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();

private:
    frmDocument* doc_;
};

void mnuEffectsCirclize_Click(frmDocument* doc);

} // namespace orv
