// The music file read with plain POSIX calls: open without blocking, check what it is, read it.
#include "music_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace sinkaway {

MusicFile ReadMusicFile(const std::string& path, int64_t cap, const std::atomic<bool>* stop) {
    MusicFile out;
    // O_NONBLOCK: opening a FIFO nobody writes to would otherwise wait for a writer forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return out;
    struct stat st {};
    // Checked on the open file, not the name, so nothing can be swapped in between.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        out.status = MusicFileStatus::kNotRegular;
    } else if (st.st_size == 0) {
        out.status = MusicFileStatus::kEmpty;
    } else if (st.st_size > cap) {
        out.status = MusicFileStatus::kTooBig;
    } else {
        out.status = MusicFileStatus::kOk;
        out.bytes.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        constexpr size_t kChunk = 1 << 20;
        // A file that grows while we read is cut at the size it had; one that shrinks ends early.
        while (got < out.bytes.size()) {
            if (stop != nullptr && stop->load()) {
                out.status = MusicFileStatus::kStopped;
                break;
            }
            const size_t want = std::min(kChunk, out.bytes.size() - got);
            const ssize_t n = ::read(fd, out.bytes.data() + got, want);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                out.status = MusicFileStatus::kReadFailed;
                break;
            }
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
        out.bytes.resize(got);
        if (out.status == MusicFileStatus::kOk && got == 0)
            out.status = MusicFileStatus::kEmpty;
    }
    ::close(fd);
    if (out.status != MusicFileStatus::kOk)
        out.bytes.clear();
    return out;
}

const char* Describe(MusicFileStatus status) {
    switch (status) {
        case MusicFileStatus::kOk:
            return "read";
        case MusicFileStatus::kCannotOpen:
            return "cannot be opened";
        case MusicFileStatus::kNotRegular:
            return "not a regular file";
        case MusicFileStatus::kEmpty:
            return "empty";
        case MusicFileStatus::kTooBig:
            return "too big";
        case MusicFileStatus::kReadFailed:
            return "read failed";
        case MusicFileStatus::kStopped:
            return "stopped";
    }
    return "?";
}

}  // namespace sinkaway
