// The table's JSON, checked field by field before anything is believed: the file may have been
// edited, truncated or planted.
#include "score_table.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <nlohmann/json.hpp>

namespace sinkaway {

namespace {

using nlohmann::json;

// Whole numbers a double holds exactly: the game's score is one.
constexpr double kMaxScore = 9007199254740992.0;  // 2^53
constexpr size_t kMaxText = 64;

bool Later(const ScoreEntry& a, const ScoreEntry& b) {
    // Sorted best first; among equal scores the earlier game keeps the better place.
    if (a.score != b.score)
        return a.score < b.score;
    return a.played > b.played;
}

// "YYYY-MM-DDTHH:MM:SSZ"
bool IsUtcTime(std::string_view t) {
    static constexpr std::string_view kShape = "0000-00-00T00:00:00Z";
    if (t.size() != kShape.size())
        return false;
    for (size_t i = 0; i < t.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(t[i])) != 0;
        if (kShape[i] == '0' ? !digit : t[i] != kShape[i])
            return false;
    }
    return true;
}

bool ReadString(const json& game, const char* key, std::string& out, std::string& problem) {
    const auto it = game.find(key);
    if (it == game.end() || !it->is_string() ||
        it->get_ref<const std::string&>().size() > kMaxText) {
        problem = std::string("\"") + key + "\" is not a short text";
        return false;
    }
    out = it->get<std::string>();
    return true;
}

bool ReadGame(const json& game, ScoreEntry& e, std::string& problem) {
    if (!game.is_object()) {
        problem = "a game is not an object";
        return false;
    }
    const auto score = game.find("score");
    if (score == game.end() || !score->is_number()) {
        problem = "\"score\" is not a number";
        return false;
    }
    const double value = score->get<double>();
    if (!(value >= 0 && value <= kMaxScore && std::floor(value) == value)) {
        problem = "\"score\" is not a whole number from 0 to 2^53";
        return false;
    }
    e.score = score->is_number_unsigned() ? static_cast<int64_t>(score->get<uint64_t>())
                                          : static_cast<int64_t>(value);
    const auto seed = game.find("seed");
    if (seed == game.end() || !seed->is_number_unsigned()) {
        problem = "\"seed\" is not an unsigned whole number";
        return false;
    }
    e.seed = seed->get<uint64_t>();
    const auto seconds = game.find("seconds");
    if (seconds == game.end() || !seconds->is_number() || !(seconds->get<double>() >= 0) ||
        !std::isfinite(seconds->get<double>())) {
        problem = "\"seconds\" is not a number of seconds";
        return false;
    }
    e.seconds = seconds->get<double>();
    if (!ReadString(game, "played", e.played, problem) ||
        !ReadString(game, "replay", e.replay, problem) ||
        !ReadString(game, "version", e.version, problem))
        return false;
    if (!IsUtcTime(e.played)) {
        problem = "\"played\" is not a UTC time like 2026-12-08T03:00:00Z";
        return false;
    }
    if (!IsSafeReplayPath(e.replay)) {
        problem = "the replay path \"" + e.replay + "\" leaves the replay folder";
        return false;
    }
    return true;
}

}  // namespace

bool IsSafeReplayPath(std::string_view path) {
    const std::string_view prefix = "replays/";
    if (path.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view name = path.substr(prefix.size());
    if (name.empty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
    });
}

bool ParseScoreTable(std::string_view text, ScoreTable& table, std::string& problem) {
    table.clear();
    if (text.size() > kMaxTableBytes) {
        problem = "larger than a table can be";
        return false;
    }
    const json doc = json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded()) {
        problem = "not valid JSON";
        return false;
    }
    if (!doc.is_object()) {
        problem = "not a JSON object";
        return false;
    }
    const auto format = doc.find("format");
    if (format == doc.end() || !format->is_number_integer() ||
        format->get<int64_t>() != kTableFormat) {
        problem = "\"format\" is not 1";
        return false;
    }
    const auto games = doc.find("games");
    if (games == doc.end() || !games->is_array()) {
        problem = "\"games\" is not a list";
        return false;
    }
    if (games->size() > kMaxGames) {
        problem = "more than " + std::to_string(kMaxGames) + " games";
        return false;
    }
    ScoreTable read;
    for (const json& game : *games) {
        ScoreEntry e;
        if (!ReadGame(game, e, problem))
            return false;
        read.push_back(std::move(e));
    }
    // Kept in order by every writer; a hand-edited table is put back in order rather than refused.
    std::stable_sort(read.begin(), read.end(),
                     [](const ScoreEntry& a, const ScoreEntry& b) { return Later(b, a); });
    table = std::move(read);
    return true;
}

std::string FormatScoreTable(const ScoreTable& table) {
    json games = json::array();
    for (const ScoreEntry& e : table) {
        games.push_back({{"score", e.score},
                         {"played", e.played},
                         {"seed", e.seed},
                         {"seconds", e.seconds},
                         {"replay", e.replay},
                         {"version", e.version}});
    }
    const json doc = {{"format", kTableFormat}, {"games", games}};
    // Replacing bad UTF-8 rather than throwing: every text here passed the reader or is ours.
    return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

int InsertGame(ScoreTable& table, const ScoreEntry& entry, ScoreTable& dropped) {
    const auto at = std::find_if(table.begin(), table.end(),
                                 [&](const ScoreEntry& e) { return Later(e, entry); });
    const size_t rank = static_cast<size_t>(at - table.begin()) + 1;
    if (rank > kMaxGames)
        return 0;
    table.insert(at, entry);
    while (table.size() > kMaxGames) {
        dropped.push_back(std::move(table.back()));
        table.pop_back();
    }
    return static_cast<int>(rank);
}

}  // namespace sinkaway
