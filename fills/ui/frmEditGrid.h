#pragma once
// "Grid": columns, rows, the 3D look and the line width; OK draws the grid over the canvas.
// The menu command takes the undo snapshot before the dialog opens.
#include "fills/grid.h"
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orv {

class frmDocument;

class frmEditGrid : public QDialog {
    Q_OBJECT
public:
    explicit frmEditGrid(frmDocument* doc);

    QLineEdit* Text1;       // columns
    QLineEdit* Text2;       // rows
    QCheckBox* Check1;      // 3D
    QLineEdit* Text3;       // line width, enabled with 3D
    QPushButton* Command1;  // OK
    QPushButton* Command2;  // Cancel

    void Check1_Click();
    void Command1_Click();

private:
    frmDocument* doc_;
};

// The button-face and button-shadow colours of the desktop's palette.
ColorRef ButtonFaceColor();
ColorRef ButtonShadowColor();

void mnuEditGrid_Click(frmDocument* doc);

} // namespace orv
