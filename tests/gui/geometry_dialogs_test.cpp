// Edit > Flip > Rotate, Edit > Resize... and Edit > Border from their menus: the run, its undo
// step with the size, Cancel, refusals and what the dialogs remember.
#include "documents/ui/canvas_view.h"
#include "effects/ui/geometry_dialogs.h"
#include "effects/ui/thumbnail_preview.h"
#include "gui_fixture.h"
#include "shell/ui/color_panel.h"
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>

namespace orv::test {

namespace {

class GeometryDialogsTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        doc->canvas().resizePixels(40, 20);
        doc->canvas().Cls();
        doc->canvas().PSet(0, 0, RGB(255, 0, 0));
        before = doc->canvas().Image();
    }
    QSize size() { return {doc->canvas().pixelWidth(), doc->canvas().pixelHeight()}; }
    QImage before;
};

} // namespace

TEST_F(GeometryDialogsTest, EachCommandChangesTheSizeAndUndoBringsBackThePicture)
{
    const std::tuple<const char*, std::function<void()>, QSize> rows[] = {
        {"mnuEditRotate", [] { WithNextModal<frmRotate>([](frmRotate* d) { d->Text1->setText("90"); d->cmdOK->click(); }); }, {20, 40}},
        {"mnuEditResize", [] { WithNextModal<frmResize>([](frmResize* d) {
             d->Text1->setText("20");
             emit d->Text1->textEdited("20");   // the height follows in proportion
             d->cmdOK->click();
         }); }, {20, 10}},
        {"mnuEditBorder", [] { WithNextModal<frmBorder>([](frmBorder* d) { d->Text1->setText("3"); d->cmdOK->click(); }); }, {46, 26}},
    };
    for (const auto& [menu, answer, want] : rows) {
        answer();
        trigger(menu);
        EXPECT_EQ(size(), want) << menu;
        EXPECT_EQ(doc->DrawIMG->size(), want) << menu;
        expectRunFinishedCleanly();
        undo->trigger();
        EXPECT_EQ(doc->canvas().Image(), before) << menu;
        redo->trigger();
        EXPECT_EQ(size(), want) << menu;
        undo->trigger();
    }
    // The border is painted in the current colour, the dialog's starting colour.
    EXPECT_EQ(GetSetting(kAppTitle, QStringLiteral("Border"), QStringLiteral("Width"), QString()), QStringLiteral("3"));
    EXPECT_EQ(GetSetting(kAppTitle, QStringLiteral("Rotate"), QStringLiteral("Angle"), QString()), QStringLiteral("90"));
}

TEST_F(GeometryDialogsTest, TheBorderTakesTheChosenColourAndRotateTheBackground)
{
    doc->canvas().setForeColor(RGB(0, 255, 0));
    WithNextModal<frmBorder>([](frmBorder* d) {
        EXPECT_EQ(d->Picture1->color(), RGB(0, 255, 0));
        WithNextModal<QColorDialog>([](QColorDialog* c) {
            c->setCurrentColor(QColor(0, 0, 255));
            c->accept();
        });
        d->Picture1->clicked();
        d->cmdOK->click();
    });
    trigger("mnuEditBorder");
    EXPECT_EQ(at(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(at(10, 10), RGB(255, 0, 0));   // the picture's own corner, moved by the width
    WithNextModal<frmRotate>([](frmRotate* d) { d->Text1->setText("45"); d->cmdOK->click(); });
    trigger("mnuEditRotate");
    EXPECT_EQ(at(0, 0), doc->canvas().BackColor());
}

TEST_F(GeometryDialogsTest, RefusedValuesRunNothingAndCancelOrTheSameSizeLeaveThePicture)
{
    MessageBoxes boxes;
    WithNextModal<frmRotate>([](frmRotate* d) {
        d->Text1->setText("abc");
        d->cmdOK->click();
        d->cmdPreview->click();
        d->cmdCancel->click();
    });
    trigger("mnuEditRotate");
    WithNextModal<frmResize>([](frmResize* d) {
        d->Text2->setText("0");
        d->cmdOK->click();
        d->Text2->setText("20");   // the same size: nothing happens
        d->cmdOK->click();
    });
    trigger("mnuEditResize");
    WithNextModal<frmBorder>([](frmBorder* d) {
        d->Text1->setText("0");
        d->cmdOK->click();
        d->cmdCancel->click();
    });
    trigger("mnuEditBorder");
    EXPECT_EQ(boxes.texts(), QStringList({"The angle must be a number of degrees that is not 0 or a whole number of turns.",
                                          "The angle must be a number of degrees that is not 0 or a whole number of turns.",
                                          "The height must be a number of pixels from 1 to 32768.",
                                          "The border width must be a number of pixels from 1 to 32768."}));
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(doc->Changed);
}

TEST_F(GeometryDialogsTest, CancelDuringARunKeepsThePicture)
{
    doc->canvas().resizePixels(1500, 1200);   // several bands
    const QImage big = doc->canvas().Image();
    QString caption;
    WithNextModal<frmRotate>([&caption](frmRotate* d) {
        d->Text1->setText("30");
        CancelRunAtFirstChance(&caption);
        d->cmdOK->click();
    });
    trigger("mnuEditRotate");
    EXPECT_EQ(caption, QStringLiteral("Rotating..."));
    EXPECT_EQ(doc->canvas().Image(), big);
    expectRunFinishedCleanly();
}

TEST_F(GeometryDialogsTest, PercentAndPixelsDescribeTheSameSize)
{
    frmResize d(doc);
    d.Combo1->setCurrentIndex(1);
    EXPECT_EQ(d.Text1->text(), QStringLiteral("100"));
    d.Text1->setText("50");
    emit d.Text1->textEdited("50");
    EXPECT_EQ(d.Text2->text(), QStringLiteral("50"));
    d.Combo1->setCurrentIndex(0);
    EXPECT_EQ(d.Text1->text(), QStringLiteral("20"));
    EXPECT_EQ(d.Text2->text(), QStringLiteral("10"));
}

} // namespace orv::test
