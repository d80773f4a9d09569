#pragma once
// "JPEG Save quality": a slider from 0 to 100 starting at 85 every time, its value shown
// beside it. OK hides the dialog; closing it with the window's button keeps the value shown.
#include <QDialog>

class QLabel;
class QPushButton;
class QSlider;

namespace orv {

class frmJPGQuality : public QDialog {
    Q_OBJECT
public:
    explicit frmJPGQuality(QWidget* owner);

    QSlider* Slider1;
    QLabel* Label1;
    QPushButton* Command1;

    // Shows the dialog modally and returns the quality chosen.
    static int Ask(QWidget* owner);
};

} // namespace orv
