#pragma once
// Looking for scanners takes seconds where SANE probes the network, so it happens once per
// program run, off the window thread, starting with the first request. The answer arrives on
// the window thread.
#include "desktop/scanner.h"
#include <QObject>
#include <functional>

namespace orv {

// Calls `ready` on the window thread with the devices found: at once when they are known,
// else when the look ends (unless `context` is gone by then).
void WhenScannersKnown(QObject* context, const std::function<void(const QList<ScanDevice>&)>& ready);

// The devices found, or none while the look has not ended.
QList<ScanDevice> KnownScanners();

} // namespace orv
