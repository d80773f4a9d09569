#include "gui_fixture.h"
#include "platform/picture_codec.h"
#include "platform/recent_files.h"
#include "platform/work_folder.h"
#include "plugins/plugin_host.h"
#include "plugins/ui/plugin_menu.h"
#include "tests/support/test_pictures.h"
#include <QDir>
#include <QFileDialog>
#include <QTest>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>
#include <QPushButton>

namespace orv::test {

namespace {

using Box = ShownBox;

const QString kRunError = QStringLiteral("Error while running plugin. Quiting plugin.");

class PlugInTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        SetPlugInHostProgram(QStringLiteral(ORVANE_PLUGIN_HOST_EXE));
        userPlugins = settingsDir.filePath(QStringLiteral("data/Orvane/plugins"));
        qunsetenv("ORVANE_TEST_PLUGIN");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        SetPlugInHostProgram(QString());
        qunsetenv("ORVANE_TEST_PLUGIN");
        qunsetenv("ORVANE_TEST_PLUGIN_SEEN");
    }
    // Puts test plug-in `stem` into the user's plug-in folder as `as`.
    void install(const char* stem, const QString& as = {})
    {
        QDir().mkpath(userPlugins);
        const QString target = userPlugins + u'/' + (as.isEmpty() ? QString::fromLatin1(stem) + ".dll" : as);
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_TEST_PLUGINS_DIR "/") + stem + ".dll", target));
    }
    void installGarbage(const QString& as)
    {
        QDir().mkpath(userPlugins);
        WriteAll(userPlugins + u'/' + as, "not a library");
    }
    frmDocument* doc() { return frame->ActiveDocument(); }
    // The Plugins menu's captions, or its entries' tags.
    QStringList captions(frmDocument* d, bool tags = false)
    {
        QStringList c;
        for (QAction* a : PlugInItems(d))
            c << (tags ? a->data().toString() : a->text() + (a->isEnabled() ? "" : " [disabled]"));
        return c;
    }

    QString userPlugins;
};

TEST_F(PlugInTest, NoLibraryGivesTheSingleDisabledNone)
{
    for (bool otherFile : {false, true}) {   // no folder; a folder with other files only
        if (otherFile) installGarbage(QStringLiteral("readme.txt"));
        MessageBoxes boxes;
        start();
        EXPECT_EQ(captions(doc()), QStringList({"(None) [disabled]"})) << otherFile;
        EXPECT_TRUE(boxes.shown.isEmpty());
        closeWithoutQuestions();
    }
}

// Ant.dll cannot be created: Beta renamed (its class name does not match) or no library at
// all. The scan goes on past it, with or without the early scan at start-up, and says so once.
TEST_F(PlugInTest, PlugInsAreListedInNameOrderInEveryDocumentAndOneThatCannotBeCreatedGivesOneMessage)
{
    install("Beta");
    install("Alpha");
    for (const char* early : {"False", "True"}) {
        SCOPED_TRACE(early);
        QFile::remove(userPlugins + QStringLiteral("/Ant.dll"));
        if (*early == 'F') install("Beta", QStringLiteral("Ant.dll"));
        else installGarbage(QStringLiteral("Ant.dll"));
        storeSettings({{"LoadPlugIns", early}});
        MessageBoxes boxes;
        start();
        for (frmDocument* d : {doc(), frame->LoadNewDoc()}) {
            EXPECT_EQ(captions(d), QStringList({"Alpha filter", "Beta filter"}));
            EXPECT_EQ(captions(d, true), QStringList({"Alpha.PlugInClass", "Beta.PlugInClass"}));
        }
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Error loading plugin"));
        EXPECT_EQ(boxes.shown[0].text, PlugInRegistrationError(QStringLiteral("Ant.dll")));
        EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Critical);
        closeWithoutQuestions();
    }
}

TEST_F(PlugInTest, ALibraryThatNeedsRegistrationIsRegisteredOnceAndListed)
{
    install("Late");
    install("Alpha");
    const QString marker = userPlugins + QStringLiteral("/Late.dll.registered");
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        MessageBoxes boxes;
        start();
        EXPECT_EQ(captions(doc()), QStringList({"Alpha filter", "Late filter"}));
        EXPECT_TRUE(boxes.shown.isEmpty());
        EXPECT_EQ(ReadAll(marker), QByteArray("registered\n"));   // the next start does not register again
        closeWithoutQuestions();
    }
    EXPECT_FALSE(QFile::exists(userPlugins + QStringLiteral("/Alpha.dll.registered")));
}

// A started editor with Alpha in its Plugins menu and a picture of all-different pixels.
class PlugInRunTest : public PlugInTest {
protected:
    void SetUp() override
    {
        PlugInTest::SetUp();
        install("Alpha");
        start();
        original = Numbered(doc()->canvas().pixelWidth(), doc()->canvas().pixelHeight());
        doc()->canvas().setPicture(original);
        handOver = WorkFile(QStringLiteral("Plugin.tmp"));
    }
    // Runs Alpha with the plan of its DisplayForm; returns the messages shown.
    QList<Box> run(const QString& plan)
    {
        qputenv("ORVANE_TEST_PLUGIN", plan.toLocal8Bit());
        MessageBoxes boxes;
        PlugInItems(doc())[0]->trigger();
        QApplication::processEvents();
        return boxes.shown;
    }
    // The one run error was shown, and nothing else.
    static void expectRunError(const QList<Box>& shown)
    {
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].title, QStringLiteral("Plugin error"));
        EXPECT_EQ(shown[0].text, kRunError);
        EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    }
    void expectUntouched()
    {
        EXPECT_EQ(doc()->canvas().Image(), original);
        EXPECT_FALSE(doc()->menuAction(QStringLiteral("mnuEditUndo"))->isEnabled());
        EXPECT_FALSE(doc()->Changed);
        EXPECT_TRUE(frame->isEnabled());
    }
    QString pictureFile(const QImage& picture, bool jpeg)
    {
        if (!jpeg) return WriteBmp(settingsDir.filePath(QStringLiteral("result.bmp")), picture);
        const QString path = settingsDir.filePath(QStringLiteral("result.jpg"));
        QString error;
        EXPECT_TRUE(EncodeJpeg(picture, path, 95, &error)) << error.toStdString();
        return path;
    }
    QImage original;
    QString handOver;
};

TEST_F(PlugInRunTest, TrueWithAChangedFileLoadsItAndUndoRestores)
{
    const QString seen = settingsDir.filePath(QStringLiteral("seen.bmp"));
    qputenv("ORVANE_TEST_PLUGIN_SEEN", QFile::encodeName(seen));
    QImage changed = original;
    changed.invertPixels();
    EXPECT_TRUE(run("copy -1 " + pictureFile(changed, false)).isEmpty());

    EXPECT_EQ(DecodePictureFile(seen).image, original);   // the plug-in got the picture
    EXPECT_EQ(doc()->canvas().Image(), changed);
    EXPECT_TRUE(doc()->Changed);
    EXPECT_FALSE(QFile::exists(handOver));
    QAction* undo = doc()->menuAction(QStringLiteral("mnuEditUndo"));
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(doc()->canvas().Image(), original);
}

TEST_F(PlugInRunTest, AJpegCodedResultIsLoadedByItsContent)
{
    const ColorRef colour = RGB(200, 40, 90);
    const QImage flat = NewPixelBuffer(original.width(), original.height(), colour);
    EXPECT_TRUE(run("copy -1 " + pictureFile(flat, true)).isEmpty());
    const ColorRef got = doc()->canvas().Point(0, 0);
    EXPECT_NEAR(int(got & 0xFF), 200, 3);
    EXPECT_NEAR(int((got >> 8) & 0xFF), 40, 3);
    EXPECT_NEAR(int((got >> 16) & 0xFF), 90, 3);
    EXPECT_TRUE(doc()->menuAction(QStringLiteral("mnuEditUndo"))->isEnabled());
    EXPECT_FALSE(QFile::exists(handOver));
}

// A result other than True (-1) or a failing plug-in: the picture stays, with no snapshot.
TEST_F(PlugInRunTest, AnythingButTrueOrAFailingPlugInLeavesTheEditorAndThePictureIntact)
{
    QImage changed = original;
    changed.invertPixels();
    const QString result = pictureFile(changed, false);
    const struct {
        QString plan;
        bool message;     // "Error while running plugin. Quiting plugin."
    } cases[] = {
        {"copy 0 " + result, false},
        {"copy 1 " + result, false},
        {"crash", true},
        {"noise -1", true},    // the result is no picture
        {"delete -1", false},  // nothing to load
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plan.toStdString());
        QFile::remove(handOver);
        const QList<Box> shown = run(c.plan);
        if (c.message) expectRunError(shown);
        else EXPECT_TRUE(shown.isEmpty());
        expectUntouched();
        EXPECT_FALSE(QFile::exists(handOver));   // removed after every run
    }
    // The editor still runs plug-ins afterwards.
    EXPECT_TRUE(run(QStringLiteral("keep -1")).isEmpty());
    EXPECT_TRUE(doc()->menuAction(QStringLiteral("mnuEditUndo"))->isEnabled());
}

// Whatever a plug-in left at the hand-over name (a link to one of the user's files, a named
// pipe, a folder) is cleared before the next run: the user's file stays, the run works, and
// the document is active again after each run.
TEST_F(PlugInRunTest, WhatStandsAtTheHandOverNameIsClearedAndRunsFollowOneAnother)
{
    const QString users = settingsDir.filePath(QStringLiteral("users.txt"));
    WriteAll(users, "the user's own file");
    const std::function<bool()> plant[] = {
        [&] { return ::symlink(QFile::encodeName(users).constData(), QFile::encodeName(handOver).constData()) == 0; },
        [&] { return ::mkfifo(QFile::encodeName(handOver).constData(), 0600) == 0; },
        [&] { return QDir().mkpath(handOver + QStringLiteral("/inside")); },
    };
    frmDocument* const d = doc();
    for (const auto& planted : plant) {
        ASSERT_TRUE(planted());
        EXPECT_TRUE(run(QStringLiteral("keep -1")).isEmpty());
        EXPECT_EQ(ReadAll(users), QByteArray("the user's own file"));
        ASSERT_EQ(frame->ActiveDocument(), d);
        EXPECT_FALSE(QFileInfo::exists(handOver));
    }
    EXPECT_TRUE(d->menuAction(QStringLiteral("mnuEditUndo"))->isEnabled());
}

TEST_F(PlugInRunTest, AHangingPlugInCanBeStoppedFromTheWaitWindow)
{
    QTimer::singleShot(200, [] {
        QWidget* wait = VisibleWindow(QStringLiteral("frmPlugInWait"));
        ASSERT_NE(wait, nullptr);
        EXPECT_EQ(wait->windowTitle(), QStringLiteral("Alpha filter"));
        wait->findChild<QPushButton*>()->click();
    });
    expectRunError(run(QStringLiteral("hang")));
    expectUntouched();
    EXPECT_EQ(VisibleWindow(QStringLiteral("frmPlugInWait")), nullptr);
}

// A helper that is missing, ends badly after a good answer or floods its output: the run ends
// in the message and the document is untouched.
TEST_F(PlugInRunTest, AHelperThatDoesNotAnswerProperlyEndsInTheMessage)
{
    const QString script = settingsDir.filePath(QStringLiteral("helper.sh"));
    for (const char* body : {static_cast<const char*>(nullptr), "echo 'ORVANE-PLUGIN-HOST/1 RESULT -1'; exit 3",
                             "head -c 100000 /dev/zero"}) {
        SCOPED_TRACE(body ? body : "missing");
        QFile::remove(script);
        if (body) {
            WriteAll(script, QByteArray("#!/bin/sh\n") + body + "\n");
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        SetPlugInHostProgram(script);
        expectRunError(run(QStringLiteral("keep -1")));
        expectUntouched();
    }
}

// A picture opened from a work file (as Open URL does) has no file of its own: Save asks for
// a name, and the recent list never names the work file.
TEST_F(PlugInTest, ADocumentFromAWorkFileSavesThroughSaveAsAndStaysOffTheRecentList)
{
    start();
    const QString work = WorkFile(QStringLiteral("Bitmap.jpg"));
    WriteBmp(work, Numbered(8, 8));
    frame->OpenFile(work);
    frmDocument* d = frame->ActiveDocument();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->filePath().isEmpty());
    EXPECT_FALSE(RecentPictures(RecentFilesListPath(), 10).contains(work));
    bool asked = false;
    WithNextModal<QFileDialog>([&](QFileDialog* dialog) {
        asked = true;
        dialog->reject();
    });
    EXPECT_FALSE(d->mnuFileSave_Click());
    EXPECT_TRUE(asked);
    closeWithoutQuestions();
}

// Closing the frame while a plug-in runs ends the plug-in first, then asks the save question
// of the changed document; a No closes the frame.
TEST_F(PlugInRunTest, ClosingTheFrameDuringARunEndsThePlugInAndAsksTheSaveQuestion)
{
    doc()->Changed = true;
    QString question;
    QTimer::singleShot(200, [&] {
        WithNextModal<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            box->button(QMessageBox::No)->click();
        });
        frame->close();
    });
    qputenv("ORVANE_TEST_PLUGIN", "hang");
    PlugInItems(doc())[0]->trigger();
    for (int i = 0; i < 100 && frame->isVisible(); ++i) QTest::qWait(20);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(question, QStringLiteral("Do you want to save the file Image1?"));
    EXPECT_FALSE(QFileInfo::exists(handOver));
}

} // namespace

} // namespace orv::test
