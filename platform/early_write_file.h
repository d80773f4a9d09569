#pragma once
// Writing a file through a stdio stream whose bytes go out in pieces of at most 8 MiB, the
// disk write of every 8 MiB started at once (sync_file_range): when the file is made durable
// (fsync before the rename of an atomic write) most of a large picture is already on its way
// to the disk, and the save waits for the disk far less than if it all started then.
#include <QString>
#include <cstdio>
#include <functional>

namespace orv {

// Why a system call failed, in words a user understands.
QString SystemReason(int err);

// Creates (or empties) the file at `path` and hands `fill` a stream over it. False with the
// reason when the file cannot be opened, `fill` fails (it gives its own reason), or the bytes
// cannot all be written and the file closed (the system's reason).
bool WriteFileThroughStream(const QString& path, const std::function<bool(FILE* file, QString* reason)>& fill,
                            QString* reason);

} // namespace orv
