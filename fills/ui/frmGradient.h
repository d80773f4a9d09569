#pragma once
// "Fill: Gradient": style, From and To colours (stored under "Gradient"), a preview, and OK,
// which paints the whole canvas without an undo snapshot.
#include "fills/gradient.h"
#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QPushButton;

namespace orv {

class ColorCell;
class frmDocument;

class frmGradient : public QDialog {
    Q_OBJECT
public:
    explicit frmGradient(frmDocument* doc);

    QComboBox* Combo1;        // "Horizontal", "Vertical", "Special"
    ColorCell* Picture2;      // From colour; a click opens the colour chooser
    ColorCell* Picture3;      // To colour
    QLabel* Picture1;         // preview
    QPushButton* Command1;    // Preview
    QPushButton* Command2;    // OK
    QPushButton* Command3;    // Cancel

    // The gradient the controls describe; false when no style is selected.
    bool params(GradientParams* p) const;
    const QImage& preview() const { return preview_; }

    void Command1_Click();
    void Command2_Click();
    void done(int result) override;   // stores the settings however the dialog closes

private:
    void Form_Load();
    void chooseColor(ColorCell* swatch);

    frmDocument* doc_;
    QImage preview_;
};

void mnuEditFillGradient_Click(frmDocument* doc);

} // namespace orv
