#pragma once
// "Effects: Waving": the phase and frequency of the ripple on two scroll bars, each with its
// value shown beside it, and a thumbnail preview. OK takes the undo snapshot and runs
// "Waving..."; nothing is remembered between openings.
#include <QDialog>

class QLabel;
class QPushButton;
class QScrollBar;

namespace orv {

class ThumbnailPreview;
class frmDocument;
struct WavingParams;

class frmEffectsWaveing : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsWaveing(frmDocument* doc);

    QScrollBar* HScroll1;   // the phase
    QLabel* Label2;         // the phase / 100
    QScrollBar* HScroll2;   // the frequency x 10
    QLabel* Label3;         // the frequency
    ThumbnailPreview* Preview;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdPreview;

    void cmdPreview_Click();
    void cmdOK_Click();

private:
    WavingParams params() const;

    frmDocument* doc_;
};

void mnuEffectsWaveing_Click(frmDocument* doc);

} // namespace orv
