#include "internet/image_references.h"
#include <QRegularExpression>
#include <QUrl>

namespace orv {

namespace {

// Adds the references ending in `ext` in one line to *found; false when the list is full and
// another reference was found.
bool ListImages(QByteArrayView line, QByteArrayView ext, PictureReferenceList* found)
{
    for (qsizetype from = 0, p = line.indexOf(ext); p >= 0; from = p + 4, p = line.indexOf(ext, from)) {
        // The reference body runs back from the match to a quote or an equals sign.
        qsizetype start = p;
        while (start > from && line[start - 1] != '"' && line[start - 1] != '=') --start;
        if (p + ext.size() - start > kMaxReferenceLength) continue;
        if (found->references.size() == kMaxListedReferences) {
            found->more = true;
            return false;
        }
        found->references.append(QString::fromUtf8(line.sliced(start, p + ext.size() - start)));
    }
    return true;
}

} // namespace

PictureReferenceList PictureReferences(QByteArrayView pageText, const std::atomic<bool>& cancel)
{
    PictureReferenceList found;
    for (qsizetype start = 0; start <= pageText.size() && !cancel.load(std::memory_order_relaxed);) {
        qsizetype end = pageText.indexOf('\n', start);
        if (end < 0) end = pageText.size();
        QByteArrayView line = pageText.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        if (line.size() < 4) continue;
        for (const char* ext : {".gif", ".jpg", ".jpeg"})
            if (!ListImages(line, QByteArrayView(ext), &found)) return found;
    }
    return found;
}

bool IsPictureAddress(const QString& address)
{
    for (const char* ext : {".jpg", ".jpeg", ".gif"})
        if (address.endsWith(QLatin1String(ext), Qt::CaseInsensitive)) return true;
    return false;
}

QString WebAddress(const QString& typed, QString* error)
{
    const QString address = typed.trimmed();
    // A scheme is a word before a colon that is not a port number ("localhost:8080").
    static const QRegularExpression schemePrefix(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(?!\\d)"));
    const QRegularExpressionMatch m = schemePrefix.match(address);
    const QString scheme = m.hasMatch() ? m.captured(1).toLower() : QString();
    if (m.hasMatch() && scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        *error = QStringLiteral("Cannot fetch \"%1\": only http:// and https:// addresses can be opened.")
                     .arg(address);
        return {};
    }
    const QString full = m.hasMatch() ? address : QStringLiteral("http://") + address;
    if (QUrl(full, QUrl::StrictMode).host().isEmpty()) {
        *error = QStringLiteral("\"%1\" is not a web address.").arg(address);
        return {};
    }
    return full;
}

QString ResolveReference(const QString& pageAddress, const QString& reference)
{
    return QUrl(pageAddress).resolved(QUrl(reference)).toString();
}

} // namespace orv
