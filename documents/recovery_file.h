#pragma once
// Recovery copies: the unsaved state of a document kept on disk so that a crash or a killed
// process loses at most the last few seconds of work.
//
// A copy is a small file of the program's own: a fixed header (magic, version, picture size,
// JPEG quality, time, the lengths of what follows, rows per band and a CRC-32 over all of it),
// the caption and the document's file in UTF-8, a table of the bands' sizes, then the pixels in
// bands of rows. Each row is stored as three rows of colour bytes, each byte as its difference
// to the mean of its left and upper neighbours (smooth areas become runs of small values);
// each band is compressed with zstd at a fast level on its own, so that all cores pack and
// unpack bands at once.
// Writing a copy replaces the old one atomically, so a copy is whole or absent; reading one
// checks every size and the band table against the picture limits and the file before
// allocating, and gives no picture unless every band unpacks to its size and the checksum
// matches, so a damaged copy is refused, never opened half. Copies of the first version (one
// stream of three whole colour planes) are still read.
#include <QDateTime>
#include <QImage>
#include <QString>
#include <memory>

namespace orv {

class PictureSnapshot;

struct RecoveryCopy {
    QImage pixels;          // read back: kPixelFormat; null when only the description was read
    QSize size;
    QString caption;
    QString filePath;       // the file Save writes; empty when it asks for a name
    int jpegQuality = 85;
    QDateTime time;
};

// Writes the description in `copy` and the pixels of `pixels` to `path` atomically (temporary
// file, fsync, rename): on any failure whatever was at `path` stays as it was, and *error says
// why. The rows are read from the snapshot one band at a time as they are packed, and the
// snapshot is let go before the file is written.
bool WriteRecoveryCopy(const RecoveryCopy& copy, std::shared_ptr<PictureSnapshot> pixels, const QString& path,
                       QString* error);

// Reads the copy at `path`; the pixels are decoded only `withPixels`. The whole file is
// checked either way. False with the reason in *error for a copy that is cut short, damaged
// or no recovery copy at all.
bool ReadRecoveryCopy(const QString& path, bool withPixels, RecoveryCopy* copy, QString* error);

} // namespace orv
