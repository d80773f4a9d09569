#pragma once
// Finding picture references in the text of a web page, and turning a typed address or a
// reference into an address to fetch.
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <atomic>

namespace orv {

// The most references a page's list holds; a page may name many more.
constexpr qsizetype kMaxListedReferences = 10000;
// A longer run of text before a picture ending is no address and is not listed.
constexpr qsizetype kMaxReferenceLength = 2048;

struct PictureReferenceList {
    QStringList references;
    bool more = false;   // the page holds further references beyond the kMaxListedReferences listed
};

// The picture references of a page's UTF-8 text, line by line (a line's "\r" before its "\n"
// dropped): in each line those ending in ".gif", then ".jpg", then ".jpeg". For every
// occurrence of an ending, the reference is the characters before it back to the nearest double
// quote or equals sign, followed by the ending. The match is case-sensitive, so "A.GIF" is not
// found, and the scan for an ending goes on four characters after each match (a reference
// never reaches back before that point). References longer than kMaxReferenceLength bytes are
// left out. The text is read once, in place; the scan stops early
// when `cancel` is set.
PictureReferenceList PictureReferences(QByteArrayView pageText, const std::atomic<bool>& cancel);

// True for an address fetched as a picture rather than scanned as a page: one ending in
// ".jpg", ".jpeg" or ".gif", in any case.
bool IsPictureAddress(const QString& address);

// A typed address made ready to fetch: surrounding blanks dropped and "http://" put in front
// when no scheme is given. Other schemes than http and https (file:, ftp:) give an empty
// result and a message in *error.
QString WebAddress(const QString& typed, QString* error);

// A reference found on the page at `pageAddress`, resolved as a browser does: relative to the
// page's folder, a path starting with "/" on the page's host, a full address as it stands.
QString ResolveReference(const QString& pageAddress, const QString& reference);

} // namespace orv
