#include "desktop/scanner.h"
#include "tests/support/sane_test_device.h"
#include "tests/support/test_pictures.h"
#include <QProcess>
#include <dlfcn.h>
#include <pthread.h>
#include <thread>
#include <gtest/gtest.h>

namespace orv {

namespace {

// The same device's picture as SANE's own command-line front end scans it.
QImage ScanimagePicture(const QStringList& options)
{
    QProcess p;
    p.start(QStringLiteral("scanimage"), QStringList{QStringLiteral("-d"), QStringLiteral("test:0"),
                                                     QStringLiteral("--format=pnm")} + options);
    if (!p.waitForFinished(30000)) return {};
    return QImage::fromData(p.readAllStandardOutput(), "PPM").convertToFormat(QImage::Format_RGB888);
}

void ExpectSamePixels(const QImage& ours, const QImage& reference)
{
    ASSERT_FALSE(reference.isNull());
    ASSERT_EQ(ours.size(), reference.size());
    int differing = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb r = reference.pixel(x, y);
            if (test::At(ours, x, y) != RGB(qRed(r), qGreen(r), qBlue(r))) ++differing;
        }
    EXPECT_EQ(differing, 0);
}

// SANE's test backend reads its settings once per process, so every scanner test of this
// program shares one configuration.
class Scanner : public ::testing::Test {
protected:
    static void SetUpTestSuite() { device = new test::SaneTestDevice; }
    static void TearDownTestSuite() { delete device; }
    void TearDown() override { device->configure({}); }
    static test::SaneTestDevice* device;
};
test::SaneTestDevice* Scanner::device = nullptr;

TEST_F(Scanner, FindsTheDevicesAndWhatTheyOffer)
{
    const QList<ScanDevice> devices = FindScanDevices();
    ASSERT_EQ(devices.size(), 2);
    EXPECT_EQ(devices[0].name, "test:0");
    EXPECT_EQ(devices[1].name, "test:1");
    EXPECT_FALSE(devices[0].label.isEmpty());

    ScanChoices choices;
    QString error;
    ASSERT_TRUE(ReadScanChoices(QStringLiteral("test:0"), &choices, &error)) << error.toStdString();
    EXPECT_EQ(choices.modes, (QStringList{"Gray", "Color"}));
    EXPECT_EQ(choices.mode, "Gray");
    EXPECT_EQ(choices.resolution, 50);
    EXPECT_TRUE(choices.resolutions.contains(300));
}

TEST_F(Scanner, PicturesMatchSanesOwnFrontEnd)
{
    std::atomic<bool> cancel{false};
    const ScanResult colour = AcquirePicture(QStringLiteral("test:0"), {QStringLiteral("Color"), 50}, {}, cancel);
    ASSERT_TRUE(colour.ok()) << colour.error.toStdString();
    // 80 x 100 mm at 50 dots per inch.
    EXPECT_EQ(colour.image.size(), QSize(157, 196));
    ExpectSamePixels(colour.image, ScanimagePicture({"--mode", "Color", "--resolution", "50"}));

    const ScanResult gray = AcquirePicture(QStringLiteral("test:0"), {QStringLiteral("Gray"), 75}, {}, cancel);
    ASSERT_TRUE(gray.ok()) << gray.error.toStdString();
    ExpectSamePixels(gray.image, ScanimagePicture({"--mode", "Gray", "--resolution", "75"}));
}

TEST_F(Scanner, TheResolutionIsOneTheDeviceAllowsEvenWhenItReportsAnother)
{
    // The device allows 1 to 1200 dots per inch; without a setting it reports 0.
    const struct { const char* setting; int expected; } cases[] = {{"", 1}, {"5000.0", 1200}, {"250.0", 250}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        device->configure({{"resolution", c.setting}});
        ScanChoices choices;
        QString error;
        ASSERT_TRUE(ReadScanChoices(QStringLiteral("test:0"), &choices, &error)) << error.toStdString();
        EXPECT_EQ(choices.resolution, c.expected);
        EXPECT_TRUE(choices.resolutions.contains(c.expected));
        for (int dpi : choices.resolutions) EXPECT_TRUE(dpi >= 1 && dpi <= 1200) << dpi;
    }
}

TEST_F(Scanner, AThreePassScannersFramesLandInTheirOwnChannels)
{
    std::atomic<bool> cancel{false};
    const ScanResult onePass = AcquirePicture(QStringLiteral("test:0"), {QStringLiteral("Color"), 50}, {}, cancel);
    ASSERT_TRUE(onePass.ok()) << onePass.error.toStdString();
    for (const char* order : {"RGB", "BGR", "GBR"}) {
        SCOPED_TRACE(order);
        device->configure({{"three-pass", "true"}, {"three-pass-order", order}});
        const ScanResult threePass = AcquirePicture(QStringLiteral("test:0"), {QStringLiteral("Color"), 50}, {}, cancel);
        ASSERT_TRUE(threePass.ok()) << threePass.error.toStdString();
        EXPECT_TRUE(threePass.image == onePass.image);
    }
}

TEST_F(Scanner, CancelAndFailuresAreTold)
{
    std::atomic<bool> cancel{false};
    std::vector<int> steps;
    const ScanResult stopped = AcquirePicture(QStringLiteral("test:0"), {QStringLiteral("Color"), 300},
                                              [&](int percent) { steps.push_back(percent); cancel = true; }, cancel);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.error.isEmpty());
    EXPECT_EQ(steps.size(), 1u);

    cancel = false;
    const ScanResult missing = AcquirePicture(QStringLiteral("test:9"), {}, {}, cancel);
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error.startsWith("Cannot scan from \"test:9\": ")) << missing.error.toStdString();
    const ScanResult badMode = AcquirePicture(QStringLiteral("test:0"), {QStringLiteral("Infrared"), 0}, {}, cancel);
    EXPECT_FALSE(badMode.ok());
}

// SANE's reader threads ask for asynchronous cancellation; a backend, loaded later, binds to
// the program's answer, which keeps it deferred.
TEST(ScannerThreads, CancellationStaysDeferred)
{
    using Call = int (*)(int, int*);
    const auto setCancelType = reinterpret_cast<Call>(dlsym(RTLD_DEFAULT, "pthread_setcanceltype"));
    ASSERT_NE(setCancelType, nullptr);
    int type = -1;
    std::thread([&] {
        setCancelType(PTHREAD_CANCEL_ASYNCHRONOUS, nullptr);
        setCancelType(PTHREAD_CANCEL_DEFERRED, &type);
    }).join();
    EXPECT_EQ(type, PTHREAD_CANCEL_DEFERRED);
}

} // namespace

} // namespace orv
