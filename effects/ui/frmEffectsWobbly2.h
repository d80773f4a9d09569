#pragma once
// "Effects: Round wobbly": direction, angle (digits only, at most 360), strip width and height,
// and a thumbnail preview. OK refuses values the effect cannot use, then takes the undo
// snapshot and runs "Round wobbly..." on a working copy, so Cancel leaves the picture as it
// was. Nothing is remembered between openings.
#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace orv {

class ThumbnailPreview;
class frmDocument;
struct RoundWobblyParams;

class frmEffectsWobbly2 : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsWobbly2(frmDocument* doc);

    std::array<QRadioButton*, 3> Option1;   // "Top", "Left", "Both"
    QLineEdit* Text1;                       // the angle
    QScrollBar* VScroll1;                   // 360 at the top, 0 at the bottom; changes nothing
    QLineEdit* Text2;                       // strip width
    QLineEdit* Text3;                       // strip height
    ThumbnailPreview* Preview;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdPreview;

    void cmdPreview_Click();
    void cmdOK_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The values of the controls; false (after saying which value is refused) when the effect
    // cannot use them.
    bool readParams(RoundWobblyParams* p);

    frmDocument* doc_;
};

void mnuEffectsRndWobbly_Click(frmDocument* doc);

} // namespace orv
