// world.json: {"format": 1, "games": [{"replay": "replays/…", "token": "…", "daily": false,
// "text": "seed …", "id": 0, "status": "queued", "rank": 0, "reason": ""}, …]}.
#include "world_queue.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "atomic_write.h"
#include "files.h"
#include "score_table.h"

namespace sinkaway {

namespace {

using nlohmann::json;

constexpr const char* kQueueName = "world.json";
constexpr const char* kStatusNames[] = {"queued", "pending", "verified", "refused"};

bool Finished(const WorldGame& game) {
    return game.status == WorldGame::Status::kVerified ||
           game.status == WorldGame::Status::kRefused;
}

}  // namespace

bool ParseWorldQueue(std::string_view text, WorldQueue& queue, std::string& problem) {
    queue.clear();
    const json doc = json::parse(text, nullptr, false);
    if (!doc.is_object() || doc.value("format", json()) != 1 || !doc.contains("games") ||
        !doc["games"].is_array() || doc["games"].size() > kMaxWorldFileGames) {
        problem = "not the world queue of this game";
        return false;
    }
    for (const json& g : doc["games"]) {
        WorldGame game;
        const bool shaped =
            g.is_object() && g.value("replay", json()).is_string() &&
            g.value("token", json()).is_string() && g.value("daily", json()).is_boolean() &&
            g.value("text", json()).is_string() && g.value("id", json()).is_number_integer() &&
            g.value("status", json()).is_string() && g.value("rank", json()).is_number_integer() &&
            g.value("reason", json()).is_string();
        if (!shaped) {
            problem = "a game of the world queue is not one of ours";
            queue.clear();
            return false;
        }
        game.replay = g["replay"].get<std::string>();
        game.token = g["token"].get<std::string>();
        game.daily = g["daily"].get<bool>();
        game.text = g["text"].get<std::string>();
        game.id = g["id"].get<int64_t>();
        game.rank = g["rank"].get<int>();
        game.reason = g["reason"].get<std::string>();
        const std::string status = g["status"].get<std::string>();
        const auto* name = std::find(std::begin(kStatusNames), std::end(kStatusNames), status);
        if (name == std::end(kStatusNames) || !IsSafeReplayPath(game.replay)) {
            problem = "a game of the world queue is not one of ours";
            queue.clear();
            return false;
        }
        game.status = static_cast<WorldGame::Status>(name - std::begin(kStatusNames));
        queue.push_back(std::move(game));
    }
    return true;
}

std::string FormatWorldQueue(const WorldQueue& queue) {
    json games = json::array();
    for (const WorldGame& g : queue) {
        games.push_back({{"replay", g.replay},
                         {"token", g.token},
                         {"daily", g.daily},
                         {"text", g.text},
                         {"id", g.id},
                         {"status", kStatusNames[static_cast<int>(g.status)]},
                         {"rank", g.rank},
                         {"reason", g.reason}});
    }
    return json{{"format", 1}, {"games", games}}.dump(1) + "\n";
}

void MergeWorldGame(WorldQueue& queue, WorldGame game) {
    auto same = std::find_if(queue.begin(), queue.end(),
                             [&](const WorldGame& g) { return g.replay == game.replay; });
    if (same != queue.end())
        *same = std::move(game);
    else
        queue.push_back(std::move(game));
    // The oldest finished games make room; games still to be sent never do.
    while (queue.size() > kMaxWorldGames) {
        auto done = std::find_if(queue.begin(), queue.end(), Finished);
        if (done == queue.end())
            break;
        queue.erase(done);
    }
}

WorldQueueLoad LoadWorldQueue(const StoreFolder& folder) {
    WorldQueueLoad load;
    if (folder.path.empty())
        return load;
    const std::string path = folder.path + "/" + kQueueName;
    const FileRead file = ReadSmallFile(path, kMaxWorldQueueBytes, true);
    if (file.status == FileRead::Status::kMissing)
        return load;
    if (file.status != FileRead::Status::kOk) {
        load.problem = path + ": " + file.problem;
        return load;
    }
    const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()),
                                file.bytes.size());
    if (!ParseWorldQueue(text, load.queue, load.problem))
        load.problem = path + ": " + load.problem;
    return load;
}

bool SaveWorldQueue(const StoreFolder& folder, const WorldQueue& queue, std::string& error) {
    if (!MakeFolder(folder, error))
        return false;
    return WriteAtomically(folder.path, kQueueName, FormatWorldQueue(queue), error);
}

}  // namespace sinkaway
