#include "desktop/scanner_probe.h"
#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace orv {

namespace {

// Owned by the application object, so that its look ends before the program does.
class ScannerLook : public QObject {
    Q_OBJECT
public:
    static ScannerLook* instance()
    {
        static QPointer<ScannerLook> look;
        if (!look) look = new ScannerLook(QCoreApplication::instance());
        return look;
    }
    ~ScannerLook() override
    {
        thread_->wait();
    }
    bool done = false;
    QList<ScanDevice> devices;

signals:
    void found();

private:
    explicit ScannerLook(QObject* parent) : QObject(parent)
    {
        thread_ = QThread::create([this] { devices = FindScanDevices(); });
        connect(thread_, &QThread::finished, this, [this] {
            done = true;
            emit found();
        });
        thread_->setParent(this);
        thread_->start();
    }
    QThread* thread_ = nullptr;
};

} // namespace

void WhenScannersKnown(QObject* context, const std::function<void(const QList<ScanDevice>&)>& ready)
{
    ScannerLook* look = ScannerLook::instance();
    if (look->done) {
        ready(look->devices);
        return;
    }
    QObject::connect(look, &ScannerLook::found, context, [look, ready] { ready(look->devices); },
                     Qt::SingleShotConnection);
}

QList<ScanDevice> KnownScanners()
{
    ScannerLook* look = ScannerLook::instance();
    return look->done ? look->devices : QList<ScanDevice>();
}

} // namespace orv

#include "scanner_probe.moc"
