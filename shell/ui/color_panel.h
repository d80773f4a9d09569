#pragma once
// The colour and tool-options panel of the main window: the 40-cell palette, the custom-colour
// cell and swatch, the line width, and the option panels of the drawing tools (eraser width,
// the text tool's shadow, angle and font, the zoom level). The red, green and blue sliders
// with their value boxes form a second part, sliderPanel(), which the main window shows in
// its Options panel. Every colour and width goes straight into the active document's canvas;
// with no document open the panel still updates.
#include "documents/canvas.h"
#include <QFrame>
#include <QList>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class QStackedWidget;

namespace orv {

struct TextShadow;

// The accessible name of a colour cell: "Red 255, Green 0, Blue 0".
QString ColorCellName(ColorRef color);

// A colour cell of the palette: a filled square, with a single-line border when selected.
class ColorCell : public QFrame {
    Q_OBJECT
public:
    ColorCell(ColorRef color, QWidget* parent);
    ColorRef color() const { return color_; }
    void setColor(ColorRef color);
    bool selected() const { return frameShape() != QFrame::NoFrame; }
    void setSelected(bool on);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // A cell given a focus policy is clicked with Space or Enter, and shows when it has the focus.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ColorRef color_;
};

// Shows a round dot of a pen width, centred.
class DotPreview : public QWidget {
public:
    explicit DotPreview(QWidget* parent);
    void setDotWidth(int width);
    int dotWidth() const { return width_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int width_ = 0;
};

class ColorPanel : public QWidget {
    Q_OBJECT
public:
    // activeCanvas: the active document's canvas, or nullptr when none is open.
    ColorPanel(std::function<Canvas*()> activeCanvas, QWidget* parent);

    static constexpr int kCells = 40;
    static ColorRef PaletteColor(int index);

    // Controls, named as the program refers to them.
    QList<ColorCell*> Picture2;          // palette cells
    ColorCell* Picture7 = nullptr;       // custom-colour cell
    ColorCell* Picture8 = nullptr;       // custom-colour swatch
    std::array<QSlider*, 3> Slider1{};   // red, green, blue
    std::array<QLineEdit*, 3> RGBText{};
    QLineEdit* LineWidthText = nullptr;
    DotPreview* LineWidthPreview = nullptr;
    QLineEdit* Text4 = nullptr;          // eraser width
    DotPreview* Picture5 = nullptr;
    QCheckBox* Check1 = nullptr;         // Shadow
    QFrame* Frame1 = nullptr;
    QLineEdit* Text1 = nullptr;          // shadow offset
    QCheckBox* Check2 = nullptr;         // Angle
    QFrame* Frame3 = nullptr;
    QLineEdit* Text3 = nullptr;          // angle
    QPushButton* Command8 = nullptr;     // Font
    QGroupBox* Frame2 = nullptr;         // zoom level
    QScrollBar* VScroll1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QList<QWidget*> framOptions;         // option panels 0..10

    QWidget* sliderPanel() const { return sliderPanel_; }

    // Handlers.
    void Picture2_Click(int index);
    void Picture7_Click();
    void Picture8_Click();
    void Slider1_Press(int index);
    void Slider1_Scroll(int index);
    void RGBText_Change(int index);
    void LineWidthText_Change();
    void Text4_Change();
    void Check1_Click();
    void Check2_Click();
    void VScroll1_Change();
    void Command8_Click();

    // Brings option panel `index` to the front; an index without a panel changes nothing.
    void showOptions(int index);
    int currentOptions() const;
    // A document became active: the palette cell of its pen colour gets the border, or, when
    // no cell has that colour, the custom cell does and the swatch and sliders show it.
    void showCanvasColor(ColorRef color);
    // The colour picker took a colour: swatch, sliders and value boxes show it; on a press the
    // selection border moves to the custom cell.
    void showPickedColor(ColorRef color, bool onPress);
    int eraserWidth() const;
    int zoomLevel() const;   // the Zoom panel's "Level:", zoom steps per click
    void setZoomLevel(int level);
    TextShadow shadow() const;

signals:
    void swatchDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTextOptions();
    void placeTextOptions();
    void clearSelection();
    void setSliders(ColorRef color);
    void writePen(ColorRef color);
    ColorRef sliderColor() const;
    void slideFrame(QCheckBox* check, QFrame* frame, QLineEdit* text);

    std::function<Canvas*()> activeCanvas_;
    QWidget* sliderPanel_ = nullptr;
    QStackedWidget* stack_ = nullptr;
};

} // namespace orv
