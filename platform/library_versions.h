#pragma once
// The libraries the program is built on, with their versions: read from each library while the
// program runs where the library tells it, else the version the program was built against.
#include <QList>
#include <QString>

namespace orv {

struct LibraryVersion {
    QString name;
    QString version;
};

// Qt, GraphicsMagick, libcurl, Highway (with the instruction set it chose on this machine),
// TurboJPEG and libspng. SANE lives with the scanner code (ScannerLibraryVersion).
QList<LibraryVersion> LibraryVersions();

} // namespace orv
