#include "documents/recovery_folder.h"
#include "platform/work_folder.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <unistd.h>

namespace orv {

namespace {

const QString kCopySuffix = QStringLiteral(".orc");
const QString kLockSuffix = QStringLiteral(".lock");

struct Session {
    QString id;
    int fd = -1;
};

// Opens (creating) the lock file of session `id` and takes its lock without waiting; -1 when
// another process holds it.
int LockSession(const QString& folder, const QString& id)
{
    const QByteArray name = QFile::encodeName(folder + u'/' + id + kLockSuffix);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

Session& Own()
{
    static Session own;
    return own;
}

std::map<QString, int>& Taken()
{
    static std::map<QString, int> taken;
    return taken;
}

// The session a copy belongs to: its name up to the last '-'.
QString SessionOf(const QString& fileName)
{
    return fileName.left(fileName.lastIndexOf(u'-'));
}

} // namespace

QString RecoveryFolder()
{
    const QString work = WorkFolder();
    if (work.isEmpty()) return QString();
    const QString folder = work + QStringLiteral("/recovery");
    if (!QDir().mkpath(folder)) return QString();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

QString RecoveryCopyPath(int serial)
{
    const QString folder = RecoveryFolder();
    if (folder.isEmpty()) return QString();
    Session& own = Own();
    // A name no other session has had: the process id alone may come back after a reboot.
    for (int tries = 0; own.fd < 0 && tries < 4; ++tries) {
        own.id = QStringLiteral("%1x%2").arg(::getpid()).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        own.fd = LockSession(folder, own.id);
    }
    if (own.fd < 0) return QString();
    return QStringLiteral("%1/%2-%3%4").arg(folder, own.id).arg(serial).arg(kCopySuffix);
}

QStringList TakeLeftCopies()
{
    const QString folder = RecoveryFolder();
    if (folder.isEmpty()) return {};
    QStringList left;
    const QFileInfoList copies = QDir(folder).entryInfoList({QLatin1Char('*') + kCopySuffix}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& copy : copies) {
        const QString id = SessionOf(copy.fileName());
        if (id.isEmpty() || id == Own().id) continue;
        auto held = Taken().find(id);
        if (held == Taken().end()) {
            const int fd = LockSession(folder, id);
            if (fd < 0) continue;   // its editor is running
            held = Taken().emplace(id, fd).first;
        }
        left.append(copy.absoluteFilePath());
    }
    return left;
}

void ReleaseLeftSessions()
{
    const QString folder = RecoveryFolder();
    for (auto [id, fd] : Taken()) {
        if (QDir(folder).entryList({id + u'-' + u'*' + kCopySuffix}, QDir::Files).isEmpty())
            ::unlink(QFile::encodeName(folder + u'/' + id + kLockSuffix).constData());
        ::close(fd);
    }
    Taken().clear();
}

QString SetCopyAside(const QString& path)
{
    const QString aside = path + QStringLiteral(".damaged");
    RemoveWorkFile(aside);
    ::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData());
    return aside;
}

void EndRecoverySession()
{
    Session& own = Own();
    if (own.fd < 0) return;
    ::unlink(QFile::encodeName(RecoveryFolder() + u'/' + own.id + kLockSuffix).constData());
    ::close(own.fd);
    own.fd = -1;
}

} // namespace orv
