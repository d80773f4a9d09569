// Mix, drip, circlize and video feedback from the Effects menu: dialogs, refused values,
// previews and Cancel in the dialogs.
#include "effects/ui/frmEffectsCirclize.h"
#include "fills/ui/frmEffectsDrip.h"
#include "fills/ui/frmEffectsMix.h"
#include "fills/ui/frmEffectsVideoFeedback.h"
#include "fills/ui/thumbnail_box.h"
#include "gui_fixture.h"
#include "platform/picture_codec.h"
#include "tests/support/test_pictures.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

namespace orv::test {

namespace {

constexpr ColorRef kBlue = 0xFF0000;

class FillEffectsTest : public DocumentTest {
protected:
    // The canvas becomes a w x h picture whose every pixel has a colour of its own.
    void positions(int w, int h)
    {
        doc->canvas().resizePixels(w, h);
        doc->canvas().buffer() = Numbered(w, h);
    }
    QString bmp(const QString& name, const QImage& picture) { return WriteBmp(settingsDir.filePath(name), picture); }
    // Runs a dialog filled in so that its OK is refused: the message shown, and the canvas as it was.
    template <class Dialog>
    QString refusedMessage(const char* menu, std::function<QPushButton*(Dialog*)> fillAndOk)
    {
        const QImage before = doc->canvas().Image();
        QString text;
        runDialog<Dialog>(menu, [&](Dialog* d) {
            QPushButton* ok = fillAndOk(d);
            AnswerNextMessageBox(QMessageBox::Ok, &text);
            ok->click();
            EXPECT_TRUE(d->isVisible());   // the dialog stays open to correct the value
            d->reject();
        });
        EXPECT_EQ(doc->canvas().Image(), before);
        return text;
    }
};

} // namespace

TEST_F(FillEffectsTest, MixTakesPictureBInTheCellsOfTheLevel)
{
    doc->canvas().resizePixels(16, 8);
    doc->canvas().Cls();
    const QString pathB = bmp("b.bmp", NewPixelBuffer(16, 8, kBlue));
    runDialog<frmEffectsMix>("mnuEffectsMix", [&](frmEffectsMix* d) {
        EXPECT_FALSE(d->Command1->isEnabled());
        AnswerNextFileDialog(pathB);
        d->Command2->click();
        // Level 0 previews picture A, the maximum level picture B.
        EXPECT_EQ(d->Picture3->image(), d->Picture2->image());
        d->Text1->setText(QStringLiteral("64"));
        EXPECT_EQ(d->Slider1->maximum(), 64);
        d->Slider1->setValue(64);
        EXPECT_EQ(d->Picture3->image(), d->Picture1->image());
        d->HScroll1->setValue(1);   // reversed: no cell takes B
        EXPECT_EQ(d->Picture3->image(), d->Picture2->image());
        d->HScroll1->setValue(0);
        d->Slider1->setValue(32);   // 32 x 64 / 64 = 32 cells: the checker
        d->Command4->click();
    });
    EXPECT_EQ(doc->canvas().ScaleMode(), kScaleTwips);   // the mix leaves the canvas in twips
    doc->canvas().setScaleMode(kScalePixels);
    EXPECT_EQ(at(0, 0), kBlue);
    EXPECT_EQ(at(1, 0), 0xFFFFFF);
    EXPECT_TRUE(doc->Changed);
    undo->trigger();
    EXPECT_EQ(at(0, 0), 0xFFFFFF);
}

TEST_F(FillEffectsTest, MixWithASmallerPictureBKeepsTheCanvasBeyondItUnlessResized)
{
    doc->canvas().resizePixels(12, 10);
    doc->canvas().Cls();
    const QString pathB = bmp("small.bmp", NewPixelBuffer(4, 3, kBlue));
    for (bool resize : {false, true}) {
        runDialog<frmEffectsMix>("mnuEffectsMix", [&](frmEffectsMix* d) {
            ASSERT_TRUE(d->choosePictureB(pathB));
            d->Slider1->setValue(100);
            d->Check1->setChecked(resize);
            d->Command4->click();
        });
        doc->canvas().setScaleMode(kScalePixels);
        EXPECT_EQ(at(3, 2), kBlue);
        EXPECT_EQ(at(11, 9), resize ? kBlue : 0xFFFFFF);
    }
}

// The directions' block moves are checked in the core tests.
TEST_F(FillEffectsTest, DripPreviewsLiveAndRuns)
{
    positions(200, 150);
    const QImage before = doc->canvas().Image();
    runDialog<frmEffectsDrip>("mnuEffectsDrip", [&](frmEffectsDrip* d) {
        EXPECT_TRUE(d->Option1[1]->isChecked());
        EXPECT_EQ(d->Picture1->image(), d->Picture2->image());
        d->Option1[2]->click();
        d->Text1->setText(QStringLiteral("4"));   // blocks 50 wide and
        d->Text2->setText(QStringLiteral("1"));   // 150 high: they move by 0.5 and 1.5 pixels
        d->HScroll1->setValue(20);
        EXPECT_EQ(d->Label4->text(), QStringLiteral("(20)"));
        EXPECT_NE(d->Picture1->image(), d->Picture2->image());
        d->Command1->click();
    });
    EXPECT_NE(doc->canvas().Image(), before);
    EXPECT_TRUE(undo->isEnabled());
}

TEST_F(FillEffectsTest, CirclizeDrawsItsCircles)
{
    positions(30, 30);
    runDialog<frmEffectsCirclize>("mnuEffectsCirclize", [](frmEffectsCirclize* d) {
        d->Text1->setText(QStringLiteral("10"));
        d->Text2->setText(QStringLiteral("10"));
        d->Text3->setText(QStringLiteral("3"));
        d->Command1->click();
    });
    EXPECT_EQ(at(13, 10), NumberedColor(10, 10));   // on the ring around (10, 10)
    EXPECT_EQ(at(11, 11), NumberedColor(11, 11));   // inside it
    expectRunFinishedCleanly();
}

TEST_F(FillEffectsTest, VideoFeedbackNestsCopiesTowardTheChosenPoint)
{
    positions(70, 70);
    runDialog<frmEffectsVideoFeedback>("mnuVideoFeedBack", [](frmEffectsVideoFeedback* d) {
        d->Text1->setText(QStringLiteral("1"));
        d->Option2[5]->click();
        d->Option1[5]->click();
        EXPECT_EQ(d->qx, 7);
        EXPECT_EQ(d->qy, 7);
        d->Command1->click();
    });
    // Copy 10 lies at (9, 9), 7 x 7: its first pixel shows source pixel (0.5 x 70 / 7) = 5.
    EXPECT_EQ(at(9, 9), NumberedColor(5, 5));
    EXPECT_EQ(at(69, 69), NumberedColor(69, 69));
    expectRunFinishedCleanly();
}

TEST_F(FillEffectsTest, RefusedValuesAreNamedAndTheDialogStaysOpen)
{
    positions(40, 30);
    const QString pathB = bmp("b.bmp", NewPixelBuffer(4, 4, kBlue));
    // Sets one text box of the dialog and gives its OK.
    const auto typed = [](QLineEdit* box, const char* text, QPushButton* ok) {
        box->setText(QString::fromLatin1(text));
        return ok;
    };
    using Mix = frmEffectsMix;
    using Drip = frmEffectsDrip;
    using Circlize = frmEffectsCirclize;
    const struct { std::function<QString()> refuse; const char* message; } cases[] = {
        {[&] { return refusedMessage<Mix>("mnuEffectsMix", [&](Mix* d) {
              EXPECT_TRUE(d->choosePictureB(pathB));
              d->Slider1->setValue(100);
              return typed(d->Text1, "0", d->Command4);
          }); }, "The \"Maximum number\" must be a number greater than 0."},
        {[&] { return refusedMessage<Mix>("mnuEffectsMix", [](Mix* d) { d->Slider1->setValue(50); return d->Command4; }); },
         "Choose picture B, the picture to mix in, with its Browse button first."},
        {[&] { return refusedMessage<Drip>("mnuEffectsDrip", [&](Drip* d) { d->HScroll1->setValue(10); return typed(d->Text1, "0", d->Command1); }); },
         "The \"Width\" divisor must be a number greater than 0."},
        {[&] { return refusedMessage<Drip>("mnuEffectsDrip", [&](Drip* d) { d->HScroll1->setValue(10); return typed(d->Text2, "x", d->Command1); }); },
         "The \"Height\" divisor must be a number greater than 0."},
        {[&] { return refusedMessage<Circlize>("mnuEffectsCirclize", [&](Circlize* d) { return typed(d->Text1, "0", d->Command1); }); },
         "The Y step must be a number of at least 0.01."},
        {[&] { return refusedMessage<Circlize>("mnuEffectsCirclize", [&](Circlize* d) { return typed(d->Text2, "two", d->Command1); }); },
         "The X step must be a number of at least 0.01."},
        {[&] { return refusedMessage<Circlize>("mnuEffectsCirclize", [&](Circlize* d) { return typed(d->Text3, "-4", d->Command1); }); },
         "The circle radius must be a number of 0 or more."},
        {[&] { return refusedMessage<frmEffectsVideoFeedback>("mnuVideoFeedBack", [&](frmEffectsVideoFeedback* d) { return typed(d->Text1, "0", d->Command1); }); },
         "The step must be a number of at least 0.01."},
    };
    for (const auto& c : cases) EXPECT_EQ(c.refuse(), QString::fromLatin1(c.message));
}

TEST_F(FillEffectsTest, CancelKeepsTheLaunchersSnapshot)
{
    runDialog<frmEffectsDrip>("mnuEffectsDrip", [](frmEffectsDrip* d) { d->Command2->click(); });
    EXPECT_TRUE(doc->Changed);
    EXPECT_TRUE(undo->isEnabled());
}

} // namespace orv::test
