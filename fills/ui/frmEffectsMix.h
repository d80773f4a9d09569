#pragma once
// "Effects: Mix": picture A (the document or a file) and picture B (a file) as thumbnails, the
// level slider with its "Maximum number", the reverse switch, "Resize", a preview of the two
// thumbnails mixed, OK and Cancel. OK always mixes picture B into the document; picture A only
// feeds the preview.
#include <QDialog>
#include <QImage>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

namespace orv {

class ThumbnailBox;
class frmDocument;

class frmEffectsMix : public QDialog {
    Q_OBJECT
public:
    explicit frmEffectsMix(frmDocument* doc);

    QRadioButton* Option1;    // picture A from a file
    QRadioButton* Option2;    // picture A is the document
    QPushButton* Command1;    // Browse for picture A
    ThumbnailBox* Picture2;   // picture A
    QPushButton* Command2;    // Browse for picture B
    ThumbnailBox* Picture1;   // picture B
    ThumbnailBox* Picture3;   // preview
    QSlider* Slider1;         // level
    QLineEdit* Text1;         // "Maximum number"
    QScrollBar* HScroll1;     // reverse switch: 0 or 1
    QCheckBox* Check1;        // "Resize"
    QPushButton* Command3;    // Preview
    QPushButton* Command4;    // OK
    QPushButton* Command5;    // Cancel

    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Text1_Change();
    void Command3_Click();
    void Command4_Click();

    // The pictures chosen in the file dialogs; false (after a message) when the file cannot
    // be read.
    bool choosePictureA(const QString& path);
    bool choosePictureB(const QString& path);

private:
    bool readPicture(const QString& path, QImage* picture);   // false after saying why
    void showPictureA();
    void repaintPreview();
    bool maximumValid();

    frmDocument* doc_;
    QImage pictureA_;   // from its file
    QImage pictureB_;
    double maximum_;
    bool maximumOk_ = true;
};

void mnuEffectsMix_Click(frmDocument* doc);

} // namespace orv
