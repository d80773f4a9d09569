#include "platform/recent_files.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>

namespace orv {

namespace {

const QString kBookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kAppName = QStringLiteral("Orvane");
const QString kAppExec = QStringLiteral("'orvane %u'");

struct Use {
    QString uri;
    QString mimeType;
    QString now;
};

void WriteApplication(QXmlStreamWriter& w, const Use& use, int count)
{
    w.writeEmptyElement(kBookmarkNs, QStringLiteral("application"));
    w.writeAttribute(QStringLiteral("name"), kAppName);
    w.writeAttribute(QStringLiteral("exec"), kAppExec);
    w.writeAttribute(QStringLiteral("modified"), use.now);
    w.writeAttribute(QStringLiteral("count"), QString::number(count));
}

void WriteBookmark(QXmlStreamWriter& w, const Use& use)
{
    w.writeCharacters(QStringLiteral("  "));
    w.writeStartElement(QStringLiteral("bookmark"));
    w.writeAttribute(QStringLiteral("href"), use.uri);
    for (const char* time : {"added", "modified", "visited"}) w.writeAttribute(QLatin1String(time), use.now);
    w.writeStartElement(QStringLiteral("info"));
    w.writeStartElement(QStringLiteral("metadata"));
    w.writeAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    w.writeEmptyElement(kMimeNs, QStringLiteral("mime-type"));
    w.writeAttribute(QStringLiteral("type"), use.mimeType);
    w.writeStartElement(kBookmarkNs, QStringLiteral("applications"));
    WriteApplication(w, use, 1);
    w.writeEndElement();   // applications
    w.writeEndElement();   // metadata
    w.writeEndElement();   // info
    w.writeEndElement();   // bookmark
    w.writeCharacters(QStringLiteral("\n"));
}

QByteArray NewList(const Use& use)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeCharacters(QStringLiteral("\n"));
    w.writeStartElement(QStringLiteral("xbel"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    w.writeNamespace(kBookmarkNs, QStringLiteral("bookmark"));
    w.writeNamespace(kMimeNs, QStringLiteral("mime"));
    w.writeCharacters(QStringLiteral("\n"));
    WriteBookmark(w, use);
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

// Copies the list token by token; the entry of the used file gets new times and Orvane's
// count, or a new entry is added at the end. False when the list is not well-formed XML.
bool UpdatedList(QFile& in, const Use& use, QByteArray* out)
{
    QXmlStreamReader r(&in);
    QXmlStreamWriter w(out);
    int depth = 0;
    int entryDepth = -1;     // depth of the used file's <bookmark>, -1 outside it
    bool inApplications = false;
    bool counted = false;    // Orvane's <bookmark:application> of the entry was renewed
    bool found = false;
    bool sawRoot = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            ++depth;
            const QXmlStreamAttributes attrs = r.attributes();
            if (depth == 1) sawRoot = r.name() == QLatin1String("xbel");
            if (depth == 2 && r.name() == QLatin1String("bookmark") && r.namespaceUri().isEmpty()
                && attrs.value(QLatin1String("href")) == use.uri) {
                found = true;
                entryDepth = depth;
                w.writeStartElement(QStringLiteral("bookmark"));
                for (const QXmlStreamAttribute& a : attrs) {
                    const bool renewed = a.name() == QLatin1String("modified") || a.name() == QLatin1String("visited");
                    w.writeAttribute(a.qualifiedName().toString(), renewed ? use.now : a.value().toString());
                }
                continue;
            }
            if (entryDepth >= 0 && r.namespaceUri() == kBookmarkNs && r.name() == QLatin1String("applications"))
                inApplications = true;
            if (inApplications && r.namespaceUri() == kBookmarkNs && r.name() == QLatin1String("application")
                && attrs.value(QLatin1String("name")) == kAppName && !counted) {
                counted = true;
                const int count = attrs.value(QLatin1String("count")).toInt();
                w.writeStartElement(kBookmarkNs, QStringLiteral("application"));
                for (const QXmlStreamAttribute& a : attrs) {
                    QString value = a.value().toString();
                    if (a.name() == QLatin1String("count")) value = QString::number(std::max(count, 0) + 1);
                    if (a.name() == QLatin1String("modified")) value = use.now;
                    w.writeAttribute(a.qualifiedName().toString(), value);
                }
                continue;
            }
        } else if (r.isEndElement()) {
            if (inApplications && r.namespaceUri() == kBookmarkNs && r.name() == QLatin1String("applications")) {
                if (!counted) WriteApplication(w, use, 1);
                inApplications = false;
                counted = true;
            }
            if (depth == entryDepth) entryDepth = -1;
            if (depth == 1 && sawRoot && !found) WriteBookmark(w, use);
            --depth;
        }
        w.writeCurrentToken(r);
    }
    return !r.hasError() && sawRoot;
}

} // namespace

QStringList RecentPictures(const QString& listPath, int count)
{
    QFile in(listPath);
    if (!in.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader r(&in);
    QList<std::pair<QDateTime, QString>> used;   // Orvane's last use of each file
    QString href;
    int depth = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isEndElement()) --depth;
        if (!r.isStartElement()) continue;
        ++depth;
        const QXmlStreamAttributes attrs = r.attributes();
        if (depth == 2 && r.name() == QLatin1String("bookmark") && r.namespaceUri().isEmpty())
            href = attrs.value(QLatin1String("href")).toString();
        else if (depth > 2 && r.namespaceUri() == kBookmarkNs && r.name() == QLatin1String("application")
                 && attrs.value(QLatin1String("name")) == kAppName) {
            const QUrl url(href);
            if (url.isLocalFile())
                used.append({QDateTime::fromString(attrs.value(QLatin1String("modified")).toString(), Qt::ISODateWithMs),
                             url.toLocalFile()});
        }
    }
    if (r.hasError()) return {};
    // Entries are added at the end of the list: of two used at the same moment the later one
    // is the newer.
    std::reverse(used.begin(), used.end());
    std::stable_sort(used.begin(), used.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList files;
    for (const auto& [when, file] : used) {
        if (files.size() >= count) break;
        if (QFileInfo(file).isFile() && !files.contains(file)) files << file;
    }
    return files;
}

QString RecentFilesListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/recently-used.xbel");
}

bool AddToRecentFiles(const QString& file, const QString& listPath, QString* error)
{
    if (IsWorkFile(file)) return true;   // a passing hand-over file is nothing the user used
    const QFileInfo info(file);
    const Use use{QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded),
                  QMimeDatabase().mimeTypeForFile(info).name(),
                  QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)};

    QByteArray list;
    QFile in(listPath);
    if (in.exists() && in.size() > 0) {
        if (!in.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("Cannot read \"%1\": %2.").arg(listPath, in.errorString());
            return false;
        }
        if (!UpdatedList(in, use, &list)) {
            *error = QStringLiteral("Cannot update \"%1\": it is not a list of recently used files.").arg(listPath);
            return false;
        }
    } else {
        list = NewList(use);
    }
    QDir().mkpath(QFileInfo(listPath).absolutePath());
    return WriteFileAtomically(listPath, [&](const QString& tempPath, QString* err) {
        QFile out(tempPath);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(list) == list.size() && out.flush())
            return true;
        *err = QStringLiteral("Cannot save \"%1\": %2.").arg(listPath, out.errorString());
        return false;
    }, error);
}

} // namespace orv
