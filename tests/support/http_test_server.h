#pragma once
// The tests' web server (http_test_server.py) on 127.0.0.1, serving the files of a temporary
// folder under /files/ and answers that fail on purpose (/status/N, /stall, /huge, /cut, ...).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv::test {

class HttpTestServer {
public:
    HttpTestServer()
    {
        process_.start(QStringLiteral("python3"),
                       {QStringLiteral(ORVANE_TEST_SUPPORT_DIR "/http_test_server.py"), root_.path()});
        if (process_.waitForReadyRead(10000)) port_ = process_.readLine().trimmed().toInt();
    }
    ~HttpTestServer()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool running() const { return port_ > 0; }
    // The address of `path` on the server ("/files/a.gif").
    QString address(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
    }
    // Places a file to be served under /files/<name>.
    void put(const QString& name, const QByteArray& bytes)
    {
        const QString full = root_.filePath(name);
        QDir().mkpath(QFileInfo(full).path());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private:
    QTemporaryDir root_;
    QProcess process_;
    int port_ = 0;
};

} // namespace orv::test
