#pragma once
// "Effects: Stained glass": cell width and height as typed; OK takes the snapshot and runs.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orv {

class frmDocument;

class frmEffectsStainedGlass : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsStainedGlass(frmDocument* doc);

    QLineEdit* Text1;        // cell width
    QLineEdit* Text2;        // cell height
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();

private:
    frmDocument* doc_;
};

void mnuEffectsStndGlass_Click(frmDocument* doc);

} // namespace orv
