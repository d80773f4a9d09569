#include "documents/ui/canvas_view.h"
#include "effects/round_wobbly.h"
#include "effects/ui/frmEffectsWaveing.h"
#include "effects/ui/frmEffectsWobbly.h"
#include "effects/ui/frmEffectsWobbly2.h"
#include "effects/ui/thumbnail_preview.h"
#include "effects/waving.h"
#include "gui_fixture.h"
#include "tests/support/test_pictures.h"
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace orv::test {

namespace {

class DistortionsTest : public DocumentTest {
protected:
    Canvas& canvas() { return doc->canvas(); }
    // A picture in which every effect here moves something: diagonal stripes.
    void stripes(int w, int h)
    {
        canvas().resizePixels(w, h);
        canvas().Cls();
        for (int k = -h; k < w; k += 7) canvas().Line(float(k), 0, float(k + h), float(h), RGB(200, 30, 90), LineMode::Line);
    }
    QString wobblySetting(const char* key) { return setting(QString::fromLatin1(key), QStringLiteral("Wobbly")); }
};

} // namespace

TEST_F(DistortionsTest, WobblyPreviewsOnItsCopyThenRunsAndRemembersItsSettings)
{
    canvas().resizePixels(6, 4);
    canvas().Cls();
    canvas().PSet(0, 1, 0);
    canvas().PSet(1, 3, 0);
    const QImage before = canvas().Image();
    runDialog<frmEffectsWobbly>("mnuEffectsWobbly", [&](frmEffectsWobbly* d) {
        EXPECT_TRUE(d->Option3->isChecked());   // a fresh installation: "Both", 10
        EXPECT_TRUE(doc->Changed);              // the launcher took the snapshot
        d->Option1->setChecked(true);
        d->Text1->setText(QStringLiteral("2"));
        d->Command3->click();   // columns up by 1, 2, 1, 0, 1, 2
        EXPECT_EQ(At(d->Picture1->canvas().buffer(), 0, 0), 0);
        d->Option2->setChecked(true);
        d->Command3->click();   // from the unaltered picture again: rows left by 1, 2, 1, 0
        EXPECT_EQ(At(d->Picture1->canvas().buffer(), 0, 1), 0xFFFFFF);
        EXPECT_EQ(At(d->Picture1->canvas().buffer(), 1, 3), 0);
        EXPECT_EQ(canvas().Image(), before);
        d->Option1->setChecked(true);
        d->Command1->click();
    });
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(at(1, 3), 0);   // below the moved column the old pixels stay
    EXPECT_EQ(wobblySetting("Width"), QStringLiteral("2"));
    EXPECT_EQ(wobblySetting("Mode"), QStringLiteral("0"));
    undo->trigger();
    EXPECT_EQ(canvas().Image(), before);

    store(QStringLiteral("Wobbly"), QStringLiteral("Mode"), QStringLiteral("1"));
    runDialog<frmEffectsWobbly>("mnuEffectsWobbly", [](frmEffectsWobbly* d) {
        EXPECT_TRUE(d->Option2->isChecked());
        EXPECT_EQ(d->Text1->text(), QStringLiteral("2"));
        d->Text1->setText(QStringLiteral("010"));
        d->Command2->click();
    });
    EXPECT_EQ(wobblySetting("Width"), QStringLiteral("010"));
    EXPECT_EQ(wobblySetting("Mode"), QStringLiteral("1"));
    store(QStringLiteral("Wobbly"), QStringLiteral("Mode"), QStringLiteral("7"));
    runDialog<frmEffectsWobbly>("mnuEffectsWobbly", [](frmEffectsWobbly* d) {
        EXPECT_TRUE(d->Option3->isChecked());
        d->Command2->click();
    });
}

// The pixels are checked in the core tests.
TEST_F(DistortionsTest, CrystalShaperRunsAtOnceWithUndo)
{
    stripes(8, 5);
    const QImage before = canvas().Image();
    canvas().setScaleMode(kScaleTwips);
    trigger("mnuEffectsCrystalShaper");
    EXPECT_EQ(canvas().ScaleMode(), kScalePixels);
    EXPECT_NE(canvas().Image(), before);
    EXPECT_TRUE(doc->Changed);
    undo->trigger();
    EXPECT_EQ(canvas().Image(), before);
}

TEST_F(DistortionsTest, WavingLabelsPreviewAndRun)
{
    stripes(120, 80);
    const QImage before = canvas().Image();
    runDialog<frmEffectsWaveing>("mnuEffectsWaveing", [&](frmEffectsWaveing* d) {
        EXPECT_EQ(d->HScroll1->maximum(), WavingPhaseMaximum(120, 80));
        EXPECT_EQ(d->Label3->text(), QStringLiteral("0.4"));
        d->HScroll1->setValue(250);
        EXPECT_EQ(d->Label2->text(), QStringLiteral("2.5"));
        d->HScroll2->setValue(7);
        EXPECT_EQ(d->Label3->text(), QStringLiteral("0.7"));

        // The thumbnail is the picture at the box's height, centred; the preview waves it.
        const QImage thumb = d->Preview->thumbnail();
        EXPECT_EQ(thumb.size(), QSize(240, 160));
        const QImage bak = d->Preview->picPreviewBak;
        d->HScroll1->setValue(3);
        d->cmdPreview->click();
        EXPECT_NE(d->Preview->picPreview->canvas().Image().copy(QRect(d->Preview->thumbnailOrigin(), thumb.size())), thumb);
        EXPECT_EQ(d->Preview->picPreviewBak, bak);
        EXPECT_EQ(canvas().Image(), before);   // previews never touch the canvas
        EXPECT_FALSE(doc->Changed);            // nor take a snapshot
        d->cmdOK->click();
    });
    QImage expected = before;   // the dialog's values reach the run
    RunOnWorkingCopy(expected, [](WorkingCopy& w) { return WavingPasses(w, WavingParams{3, 7}); }, nullptr);
    EXPECT_EQ(canvas().Image(), expected);
    EXPECT_TRUE(doc->Changed);
    expectRunFinishedCleanly();
}

TEST_F(DistortionsTest, RoundWobblyKeyFilterRefusalsPreviewAndRun)
{
    stripes(8, 5);
    const QImage before = canvas().Image();
    QStringList messages;
    runDialog<frmEffectsWobbly2>("mnuEffectsRndWobbly", [&](frmEffectsWobbly2* d) {
        d->Text1->setText(QStringLiteral("36"));
        QTest::keyClick(d->Text1, Qt::Key_0);
        EXPECT_EQ(d->Text1->text(), QStringLiteral("360"));
        QTest::keyClick(d->Text1, Qt::Key_Backspace);
        QTest::keyClick(d->Text1, Qt::Key_4);   // 364 is above 360
        QTest::keyClick(d->Text1, Qt::Key_A);
        EXPECT_EQ(d->Text1->text(), QStringLiteral("36"));

        // Values the effect cannot use are refused before anything runs, Preview included.
        const struct { const char* angle; const char* width; const char* height; QPushButton* button; } refused[] = {
            {"", "10", "10", d->cmdOK}, {"0", "10", "10", d->cmdPreview}, {"4", "0", "2", d->cmdOK},
            {"4", "2", "abc", d->cmdOK},
        };
        for (const auto& r : refused) {
            d->Text1->setText(QString::fromLatin1(r.angle));
            d->Text2->setText(QString::fromLatin1(r.width));
            d->Text3->setText(QString::fromLatin1(r.height));
            QString message;
            AnswerNextMessageBox(QMessageBox::Ok, &message);
            r.button->click();
            messages << message;
            EXPECT_TRUE(d->isVisible());
        }
        EXPECT_EQ(canvas().Image(), before);
        EXPECT_FALSE(doc->Changed);

        // Angle 4, strips 2 wide: the strip at 2 moves down by 2, the one at 6 up by 2.
        d->Text1->setText(QStringLiteral("4"));
        d->Text2->setText(QStringLiteral("2"));
        d->Text3->setText(QStringLiteral("2"));
        d->Option1[0]->setChecked(true);
        d->cmdPreview->click();
        EXPECT_EQ(canvas().Image(), before);
        EXPECT_FALSE(doc->Changed);
        d->cmdOK->click();
    });
    EXPECT_EQ(messages, (QStringList{QStringLiteral("The angle must be a number other than 0."),
                                     QStringLiteral("The angle must be a number other than 0."),
                                     QStringLiteral("The strip width must be a number of 1 or more."),
                                     QStringLiteral("The strip height must be a number of 1 or more.")}));
    EXPECT_EQ(at(2, 2), At(before, 2, 0));
    EXPECT_EQ(at(7, 0), At(before, 7, 2));
    EXPECT_TRUE(doc->Changed);
    expectRunFinishedCleanly();
}

} // namespace orv::test
