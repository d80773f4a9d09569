#include "fills/ui/frmEditGrid.h"
#include "fills/ui/frmEffectsInsertImage.h"
#include "fills/ui/frmGradient.h"
#include "fills/ui/image_fill_command.h"
#include "gui_fixture.h"
#include "platform/picture_codec.h"
#include "shell/ui/color_panel.h"
#include "tests/support/test_pictures.h"
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

namespace orv::test {

namespace {

class FillsTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        ASSERT_TRUE(files.isValid());
    }
    // A picture file of w x h whose pixel (x, y) is RGB(x, y, 0).
    QString numberedFile(int w, int h)
    {
        return WriteBmp(files.filePath(QStringLiteral("pic%1x%2.bmp").arg(w).arg(h)), Numbered(w, h));
    }
    QString gradientSetting(const char* key) { return setting(QString::fromLatin1(key), QStringLiteral("Gradient")); }
    // Chooses menu item `menu`, answers the open dialog with `path` (empty: Cancel).
    void openWith(const char* menu, const QString& path)
    {
        AnswerNextFileDialog(path);
        trigger(menu);
    }

    QTemporaryDir files;
};

} // namespace

TEST_F(FillsTest, GradientOkPaintsTheCanvasAsAnUndoableStep)
{
    doc->canvas().resizePixels(20, 24);
    doc->canvas().setScaleMode(kScaleTwips);
    runDialog<frmGradient>("mnuEditFillGradient", [](frmGradient* d) {
        EXPECT_EQ(d->Combo1->currentText(), QStringLiteral("Horizontal"));
        EXPECT_EQ(d->Picture2->color(), 16711680);
        EXPECT_EQ(d->Picture3->color(), 16776960);
        d->Command2->click();
    });
    // Blue to cyan down 24 rows in 20 bands: band 19 is 19 x 12.75 -> 242 green on row 21.
    EXPECT_EQ(at(17, 21), RGB(0, 242, 255));
    EXPECT_EQ(at(18, 0), 0xFFFFFF);
    EXPECT_TRUE(doc->Changed);
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Gradient"));
    EXPECT_EQ(doc->canvas().ScaleMode(), kScalePixels);
    EXPECT_EQ(gradientSetting("Mode"), QStringLiteral("Horizontal"));

    // Special keeps the canvas's unit. Pen 15 x 24 / 255 -> 1; only dot (1, 1) lands on (0, 0).
    doc->canvas().setScaleMode(kScaleTwips);
    runDialog<frmGradient>("mnuEditFillGradient", [](frmGradient* d) {
        d->Combo1->setCurrentText(QStringLiteral("Special"));
        d->Command2->click();
    });
    EXPECT_EQ(doc->canvas().ScaleMode(), kScaleTwips);
    EXPECT_EQ(doc->canvas().Point(0, 0), RGB(1, 1, 254));
}

TEST_F(FillsTest, GradientPreviewCancelAndAStoredModeThatIsNoStyleLeaveThePictureButCancelStoresTheChoices)
{
    const QImage before = doc->canvas().Image();
    runDialog<frmGradient>("mnuEditFillGradient", [](frmGradient* d) {
        d->Combo1->setCurrentText(QStringLiteral("Vertical"));
        d->Picture3->setColor(RGB(0, 128, 0));
        d->Command1->click();
        EXPECT_EQ(At(d->preview(), 0, 0), 16711680);   // the From colour at the left
        d->Command3->click();
    });
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_FALSE(doc->Changed);
    EXPECT_EQ(gradientSetting("Mode"), QStringLiteral("Vertical"));
    EXPECT_EQ(gradientSetting("Color2"), QString::number(RGB(0, 128, 0)));
    runDialog<frmGradient>("mnuEditFillGradient", [](frmGradient* d) {
        EXPECT_EQ(d->Combo1->currentText(), QStringLiteral("Vertical"));
        EXPECT_EQ(d->Picture3->color(), RGB(0, 128, 0));
        d->reject();
    });

    // A stored mode that is no style paints nothing, in the preview or on OK.
    store(QStringLiteral("Gradient"), QStringLiteral("Mode"), QStringLiteral("Diagonal"));
    runDialog<frmGradient>("mnuEditFillGradient", [](frmGradient* d) {
        EXPECT_EQ(d->Combo1->currentIndex(), -1);
        d->Command1->click();
        EXPECT_EQ(At(d->preview(), 0, 0), 0xFFFFFF);
        d->Command2->click();
    });
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_FALSE(doc->Changed);
}

TEST_F(FillsTest, ColourChooserCancelOrBlackKeepsTheSwatch)
{
    QColorDialog::setCustomColor(3, Qt::red);
    runDialog<frmGradient>("mnuEditFillGradient", [&](frmGradient* d) {
        QColor offered, custom;
        // Chooses `colour` in the colour chooser, or cancels it when invalid.
        const auto choose = [&](QColor colour) {
            WithNextModal<QColorDialog>([&offered, &custom, colour](QColorDialog* c) {
                offered = c->currentColor();
                custom = QColorDialog::customColor(3);
                if (!colour.isValid()) return c->reject();
                c->setCurrentColor(colour);
                c->accept();
            });
            QTest::mouseClick(d->Picture2, Qt::LeftButton);
        };
        choose(QColor());
        EXPECT_EQ(custom, QColor(Qt::white));
        EXPECT_EQ(offered, QColor(0, 0, 255));
        EXPECT_EQ(d->Picture2->color(), 16711680);
        choose(Qt::black);
        EXPECT_EQ(d->Picture2->color(), 16711680);
        choose(QColor(255, 0, 0));
        EXPECT_EQ(d->Picture2->color(), RGB(255, 0, 0));
        d->Command3->click();
    });
}

TEST_F(FillsTest, GridTakesTheSnapshotAtLaunchAndDrawsThe3DPairInPaletteColours)
{
    doc->canvas().resizePixels(300, 300);
    const QImage before = doc->canvas().Image();
    runDialog<frmEditGrid>("mnuEditGrid", [](frmEditGrid* d) {
        EXPECT_FALSE(d->Text3->isEnabled());
        d->Command2->click();
    });
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_TRUE(doc->Changed);
    EXPECT_TRUE(undo->isEnabled());

    const QColor face = QApplication::palette().color(QPalette::Button);
    const QColor shadow = QApplication::palette().color(QPalette::Dark);
    runDialog<frmEditGrid>("mnuEditGrid", [](frmEditGrid* d) {
        QTest::mouseClick(d->Check1, Qt::LeftButton);
        EXPECT_TRUE(d->Text3->isEnabled());
        d->Command1->click();
    });
    EXPECT_EQ(at(99, 50), RGB(face.red(), face.green(), face.blue()));
    EXPECT_EQ(at(100, 50), RGB(shadow.red(), shadow.green(), shadow.blue()));
    undo->trigger();
    EXPECT_EQ(doc->canvas().Image(), before);
}

TEST_F(FillsTest, PlainGridUsesThePenColourAndABadWidthDrawsNothing)
{
    doc->canvas().resizePixels(300, 300);
    doc->canvas().setForeColor(RGB(0, 0, 200));
    const QImage before = doc->canvas().Image();
    runDialog<frmEditGrid>("mnuEditGrid", [&](frmEditGrid* d) {
        d->Check1->click();
        for (const char* width : {"0", "32768"}) {   // no pen, and a pen wider than the widest
            d->Text3->setText(QString::fromLatin1(width));
            QString message;
            AnswerNextMessageBox(QMessageBox::Ok, &message);
            d->Command1->click();
            EXPECT_EQ(message, QStringLiteral("The line width must be a number from 1 to 32767.")) << width;
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(doc->canvas().Image(), before);
        }
        d->Check1->click();
        d->Text3->setText(QStringLiteral("1"));
        d->Text1->setText(QStringLiteral("1"));
        d->Text2->setText(QStringLiteral("4"));
        d->Command1->click();
    });
    EXPECT_EQ(at(10, 75), RGB(0, 0, 200));
    EXPECT_EQ(at(150, 10), 0xFFFFFF);   // one column: no vertical line
}

TEST_F(FillsTest, ImageFillCancelledOrUnreadableLeavesTheCanvasAndAPictureTilesItUndoably)
{
    doc->canvas().resizePixels(100, 100);
    const QImage before = doc->canvas().Image();
    openWith("mnuEditFillImage", QString());
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_FALSE(doc->Changed);

    const QString broken = files.filePath(QStringLiteral("broken.bmp"));
    WriteAll(broken, "BM not a picture");
    const QString other = files.filePath(QStringLiteral("picture.tif"));
    WriteAll(other, ReadAll(numberedFile(4, 4)));
    for (const QString& path : {broken, other, files.filePath(QStringLiteral("missing.jpg"))}) {
        QString message;
        AnswerNextMessageBox(QMessageBox::Ok, &message);
        FillWithImage(doc, path);
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        EXPECT_EQ(doc->canvas().Image(), before);
        EXPECT_FALSE(doc->Changed);
    }

    openWith("mnuEditFillImage", numberedFile(30, 40));
    EXPECT_EQ(doc->canvas().ScaleMode(), kScaleTwips);
    doc->canvas().setScaleMode(kScalePixels);
    EXPECT_EQ(at(99, 99), RGB(9, 19, 0));
    EXPECT_TRUE(doc->Changed);
    undo->trigger();   // the fill is taken back
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_FALSE(doc->Changed);
}

TEST_F(FillsTest, InsertImageShowsThroughTheKeyColourTakenWhenTheDialogOpened)
{
    Canvas& c = doc->canvas();
    c.resizePixels(10, 8);
    const ColorRef key = RGB(255, 0, 255);
    c.setForeColor(key);
    c.Line(2, 1, 6, 4, key, LineMode::FilledBox);   // key block: columns 2 .. 6, rows 1 .. 4
    const QImage before = c.Image();
    const QString picture = numberedFile(4, 3);
    runDialog<frmEffectsInsertImage>("mnuEffectsInsertImage", [&](frmEffectsInsertImage* d) {
        EXPECT_EQ(d->keyColor(), key);
        c.setForeColor(RGB(0, 0, 0));   // a later pen colour does not change the key
        AnswerNextFileDialog(picture);
        d->Command1->click();
        EXPECT_EQ(d->Label1->text(), picture);
        d->Command2->click();
    });
    c.setScaleMode(kScalePixels);
    EXPECT_EQ(at(3, 2), RGB(3, 2, 0));
    EXPECT_EQ(at(1, 1), 0xFFFFFF);   // under the picture, not key-coloured
    undo->trigger();
    EXPECT_EQ(c.Image(), before);
}

TEST_F(FillsTest, InsertImageCancelOrNoFileLeavesThePictureWithTheSnapshot)
{
    const QImage before = doc->canvas().Image();
    runDialog<frmEffectsInsertImage>("mnuEffectsInsertImage", [](frmEffectsInsertImage* d) { d->Command3->click(); });
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_TRUE(doc->Changed);
    EXPECT_TRUE(undo->isEnabled());
    runDialog<frmEffectsInsertImage>("mnuEffectsInsertImage", [](frmEffectsInsertImage* d) { d->Command2->click(); });
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_EQ(doc->canvas().ScaleMode(), kScaleTwips);
}

} // namespace orv::test
