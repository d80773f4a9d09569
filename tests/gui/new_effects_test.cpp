// Plasma, Picture roll and Tornado from their menus: refused values, preview, OK with its undo
// step and remembered settings, Cancel.
#include "documents/ui/canvas_view.h"
#include "effects/ui/frmEffectsRoll.h"
#include "effects/ui/frmEffectsTornado.h"
#include "effects/ui/thumbnail_preview.h"
#include "fills/plasma.h"
#include "fills/ui/frmEditPlasma.h"
#include "gui_fixture.h"
#include "tests/support/test_pictures.h"
#include <QScrollBar>

namespace orv::test {

namespace {

class NewEffectsTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        doc->canvas().resizePixels(6, 4);
        doc->canvas().buffer() = Numbered(6, 4);
        before = doc->canvas().Image().copy();
    }
    QImage picture() { return doc->canvas().Image(); }
    QImage before;
};

} // namespace

TEST_F(NewEffectsTest, PlasmaRefusesBadValuesThenFillsRemembersAndUndoes)
{
    MessageBoxes boxes;
    runDialog<frmEditPlasma>("mnuEditPlasma", [&](frmEditPlasma* d) {
        EXPECT_EQ(d->Text1->text(), "1");
        d->Text2->setText("101");
        d->cmdOK->click();
        d->Text2->setText("30");
        d->Text1->setText("seven");
        d->cmdPreview->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(doc->Changed);
        d->Text1->setText("7");
        d->cmdNewSeed->click();
        EXPECT_EQ(d->Text1->text(), QString::number(NextPlasmaSeed(7)));
        EXPECT_NE(d->Preview->picPreview->canvas().Image(), d->Preview->picPreviewBak);
        d->Text1->setText("7");
        d->cmdOK->click();
    });
    EXPECT_EQ(boxes.texts(), QStringList({"The turbulence must be a whole number from 0 to 100.",
                                          "The seed must be a whole number from 0 to 999999999."}));
    QImage cloud = NewPixelBuffer(6, 4, 0);
    RunOnWorkingCopy(cloud, [](WorkingCopy& work) { return PlasmaPasses(work, PlasmaParams{7, 30}); }, nullptr);
    EXPECT_EQ(picture(), cloud);
    EXPECT_EQ(setting("Seed", "Plasma"), "7");
    EXPECT_EQ(setting("Turbulence", "Plasma"), "30");
    expectRunFinishedCleanly();
    undo->trigger();
    EXPECT_EQ(picture(), before);
}

TEST_F(NewEffectsTest, PictureRollPreviewsRollsWithWrapAroundAndUndoes)
{
    runDialog<frmEffectsRoll>("mnuRollPicture", [&](frmEffectsRoll* d) {
        EXPECT_EQ(d->HScroll1->maximum(), 5);
        EXPECT_EQ(d->HScroll2->maximum(), 3);
        d->HScroll1->setValue(2);
        d->HScroll2->setValue(1);
        EXPECT_EQ(d->Label1->text(), "2");
        d->cmdPreview->click();
        EXPECT_EQ(picture(), before);
        d->cmdOK->click();
    });
    EXPECT_EQ(at(0, 0), NumberedColor(4, 3));
    EXPECT_EQ(at(2, 1), NumberedColor(0, 0));
    EXPECT_EQ(setting("X", "Picture roll"), "2");
    undo->trigger();
    EXPECT_EQ(picture(), before);
    runDialog<frmEffectsRoll>("mnuRollPicture", [](frmEffectsRoll* d) {
        EXPECT_EQ(d->HScroll1->value(), 2);
        d->cmdCancel->click();
    });
    EXPECT_EQ(picture(), before);
}

TEST_F(NewEffectsTest, TornadoRefusesCancelsAndRunsAsAnUndoStep)
{
    MessageBoxes boxes;
    runDialog<frmEffectsTornado>("mnuEffectsTornado", [&](frmEffectsTornado* d) {
        d->Text2->setText("0");
        d->cmdOK->click();
        d->Text2->setText("3");
        d->Text1->setText("turn");
        d->cmdOK->click();
        d->Text1->setText("90");
        d->cmdCancel->click();
    });
    EXPECT_EQ(boxes.texts(), QStringList({"The radius must be a number of pixels above 0 and at most 32768.",
                                          "The angle must be a number of degrees from -3600 to 3600."}));
    EXPECT_EQ(picture(), before);
    EXPECT_FALSE(doc->Changed);
    EXPECT_EQ(setting("Radius", "Tornado"), "3");

    QString caption;
    runDialog<frmEffectsTornado>("mnuEffectsTornado", [&](frmEffectsTornado* d) {
        CancelRunAtFirstChance(&caption);
        d->cmdOK->click();
    });
    EXPECT_EQ(caption, "Tornado...");
    EXPECT_EQ(picture(), before);
    expectRunFinishedCleanly();

    runDialog<frmEffectsTornado>("mnuEffectsTornado", [](frmEffectsTornado* d) { d->cmdOK->click(); });
    EXPECT_NE(picture(), before);
    undo->trigger();
    EXPECT_EQ(picture(), before);
}

} // namespace orv::test
