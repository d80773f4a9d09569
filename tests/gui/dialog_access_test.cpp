// The effect and fill dialogs from the keyboard and to a screen reader: Tab reaches every
// control, each control is named for what it is, captions show whole; the window bar's
// captions.
#include "desktop/ui/frmPageSetup.h"
#include "desktop/ui/frmPrintPreview.h"
#include "effects/ui/effect_run.h"
#include "effects/ui/frmBrithnest.h"
#include "effects/ui/geometry_dialogs.h"
#include "effects/ui/frmEffectsCirclize.h"
#include "effects/ui/frmEffectsInvert.h"
#include "effects/ui/frmEffectsRoll.h"
#include "effects/ui/frmEffectsTornado.h"
#include "effects/ui/frmEffectsStainedGlass.h"
#include "effects/ui/frmEffectsTypical.h"
#include "effects/ui/frmEffectsWaveing.h"
#include "effects/ui/frmEffectsWobbly.h"
#include "effects/ui/frmEffectsWobbly2.h"
#include "fills/ui/frmEditGrid.h"
#include "fills/ui/frmEditPlasma.h"
#include "fills/ui/frmEffectsDrip.h"
#include "fills/ui/frmEffectsInsertImage.h"
#include "fills/ui/frmEffectsMix.h"
#include "fills/ui/frmEffectsVideoFeedback.h"
#include "fills/ui/frmGradient.h"
#include "gui_fixture.h"
#include "shell/ui/color_panel.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/window_bar.h"
#include <QAccessible>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTreeView>
#include <QTest>

namespace orv::test {

namespace {

using DialogAccessTest = DocumentTest;

using MakeDialog = std::function<std::unique_ptr<QDialog>(frmDocument*)>;

template <class Dialog>
MakeDialog Make()
{
    return [](frmDocument* doc) { return std::make_unique<Dialog>(doc); };
}

const std::vector<MakeDialog>& AllDialogs()
{
    static const std::vector<MakeDialog> all = {
        Make<frmBrithnest>(), Make<frmContrast>(), Make<frmEffectsInvert>(), Make<frmEffectsTypical>(),
        Make<frmEffectsWobbly>(), Make<frmEffectsWobbly2>(), Make<frmEffectsCirclize>(),
        Make<frmEffectsStainedGlass>(), Make<frmEffectsWaveing>(), Make<frmEditGrid>(), Make<frmEffectsDrip>(),
        Make<frmEffectsInsertImage>(), Make<frmEffectsMix>(), Make<frmEffectsVideoFeedback>(), Make<frmGradient>(),
        Make<frmEditPlasma>(), Make<frmEffectsRoll>(), Make<frmEffectsTornado>(),
        Make<frmRotate>(), Make<frmResize>(), Make<frmBorder>(), Make<frmPageSetup>(), Make<frmAbout>(),
        [](frmDocument* doc) { return std::make_unique<frmPrintPreview>(doc->canvas().Image(), doc); }};
    return all;
}

bool IsControl(const QWidget* w)
{
    if (w->objectName() == QLatin1String("Shape1")) return false;   // Insert image's key colour: shown, not chosen
    if (qobject_cast<const QAbstractSpinBox*>(w->parentWidget())) return false;   // the box's own text field
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSlider*>(w)
           || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTreeView*>(w)
           || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) || qobject_cast<const ColorCell*>(w);
}

// Tab stops once at a set of radio buttons (the arrow keys choose among them): one reached
// radio button stands for its set.
bool SameRadioSet(const QWidget* a, const QWidget* b)
{
    const auto* ra = qobject_cast<const QRadioButton*>(a);
    const auto* rb = qobject_cast<const QRadioButton*>(b);
    if (!ra || !rb) return false;
    if (ra->group() || rb->group()) return ra->group() == rb->group();
    return ra->autoExclusive() && rb->autoExclusive() && ra->parentWidget() == rb->parentWidget();
}

QString Name(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

} // namespace

TEST_F(DialogAccessTest, TabReachesEveryEnabledNamedControlOfEachDialogAndOneButtonIsTheDefault)
{
    for (const MakeDialog& make : AllDialogs()) {
        std::unique_ptr<QDialog> d = make(doc);
        const std::string name = d->objectName().toStdString();
        d->show();
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get())) << name;
        QList<QWidget*> reached;
        for (QWidget* f = QApplication::focusWidget(); f && !reached.contains(f) && reached.size() < 100;
             f = QApplication::focusWidget()) {
            reached.append(f);
            QTest::keyClick(f, Qt::Key_Tab);
        }
        for (QWidget* w : d->findChildren<QWidget*>()) {
            if (!IsControl(w) || !w->isVisible() || !w->isEnabled()) continue;
            const bool inChain = std::any_of(reached.begin(), reached.end(),
                                             [w](QWidget* r) { return r == w || SameRadioSet(r, w); });
            EXPECT_TRUE(inChain) << name << ": Tab never reaches " << w->objectName().toStdString() << " ("
                                 << w->metaObject()->className() << ")";
            EXPECT_FALSE(Name(w).isEmpty()) << name << ": " << w->objectName().toStdString() << " has no name";
        }
        const QList<QPushButton*> buttons = d->findChildren<QPushButton*>();
        EXPECT_TRUE(std::any_of(buttons.begin(), buttons.end(), [](QPushButton* b) { return b->isDefault(); }))
            << name << " has no default button";
        d->hide();
    }
}

TEST_F(DialogAccessTest, SpaceOrEnterOnAGradientSwatchChoosesItsColour)
{
    frmGradient d(doc);
    const std::pair<ColorCell*, Qt::Key> keys[] = {{d.Picture2, Qt::Key_Space}, {d.Picture3, Qt::Key_Return}};
    for (auto [swatch, key] : keys) {
        WithNextModal<QColorDialog>([](QColorDialog* c) {
            c->setCurrentColor(QColor(10, 20, 30));
            c->accept();
        });
        QTest::keyClick(swatch, key);
        EXPECT_EQ(swatch->color(), RGB(10, 20, 30)) << swatch->objectName().toStdString();
    }
}

TEST_F(DialogAccessTest, EachControlIsNamedForWhatItIs)
{
    frmEffectsWaveing waving(doc);
    waving.HScroll2->setValue(5);
    frmEffectsDrip drip(doc);
    frmEffectsInsertImage insert(doc);
    insert.Label1->setText(QStringLiteral("/tmp/sea.bmp"));
    frmEffectsWobbly2 round(doc);
    doc->setWindowTitle(QStringLiteral("sea.bmp"));
    // An empty name stands for the text the label shows.
    const std::tuple<QWidget*, const char*, const char*> rows[] = {
        {&waving, "Label2", ""},
        {&waving, "Label3", ""},
        {&drip, "Label4", ""},
        {&insert, "Label1", ""},
        {&round, "Frame1", "Direction"},
        {&round, "Frame2", "Angle"},
        {&round, "Frame3", "Width"},
        {&round, "Frame4", "Height"},
        {frame->windowBar(), "Children_0", "sea.bmp"},
        {frame->colorPanel(), "LineWidthText", "Line width"},
        {frame->optionsPanel(), "Slider1_0", "Red"},
        {frame->optionsPanel(), "Slider1_1", "Green"},
        {frame->optionsPanel(), "Slider1_2", "Blue"},
        {frame->optionsPanel(), "RGBText_0", "Red value"},
        {frame->optionsPanel(), "RGBText_2", "Blue value"},
    };
    for (auto [root, object, expected] : rows) {
        auto* w = root->findChild<QWidget*>(QString::fromLatin1(object));
        ASSERT_NE(w, nullptr) << object;
        auto* label = qobject_cast<QLabel*>(w);
        const QString want = *expected || !label ? QString::fromLatin1(expected) : label->text();
        EXPECT_EQ(Name(w), want) << object;
    }
    EXPECT_EQ(Name(waving.Label3), QStringLiteral("0.5"));   // the name follows what the label shows
}

TEST_F(DialogAccessTest, EachDialogIsWideEnoughForItsCaption)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    for (const MakeDialog& make : AllDialogs()) {
        std::unique_ptr<QDialog> d = make(doc);
        int shownWidth = 0;
        QTimer::singleShot(0, [&] {
            shownWidth = d->width();
            d->reject();
        });
        ShowEffectDialog(d.get());
        // Beside the caption: the window's icon and its buttons, at least 100 pixels.
        EXPECT_GT(shownWidth, QFontMetrics(bold).horizontalAdvance(d->windowTitle()) + 100) << d->objectName().toStdString();
    }
}

TEST_F(DialogAccessTest, ALongCaptionLosesItsMiddleOnTheWindowBarAndTheButtonStillWorks)
{
    const QString caption = QStringLiteral("holiday photographs from the seaside in August, second roll.bmp");
    doc->setWindowTitle(caption);
    frmDocument* other = frame->LoadNewDoc();
    ASSERT_EQ(frame->ActiveDocument(), other);
    QPushButton* button = frame->windowBar()->barSlots()[0].Button;
    const QString shown = button->text();
    EXPECT_NE(shown, caption);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("holi"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".bmp"))) << shown.toStdString();
    EXPECT_LT(button->fontMetrics().horizontalAdvance(shown), button->width());
    EXPECT_EQ(button->toolTip(), caption);
    EXPECT_EQ(Name(button), caption);
    button->click();
    EXPECT_EQ(frame->ActiveDocument(), doc);
}

} // namespace orv::test
