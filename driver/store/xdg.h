// Where the game keeps what outlives a session: the XDG base folders, as the desktop defines them.
#pragma once

#include <string>

namespace sinkaway {

// A folder of ours and how to make it: under an XDG variable every missing folder is created, but
// under $HOME the home itself must already exist (a missing home is not ours to create).
struct StoreFolder {
    std::string path;       // ".../sinkaway"; empty when there is nowhere to keep anything
    std::string mustExist;  // the part that must be there already ("" when anything may be made)
    std::string problem;    // why `path` is empty
};

// $XDG_DATA_HOME/sinkaway, else ~/.local/share/sinkaway: the scores and their replays.
StoreFolder DataFolder();
// $XDG_CONFIG_HOME/sinkaway, else ~/.config/sinkaway: the settings.
StoreFolder ConfigFolder();

}  // namespace sinkaway
