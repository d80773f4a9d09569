#include "documents/image_loader.h"
#include "documents/ui/canvas_view.h"
#include "gui_fixture.h"
#include "tests/support/test_pictures.h"
#include <QDragEnterEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

namespace orv::test {

class OpenFileTest : public FrameTest {
protected:
    QString bmp(const QString& name, const QImage& picture) { return WriteBmp(files.filePath(name), picture); }
    QString text(const QString& name, const QByteArray& content)
    {
        WriteAll(files.filePath(name), content);
        return files.filePath(name);
    }
    QTemporaryDir files;
};

TEST_F(OpenFileTest, OpenedPictureSizesTheCanvasAndTheCounterAdvances)
{
    frmMain& f = start();
    // A 100 x 50 bitmap under an upper-case ending of the image loader.
    const QString path = bmp("photo.DIB", NewPixelBuffer(100, 50, RGB(200, 10, 20)));
    f.OpenFile(path);
    frmDocument* d = f.ActiveDocument();
    EXPECT_EQ(d->windowTitle(), "photo.DIB");
    EXPECT_EQ(d->canvas().pixelWidth(), 100);
    EXPECT_EQ(d->canvas().pixelHeight(), 50);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(d->canvas().buffer().constScanLine(49))[99], ToPixel(RGB(200, 10, 20)));
    EXPECT_EQ(f.statusPanel(3), "Width: 100");
    EXPECT_EQ(d->canvas().ScaleMode(), kScaleTwips);
    // The handles sit beside the canvas: right edge at W + 150 twips, corner and bottom below.
    EXPECT_EQ(d->Picture1->x(), d->DrawIMG->x() + 100 + 10);
    EXPECT_EQ(d->Picture3->y(), d->DrawIMG->y() + 50 + 10);
    f.mnuFileNew_Click();
    EXPECT_EQ(Captions(f), (QStringList{"Image1", "photo.DIB", "Image3"}));
}

TEST_F(OpenFileTest, UnknownEndingsAndDamagedFilesAreReportedWithTheFileName)
{
    frmMain& f = start();
    const QString jpeg = bmp("photo.jpeg", NewPixelBuffer(10, 10, 0));
    QString message;
    AnswerNextMessageBox(QMessageBox::Ok, &message);
    f.OpenFile(jpeg);
    EXPECT_EQ(message, UnsupportedTypeError(jpeg));
    EXPECT_EQ(f.ActiveDocument()->windowTitle(), "photo.jpeg");   // the document stays

    const QString broken = text("broken.gif", "GIF89a\x10\x00");
    AnswerNextMessageBox(QMessageBox::Ok, &message);
    f.OpenFile(broken);
    EXPECT_TRUE(message.startsWith("Cannot open \"" + broken + "\": ")) << message.toStdString();

    AnswerNextMessageBox(QMessageBox::Ok, &message);
    f.OpenFile(files.filePath("gone.bmp"));
    EXPECT_EQ(message, "Cannot open \"" + files.filePath("gone.bmp") + "\": the file does not exist.");
    EXPECT_EQ(Captions(f), (QStringList{"Image1", "photo.jpeg", "broken.gif", "gone.bmp"}));
    EXPECT_FALSE(QFile::exists(settingsDir.filePath("data/recently-used.xbel")));   // nothing opened
}

TEST_F(OpenFileTest, WindowIsWidenedForWidePicturesButNeverHeightened)
{
    storeSettings({{"MainState", "0"}, {"MainWidth", "15000"}, {"MainHeight", "12000"}});
    frmMain& f = start();
    f.OpenFile(bmp("small.bmp", NewPixelBuffer(20, 20, 0)));
    const QSize small = f.ActiveDocument()->subWindow()->size();
    EXPECT_EQ(small, f.documents().first()->subWindow()->size());

    f.OpenFile(bmp("wide.bmp", NewPixelBuffer(700, 30, 0)));
    frmDocument* wide = f.ActiveDocument();
    EXPECT_EQ(wide->width(), wide->Picture1->x() + wide->Picture1->width() + 10);
    EXPECT_EQ(wide->subWindow()->height(), small.height());

    f.OpenFile(bmp("tall.bmp", NewPixelBuffer(30, 300, 0)));
    EXPECT_EQ(f.ActiveDocument()->subWindow()->size(), small);
}

TEST_F(OpenFileTest, DroppedFilesOpenInOrderAndOthersAreSkipped)
{
    frmMain& f = start();
    frmDocument* under = f.ActiveDocument();
    const QString a = bmp("a.bmp", NewPixelBuffer(30, 20, RGB(1, 2, 3)));
    const QString b = text("b.txt", "text");
    const QString c = bmp("c.GIF", NewPixelBuffer(3, 3, 0));   // a bitmap under a GIF name still decodes
    const QString d = bmp("d.png", NewPixelBuffer(4, 4, 0));
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b), QUrl::fromLocalFile(c), QUrl::fromLocalFile(d)});

    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(under->DrawIMG, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(under->DrawIMG, &drop);
    EXPECT_TRUE(drop.isAccepted());
    QApplication::processEvents();
    EXPECT_EQ(Captions(f), (QStringList{"Image1", "a.bmp", "c.GIF", "d.png"}));
    EXPECT_EQ(under->canvas().pixelWidth(), f.documents()[0]->canvas().pixelWidth());
    EXPECT_EQ(f.documents()[1]->canvas().pixelWidth(), 30);

    // Text is not a file list: no drop, on a document or on the frame.
    QMimeData words;
    words.setText("a.bmp");
    for (QWidget* target : {static_cast<QWidget*>(under->Picture4), static_cast<QWidget*>(&f)}) {
        QDragEnterEvent textEnter(QPoint(5, 5), Qt::CopyAction, &words, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &textEnter);
        EXPECT_FALSE(textEnter.isAccepted());
    }
}

// A file that exists: FrameTest.ACommandLineFileOpensInsteadOfImage1AndNewWindowsStartWithTheirTopLeftInView.
TEST_F(OpenFileTest, ACommandLineThatNamesNothingIsHandedOnUnchangedAndReported)
{
    QString message;
    AnswerNextMessageBox(QMessageBox::Ok, &message);
    start("/no such/place.bmp");
    EXPECT_EQ(Captions(*frame), QStringList{"place.bmp"});
    EXPECT_EQ(message, "Cannot open \"/no such/place.bmp\": the file does not exist.");
}

TEST_F(OpenFileTest, FileOpenShowsTheTypeListAndOpensTheChoice)
{
    frmMain& f = start();
    const QString path = bmp("chosen.bmp", NewPixelBuffer(12, 8, 0));
    QStringList filters, shown;
    WithNextModal<QFileDialog>([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        for (int i = 0; types && i < types->count(); ++i) shown << types->itemText(i);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);   // typed by the user
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
    f.mnuFileOpen_Click();
    EXPECT_EQ(filters, DialogNameFilters(kOpenPictureFilter));
    // Each entry reads as the list gives its description, its patterns not repeated.
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown[0], "All graphics");
    EXPECT_EQ(shown[2], "Bitmap files (*.bmp, *.rle, *.dib)");
    EXPECT_EQ(Captions(f), (QStringList{"Image1", "chosen.bmp"}));

    // Cancel: nothing happens. The toolbar's Open button shows the same dialog.
    AnswerNextFileDialog(QString());
    ASSERT_TRUE(f.toolbarButton(2)->isEnabled());
    f.toolbarButton(2)->trigger();
    EXPECT_EQ(f.documentCount(), 2);
}

} // namespace orv::test
