// Where the game looks for its files: a path given on the command line, the installed data
// folder, then the assets folder beside the program.
#pragma once

#include <string>
#include <vector>

namespace sinkaway {

// The places to try for the file `name`, in order. The installed data folder is looked for
// relative to the program's folder `baseDir` first (`dataFromBase`, so a relocated install
// works), then at its configured absolute place `dataDir`. Empty arguments are skipped.
std::vector<std::string> AssetCandidates(const std::string& name, const std::string& given,
                                         const std::string& dataFromBase,
                                         const std::string& dataDir, const std::string& baseDir);

// The first candidate that can be opened for reading (tried without waiting); empty when none can.
std::string FindAsset(const std::string& name, const std::string& given);

}  // namespace sinkaway
