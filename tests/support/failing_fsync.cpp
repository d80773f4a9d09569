// Preloaded into a program under test: every fsync and fdatasync fails with EIO, as on a disk
// that lost the write, so that the test sees how a save handles a write that never reached it.
#include <cerrno>

extern "C" int fsync(int)
{
    errno = EIO;
    return -1;
}

extern "C" int fdatasync(int)
{
    errno = EIO;
    return -1;
}
