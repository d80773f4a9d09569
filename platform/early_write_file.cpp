#include "platform/early_write_file.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orv {

namespace {

class EarlyWriteFile {
public:
    explicit EarlyWriteFile(int fd) : fd_(fd) {}

    // A stdio stream over the file; closing it closes the file.
    FILE* open()
    {
        const cookie_io_functions_t io{nullptr, &EarlyWriteFile::write, nullptr, &EarlyWriteFile::close};
        return fopencookie(this, "wb", io);
    }

    // Why the first write or the close failed; 0 when none has.
    int error() const { return error_; }

private:
    static constexpr size_t kPiece = size_t{8} << 20;

    static ssize_t write(void* cookie, const char* data, size_t size)
    {
        auto* self = static_cast<EarlyWriteFile*>(cookie);
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(self->fd_, data + done, std::min(size - done, kPiece));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                // Kept for the caller: stdio marks the stream failed, and the encoder writing
                // through it may make further calls (or give its own words) before it returns.
                self->error_ = n < 0 ? errno : ENOSPC;
                return 0;
            }
            done += static_cast<size_t>(n);
            self->written_ += n;
            if (self->written_ - self->started_ >= static_cast<off_t>(kPiece)) {
                ::sync_file_range(self->fd_, self->started_, self->written_ - self->started_,
                                  SYNC_FILE_RANGE_WRITE);
                self->started_ = self->written_;
            }
        }
        return static_cast<ssize_t>(size);
    }

    static int close(void* cookie)
    {
        auto* self = static_cast<EarlyWriteFile*>(cookie);
        const int result = ::close(self->fd_);
        if (result != 0 && self->error_ == 0) self->error_ = errno;
        return result;
    }

    int fd_;
    int error_ = 0;
    off_t written_ = 0;   // bytes written so far
    off_t started_ = 0;   // bytes whose disk write has been started
};

} // namespace

QString SystemReason(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("the disk is full");
    case EACCES:
    case EPERM: return QStringLiteral("permission denied");
    case EROFS: return QStringLiteral("the disk is read-only");
    case ENOENT: return QStringLiteral("the folder does not exist");
    case ENOTDIR: return QStringLiteral("a part of the path is not a folder");
    case EISDIR: return QStringLiteral("it is a folder");
    default: return QString::fromLocal8Bit(std::strerror(err));
    }
}

bool WriteFileThroughStream(const QString& path, const std::function<bool(FILE* file, QString* reason)>& fill,
                            QString* reason)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        *reason = SystemReason(errno);
        return false;
    }
    EarlyWriteFile early(fd);
    FILE* file = early.open();
    if (!file) {
        *reason = SystemReason(errno);
        ::close(fd);
        return false;
    }
    bool ok = fill(file, reason);
    if (!ok && reason->isEmpty()) *reason = SystemReason(errno);
    if (ok && (std::fflush(file) != 0 || std::ferror(file))) ok = false;
    if (std::fclose(file) != 0) ok = false;
    // A write the system refused is the reason, whatever `fill` made of it: an encoder only
    // sees that its stream failed.
    if (!ok && early.error() != 0) *reason = SystemReason(early.error());
    else if (!ok && reason->isEmpty()) *reason = SystemReason(errno);
    return ok;
}

} // namespace orv
