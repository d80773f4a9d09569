#include "documents/ui/canvas_view.h"
#include "save_dialog.h"
#include "platform/picture_codec.h"
#include "platform/recent_files.h"
#include "tests/support/jpeg_tables.h"
#include "tests/support/test_pictures.h"
#include <QDir>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QUrl>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::test {

namespace {

class SaveTest : public DocumentTest {
protected:
    QTemporaryDir folder;
    void SetUp() override
    {
        DocumentTest::SetUp();
        doc->canvas().resizePixels(40, 30);
        doc->TakeUndoSnapshot();
        doc->canvas().Line(0, 3, 39, 3, RGB(255, 0, 0), LineMode::Line);
    }
    QString path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

TEST_F(SaveTest, ANameWithoutExtensionBecomesABitmapHoldingExactlyTheCanvasAndTheSaveClearsChanged)
{
    AnswerSaveDialog(path("plain"));
    ASSERT_TRUE(doc->mnuFileSaveAs_Click());
    const QString saved = path("plain.bmp");
    EXPECT_EQ(files(), QStringList{QStringLiteral("plain.bmp")});
    EXPECT_EQ(DecodePictureFile(saved).image, doc->canvas().Image());
    EXPECT_EQ(doc->windowTitle(), QStringLiteral("plain.bmp"));
    EXPECT_FALSE(doc->Changed);
    EXPECT_TRUE(ReadAll(RecentFilesListPath()).contains(QUrl::fromLocalFile(saved).toEncoded()));
    EXPECT_EQ(frame->dialogFileName, saved);   // the next dialog starts from it
    EXPECT_TRUE(doc->subWindow()->close());    // unchanged since the save: closing asks nothing
}

TEST_F(SaveTest, JpegAsksTheQualityAndWritesIt)
{
    int shown = 0;
    AnswerSaveDialog(path("photo.JPG"), [&] { AnswerQuality(40, &shown); });
    ASSERT_TRUE(doc->mnuFileSaveAs_Click());
    EXPECT_EQ(shown, 85);
    EXPECT_EQ(LumaDcStep(ReadAll(path("photo.JPG"))), 20);   // quality 40
    EXPECT_EQ(doc->windowTitle(), QStringLiteral("photo.JPG"));
    EXPECT_FALSE(doc->Changed);
    EXPECT_EQ(files(), QStringList{QStringLiteral("photo.JPG")});   // no temporary left
    EXPECT_FALSE(QFile::exists(QStringLiteral("~TMP.BMP")));

    // The next JPEG save starts at 85 again; closing the question keeps the value shown.
    AnswerSaveDialog(path("second.jpg"), [&] { AnswerQuality(-1, &shown); });
    ASSERT_TRUE(doc->mnuFileSaveAs_Click());
    EXPECT_EQ(shown, 85);
    EXPECT_EQ(LumaDcStep(ReadAll(path("second.jpg"))), 5);   // quality 85
}

TEST_F(SaveTest, AnotherExtensionIsRefusedAndItOrACancelledDialogChangesNothing)
{
    QString message;
    AnswerSaveDialog(path("x.gif"), [&] { AnswerNextMessageBox(QMessageBox::Ok, &message); });
    EXPECT_FALSE(doc->mnuFileSaveAs_Click());
    EXPECT_TRUE(message.contains(QStringLiteral(".bmp")) && message.contains(QStringLiteral(".jpg"))) << message.toStdString();
    AnswerSaveDialog(QString());
    EXPECT_FALSE(doc->mnuFileSaveAs_Click());
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(doc->Changed);
    EXPECT_EQ(doc->windowTitle(), QStringLiteral("Image1"));
}

TEST_F(SaveTest, CloseQuestionYesSavesOrKeepsTheDocument)
{
    // Yes, then a cancelled Save As: the document stays open and changed.
    AnswerNextMessageBox(QMessageBox::Yes);
    QTimer::singleShot(0, [] { AnswerSaveDialog(QString()); });
    EXPECT_FALSE(doc->subWindow()->close());
    EXPECT_EQ(frame->documentCount(), 1);
    EXPECT_TRUE(doc->Changed);

    // Yes, then a completed Save As: saved, and the window closes.
    AnswerNextMessageBox(QMessageBox::Yes);
    QTimer::singleShot(0, [this] { AnswerSaveDialog(path("kept.bmp")); });
    EXPECT_TRUE(doc->subWindow()->close());
    EXPECT_TRUE(QFile::exists(path("kept.bmp")));
}

TEST_F(SaveTest, FailuresOnFullAndReadOnlyDisksAreReportedAndKeepTheOldFile)
{
    const QString disk = path("disk");
    QDir(folder.path()).mkdir(QStringLiteral("disk"));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small disk here";
    const QString old = disk + QStringLiteral("/old.bmp");
    WriteAll(old, "old picture");
    doc->canvas().resizePixels(200, 200);   // 120 KB: more than the disk holds

    QString message;
    AnswerSaveDialog(disk + QStringLiteral("/new.bmp"), [&] { AnswerNextMessageBox(QMessageBox::Ok, &message); });
    EXPECT_FALSE(doc->mnuFileSaveAs_Click());
    EXPECT_TRUE(message.contains(QStringLiteral("disk is full"))) << message.toStdString();
    EXPECT_TRUE(doc->Changed);
    EXPECT_EQ(doc->windowTitle(), QStringLiteral("Image1"));

    QString error;
    EXPECT_FALSE(frame->PlugInPicSave(old, &error));   // replacing fails the same way
    EXPECT_EQ(ReadAll(old), QByteArray("old picture"));

    ASSERT_EQ(::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k"), 0);
    doc->canvas().resizePixels(4, 4);
    EXPECT_FALSE(frame->PlugInPicSave(old, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("old.bmp"))) << error.toStdString();
    EXPECT_EQ(ReadAll(old), QByteArray("old picture"));
    EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.bmp")});
    ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
}

TEST_F(SaveTest, SavesWriteThroughLinksAndRefuseWhatIsNoRegularFile)
{
    // Save As to a link to no file yet: the file is made where the link leads; the link stays.
    QDir(folder.path()).mkdir(QStringLiteral("real"));
    ASSERT_EQ(::symlink("real/photo.jpg", QFile::encodeName(path("link.jpg")).constData()), 0);
    AnswerSaveDialog(path("link.jpg"), [] { AnswerQuality(85); });
    ASSERT_TRUE(doc->mnuFileSaveAs_Click());
    EXPECT_TRUE(QFileInfo(path("link.jpg")).isSymLink());
    EXPECT_TRUE(ReadAll(path("real/photo.jpg")).startsWith("\xFF\xD8\xFF"));

    // The plug-in hand-over onto a named pipe is refused and leaves the pipe.
    const QString pipe = path("pipe.bmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QString error;
    EXPECT_FALSE(frame->PlugInPicSave(pipe, &error));
    EXPECT_EQ(error, "Cannot save \"" + pipe + "\": it is a named pipe, not a file.");

    // Save As onto a named pipe: once the dialog's replace question is answered, the refusal
    // comes before the quality question, and the document keeps its state.
    const QString jpegPipe = path("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(jpegPipe).constData(), 0600), 0);
    doc->Changed = true;
    QString message;
    bool askedQuality = false;
    QTimer answers;
    QObject::connect(&answers, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* q = qobject_cast<frmJPGQuality*>(modal)) { askedQuality = true; q->Command1->click(); }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        if (QAbstractButton* replace = box->button(QMessageBox::Yes)) return replace->click();   // the dialog's "replace it?"
        message = box->text();
        box->button(QMessageBox::Ok)->click();
        answers.stop();
    });
    AnswerSaveDialog(jpegPipe, [&] { answers.start(20); });
    EXPECT_FALSE(doc->mnuFileSaveAs_Click());
    EXPECT_FALSE(askedQuality);
    EXPECT_EQ(message, "Cannot save \"" + jpegPipe + "\": it is a named pipe, not a file.");
    EXPECT_TRUE(doc->Changed);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(jpegPipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

} // namespace orv::test
