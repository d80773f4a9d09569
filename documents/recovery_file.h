#pragma once
// Recovery copies: the unsaved state of a document kept on disk so that a crash or a killed
// process loses at most the last few seconds of work.
//
// A copy is a small file of the program's own: a fixed header (magic, version, picture size,
// JPEG quality, time, the lengths of what follows and a CRC-32 over all of it), the caption and
// the document's file in UTF-8, then the pixels as three colour planes, each byte stored as
// its difference to the left neighbour (smooth areas become runs of small values) and
// compressed with zstd at a fast level. Writing a copy replaces the old one atomically, so a
// copy is whole or absent; reading one checks every size against the picture limits before
// allocating and the checksum before decoding, so a damaged copy is refused, never opened half.
#include <QDateTime>
#include <QImage>
#include <QString>

namespace orv {

struct RecoveryCopy {
    QImage pixels;          // kPixelFormat; null when only the description was read
    QSize size;
    QString caption;
    QString filePath;       // the file Save writes; empty when it asks for a name
    int jpegQuality = 85;
    QDateTime time;
};

// Writes `copy` to `path` atomically (temporary file, fsync, rename): on any failure whatever
// was at `path` stays as it was, and *error says why. The picture is let go as soon as it is
// packed, before compression and the write: a canvas that shares it is drawn on again without
// copying its pixels for the rest of the write.
bool WriteRecoveryCopy(RecoveryCopy copy, const QString& path, QString* error);

// Reads the copy at `path`; the pixels are decoded only `withPixels`. The whole file is
// checked either way. False with the reason in *error for a copy that is cut short, damaged
// or no recovery copy at all.
bool ReadRecoveryCopy(const QString& path, bool withPixels, RecoveryCopy* copy, QString* error);

} // namespace orv
