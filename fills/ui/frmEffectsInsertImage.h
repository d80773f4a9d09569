#pragma once
// "Effects: Insert Image": a picture from a file shows through the canvas areas painted in the
// key colour, the canvas's pen colour when the dialog opened. The menu command takes the undo
// snapshot before the dialog opens.
#include "platform/color.h"
#include <QDialog>

class QLabel;
class QPushButton;

namespace orv {

class ColorCell;
class frmDocument;

class frmEffectsInsertImage : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsInsertImage(frmDocument* doc);

    ColorCell* Shape1;       // the key colour
    QLabel* Label1;          // the chosen file's full name
    QPushButton* Command1;   // Browse
    QPushButton* Command2;   // OK
    QPushButton* Command3;   // Cancel

    ColorRef keyColor() const;

    void Command1_Click();
    void Command2_Click();

private:
    frmDocument* doc_;
};

void mnuEffectsInsertImage_Click(frmDocument* doc);

} // namespace orv
