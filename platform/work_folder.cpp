#include "platform/work_folder.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

QString WorkFolderPath()
{
    return UserDataFolder() + QStringLiteral("/work");
}

} // namespace

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Orvane");
}

QString WorkFolder()
{
    const QString folder = WorkFolderPath();
    // Something else planted under the folder's own name (a link leading elsewhere, a file)
    // goes; the folder is made anew.
    struct stat st {};
    if (::lstat(QFile::encodeName(folder).constData(), &st) == 0 && !S_ISDIR(st.st_mode))
        ::unlink(QFile::encodeName(folder).constData());
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

void RemoveWorkFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) return;
    // removeRecursively deletes links found inside the folder, never what they lead to.
    if (S_ISDIR(st.st_mode)) QDir(path).removeRecursively();
    else ::unlink(name.constData());
}

bool CreateWorkFile(const QString& path, QString* error)
{
    RemoveWorkFile(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd < 0) {
        *error = QStringLiteral("Cannot create \"%1\": %2.").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    ::close(fd);
    return true;
}

bool IsWorkFile(const QString& path)
{
    if (path.isEmpty()) return false;
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir::cleanPath(folder) == QDir::cleanPath(WorkFolderPath())) return true;
    // The same folder reached through a link.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(WorkFolderPath()).canonicalFilePath();
}

} // namespace orv
