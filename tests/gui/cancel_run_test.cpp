// Cancel in the progress window of each effect run: the caption names the run, and the canvas,
// its size and its handles stay as they were.
#include "documents/ui/canvas_view.h"
#include "effects/ui/frmEffectsCirclize.h"
#include "effects/ui/frmEffectsWaveing.h"
#include "effects/ui/frmEffectsWobbly2.h"
#include "fills/ui/frmEffectsVideoFeedback.h"
#include "gui_fixture.h"
#include "tests/support/test_pictures.h"

namespace orv::test {

namespace {

class CancelRunTest : public DocumentTest {
protected:
    // Starts the run from the dialog of `menu` with the button `ok` returns (after filling
    // the dialog in), pressing Cancel at the first chance the run gives.
    template <class Dialog>
    std::function<void()> viaDialog(const char* menu, std::function<QPushButton*(Dialog*)> ok)
    {
        return [=, this] {
            runDialog<Dialog>(menu, [=, this](Dialog* d) {
                QPushButton* button = ok(d);
                CancelRunAtFirstChance(&shown);
                button->click();
            });
        };
    }
    std::function<void()> direct(const char* menu)
    {
        return [=, this] {
            CancelRunAtFirstChance(&shown);
            trigger(menu);
        };
    }
    QString shown;
};

} // namespace

TEST_F(CancelRunTest, CancelLeavesTheCanvasItsSizeAndItsHandles)
{
    doc->canvas().resizePixels(1500, 1200);   // several bands, so the run lets events in
    doc->canvas().buffer() = Numbered(1500, 1200);
    const QImage before = doc->canvas().Image();
    const QPoint handle = doc->Picture2->pos();
    const struct { const char* caption; std::function<void()> run; } cases[] = {
        {"Grayscaling...", direct("mnuEditConvertGrayscale")},
        {"Rotating...", direct("mnuEditRotate90")},
        {"Waving...", viaDialog<frmEffectsWaveing>("mnuEffectsWaveing", [](frmEffectsWaveing* d) { return d->cmdOK; })},
        {"Round wobbly...", viaDialog<frmEffectsWobbly2>("mnuEffectsRndWobbly", [](frmEffectsWobbly2* d) {
             d->Text1->setText(QStringLiteral("90"));
             return d->cmdOK;
         })},
        {"Circilizing...", viaDialog<frmEffectsCirclize>("mnuEffectsCirclize", [](frmEffectsCirclize* d) { return d->Command1; })},
        {"Feedbacking video...",
         viaDialog<frmEffectsVideoFeedback>("mnuVideoFeedBack", [](frmEffectsVideoFeedback* d) { return d->Command1; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        shown.clear();
        c.run();
        EXPECT_EQ(shown, QString::fromLatin1(c.caption));
        EXPECT_EQ(doc->canvas().Image(), before);   // the run wrote nothing back
        EXPECT_EQ(doc->DrawIMG->size(), QSize(1500, 1200));
        EXPECT_EQ(doc->Picture2->pos(), handle);
        EXPECT_TRUE(undo->isEnabled());
        expectRunFinishedCleanly();
    }
}

} // namespace orv::test
