// File > Save All, Page Setup, Print Preview and Help > About.
#include "desktop/print_page.h"
#include "desktop/ui/frmPageSetup.h"
#include "desktop/ui/frmPrintPreview.h"
#include "orvane_version.h"
#include "shell/ui/frmAbout.h"
#include "shell/ui/window_bar.h"
#include "tests/gui/gui_fixture.h"
#include "tests/gui/pdf_pages.h"
#include "tests/support/test_pictures.h"
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTreeWidget>

namespace orv::test {

namespace {

// Answers every save dialog, in the order they open, with the next name; an empty name cancels.
class SaveDialogs {
public:
    explicit SaveDialogs(QStringList names) : names_(std::move(names))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->property("answered").toBool()) return;
            dialog->setProperty("answered", true);
            ++shown;
            const QString name = names_.value(shown - 1);
            if (name.isEmpty()) return dialog->reject();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        timer_.start();
    }
    int shown = 0;

private:
    QStringList names_;
    QTimer timer_;
};

class FileCommandsTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        layoutBefore = SessionPageLayout();
    }
    void TearDown() override
    {
        SetSessionPageLayout(layoutBefore);
        DocumentTest::TearDown();
    }
    // A changed document whose picture is a line of its own colour.
    void change(frmDocument* d, ColorRef color)
    {
        d->canvas().setForeColor(color);
        d->canvas().Line(3, 4, 60, 40);
        d->Changed = true;
    }
    QImage picture(frmDocument* d) { return d->canvas().Image().convertToFormat(kPixelFormat); }
    frmDocument* open(const QString& name)
    {
        frame->OpenFile(WriteBmp(dir.filePath(name), NewPixelBuffer(80, 50, 0xFFFFFF)));
        return frame->ActiveDocument();
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QPageLayout layoutBefore;
};

TEST_F(FileCommandsTest, SaveAllSavesEveryChangedPictureInWindowBarOrderByItsFileOrThroughSaveAs)
{
    frmDocument* opened = open(QStringLiteral("a.bmp"));   // slot 1
    frame->mnuFileNew_Click();                               // Image2, slot 2
    frmDocument* second = frame->ActiveDocument();
    doc->subWindow()->close();                               // frees slot 0
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frame->mnuFileNew_Click();                               // Image3 takes slot 0: first in the bar, last made
    frmDocument* first = frame->ActiveDocument();
    ASSERT_EQ(frame->windowBar()->barSlots()[0].Form, first);
    change(first, 0x0000FF);
    change(opened, 0x00FF00);
    change(second, 0xFF0000);

    SaveDialogs dialogs({path("first.bmp"), path("second.png")});
    EXPECT_TRUE(frame->mnuFileSaveAll_Click());
    EXPECT_EQ(dialogs.shown, 2);   // the opened picture is saved to its own file
    EXPECT_EQ(Captions(*frame), (QStringList{"a.bmp", "second.png", "first.bmp"}));
    const std::pair<frmDocument*, const char*> saved[] = {{first, "first.bmp"}, {opened, "a.bmp"}, {second, "second.png"}};
    for (auto [d, name] : saved) {
        EXPECT_FALSE(d->Changed) << name;
        EXPECT_EQ(DecodePictureFile(path(name)).image, picture(d)) << name;
    }

    // Nothing changed: nothing is asked or written.
    EXPECT_TRUE(frame->mnuFileSaveAll_Click());
    EXPECT_EQ(dialogs.shown, 2);
}

TEST_F(FileCommandsTest, CancelInASaveAsOfSaveAllLeavesThatPictureAndTheRestUnsaved)
{
    frmDocument* opened = open(QStringLiteral("b.bmp"));   // after Image1 in the bar
    const QByteArray file = ReadAll(path("b.bmp"));
    change(doc, 0x0000FF);
    change(opened, 0x00FF00);

    SaveDialogs dialogs({QString()});
    EXPECT_FALSE(frame->mnuFileSaveAll_Click());
    EXPECT_EQ(dialogs.shown, 1);
    EXPECT_TRUE(doc->Changed);
    EXPECT_TRUE(opened->Changed);
    EXPECT_EQ(ReadAll(path("b.bmp")), file);
}

// How many pixels of two pages of one size differ by more than a blurred edge does.
int DifferentPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) > 64) ++n;
        }
    return n;
}

TEST_F(FileCommandsTest, PageSetupReachesPrintAndThePreviewShowsThePageThatPrintWrites)
{
    // Four coloured quarters, taller than the page's area between its margins.
    QImage quarters = NewPixelBuffer(500, 600, 0xFF0000);
    {
        QPainter p(&quarters);
        p.fillRect(250, 0, 250, 300, QColor(0, 160, 0));
        p.fillRect(0, 300, 250, 300, QColor(0, 0, 200));
        p.fillRect(250, 300, 250, 300, QColor(0, 0, 0));
    }
    doc->canvas().setAutoSize(true);
    doc->canvas().setPicture(quarters);
    doc->canvas().setAutoSize(false);

    runDialog<frmPageSetup>("mnuFilePageSetup", [](frmPageSetup* d) {
        d->Combo1->setCurrentIndex(d->Combo1->findText(QPageSize::name(QPageSize::A5)));
        d->Option2->setChecked(true);
        d->MarginLeft->setValue(30);
        d->MarginTop->setValue(10);
        d->MarginRight->setValue(5);
        d->MarginBottom->setValue(20);
        d->Command1->click();
    });
    const QPageLayout chosen = SessionPageLayout();
    EXPECT_EQ(chosen.orientation(), QPageLayout::Landscape);

    // From the preview, Print prints to a PDF file.
    const QString pdf = path("printed.pdf");
    QPageLayout offered;
    WithNextModal<QPrintDialog>([&](QPrintDialog* d) {
        offered = d->printer()->pageLayout();
        auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers"));
        ASSERT_NE(printers, nullptr);
        printers->setCurrentIndex(printers->count() - 1);   // print to a PDF file
        d->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(pdf);
        d->accept();
    });
    QImage previewed;
    runDialog<frmPrintPreview>("mnuFilePrintPreview", [&](frmPrintPreview* d) {
        previewed = d->pageImage();
        d->Command1->click();
    });
    EXPECT_TRUE(offered.isEquivalentTo(chosen));
    EXPECT_EQ(offered.margins(QPageLayout::Millimeter), QMarginsF(30, 10, 5, 20));
    const QList<QImage> printed = PdfPages(pdf);
    ASSERT_EQ(printed.size(), 1);

    // A5 across, 210 x 148 mm; between the margins 175 mm (661 pixels) across, from 30 mm (113
    // pixels) in: the picture is centred there and cut at the top and bottom margins.
    const QRect expected(194, 38, 500, 446);
    for (const QImage& page : {previewed, printed[0]}) {
        EXPECT_NEAR(page.width(), 794, 1);
        EXPECT_NEAR(page.height(), 559, 1);
        const QRect box = Inked(page);
        EXPECT_NEAR(box.left(), expected.left(), 1);
        EXPECT_NEAR(box.top(), expected.top(), 1);
        EXPECT_NEAR(box.right(), expected.right(), 1);
        EXPECT_NEAR(box.bottom(), expected.bottom(), 1);
    }
    const QSize common = previewed.size().boundedTo(printed[0].size());
    EXPECT_LT(DifferentPixels(previewed.copy(QRect({}, common)), printed[0].copy(QRect({}, common))),
              common.width() * common.height() / 100);
}

TEST_F(FileCommandsTest, MarginsThatLeaveNoRoomOnThePageAreRefusedAndTheDialogStaysOpen)
{
    frmPageSetup d(doc);
    d.Combo1->setCurrentIndex(d.Combo1->findText(QPageSize::name(QPageSize::A4)));
    d.Option1->setChecked(true);
    d.MarginLeft->setValue(110);
    d.MarginRight->setValue(100);
    d.show();
    QString message;
    AnswerNextMessageBox(QMessageBox::Ok, &message);
    d.Command1->click();
    EXPECT_EQ(message, "The margins leave no room on the page: the A4 sheet is 210 mm wide and 297 mm high this "
                       "way round. Make the margins smaller.");
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(SessionPageLayout().isEquivalentTo(layoutBefore));
}

// The leading version numbers of a text: "1.1.1-debian" and "1.1.1 (AVX2)" both give "1.1.1".
QString VersionNumbers(const QString& text)
{
    return QRegularExpression(QStringLiteral("^\\d+(\\.\\d+)*")).match(text).captured();
}

TEST_F(FileCommandsTest, AboutShowsTheVersionTheLicenceAndTheVersionsOfTheLibrariesInUse)
{
    QMap<QString, QString> shown;
    QString version, licence, licenceText;
    runDialog<frmAbout>("mnuHelpAbout", [&](frmAbout* d) {
        version = d->Label2->text();
        licence = d->Label3->text();
        for (int i = 0; i < d->List1->topLevelItemCount(); ++i)
            shown[d->List1->topLevelItem(i)->text(0)] = d->List1->topLevelItem(i)->text(1);
        WithNextModal<QDialog>([&](QDialog* text) {
            licenceText = text->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
            text->accept();
        });
        d->Command2->click();
        d->accept();
    });
    EXPECT_TRUE(version.endsWith(" " ORVANE_VERSION_TEXT)) << version.toStdString();
    EXPECT_TRUE(licence.contains("GPL-3.0-or-later")) << licence.toStdString();
    EXPECT_TRUE(licenceText.startsWith("                    GNU GENERAL PUBLIC LICENSE\n"
                                       "                       Version 3, 29 June 2007"));
    EXPECT_TRUE(licenceText.trimmed().endsWith("<https://www.gnu.org/licenses/why-not-lgpl.html>."));

    // Each library's own account of its version, as the system's package list has it.
    const std::pair<const char*, const char*> libraries[] = {
        {"Qt", "Qt6Core"}, {"GraphicsMagick", "GraphicsMagick"}, {"libcurl", "libcurl"}, {"SANE", "sane-backends"},
        {"Highway", "libhwy"}, {"TurboJPEG", "libturbojpeg"}, {"libspng", "spng"},
        {"zstd", "libzstd"}, {"zlib", "zlib"}};
    EXPECT_EQ(shown.size(), std::size(libraries));
    for (auto [name, package] : libraries) {
        QProcess pkgConfig;
        pkgConfig.start(QStringLiteral("pkg-config"), {"--modversion", package});
        ASSERT_TRUE(pkgConfig.waitForFinished());
        const QString installed = QString::fromUtf8(pkgConfig.readAllStandardOutput()).trimmed();
        EXPECT_FALSE(VersionNumbers(installed).isEmpty()) << package;
        EXPECT_EQ(VersionNumbers(shown.value(name)), VersionNumbers(installed)) << name;
    }
}

} // namespace

} // namespace orv::test
