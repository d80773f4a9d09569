#include "platform/work_folder.h"
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace orv {

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Orvane");
}

QString WorkFolder()
{
    const QString folder = UserDataFolder() + QStringLiteral("/work");
    if (!QDir().mkpath(folder)) return QString();
    // Others must neither read the pictures passing through nor plant files under these names.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

QString WorkFile(const QString& name)
{
    const QString folder = WorkFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + name;
}

} // namespace orv
