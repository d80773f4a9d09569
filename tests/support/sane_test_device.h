#pragma once
// SANE's "test" backend as the only scanner, through a private configuration folder
// (SANE_CONFIG_DIR) for the life of the object.
#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

namespace orv::test {

class SaneTestDevice {
public:
    SaneTestDevice()
    {
        write("dll.conf", "test\n");
        write("test.conf",
              "number_of_devices 2\nmode Gray\ndepth 8\nhand-scanner false\nthree-pass false\n"
              "three-pass-order RGB\nresolution_min 1.0\nresolution_max 1200.0\nresolution_quant 1.0\n"
              "resolution 50.0\ntest-picture \"Color pattern\"\ninvert-endianess false\nread-limit false\n"
              "read-limit-size 1\nread-delay false\nread-delay-duration 1000\nread-status-code \"Default\"\n"
              "fuzzy-parameters false\nppl-loss 0\nnon-blocking false\nselect-fd false\n"
              "enable-test-options false\ngeometry_min 0.0\ngeometry_max 200.0\ngeometry_quant 1.0\n"
              "tl_x 0.0\ntl_y 0.0\nbr_x 80.0\nbr_y 100.0\n");
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(dir_.path()));
    }
    ~SaneTestDevice() { qunsetenv("SANE_CONFIG_DIR"); }

private:
    void write(const char* name, const QByteArray& text)
    {
        QFile f(dir_.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QTemporaryDir dir_;
};

} // namespace orv::test
