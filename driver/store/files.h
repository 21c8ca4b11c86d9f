// The few file operations the store needs, on plain POSIX calls so that every failure comes back as
// a message instead of an exception, and no file can make a read block or grow without bound.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "xdg.h"

namespace sinkaway {

// Creates the folder and whatever is missing above it (not above `mustExist`). False with a
// message when it is not there and cannot be made, or is not a folder.
bool MakeFolder(const StoreFolder& folder, std::string& error);

// Makes a rename or an unlink inside `folder` durable.
bool SyncFolder(const std::string& folder, std::string& error);

struct FileRead {
    enum class Status { kOk, kMissing, kNotAFile, kTooBig, kError, kReadFailed, kStopped };
    Status status = Status::kError;  // kError: it could not be opened
    std::vector<uint8_t> bytes;
    std::string problem;
};

// The one reader of a whole file that a stranger may have put there (the store's tables, the
// music): a regular file of at most `cap` bytes, or nothing. Never blocks on a pipe or a device,
// with `noFollow` refuses a symbolic link, and gives up between chunks once `stop` is set, so that
// another thread can tell it to.
FileRead ReadSmallFile(const std::string& path, size_t cap, bool noFollow = false,
                       const std::atomic<bool>* stop = nullptr);

bool Exists(const std::string& path);
// A folder itself, not a symbolic link to one somewhere else.
bool IsRealFolder(const std::string& path);

// errno as words.
std::string ErrnoText();

}  // namespace sinkaway
