#include "internet/image_references.h"
#include <QRegularExpression>
#include <QUrl>

namespace orv {

void ListImages(const QString& line, const QString& ext, QStringList* list)
{
    QString s = line;
    for (qsizetype p = s.indexOf(ext); p >= 0; p = s.indexOf(ext)) {
        // The reference body runs back from the match to a quote or an equals sign.
        qsizetype start = p;
        while (start > 0 && s[start - 1] != u'"' && s[start - 1] != u'=') --start;
        list->append(s.mid(start, p - start) + ext);
        s = s.mid(p + 4);
    }
}

QStringList PictureReferences(const QString& pageText)
{
    QStringList list;
    const QStringList lines = pageText.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r')) line.chop(1);
        for (const char* ext : {".gif", ".jpg", ".jpeg"}) ListImages(line, QString::fromLatin1(ext), &list);
    }
    return list;
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
