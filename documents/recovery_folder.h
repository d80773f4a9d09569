#pragma once
// Where recovery copies live: "recovery" below the private work folder. Every running editor
// holds a lock file of its own there (an flock held until the process ends, however it ends),
// and names its copies after it, so the copies of an editor that is no longer running are
// those whose lock nobody holds; two editors never take each other's copies.
#include <QString>
#include <QStringList>

namespace orv {

// The folder, created (mode 0700) when missing; empty when it cannot be made.
QString RecoveryFolder();

// The file of this process's copy number `serial`; the first call takes the process's lock.
// Empty when the folder cannot be made.
QString RecoveryCopyPath(int serial);

// The copies left by editors no longer running. Their locks are taken over and held by this
// process until ReleaseLeftSessions, so that no other editor takes the same copies meanwhile.
QStringList TakeLeftCopies();

// Lets the sessions taken over go: the lock files of those without copies left are removed.
void ReleaseLeftSessions();

// Moves a damaged copy aside, to a name that is never offered again; returns that name.
QString SetCopyAside(const QString& path);

// Removes this process's lock file: a normal end, with no copies left.
void EndRecoverySession();

} // namespace orv
