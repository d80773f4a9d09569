#pragma once
// SANE's "test" backend as the only scanner, through a private configuration folder
// (SANE_CONFIG_DIR) for the life of the object. SANE reads that folder's name once per
// process, the backend's settings at every session.
#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace orv::test {

class SaneTestDevice {
public:
    SaneTestDevice()
    {
        write("dll.conf", "test\n");
        configure({});
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(dir_.path()));
    }
    ~SaneTestDevice() { qunsetenv("SANE_CONFIG_DIR"); }

    // The backend's settings with `changes` made: a key with an empty value is left out.
    void configure(const std::map<std::string, std::string>& changes)
    {
        std::map<std::string, std::string> settings{
            {"number_of_devices", "2"}, {"mode", "Gray"}, {"depth", "8"}, {"hand-scanner", "false"},
            {"three-pass", "false"}, {"three-pass-order", "RGB"}, {"resolution_min", "1.0"},
            {"resolution_max", "1200.0"}, {"resolution_quant", "1.0"}, {"resolution", "50.0"},
            {"test-picture", "\"Color pattern\""}, {"invert-endianess", "false"}, {"read-limit", "false"},
            {"read-limit-size", "1"}, {"read-delay", "false"}, {"read-delay-duration", "1000"},
            {"read-status-code", "\"Default\""}, {"fuzzy-parameters", "false"}, {"ppl-loss", "0"},
            {"non-blocking", "false"}, {"select-fd", "false"}, {"enable-test-options", "false"},
            {"geometry_min", "0.0"}, {"geometry_max", "200.0"}, {"geometry_quant", "1.0"},
            {"tl_x", "0.0"}, {"tl_y", "0.0"}, {"br_x", "80.0"}, {"br_y", "100.0"}};
        for (const auto& [key, value] : changes) settings[key] = value;
        QByteArray text;
        for (const auto& [key, value] : settings)
            if (!value.empty()) text += QByteArray::fromStdString(key + ' ' + value + '\n');
        write("test.conf", text);
    }

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
