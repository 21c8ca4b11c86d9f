// Where the game looks for its files: a path given on the command line, the installed data
// folder, then the assets folder beside the program.
#pragma once

#include <string>
#include <vector>

namespace sinkaway {

// The places to try for the file `name`, in order. Empty arguments are skipped; `baseDir` is the
// program's own folder.
std::vector<std::string> AssetCandidates(const std::string& name, const std::string& given,
                                         const std::string& dataDir, const std::string& baseDir);

// The first candidate that can be opened for reading; empty when none can.
std::string FindAsset(const std::string& name, const std::string& given);

}  // namespace sinkaway
