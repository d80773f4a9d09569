#pragma once
// "Effects: Drip": the direction, the width and height divisors, the amount scroll bar with its
// value in brackets, the unchanged thumbnail and a live preview; OK drips the document.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace orv {

class ThumbnailBox;
class frmDocument;
struct DripParams;

class frmEffectsDrip : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsDrip(frmDocument* doc);

    QRadioButton* Option1[4];   // "Up", "Down", "Left", "Right"
    QLineEdit* Text1;           // width divisor
    QLineEdit* Text2;           // height divisor
    QScrollBar* HScroll1;       // amount
    QLabel* Label4;             // "(" + amount + ")"
    ThumbnailBox* Picture2;     // unchanged thumbnail
    ThumbnailBox* Picture1;     // preview
    QPushButton* Command1;      // OK
    QPushButton* Command2;      // Cancel

    void HScroll1_Change();
    void Command1_Click();

private:
    // The dialog's values; false when a divisor is not a positive number (with `tell`, after
    // saying so).
    bool readParams(DripParams* p, bool tell);

    frmDocument* doc_;
};

void mnuEffectsDrip_Click(frmDocument* doc);

} // namespace orv
