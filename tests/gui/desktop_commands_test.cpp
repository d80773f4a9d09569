#include "desktop/scanner.h"
#include "desktop/ui/frmScan.h"
#include "desktop/ui/print_command.h"
#include "desktop/wallpaper.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include "tests/gui/gui_fixture.h"
#include "tests/gui/pdf_pages.h"
#include "tests/support/test_pictures.h"
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <optional>

namespace orv::test {

namespace {

bool ScanMenuEnabled(QMenu* scan) { return scan && scan->menuAction()->isEnabled(); }

class ScanTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        // The one look for scanners of this run finds SANE's test devices.
        ASSERT_TRUE(QTest::qWaitFor([&] { return ScanMenuEnabled(doc->findChild<QMenu*>("mnuFileScan")); }, 20000));
    }
};

TEST_F(ScanTest, TheScanMenusAreEnabledOnceAScannerIsFound)
{
    EXPECT_TRUE(ScanMenuEnabled(frame->findChild<QMenu*>("mnuFileScan")));
    // A document made later finds them at once.
    frame->mnuFileNew_Click();
    EXPECT_TRUE(ScanMenuEnabled(frame->ActiveDocument()->findChild<QMenu*>("mnuFileScan")));
}

TEST_F(ScanTest, AScanOpensAsANewDocumentAndLeavesNoWorkFile)
{
    WithNextModal<frmScan>([](frmScan* d) {
        EXPECT_EQ(d->Combo1->currentText(), "Gray");
        d->Combo1->setCurrentText(QStringLiteral("Color"));
        d->Combo2->setCurrentIndex(d->Combo2->findData(75));
        d->Command1->click();
    });
    trigger("mnuFileScanScan");
    ASSERT_EQ(Captions(*frame), (QStringList{"Image1", "Image2"}));
    std::atomic<bool> cancel{false};
    const ScanResult direct = AcquirePicture(QStringLiteral("test:0"), {QStringLiteral("Color"), 75}, {}, cancel);
    ASSERT_TRUE(direct.ok());
    const QImage scanned = frame->ActiveDocument()->canvas().Image().convertToFormat(kPixelFormat);
    EXPECT_EQ(scanned.size(), QSize(236, 295));   // 80 x 100 mm at 75 dots per inch
    EXPECT_EQ(scanned, direct.image);
    EXPECT_FALSE(QFile::exists(WorkFile(QStringLiteral("Scan.tmp"))));
}

TEST_F(ScanTest, AScanFinishingAfterItsDocumentClosedOpensThePictureInTheFrame)
{
    QPointer<frmDocument> scanning = doc;
    WithNextModal<frmScan>([&](frmScan* d) {
        scanning->subWindow()->close();   // the only document
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(scanning.isNull());
        d->Combo2->setCurrentIndex(d->Combo2->findData(75));
        d->Command1->click();
    });
    trigger("mnuFileScanScan");
    EXPECT_EQ(Captions(*frame), QStringList{"Image2"});
    ASSERT_NE(frame->ActiveDocument(), nullptr);
    EXPECT_EQ(frame->ActiveDocument()->canvas().Image().size(), QSize(236, 295));
    EXPECT_TRUE(frame->toolbarButton(3)->isEnabled());
    EXPECT_FALSE(QFile::exists(WorkFile(QStringLiteral("Scan.tmp"))));
}

TEST_F(ScanTest, TheChosenSourceIsUsedForTheRestOfTheRunAndCancelOpensNothingAndSaysNothing)
{
    WithNextModal<QInputDialog>([](QInputDialog* d) {
        ASSERT_EQ(d->comboBoxItems().size(), 2);
        d->setTextValue(d->comboBoxItems()[1]);
        d->accept();
    });
    trigger("mnuFileScanSelectSource");
    QString device;
    WithNextModal<frmScan>([&](frmScan* d) { device = d->Label1->text(); d->Command2->click(); });
    trigger("mnuFileScanScan");
    EXPECT_EQ(Captions(*frame), QStringList{"Image1"});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const QList<ScanDevice> devices = FindScanDevices();
    ASSERT_EQ(devices.size(), 2);
    EXPECT_EQ(device, devices[1].label);
    // Back to the first for the other tests of this run.
    WithNextModal<QInputDialog>([](QInputDialog* d) { d->setTextValue(d->comboBoxItems()[0]); d->accept(); });
    trigger("mnuFileScanSelectSource");
}

class WallpaperTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsDir.filePath(QStringLiteral("config"))));
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    void TearDown() override
    {
        qunsetenv("GSETTINGS_BACKEND");
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_CURRENT_DESKTOP");
        DocumentTest::TearDown();
    }
    QString keyfile() const
    {
        return QString::fromUtf8(ReadAll(settingsDir.filePath(QStringLiteral("config/glib-2.0/settings/keyfile"))));
    }
};

TEST_F(WallpaperTest, ThePictureIsWrittenCentredAndRecordedOnce)
{
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    // Tiled before.
    QProcess::execute(QStringLiteral("gsettings"), {"set", "org.gnome.desktop.background", "picture-options", "wallpaper"});
    Canvas& canvas = doc->canvas();
    canvas.setForeColor(0x0000FF);
    canvas.Line(2, 3, 40, 30);
    for (int i = 0; i < 2; ++i) trigger("mnuWallpaper");
    const QString path = WallpaperFilePath();
    EXPECT_EQ(DecodePictureFile(path).image, canvas.Image().convertToFormat(kPixelFormat));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList({"*Wallpapper*"}, QDir::Files), QStringList{"Orvane 3.0 Wallpapper.bmp"});
    const QString keys = keyfile();
    EXPECT_TRUE(keys.contains("picture-options='centered'")) << keys.toStdString();
    EXPECT_TRUE(keys.contains("picture-uri='" + QUrl::fromLocalFile(path).toString() + "'")) << keys.toStdString();
}

TEST_F(WallpaperTest, ADesktopWithoutAnInterfaceThatTakesItGetsAMessage)
{
    // No wallpaper portal or KDE shell on a session bus; GNOME's settings either belong to no
    // running desktop (another one, or a bare window manager that names none) or are forgotten.
    const struct { const char* desktop; const char* backend; } cases[] = {
        {"XFCE", "keyfile"}, {"", "keyfile"}, {"GNOME", "memory"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.desktop) + " " + c.backend);
        qputenv("XDG_CURRENT_DESKTOP", c.desktop);
        qputenv("GSETTINGS_BACKEND", c.backend);
        QFile::remove(WallpaperFilePath());
        QString message;
        WithNextModal<QMessageBox>([&](QMessageBox* box) { message = box->text(); box->accept(); });
        trigger("mnuWallpaper");
        EXPECT_TRUE(message.contains("is saved as \"" + WallpaperFilePath() + "\", but no desktop interface"))
            << message.toStdString();
        EXPECT_TRUE(QFile::exists(WallpaperFilePath()));
        EXPECT_FALSE(keyfile().contains("picture-uri"));
    }
}

// A wallpaper portal: it replies to a request with the request's path and then, in that
// request's Response signal, gives `answer` (or never answers).
class FakePortal : public QDBusVirtualObject {
public:
    std::optional<uint> answer;
    QString uri;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override
    {
        uri = call.arguments().value(1).toString();
        const QString token = qdbus_cast<QVariantMap>(call.arguments().value(2)).value("handle_token").toString();
        const QString request = "/org/freedesktop/portal/desktop/request/"
                                + call.service().mid(1).replace('.', '_') + "/" + token;
        bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (answer)
            bus.send(QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response") << *answer
                                                                                                    << QVariantMap());
        return true;
    }
};

TEST_F(WallpaperTest, ThePortalsLaterResponseDecidesAndACancelOrFailureIsReported)
{
    QProcess daemon;   // a session bus of the test's own
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    FakePortal portal;
    {
        QDBusConnection portalBus = QDBusConnection::connectToBus(address, QStringLiteral("fake-portal"));
        ASSERT_TRUE(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        ASSERT_TRUE(portalBus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal));
        const QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("wallpaper"));
        const struct { std::optional<uint> answer; const char* says; } cases[] = {
            {0u, nullptr}, {1u, "setting it as the wallpaper was cancelled."},
            {2u, "the wallpaper portal reported that it could not set it as the wallpaper."},
            {std::nullopt, "the wallpaper portal gave no answer within 0.5 seconds."}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.says ? c.says : "done");
            portal.answer = c.answer;
            QString error;
            EXPECT_EQ(SetDesktopWallpaper(doc->canvas().Image(), &error, bus, 500), !c.says);
            EXPECT_TRUE(c.says ? error.contains(QString::fromLatin1(c.says)) : error.isEmpty()) << error.toStdString();
        }
        EXPECT_EQ(portal.uri, QUrl::fromLocalFile(WallpaperFilePath()).toString());
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("wallpaper"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    daemon.kill();
    daemon.waitForFinished();
}

// The pages that `copies` copies of `picture` print to, at 96 dots per inch.
QList<QImage> PrintedPages(const QImage& picture, int copies)
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    UseSessionPageLayout(printer);   // no page setup: the sheet without margins
    printer.setOutputFileName(dir.filePath("out.pdf"));
    QString error;
    EXPECT_TRUE(PrintPicture(printer, picture, copies, &error)) << error.toStdString();
    return PdfPages(dir.filePath("out.pdf"));
}

TEST(Printing, EachCopyIsAPageWithThePictureCentredAtItsScreenSizeAndAWiderPictureIsCutAtTheSheetsEdges)
{
    const QList<QImage> pages = PrintedPages(NewPixelBuffer(192, 96, 0x800000), 3);
    ASSERT_EQ(pages.size(), 3);
    for (const QImage& page : pages) {
        const QRect box = Inked(page, 200);
        // Two inches by one, in the middle of the sheet.
        EXPECT_NEAR(box.width(), 192, 2);
        EXPECT_NEAR(box.height(), 96, 2);
        EXPECT_NEAR(box.center().x(), page.width() / 2, 2);
        EXPECT_NEAR(box.center().y(), page.height() / 2, 2);
    }

    // A picture wider than the sheet is cut at its edges.
    const QList<QImage> wide = PrintedPages(NewPixelBuffer(3000, 40, 0x000080), 1);
    ASSERT_EQ(wide.size(), 1);
    const QRect box = Inked(wide[0], 200);
    EXPECT_EQ(box.left(), 0);
    EXPECT_EQ(box.right(), wide[0].width() - 1);
    EXPECT_NEAR(box.center().y(), wide[0].height() / 2, 2);
}

TEST_F(DocumentTest, CancelInThePrintDialogPrintsNothing)
{
    PrintDialogResult result;
    result.Copies = 5;
    QPrinter printer;
    WithNextModal<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
    ShowPrintDialog(result, printer, doc, 0, 0);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Copies, 0);
    WithNextModal<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
    trigger("mnuFilePrint");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace

} // namespace orv::test
