// PNG through the dialogs; File > Save writing the document's file
// again; Edit > Paste opening the clipboard's picture; the File menu's recent pictures.
#include "documents/image_loader.h"
#include "documents/picture_writer.h"
#include "save_dialog.h"
#include "platform/picture_codec.h"
#include "shell/ui/window_bar.h"
#include "tests/support/jpeg_tables.h"
#include "tests/support/test_pictures.h"
#include <Magick++.h>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>

namespace orv::test {

namespace {

class DesktopFilesTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        QGuiApplication::clipboard()->clear();
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    QString picture(const QString& name, const QImage& pixels)
    {
        QString error;
        EXPECT_TRUE(WritePictureFile(pixels, path(name), 85, &error)) << error.toStdString();
        return path(name);
    }
    QAction* action(const char* name) { return frame->ActiveDocument()->menuAction(QString::fromLatin1(name)); }
    // Marks the active document's picture with a red box, as a drawing would.
    void draw()
    {
        frmDocument* d = frame->ActiveDocument();
        d->canvas().setScaleMode(kScalePixels);
        d->canvas().Line(0, 0, 15, 15, RGB(255, 0, 0), LineMode::FilledBox);
        d->Changed = true;
    }
    // The File menu's recent entries, hidden ones included, as it shows them.
    QList<QAction*> recentEntries()
    {
        auto* file = frame->ActiveDocument()->findChild<QMenu*>(QStringLiteral("mnuFile"));
        emit file->aboutToShow();
        QList<QAction*> entries;
        for (QAction* a : file->actions())
            if (a->objectName() == QLatin1String("mnuFileMRU")) entries << a;
        return entries;
    }
    QStringList recentCaptions()
    {
        QStringList shown;
        for (QAction* a : recentEntries())
            if (a->isVisible()) shown << a->text() + " | " + a->toolTip();
        return shown;
    }
    QTemporaryDir folder;
};

} // namespace

TEST_F(DesktopFilesTest, SaveAsOffersPngAndWritesItLosslessly)
{
    start();
    draw();
    AnswerSaveDialog(path(QStringLiteral("drawn")), {}, QStringLiteral("PNG (*.png)"));
    ASSERT_TRUE(frame->ActiveDocument()->mnuFileSaveAs_Click());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"drawn.png"});   // the filter's ending
    const DecodedPicture back = ReadPictureFile(path(QStringLiteral("drawn.png")));
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.image, frame->ActiveDocument()->canvas().Image());
    EXPECT_EQ(frame->ActiveDocument()->windowTitle(), QStringLiteral("drawn.png"));
}

TEST_F(DesktopFilesTest, SaveAfterOpenWritesTheSameFileWithoutAsking)
{
    for (const char* name : {"a.bmp", "b.png", "c.jpg"}) {
        SCOPED_TRACE(name);
        const QString file = picture(QString::fromLatin1(name), NewPixelBuffer(30, 20, RGB(0, 0, 255)));
        closeWithoutQuestions();
        start(file);
        draw();
        action("mnuFileSave")->trigger();   // no dialog and no quality question is answered
        EXPECT_FALSE(frame->ActiveDocument()->Changed);
        const DecodedPicture back = ReadPictureFile(file);
        ASSERT_TRUE(back.ok());
        const ColorRef line = test::At(back.image, 4, 4);
        EXPECT_GT(RedOf(line), 200);   // the drawing is in the file
        EXPECT_LT(BlueOf(line), 60);
        if (QByteArray(name).endsWith("jpg")) {
            EXPECT_EQ(LumaDcStep(ReadAll(file)), 5);   // quality 85
        }
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), (QStringList{"a.bmp", "b.png", "c.jpg"}));
}

TEST_F(DesktopFilesTest, SaveAfterSaveAsWritesTheNewFileAtTheChosenQuality)
{
    const QString opened = picture(QStringLiteral("first.bmp"), NewPixelBuffer(30, 20, RGB(0, 0, 255)));
    start(opened);
    const QByteArray before = ReadAll(opened);
    AnswerSaveDialog(path(QStringLiteral("second.jpg")));
    AnswerQuality(40);
    ASSERT_TRUE(frame->ActiveDocument()->mnuFileSaveAs_Click());
    EXPECT_EQ(frame->ActiveDocument()->jpegQuality(), 40);
    QFile::remove(path(QStringLiteral("second.jpg")));
    draw();
    action("mnuFileSave")->trigger();
    EXPECT_EQ(LumaDcStep(ReadAll(path(QStringLiteral("second.jpg")))), 20);   // quality 40 again
    EXPECT_EQ(ReadAll(opened), before);                                        // the first file is left alone
    EXPECT_EQ(frame->ActiveDocument()->windowTitle(), QStringLiteral("second.jpg"));
}

TEST_F(DesktopFilesTest, SaveOfANewOrOtherTypeDocumentGoesThroughSaveAs)
{
    const QString gif = path(QStringLiteral("x.gif"));
    Magick::Image g(Magick::Geometry(8, 8), Magick::Color("green"));
    g.write("GIF:" + gif.toStdString());
    start(gif);
    EXPECT_TRUE(frame->ActiveDocument()->filePath().isEmpty());
    draw();
    AnswerSaveDialog(path(QStringLiteral("from-gif.png")));
    action("mnuFileSave")->trigger();
    EXPECT_EQ(frame->ActiveDocument()->filePath(), path(QStringLiteral("from-gif.png")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("from-gif.png"))));
    EXPECT_EQ(test::At(ReadPictureFile(gif).image, 2, 1), RGB(0, 128, 0));   // the GIF is not written

    frame->mnuFileNew_Click();
    draw();
    AnswerSaveDialog(path(QStringLiteral("new.bmp")));
    action("mnuFileSave")->trigger();
    EXPECT_EQ(frame->ActiveDocument()->windowTitle(), QStringLiteral("new.bmp"));
}

TEST_F(DesktopFilesTest, PasteOpensTheClipboardPictureAsTheNextImage)
{
    start();
    EXPECT_FALSE(action("mnuPaste")->isEnabled());   // the clipboard holds no picture
    QGuiApplication::clipboard()->setText(QStringLiteral("words"));
    EXPECT_FALSE(action("mnuPaste")->isEnabled());

    QImage copied(33, 21, QImage::Format_ARGB32);
    copied.fill(qRgba(10, 200, 30, 255));
    copied.setPixel(5, 6, qRgba(0, 0, 0, 0));   // transparent: the canvas background
    QGuiApplication::clipboard()->setImage(copied);
    ASSERT_TRUE(action("mnuPaste")->isEnabled());
    action("mnuPaste")->trigger();

    EXPECT_EQ(Captions(*frame), (QStringList{"Image1", "Image2"}));
    frmDocument* pasted = frame->ActiveDocument();
    EXPECT_EQ(pasted->canvas().buffer().size(), QSize(33, 21));
    EXPECT_EQ(test::At(pasted->canvas().buffer(), 32, 20), RGB(10, 200, 30));
    EXPECT_EQ(test::At(pasted->canvas().buffer(), 5, 6), pasted->canvas().BackColor());
    EXPECT_TRUE(pasted->Changed);   // not in any file yet

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(action("mnuPaste")->isEnabled());
}

TEST_F(DesktopFilesTest, PastedPicturesKeepToThePictureLimits)
{
    start();
    // Encoded pictures as another program offers them: a small one opens; a header claiming
    // 16000 x 16000 pixels in a few bytes is refused before any pixel is decoded.
    QByteArray small;
    QBuffer buffer(&small);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(NewPixelBuffer(40, 30, RGB(1, 2, 3)).save(&buffer, "PNG"));
    const struct { QByteArray png; QString message; } cases[] = {
        {small, {}},
        {test::PngClaiming(16000, 16000),
         "Cannot paste the picture: the picture is too large (16000 x 16000 pixels; a file of this size may hold at most 67 million)."},
    };
    for (const auto& c : cases) {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("image/png"), c.png);
        QGuiApplication::clipboard()->setMimeData(data);
        ASSERT_TRUE(action("mnuPaste")->isEnabled());
        const int before = frame->documentCount();
        MessageBoxes boxes;
        action("mnuPaste")->trigger();
        EXPECT_EQ(boxes.texts().join("|").toStdString(), c.message.toStdString());
        EXPECT_EQ(frame->documentCount(), before + (c.message.isEmpty() ? 1 : 0));
    }
    EXPECT_EQ(test::At(frame->ActiveDocument()->canvas().buffer(), 39, 29), RGB(1, 2, 3));
}

TEST_F(DesktopFilesTest, RecentEntriesListThePicturesOpenedLast)
{
    start();
    EXPECT_TRUE(recentCaptions().isEmpty());   // none yet: hidden
    QStringList files;
    for (const char* name : {"one.bmp", "two.png", "three.jpg"}) {
        files << picture(QString::fromLatin1(name), NewPixelBuffer(12, 9, RGB(1, 2, 3)));
        frame->OpenFile(files.last());
        QThread::msleep(3);
    }
    EXPECT_EQ(recentCaptions(), (QStringList{"&1 three.jpg | " + files[2], "&2 two.png | " + files[1],
                                             "&3 one.bmp | " + files[0]}));

    // Opening an entry again makes it the newest; a deleted file is skipped.
    const QList<QAction*> entries = recentEntries();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_FALSE(entries[3]->isVisible());
    const int before = frame->documentCount();
    entries[2]->trigger();
    EXPECT_EQ(frame->documentCount(), before + 1);
    EXPECT_EQ(frame->ActiveDocument()->windowTitle(), QStringLiteral("one.bmp"));
    QFile::remove(files[2]);
    EXPECT_EQ(recentCaptions(), (QStringList{"&1 one.bmp | " + files[0], "&2 two.png | " + files[1]}));
}

TEST_F(DesktopFilesTest, AnAmpersandInACaptionIsShownAsItself)
{
    start();
    const QString file = picture(QStringLiteral("a & b.png"), NewPixelBuffer(12, 9, RGB(1, 2, 3)));
    frame->OpenFile(file);
    // What a button or menu entry shows: "&&" is one "&", a single "&" marks the shortcut.
    const auto shown = [](QString text) { return text.replace(QRegularExpression(QStringLiteral("&(.)")), "\\1"); };
    QMenu* window = frame->ActiveDocument()->findChild<QMenu*>(QStringLiteral("mnuWindow"));
    emit window->aboutToShow();
    const struct { const char* place; QString text; const char* expected; } cases[] = {
        {"window bar", frame->windowBar()->barSlots().at(1).Button->text(), "a & b.png"},
        {"Window menu", window->actions().last()->text(), "2 a & b.png"},
        {"recent entry", recentEntries().first()->text(), "1 a & b.png"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(c.text).toStdString(), c.expected) << c.place;
}

} // namespace orv::test
