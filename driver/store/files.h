// The few file operations the store needs, on plain POSIX calls so that every failure comes back as
// a message instead of an exception, and no file can make a read block or grow without bound.
#pragma once

#include <cstddef>
#include <string>

#include "xdg.h"

namespace sinkaway {

// Creates the folder and whatever is missing above it (not above `mustExist`). False with a
// message when it is not there and cannot be made, or is not a folder.
bool MakeFolder(const StoreFolder& folder, std::string& error);

// Makes a rename or an unlink inside `folder` durable.
bool SyncFolder(const std::string& folder, std::string& error);

struct FileRead {
    enum class Status { kOk, kMissing, kNotAFile, kTooBig, kError };
    Status status = Status::kError;
    std::string bytes;
    std::string problem;
};

// Reads a whole regular file of at most `cap` bytes. Never blocks on a pipe or a device, and with
// `noFollow` refuses a symbolic link.
FileRead ReadSmallFile(const std::string& path, size_t cap, bool noFollow = false);

bool Exists(const std::string& path);
// A folder itself, not a symbolic link to one somewhere else.
bool IsRealFolder(const std::string& path);

// errno as words.
std::string ErrnoText();

}  // namespace sinkaway
