// Folders and reads on POSIX calls.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace sinkaway {

namespace {

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ErrnoText() {
    return std::strerror(errno);
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsRealFolder(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const StoreFolder& folder, std::string& error) {
    if (folder.path.empty()) {
        error = folder.problem;
        return false;
    }
    if (!folder.mustExist.empty() && !IsFolder(folder.mustExist)) {
        error = folder.mustExist + " is not there";
        return false;
    }
    // Each level from the top down, so the message names the level that failed.
    for (size_t slash = folder.mustExist.size() + 1; slash <= folder.path.size(); ++slash) {
        if (slash < folder.path.size() && folder.path[slash] != '/')
            continue;
        const std::string level = folder.path.substr(0, slash);
        if (level.empty() || level == "/")
            continue;
        if (::mkdir(level.c_str(), 0700) == 0)
            continue;
        const int why = errno;
        if (IsFolder(level))
            continue;
        if (why == EEXIST || why == ENOTDIR) {
            error = level + " is not a folder";
        } else {
            error = "cannot create " + level + ": " + std::strerror(why);
        }
        return false;
    }
    return true;
}

bool SyncFolder(const std::string& folder, std::string& error) {
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || ::fsync(fd.get()) != 0) {
        error = "cannot sync " + folder + ": " + ErrnoText();
        return false;
    }
    return true;
}

FileRead ReadSmallFile(const std::string& path, size_t cap, bool noFollow,
                       const std::atomic<bool>* stop) {
    FileRead r;
    // O_NONBLOCK: opening a FIFO nobody writes to would otherwise wait for a writer forever.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (noFollow ? O_NOFOLLOW : 0);
    Fd fd(::open(path.c_str(), flags));
    if (fd.get() < 0) {
        r.status = errno == ENOENT  ? FileRead::Status::kMissing
                   : errno == ELOOP ? FileRead::Status::kNotAFile
                                    : FileRead::Status::kError;
        r.problem = ErrnoText();
        return r;
    }
    // Checked on the open file, not the name, so nothing can be swapped in between.
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) {
        r.problem = ErrnoText();
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.status = FileRead::Status::kNotAFile;
        r.problem = "not a regular file";
        return r;
    }
    if (static_cast<uint64_t>(st.st_size) > cap) {
        r.status = FileRead::Status::kTooBig;
        r.problem = "larger than " + std::to_string(cap) + " bytes";
        return r;
    }
    // Nothing to read, and nothing read: the kernel's files (/proc) say 0 and may fail a read.
    if (st.st_size == 0) {
        r.status = FileRead::Status::kOk;
        return r;
    }
    // The size may change while we read: read up to one byte past the cap to notice.
    constexpr size_t kChunk = 1 << 20;
    r.bytes.resize(static_cast<size_t>(st.st_size) + 1);
    size_t have = 0;
    while (true) {
        if (stop != nullptr && stop->load()) {
            r.status = FileRead::Status::kStopped;
            r.problem = "stopped";
            r.bytes.clear();
            return r;
        }
        if (have == r.bytes.size()) {
            if (r.bytes.size() > cap)
                break;
            r.bytes.resize(std::min(cap + 1, r.bytes.size() * 2 + 1));
        }
        const size_t want = std::min(kChunk, r.bytes.size() - have);
        const ssize_t n = ::read(fd.get(), r.bytes.data() + have, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            r.status = FileRead::Status::kReadFailed;
            r.problem = ErrnoText();
            r.bytes.clear();
            return r;
        }
        if (n == 0)
            break;
        have += static_cast<size_t>(n);
    }
    if (have > cap) {
        r.status = FileRead::Status::kTooBig;
        r.problem = "larger than " + std::to_string(cap) + " bytes";
        r.bytes.clear();
        return r;
    }
    r.bytes.resize(have);
    r.status = FileRead::Status::kOk;
    return r;
}

}  // namespace sinkaway
