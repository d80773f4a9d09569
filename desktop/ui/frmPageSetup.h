#pragma once
// File > Page Setup: the paper, its orientation and the margins Print and Print Preview use for
// the rest of this run of the program.
#include <QDialog>
#include <QPageLayout>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;

namespace orv {

class frmPageSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmPageSetup(QWidget* owner);

    QComboBox* Combo1 = nullptr;        // paper
    QRadioButton* Option1 = nullptr;    // portrait
    QRadioButton* Option2 = nullptr;    // landscape
    QDoubleSpinBox* MarginLeft = nullptr;   // millimetres
    QDoubleSpinBox* MarginTop = nullptr;
    QDoubleSpinBox* MarginRight = nullptr;
    QDoubleSpinBox* MarginBottom = nullptr;
    QPushButton* Command1 = nullptr;    // OK
    QPushButton* Command2 = nullptr;    // Cancel

    QPageLayout chosenLayout() const;

    // OK: margins that leave room on the page become the session's layout; others are refused
    // with a message and the dialog stays open.
    void accept() override;
};

} // namespace orv
