#include "internet/ui/frmCheckforUpdate.h"
#include "internet/ui/frmOpenURL.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include "tests/gui/gui_fixture.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_pictures.h"
#include <Magick++.h>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>

namespace orv::test {

namespace {

// A picture file's bytes in the format `magick`: left half red, right half blue.
QByteArray TwoColourPicture(int w, int h, const char* magick)
{
    QImage picture = NewPixelBuffer(w, h, 0xFF0000);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x) Put(picture, x, y, 0x0000FF);
    QTemporaryDir dir;
    Magick::Image image(WriteBmp(dir.filePath(QStringLiteral("p.bmp")), picture).toStdString());
    image.magick(magick);
    Magick::Blob blob;
    image.write(&blob);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

class OpenUrlTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        ASSERT_TRUE(server.running());
        start();
        server.put(QStringLiteral("dir/index.html"),
                   "<html><body>\n<img src=\"a.gif\" alt=\"A.GIF\">\n"
                   "<p><img src=\"/files/img/b.jpg\"><img src=\"c.jpeg\"></p>\n</body></html>\n");
        server.put(QStringLiteral("dir/a.gif"), TwoColourPicture(40, 20, "GIF"));
        server.put(QStringLiteral("img/b.jpg"), TwoColourPicture(64, 32, "JPEG"));
    }
    // Runs File > Open URL from the active document; `act` works the dialog.
    void openUrl(const std::function<void(frmOpenURL*)>& act)
    {
        WhenOpen<frmOpenURL>(QStringLiteral("frmOpenURL"), act);
        frame->ActiveDocument()->menuAction(QStringLiteral("mnuOpenURL"))->trigger();
    }
    HttpTestServer server;
};

TEST_F(OpenUrlTest, APagesPicturesAreListedAndTheChosenOneOpens)
{
    QStringList listed;
    QString statusAfterLoad, addressChosen;
    bool previewShown = false;
    openUrl([&](frmOpenURL* d) {
        d->txtURL->setText(server.address(QStringLiteral("/files/dir/index.html")));
        EXPECT_TRUE(d->Command2_Click());
        statusAfterLoad = d->StatusBar1->currentMessage();
        for (int i = 0; i < d->List1->count(); ++i) listed << d->List1->item(i)->text();
        d->List1->setCurrentRow(0);
        d->List1_DblClick();
        addressChosen = d->txtURL->text();
        previewShown = d->Picture1->isVisible() && !d->Picture1->pixmap().isNull();
        d->Command1_Click();
    });
    EXPECT_EQ(listed, (QStringList{"a.gif", "/files/img/b.jpg", "c.jpeg"}));
    EXPECT_EQ(statusAfterLoad, "Finished");
    EXPECT_EQ(addressChosen, server.address(QStringLiteral("/files/dir/a.gif")));
    EXPECT_TRUE(previewShown);
    // The empty document made first stays; the picture opens as a document of its own.
    ASSERT_EQ(Captions(*frame), (QStringList{"Image1", "Image2", "Bitmap.jpg"}));
    Canvas& canvas = frame->ActiveDocument()->canvas();
    canvas.setScaleMode(kScalePixels);
    EXPECT_EQ(canvas.pixelWidth(), 40);
    EXPECT_EQ(canvas.pixelHeight(), 20);
    EXPECT_EQ(canvas.Point(19, 0), 0x0000FFu);
    EXPECT_EQ(canvas.Point(20, 19), 0xFF0000u);
    for (const char* name : {"Bitmap.tmp", "Bitmap.jpg", "Site.tmp", "Download.tmp"})
        EXPECT_FALSE(QFile::exists(WorkFile(QString::fromLatin1(name)))) << name;
}

TEST_F(OpenUrlTest, OkFetchesATypedPictureFirstAndCancelOpensNothing)
{
    openUrl([&](frmOpenURL* d) { d->txtURL->setText(server.address("/files/img/b.jpg")); d->Command1->click(); });
    EXPECT_EQ(Captions(*frame), (QStringList{"Image1", "Image2", "Bitmap.jpg"}));
    EXPECT_EQ(frame->ActiveDocument()->canvas().pixelWidth(), 64);

    openUrl([&](frmOpenURL* d) {
        d->txtURL->setText(server.address(QStringLiteral("/files/img/b.jpg")));
        EXPECT_TRUE(d->Command2_Click());
        d->Command3->click();
    });
    // Opening the picture took the number 3.
    EXPECT_EQ(Captions(*frame), (QStringList{"Image1", "Image2", "Bitmap.jpg", "Image4"}));
}

TEST_F(OpenUrlTest, EditingTheAddressForgetsTheFetchedPicture)
{
    openUrl([&](frmOpenURL* d) {
        d->txtURL->setText(server.address(QStringLiteral("/files/dir/a.gif")));
        EXPECT_TRUE(d->Command2_Click());
        // The picture changes on the server; the same address typed again is fetched again.
        server.put(QStringLiteral("dir/a.gif"), TwoColourPicture(64, 32, "GIF"));
        const QString address = d->txtURL->text();
        d->txtURL->setText(QString());
        d->txtURL->setText(address);
        d->Command1_Click();
    });
    EXPECT_EQ(frame->ActiveDocument()->canvas().pixelWidth(), 64);
}

TEST_F(OpenUrlTest, AnAddressOfAPictureWithAnotherEndingOrNoneOpensThePicture)
{
    server.put(QStringLiteral("img/d.bmp"), TwoColourPicture(48, 16, "BMP"));
    server.put(QStringLiteral("img/shown"), TwoColourPicture(24, 8, "PNG"));
    const struct { const char* path; int width; } cases[] = {{"/files/img/d.bmp", 48}, {"/files/img/shown", 24}};
    for (const auto& [path, width] : cases) {
        SCOPED_TRACE(path);
        bool previewed = false;
        openUrl([&](frmOpenURL* d) {
            d->txtURL->setText(server.address(QString::fromLatin1(path)));
            EXPECT_TRUE(d->Command2_Click());
            previewed = d->Picture1->isVisible() && !d->Picture1->pixmap().isNull() && !d->List1->isVisible();
            d->Command1_Click();
        });
        EXPECT_TRUE(previewed);
        EXPECT_EQ(frame->ActiveDocument()->windowTitle(), QStringLiteral("Bitmap.jpg"));
        Canvas& canvas = frame->ActiveDocument()->canvas();
        canvas.setScaleMode(kScalePixels);
        EXPECT_EQ(canvas.pixelWidth(), width);
        EXPECT_EQ(canvas.Point(0, 0), 0x0000FFu);
    }
}

TEST_F(OpenUrlTest, APageOfManyPicturesListsTheFirstTenThousand)
{
    server.put(QStringLiteral("many.html"), QByteArray("<img src=\"p.gif\">").repeated(10001));
    int listed = 0;
    QString status;
    openUrl([&](frmOpenURL* d) {
        d->txtURL->setText(server.address(QStringLiteral("/files/many.html")));
        EXPECT_TRUE(d->Command2_Click());
        listed = d->List1->count();
        status = d->StatusBar1->currentMessage();
        d->reject();
    });
    EXPECT_EQ(listed, 10000);
    EXPECT_EQ(status, "Finished: only the first 10000 pictures of the page are listed.");
}

TEST_F(OpenUrlTest, FailuresGiveAMessageAndTheDialogStaysUsable)
{
    MessageBoxes boxes;
    bool stillUsable = false;
    // Each transfer failure's text is checked by the core HttpTransfer tests; here one of them,
    // a refused scheme and text that is no picture at a picture's address.
    server.put(QStringLiteral("fake.gif"), "<html>not a picture</html>");
    openUrl([&](frmOpenURL* d) {
        for (QString address : {server.address("/status/404"), QStringLiteral("ftp://127.0.0.1/a.gif"), server.address("/files/fake.gif")}) {
            d->txtURL->setText(address);
            EXPECT_FALSE(d->Command2_Click()) << address.toStdString();
        }
        // OK after a failed fetch keeps the dialog open.
        d->Command1_Click();
        stillUsable = d->isVisible() && d->Command2->isEnabled() && d->txtURL->isEnabled();
        d->reject();
    });
    EXPECT_TRUE(stillUsable);
    const QStringList texts = boxes.texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[0].contains("error 404"));
    EXPECT_TRUE(texts[1].contains("only http:// and https://"));
    EXPECT_TRUE(texts[2].startsWith(QStringLiteral("Cannot open \"%1\"").arg(server.address("/files/fake.gif"))))
        << texts[2].toStdString();
    EXPECT_EQ(Captions(*frame), (QStringList{"Image1", "Image2"}));
}

TEST_F(OpenUrlTest, ClosingTheDialogDuringATransferStopsIt)
{
    openUrl([&](frmOpenURL* d) {
        d->txtURL->setText(server.address(QStringLiteral("/stall")));
        QTimer::singleShot(300, d, [d] { d->close(); });
        EXPECT_FALSE(d->Command2_Click());
    });
    EXPECT_EQ(VisibleWindow(QStringLiteral("frmOpenURL")), nullptr);
    EXPECT_EQ(Captions(*frame), (QStringList{"Image1", "Image2"}));
}

struct UpdateCheck {
    QString status, latest, current;
    int progress = 0;
    QStringList messages;
    bool plainText = false;   // every label shows its text as it stands, never as markup
};

class UpdateTest : public FrameTest {
protected:
    UpdateCheck check(const QString& address)
    {
        MessageBoxes boxes;
        frmCheckforUpdate dialog(address);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Command1->isVisible(); }, 20000));
        bool plain = true;
        for (const QLabel* label : {dialog.Label1, dialog.Label2, dialog.Label3})
            plain = plain && label->textFormat() == Qt::PlainText;
        return {dialog.Label1->text(), dialog.Label2->text(), dialog.Label3->text(),
                dialog.ProgressBar1->value(), boxes.texts(), plain};
    }
    HttpTestServer server;
};

// The comparisons themselves are checked by the core VersionCheck test.
TEST_F(UpdateTest, ANewerVersionAsksToUpdateAnOlderOneOrAFailureOnlyShowsOnTheStatusLine)
{
    ASSERT_TRUE(server.running());
    const char* notAVersion = "The update server's answer is not a version number.";
    const QByteArray longPage = "<html>\n<img src=\"file:///etc/orvane.png\">\n" + QByteArray(200, 'p') + "</html>";
    // `latest` is the "Latest version:" label after "3.", checked when given.
    const struct { const char* path; QByteArray body; const char* status; const char* message; const char* latest; } cases[] = {
        {"/files/orvane3.upd", "0.100\n", "Finished", "Please update! Version 3.0.100 is out (See readme.txt).", "0.100"},
        {"/files/orvane3.upd", "0.43\r\n", "Finished", nullptr, "0.43"},
        {"/status/500", "", "error 500", nullptr, nullptr},
        {"/files/orvane3.upd", "<b>0.44</b>", notAVersion, nullptr, "<b>0.44</b>"},
        // An answer of many lines shows on one, cut short.
        {"/files/orvane3.upd", longPage, notAVersion, nullptr,
         "<html> <img src=\"file:///etc/orvane.png\"> pppppppppppppppppppppp..."},
        // A long answer stops the transfer early.
        {"/files/orvane3.upd", QByteArray(100000, '0'), "the answer is larger than 4 KB", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        server.put(QStringLiteral("orvane3.upd"), c.body);
        const UpdateCheck r = check(server.address(QString::fromLatin1(c.path)));
        EXPECT_TRUE(r.status.contains(QString::fromLatin1(c.status))) << r.status.toStdString();
        EXPECT_EQ(r.messages, c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{}) << c.status;
        EXPECT_TRUE(r.plainText);
        if (c.latest) {
            EXPECT_EQ(r.latest, "Latest version: 3." + QString::fromLatin1(c.latest));
        }
        if (QByteArray(c.status) != "Finished") {
            EXPECT_LT(r.progress, 14) << c.status;
            continue;
        }
        EXPECT_EQ(r.progress, 14);
        EXPECT_EQ(r.current, "Current version: 3.0.43");
    }
}

} // namespace

} // namespace orv::test
