// flock on a lock file of its own: the table itself is replaced by rename, which a lock on it
// would not survive.
#include "table_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "files.h"

namespace sinkaway {

TableLock::~TableLock() {
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock
}

bool TableLock::Take(const std::string& path, std::string& error) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd_ < 0) {
        error = "cannot open the lock " + path + ": " + ErrnoText();
        return false;
    }
    int status;
    do {
        status = ::flock(fd_, LOCK_EX);
    } while (status != 0 && errno == EINTR);
    if (status != 0) {
        error = "cannot lock " + path + ": " + ErrnoText();
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

}  // namespace sinkaway
