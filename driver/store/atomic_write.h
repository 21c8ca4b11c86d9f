// Replacing a file so that a reader, a crash or a full disk only ever leaves the old file or the
// new one, never a mixture: a temporary file in the same folder, written and synced, renamed over
// the old one, and the folder synced.
#pragma once

#include <functional>
#include <string>

namespace sinkaway {

// Called between the write and the rename; returning false stops the replace there, as a failure
// would. Tests use it to fail at the worst moment.
using BeforeRename = std::function<bool(std::string& error)>;

// Writes `bytes` as folder/name. False with a message; the old file, if any, is then untouched and
// no temporary file is left behind.
bool WriteAtomically(const std::string& folder, const std::string& name, const std::string& bytes,
                     std::string& error, const BeforeRename& beforeRename = {});

}  // namespace sinkaway
