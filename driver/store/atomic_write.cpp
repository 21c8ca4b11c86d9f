// The atomic replace on POSIX calls.
#include "atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files.h"

namespace sinkaway {

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteAtomically(const std::string& folder, const std::string& name, const std::string& bytes,
                     std::string& error, const BeforeRename& beforeRename) {
    const std::string target = folder + "/" + name;
    // A dot name, so that nobody takes a left-over for the real file.
    std::string temp = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write in " + folder + ": " + ErrnoText();
        return false;
    }
    bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok)
        error = "cannot write " + target + ": " + ErrnoText();
    if (::close(fd) != 0 && ok) {
        error = "cannot write " + target + ": " + ErrnoText();
        ok = false;
    }
    if (ok && beforeRename)
        ok = beforeRename(error);
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = "cannot replace " + target + ": " + ErrnoText();
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The new file is in place whatever the folder's sync says (some file systems cannot sync a
    // folder at all): from here on a failure would be a lie.
    std::string ignored;
    SyncFolder(folder, ignored);
    return true;
}

}  // namespace sinkaway
