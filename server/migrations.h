// The schema's numbered migrations (server/migrations/NNN_name.sql), built into the program.
#pragma once

#include <vector>

namespace sinkaway::server {

struct Migration {
    int number;
    const char* name;
    const char* sql;
};

// In the order of their numbers.
const std::vector<Migration>& Migrations();

}  // namespace sinkaway::server
