// Test entry point: one application object for the whole run, on the offscreen platform
// unless the caller chose another (screenshots under xvfb use xcb).
#include "platform/picture_codec.h"
#include <gtest/gtest.h>
#ifdef ORVANE_GUI_TESTS
#include "tests/support/sane_test_device.h"
#include <QApplication>
using App = QApplication;
#else
#include <QGuiApplication>
using App = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
#ifdef ORVANE_GUI_TESTS
    // The program looks for scanners once per run: here it finds SANE's test devices, quickly,
    // instead of probing the network.
    orv::test::SaneTestDevice scanners;
#endif
    App app(argc, argv);
    orv::EnsurePictureCodecsReady();   // tests that make pictures with GraphicsMagick directly
    return RUN_ALL_TESTS();
}
