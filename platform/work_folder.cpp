#include "platform/work_folder.h"
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace orv {

QString WorkFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString path = QDir(base).filePath(QStringLiteral("Orvane 3.0/work"));
    QDir dir(path);
    if (!dir.exists() && !QDir().mkpath(path)) return {};
    // Downloads and hand-over pictures are the user's own business.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir.absolutePath();
}

QString WorkFile(const QString& name)
{
    return QDir(WorkFolder()).filePath(name);
}

} // namespace orv
