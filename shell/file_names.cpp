#include "shell/file_names.h"
#include <QFileInfo>

namespace orv {

QString ShownAsIs(const QString& caption)
{
    return QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString GetFileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool FileExists(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

QString GetLongFileName(const QString& path)
{
    return FileExists(path) ? QFileInfo(path).absoluteFilePath() : path;
}

} // namespace orv
