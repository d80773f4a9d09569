#pragma once
// Scanners and cameras through SANE: which devices there are, what a device offers, and
// acquiring one picture. Every call opens and closes its own SANE session, so no device stays
// claimed between commands. The calls block; the editor runs them off its window thread.
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace orv {

struct ScanDevice {
    QString name;    // SANE's device name, "test:0"
    QString label;   // vendor, model and type, for people
};

// The devices SANE finds (local and network). Empty when there are none or SANE fails.
QList<ScanDevice> FindScanDevices();

// What a device offers for the scan dialog: its modes and resolutions, and the current ones.
struct ScanChoices {
    QStringList modes;
    QString mode;
    QList<int> resolutions;   // dots per inch
    int resolution = 0;
};
bool ReadScanChoices(const QString& device, ScanChoices* choices, QString* error);

struct ScanSettings {
    QString mode;          // empty keeps the device's own
    int resolution = 0;    // 0 keeps the device's own
};

struct ScanResult {
    QImage image;            // kPixelFormat
    QString error;           // "Cannot scan from "<device>": <reason>."; empty on success
    bool cancelled = false;  // the caller's cancel flag ended the scan: no message is due
    bool ok() const { return error.isEmpty() && !cancelled; }
};

// Acquires one picture. `progress` (0 to 100) is called from the scanning thread; setting
// `cancel` ends the scan with `cancelled` set.
ScanResult AcquirePicture(const QString& device, const ScanSettings& settings,
                          const std::function<void(int percent)>& progress,
                          const std::atomic<bool>& cancel);

// SANE's version as the library reports it ("1.1.1"); empty when SANE cannot start. Waits
// only while another call is starting SANE.
QString ScannerLibraryVersion();

} // namespace orv
