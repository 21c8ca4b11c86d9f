// An exclusive lock on the scores table, held while a copy of the game reads, merges and writes
// it, so that two copies playing at once lose no game. The kernel drops it if the holder dies.
#pragma once

#include <string>

namespace sinkaway {

class TableLock {
  public:
    TableLock() = default;
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;
    ~TableLock();

    // Waits for the lock on `path` (created if missing). False with a message.
    bool Take(const std::string& path, std::string& error);

  private:
    int fd_ = -1;
};

}  // namespace sinkaway
