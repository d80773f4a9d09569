#pragma once
// Finding picture references in the text of a web page, and turning a typed address or a
// reference into an address to fetch.
#include <QString>
#include <QStringList>

namespace orv {

// Appends to *list each reference to a picture with the ending `ext` (".gif", ".jpg", ...) in
// one line of page text: for every occurrence of `ext`, the characters before it back to the
// nearest double quote or equals sign, followed by `ext`. The match is case-sensitive, so
// "A.GIF" is not found; the scan goes on four characters after each match.
void ListImages(const QString& line, const QString& ext, QStringList* list);

// All references of a page's text, line by line: those ending in ".gif", then ".jpg", then
// ".jpeg" for each line.
QStringList PictureReferences(const QString& pageText);

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
