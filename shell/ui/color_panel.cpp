#include "shell/ui/color_panel.h"
#include "platform/numbers.h"
#include "shell/number_text.h"
#include "tools/text_tool.h"
#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>
#include <algorithm>

namespace orv {

namespace {

constexpr int kPalette[ColorPanel::kCells][3] = {
    {0, 0, 0},       {255, 255, 255}, {192, 192, 192}, {128, 128, 128}, {64, 64, 64},
    {255, 192, 192}, {255, 128, 128}, {255, 0, 0},     {192, 0, 0},     {128, 0, 0},
    {255, 224, 192}, {255, 192, 128}, {255, 128, 0},   {192, 64, 0},    {128, 64, 0},
    {255, 255, 192}, {255, 255, 128}, {255, 255, 0},   {192, 192, 0},   {128, 128, 0},
    {192, 255, 192}, {128, 255, 128}, {0, 255, 0},     {0, 192, 0},     {0, 128, 0},
    {192, 255, 255}, {128, 255, 255}, {0, 255, 255},   {0, 192, 192},   {0, 128, 128},
    {192, 192, 255}, {128, 128, 255}, {0, 0, 255},     {0, 0, 192},     {0, 0, 128},
    {255, 192, 255}, {255, 128, 255}, {255, 0, 255},   {192, 0, 192},   {128, 0, 128},
};
constexpr int kPaletteColumns = 5;
constexpr int kCellSize = 18;
constexpr int kFrameOpen = 33;    // expanded height of the shadow and angle frames (495 twips)
constexpr int kCheckGap = 7;      // 105 twips
constexpr int kPenWidthLimit = 32766;
const char* const kPanelTitles[11] = {"Freeform", "Ellipse", "Rectangle", "Filled rectangle", "Line",
                                      "Chalk", "Fill", "Pick color", "Zoom", "Delete", "Text"};

QColor ToQColor(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

int16_t PenWidth(double value)
{
    return int16_t(std::clamp(RoundHalfEven(value), 0.0, double(kPenWidthLimit)) + 1);
}

QLineEdit* NumberBox(const QString& name, const QString& accessible, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    box->setMaximumWidth(48);
    return box;
}

} // namespace

QString ColorCellName(ColorRef color)
{
    return QStringLiteral("Red %1, Green %2, Blue %3")
        .arg(color & 0xFF).arg((color >> 8) & 0xFF).arg((color >> 16) & 0xFF);
}

ColorCell::ColorCell(ColorRef color, QWidget* parent) : QFrame(parent), color_(color)
{
    setFixedSize(kCellSize, kCellSize);
    setAutoFillBackground(true);
    setFrameShadow(QFrame::Plain);
    setLineWidth(2);
    setSelected(false);
    setColor(color);
}

void ColorCell::setColor(ColorRef color)
{
    color_ = color & 0xFFFFFF;
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(color_));
    // The border shows in the colour that contrasts with the cell.
    p.setColor(QPalette::WindowText, qGray(ToQColor(color_).rgb()) < 96 ? Qt::white : Qt::black);
    setPalette(p);
}

void ColorCell::setSelected(bool on)
{
    setFrameShape(on ? QFrame::Box : QFrame::NoFrame);
}

void ColorCell::mousePressEvent(QMouseEvent*)
{
    emit clicked();
}

void ColorCell::mouseDoubleClickEvent(QMouseEvent*)
{
    emit doubleClicked();
}

void ColorCell::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: emit clicked(); break;
    default: QFrame::keyPressEvent(event); break;
    }
}

void ColorCell::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!hasFocus()) return;
    QPainter p(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
}

DotPreview::DotPreview(QWidget* parent) : QWidget(parent)
{
    setFixedSize(56, 56);
}

void DotPreview::setDotWidth(int width)
{
    width_ = width;
    update();
}

void DotPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const double d = std::min<double>(width_, width());
    p.drawEllipse(QPointF(width() / 2.0, height() / 2.0), d / 2, d / 2);
}

ColorRef ColorPanel::PaletteColor(int index)
{
    return RGB(kPalette[index][0], kPalette[index][1], kPalette[index][2]);
}

ColorPanel::ColorPanel(std::function<Canvas*()> activeCanvas, QWidget* parent)
    : QWidget(parent), activeCanvas_(std::move(activeCanvas))
{
    setObjectName(QStringLiteral("Picture1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int i = 0; i < kCells; ++i) {
        auto* cell = new ColorCell(PaletteColor(i), this);
        cell->setObjectName(QStringLiteral("Picture2_%1").arg(i));
        cell->setAccessibleName(ColorCellName(PaletteColor(i)));
        connect(cell, &ColorCell::clicked, this, [this, i] { Picture2_Click(i); });
        grid->addWidget(cell, i / kPaletteColumns, i % kPaletteColumns);
        Picture2.append(cell);
    }
    layout->addLayout(grid);

    auto* custom = new QHBoxLayout;
    Picture7 = new ColorCell(0, this);
    Picture7->setObjectName(QStringLiteral("Picture7"));
    Picture7->setAccessibleName(QStringLiteral("Custom colour"));
    Picture7->setFixedSize(2 * kCellSize, 2 * kCellSize);
    Picture8 = new ColorCell(0, Picture7);
    Picture8->setObjectName(QStringLiteral("Picture8"));
    Picture8->setAccessibleName(QStringLiteral("Custom colour swatch"));
    Picture8->setGeometry(5, 5, 2 * kCellSize - 10, 2 * kCellSize - 10);
    Picture8->setToolTip(QStringLiteral("Double click to show or hide the colour sliders"));
    connect(Picture7, &ColorCell::clicked, this, &ColorPanel::Picture7_Click);
    connect(Picture8, &ColorCell::clicked, this, &ColorPanel::Picture8_Click);
    connect(Picture8, &ColorCell::doubleClicked, this, &ColorPanel::swatchDoubleClicked);
    custom->addWidget(Picture7);
    custom->addStretch(1);
    layout->addLayout(custom);

    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(new QLabel(QStringLiteral("Width:"), this));
    LineWidthText = NumberBox(QStringLiteral("LineWidthText"), QStringLiteral("Line width"), QStringLiteral("1"), this);
    LineWidthText->installEventFilter(this);
    connect(LineWidthText, &QLineEdit::textChanged, this, &ColorPanel::LineWidthText_Change);
    widthRow->addWidget(LineWidthText);
    LineWidthPreview = new DotPreview(this);
    LineWidthPreview->setObjectName(QStringLiteral("LineWidthPreview"));
    LineWidthPreview->setAccessibleName(QStringLiteral("Line width preview"));
    widthRow->addWidget(LineWidthPreview);
    layout->addLayout(widthRow);

    stack_ = new QStackedWidget(this);
    for (int i = 0; i < 11; ++i) {
        QWidget* panel = i == 10 ? buildTextOptions() : new QWidget(stack_);
        panel->setObjectName(QStringLiteral("framOptions_%1").arg(i));
        auto* title = new QLabel(QString::fromLatin1(kPanelTitles[i]), panel);
        title->setStyleSheet(QStringLiteral("font-weight: bold"));
        title->move(4, 0);
        framOptions.append(panel);
        stack_->addWidget(panel);
    }
    // Eraser width.
    Text4 = NumberBox(QStringLiteral("Text4"), QStringLiteral("Eraser width"), QStringLiteral("1"), framOptions[9]);
    Text4->move(4, 22);
    connect(Text4, &QLineEdit::textChanged, this, &ColorPanel::Text4_Change);
    Picture5 = new DotPreview(framOptions[9]);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    Picture5->setAccessibleName(QStringLiteral("Eraser width preview"));
    Picture5->move(4, 50);
    // Zoom level.
    Frame2 = new QGroupBox(QStringLiteral("Level:"), framOptions[8]);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(4, 20, 100, 90);
    VScroll1 = new QScrollBar(Qt::Vertical, Frame2);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // Zoom steps per click: the bar's up arrow raises the level; the box takes a typed one.
    VScroll1->setAccessibleName(QStringLiteral("Zoom level"));
    // The bar's top stands for the highest level, so its value runs the other way round.
    VScroll1->setRange(1, 10);
    setZoomLevel(3);
    VScroll1->setGeometry(8, 22, 16, 60);
    Text2 = NumberBox(QStringLiteral("Text2"), QStringLiteral("Zoom level value"), QStringLiteral("3"), Frame2);
    Text2->setGeometry(32, 40, 40, 22);
    connect(VScroll1, &QScrollBar::valueChanged, this, &ColorPanel::VScroll1_Change);
    connect(Text2, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const int level = text.trimmed().toInt(&ok);
        if (ok && level >= VScroll1->minimum() && level <= VScroll1->maximum()) setZoomLevel(level);
    });
    connect(Text2, &QLineEdit::editingFinished, this, &ColorPanel::VScroll1_Change);   // back to the level in use
    stack_->setMinimumHeight(200);
    layout->addWidget(stack_);
    layout->addStretch(1);

    sliderPanel_ = new QWidget(this);   // the main window moves it into its Options panel
    sliderPanel_->setObjectName(QStringLiteral("SliderPanel"));
    auto* sliders = new QGridLayout(sliderPanel_);
    const QString names[3] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    const QString channels[3] = {QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")};
    for (int i = 0; i < 3; ++i) {
        Slider1[i] = new QSlider(Qt::Horizontal, sliderPanel_);
        Slider1[i]->setObjectName(QStringLiteral("Slider1_%1").arg(i));
        Slider1[i]->setAccessibleName(channels[i]);
        Slider1[i]->setRange(0, 255);
        RGBText[i] = NumberBox(QStringLiteral("RGBText_%1").arg(i), channels[i] + QStringLiteral(" value"), QStringLiteral("0"), sliderPanel_);
        sliders->addWidget(new QLabel(names[i], sliderPanel_), i, 0);
        sliders->addWidget(Slider1[i], i, 1);
        sliders->addWidget(RGBText[i], i, 2);
        connect(Slider1[i], &QSlider::sliderPressed, this, [this, i] { Slider1_Press(i); });
        // Code sets the sliders with their signals blocked, so this is the user moving one.
        connect(Slider1[i], &QSlider::valueChanged, this, [this, i] { Slider1_Scroll(i); });
        connect(RGBText[i], &QLineEdit::textChanged, this, [this, i] { RGBText_Change(i); });
    }
    sliders->setRowStretch(3, 1);

    LineWidthText_Change();
    Text4_Change();
}

QWidget* ColorPanel::buildTextOptions()
{
    auto* panel = new QWidget(stack_);
    Check1 = new QCheckBox(QStringLiteral("Shadow"), panel);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->move(4, 22);
    Frame1 = new QFrame(panel);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Text1 = NumberBox(QStringLiteral("Text1"), QStringLiteral("Shadow distance"), QStringLiteral("1"), Frame1);
    Text1->move(6, 5);
    Check2 = new QCheckBox(QStringLiteral("Angle"), panel);
    Check2->setObjectName(QStringLiteral("Check2"));
    Frame3 = new QFrame(panel);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setFrameShape(QFrame::StyledPanel);
    Text3 = NumberBox(QStringLiteral("Text3"), QStringLiteral("Text angle"), QStringLiteral("0"), Frame3);
    Text3->move(6, 5);
    Command8 = new QPushButton(QStringLiteral("Font"), panel);
    Command8->setObjectName(QStringLiteral("Command8"));
    for (QWidget* w : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Text1),
                       static_cast<QWidget*>(Frame3), static_cast<QWidget*>(Text3)}) {
        w->hide();
        w->setEnabled(w == Frame1 || w == Frame3);
    }
    connect(Check1, &QCheckBox::clicked, this, &ColorPanel::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &ColorPanel::Check2_Click);
    connect(Command8, &QPushButton::clicked, this, &ColorPanel::Command8_Click);
    Frame1->setGeometry(4, 46, 100, 0);
    Frame3->setGeometry(4, 0, 100, 0);
    placeTextOptions();
    return panel;
}

void ColorPanel::placeTextOptions()
{
    const int check2Top = Frame1->y() + Frame1->height() + kCheckGap;
    Check2->move(4, check2Top);
    Frame3->move(4, check2Top + Check2->sizeHint().height() - 1);
    Command8->move(4, Frame3->y() + Frame3->height() + 6);
}

ColorRef ColorPanel::sliderColor() const
{
    return RGB(Slider1[0]->value(), Slider1[1]->value(), Slider1[2]->value());
}

void ColorPanel::writePen(ColorRef color)
{
    if (Canvas* c = activeCanvas_()) c->setForeColor(color);
}

void ColorPanel::clearSelection()
{
    for (ColorCell* cell : Picture2) cell->setSelected(false);
    Picture7->setSelected(false);
}

void ColorPanel::Picture2_Click(int index)
{
    writePen(Picture2[index]->color());
    clearSelection();
    Picture2[index]->setSelected(true);
}

void ColorPanel::Picture7_Click()
{
    clearSelection();
    writePen(Picture8->color());
    Picture7->setSelected(true);
}

void ColorPanel::Picture8_Click()
{
    Picture7_Click();
}

void ColorPanel::Slider1_Press(int index)
{
    for (ColorCell* cell : Picture2) cell->setSelected(false);
    writePen(Picture8->color());
    Picture7->setSelected(true);
    RGBText[index]->setText(QString::number(Slider1[index]->value()));
}

void ColorPanel::Slider1_Scroll(int index)
{
    Picture8->setColor(sliderColor());
    writePen(Picture8->color());
    RGBText[index]->setText(QString::number(Slider1[index]->value()));
}

void ColorPanel::RGBText_Change(int index)
{
    const QString text = RGBText[index]->text();
    const double value = LeadingNumber(text);
    const QString normal = value > 255 ? QStringLiteral("255") : NumberText(value);
    if (normal != text) {
        RGBText[index]->setText(normal);   // runs this handler again with the normal text
        return;
    }
    {
        const QSignalBlocker block(Slider1[index]);
        Slider1[index]->setValue(int(std::clamp(RoundHalfEven(value), 0.0, 255.0)));
    }
    Picture8->setColor(sliderColor());
    writePen(Picture8->color());
}

void ColorPanel::LineWidthText_Change()
{
    const int16_t width = PenWidth(LeadingNumber(LineWidthText->text()));
    LineWidthPreview->setDotWidth(width);
    if (Canvas* c = activeCanvas_()) c->setDrawWidth(width);
}

void ColorPanel::Text4_Change()
{
    const QString text = Text4->text();
    const QString normal = NumberText(LeadingNumber(text));
    if (normal != text) {
        Text4->setText(normal);
        return;
    }
    Picture5->setDotWidth(PenWidth(LeadingNumber(text)));
}

int ColorPanel::eraserWidth() const
{
    return int(std::clamp(RoundHalfEven(LeadingNumber(Text4->text())), 0.0, double(kPenWidthLimit)));
}

TextShadow ColorPanel::shadow() const
{
    TextShadow s;
    s.on = Check1->isChecked();
    s.offset = LeadingNumber(Text1->text());   // not a number: no offset
    const QColor dark = QApplication::palette().color(QPalette::Dark);
    s.color = RGB(dark.red(), dark.green(), dark.blue());
    return s;
}

void ColorPanel::slideFrame(QCheckBox* check, QFrame* frame, QLineEdit* text)
{
    const bool open = check->isChecked();
    if (open) frame->show();
    // The frame grows or shrinks a pixel at a time, with what lies below it following. A click
    // during the slide starts the opposite slide, which then has the last word.
    for (int h = open ? 1 : kFrameOpen; open ? h <= kFrameOpen : h >= 1; h += open ? 1 : -1) {
        if (check->isChecked() != open) return;
        frame->resize(frame->width(), h);
        placeTextOptions();
        QCoreApplication::processEvents();
    }
    if (check->isChecked() != open) return;
    text->setVisible(open);
    text->setEnabled(open);
    if (!open) frame->hide();
}

void ColorPanel::Check1_Click()
{
    slideFrame(Check1, Frame1, Text1);
}

void ColorPanel::Check2_Click()
{
    slideFrame(Check2, Frame3, Text3);
}

void ColorPanel::VScroll1_Change()
{
    Text2->setText(QString::number(zoomLevel()));
}

int ColorPanel::zoomLevel() const
{
    return VScroll1->minimum() + VScroll1->maximum() - VScroll1->value();
}

void ColorPanel::setZoomLevel(int level)
{
    VScroll1->setValue(VScroll1->minimum() + VScroll1->maximum() - level);
}

void ColorPanel::Command8_Click()
{
    Canvas* c = activeCanvas_();
    if (!c) return;   // no document: there is no font to change
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, c->font(), this, QStringLiteral("Font"));
    if (ok) c->setFont(chosen);   // a cancelled dialog keeps the font
}

void ColorPanel::showOptions(int index)
{
    if (index >= 0 && index < framOptions.size()) stack_->setCurrentIndex(index);
}

int ColorPanel::currentOptions() const
{
    return stack_->currentIndex();
}

void ColorPanel::setSliders(ColorRef color)
{
    const int parts[3] = {RedOf(color), GreenOf(color), BlueOf(color)};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker blockSlider(Slider1[i]);
        const QSignalBlocker blockText(RGBText[i]);
        Slider1[i]->setValue(parts[i]);
        RGBText[i]->setText(QString::number(parts[i]));
    }
}

void ColorPanel::showCanvasColor(ColorRef color)
{
    bool matched = false;
    for (ColorCell* cell : Picture2) {
        cell->setSelected(cell->color() == color);
        matched = matched || cell->selected();
    }
    if (!matched) {
        Picture8->setColor(color);
        setSliders(color);
    }
    Picture7->setSelected(!matched);
}

void ColorPanel::showPickedColor(ColorRef color, bool onPress)
{
    Picture8->setColor(color);
    if (onPress) {
        for (ColorCell* cell : Picture2) cell->setSelected(false);
        Picture7->setSelected(true);
    }
    setSliders(color);
}

bool ColorPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LineWidthText && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Only character keys pass through the filter; editing keys work as usual.
        if (typed.size() == 1 && (typed[0].isPrint() || typed[0] == QChar(8)))
            return !LineWidthKeyAccepted(LineWidthText->text(), typed[0]);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orv
