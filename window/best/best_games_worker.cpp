// The worker's jobs: one at a time, in the order asked, on its thread or between frames; what it
// learns goes into the news, and what goes wrong goes to standard error, once for each kind of
// trouble.
#include "best_games_worker.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "listing.h"

namespace sinkaway {

BestGamesWorker::BestGamesWorker(StoreFolder data, StoreFolder config, bool write, Hooks hooks,
                                 Pace pace)
    : store_(std::move(data)),
      config_(std::move(config)),
      write_(write),
      pace_(pace),
      hooks_(std::move(hooks)) {
    if (pace_ == Pace::kOwnThread)
        thread_ = std::thread(&BestGamesWorker::Loop, this);
}

BestGamesWorker::~BestGamesWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    ready_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
        return;
    }
    // Between frames nobody else runs the writes still asked for.
    while (RunNext()) {
    }
}

void BestGamesWorker::Post(bool mustFinish, bool writes, bool fresh, std::function<void()> touch,
                           Step step) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Job job;
        job.mustFinish = mustFinish;
        job.writes = writes && write_;
        job.fresh = fresh;
        job.touch = std::move(touch);
        job.step = std::move(step);
        jobs_.push_back(std::move(job));
    }
    ready_.notify_all();
}

bool BestGamesWorker::RunNext() {
    if (pace_ != Pace::kBetweenFrames)
        return false;
    // Between frames the jobs run on this thread alone: the front job stays in the queue while
    // it is under way, and nobody else takes it.
    Job* job;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Closing: only the writes still matter.
        while (!jobs_.empty() && stopping_ && !jobs_.front().mustFinish && !jobs_.front().asked)
            jobs_.pop_front();
        if (jobs_.empty())
            return false;
        job = &jobs_.front();
    }
    if (!job->touched) {
        if (job->fresh && hooks_.claim) {
            if (!job->asked) {
                job->asked = true;
                hooks_.claim(
                    [job] {
                        job->touch();
                        job->touched = true;
                    },
                    job->writes);
            }
            if (!job->touched)
                return false;
        } else {
            job->touch();
            job->touched = true;
        }
    }
    // Slices of work until the frame's share of time is spent: a few milliseconds, whatever the
    // replay, so that the frames go on.
    constexpr uint64_t kSliceWork = 20'000;
    constexpr auto kFrameShare = std::chrono::milliseconds(8);
    const auto until = std::chrono::steady_clock::now() + kFrameShare;
    bool done = !job->step;
    while (!done) {
        done = job->step(kSliceWork);
        if (std::chrono::steady_clock::now() >= until)
            break;
    }
    if (!done)
        return true;
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.pop_front();
    return true;
}

void BestGamesWorker::Loop() {
    while (true) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            // Closing: only the writes still matter.
            if (stopping_ && !job.mustFinish)
                continue;
        }
        job.touch();
        while (job.step && !job.step(kAll)) {
        }
    }
}

void BestGamesWorker::Publish(const std::function<void(News&)>& fill) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fill(news_);
    }
    if (hooks_.wake)
        hooks_.wake();
}

BestGamesWorker::News BestGamesWorker::Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    News news = std::move(news_);
    news_ = News{};
    return news;
}

void BestGamesWorker::WarnScores(const std::string& why) {
    if (!scoresWarned_)
        std::fprintf(stderr, "sinkaway: best games will not be kept: %s\n", why.c_str());
    scoresWarned_ = true;
    Publish([&](News& n) { n.note = "Not kept: " + why; });
}

BestGamesWorker::Step BestGamesWorker::ProveRows(
    ScoreTable table, std::function<void(std::vector<BestGameRow>)> done) {
    // Each replay is proved once for a given score: a table read again proves only its new ones.
    struct Proving {
        ScoreTable table;
        std::vector<BestGameRow> rows;
        std::unique_ptr<ScoreProof> proof;  // of table[rows.size()], under way
    };
    auto p = std::make_shared<Proving>();
    p->table = std::move(table);
    return [this, p, done = std::move(done)](uint64_t work) {
        while (p->rows.size() < p->table.size()) {
            const ScoreEntry& e = p->table[p->rows.size()];
            const std::string key = e.replay + " " + std::to_string(e.score);
            auto known = std::find_if(proven_.begin(), proven_.end(),
                                      [&](const auto& known) { return known.first == key; });
            if (known == proven_.end()) {
                if (!p->proof)
                    p->proof = std::make_unique<ScoreProof>(store_.folder(), e);
                if (!p->proof->Continue(work))
                    return false;
                proven_.emplace_back(key, p->proof->proves());
                p->proof.reset();
                known = proven_.end() - 1;
            }
            BestGameRow& row = p->rows.emplace_back();
            row.rank = static_cast<int>(p->rows.size());
            row.score = e.score;
            row.played = e.played;
            row.verified = known->second;
            row.replayPath = store_.folder() + "/" + e.replay;
        }
        done(std::move(p->rows));
        return true;
    };
}

void BestGamesWorker::LoadSettings() {
    // The settings the page's storage held when it opened: no other copy's need waiting for.
    Post(false, false, false, [this] {
        const SettingsLoad load = sinkaway::LoadSettings(config_);
        if (!load.problem.empty())
            std::fprintf(stderr, "sinkaway: %s; the boxes start ticked\n", load.problem.c_str());
        Publish([&](News& n) {
            if (load.found)
                n.settings = load.settings;
            n.server = load.settings.world.server;
            settingsRead_ = true;
        });
        ready_.notify_all();
    });
}

void BestGamesWorker::AwaitSettings(int ms) {
    if (pace_ == Pace::kBetweenFrames) {
        // Nobody else runs the jobs: the settings', asked for first, run now.
        while (!settingsRead_ && RunNext()) {
        }
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return settingsRead_; });
}

void BestGamesWorker::SaveSettings(const Settings& settings) {
    if (!write_)
        return;
    Post(true, true, true, [this, settings] {
        // Only the boxes: the world's player on disk stays as another copy may have made it.
        SettingsLoad load = sinkaway::LoadSettings(config_);
        load.settings.powerUps = settings.powerUps;
        load.settings.bgm = settings.bgm;
        std::string error;
        if (!sinkaway::SaveSettings(config_, load.settings, error) && !settingsWarned_) {
            std::fprintf(stderr, "sinkaway: settings will not be kept: %s\n", error.c_str());
            settingsWarned_ = true;
        }
    });
}

void BestGamesWorker::LoadWorldPlayer(std::optional<std::string> name) {
    Post(true, true, true, [this, name = std::move(name)] {
        SettingsLoad load = sinkaway::LoadSettings(config_);
        WorldPlayer& player = load.settings.world;
        const WorldPlayer before = player;
        if (player.id.empty() || player.secret.empty()) {
            const WorldPlayer made = MakeWorldPlayer();
            player.id = made.id;
            player.secret = made.secret;
        }
        if (name)
            player.name = *name;
        std::string error;
        if (write_ && !(player == before) &&
            !sinkaway::SaveSettings(config_, load.settings, error) && !settingsWarned_) {
            std::fprintf(stderr, "sinkaway: settings will not be kept: %s\n", error.c_str());
            settingsWarned_ = true;
        }
        Publish([&](News& n) { n.player = player; });
    });
}

void BestGamesWorker::ChangeWorld(const std::function<void(WorldQueue&)>& change) {
    WorldQueueLoad load = LoadWorldQueue(store_.storeFolder());
    if (!load.problem.empty())
        std::fprintf(stderr, "sinkaway: %s; started again\n", load.problem.c_str());
    if (change) {
        change(load.queue);
        std::string error;
        if (write_ && !SaveWorldQueue(store_.storeFolder(), load.queue, error))
            WarnScores(error);
    }
    Publish([&](News& n) { n.world = std::move(load.queue); });
}

void BestGamesWorker::LoadWorld() {
    Post(false, false, true, [this] { ChangeWorld(nullptr); });
}

void BestGamesWorker::UpdateWorld(WorldGame game) {
    Post(true, true, true, [this, game = std::move(game)]() mutable {
        ChangeWorld([&](WorldQueue& queue) {
            // Only a game still queued there: a game gone meanwhile stays gone.
            for (const WorldGame& g : queue) {
                if (g.replay == game.replay) {
                    MergeWorldGame(queue, std::move(game));
                    return;
                }
            }
        });
    });
}

void BestGamesWorker::CheckTable() {
    Post(false, true, true, [this] { ReadTable(); });
}

void BestGamesWorker::LoadTable() {
    // Read under the claim, proved a slice at a time: what another copy wrote meanwhile shows
    // next time.
    auto table = std::make_shared<ScoreTable>();
    Post(
        false, true, true, [this, table] { *table = ReadTable(); },
        [this, table, prove = Step()](uint64_t work) mutable {
            if (!prove) {
                prove = ProveRows(std::move(*table), [this](std::vector<BestGameRow> rows) {
                    Publish([&](News& n) { n.rows = std::move(rows); });
                });
            }
            return prove(work);
        });
}

ScoreTable BestGamesWorker::ReadTable() {
    const TableLoad load = write_ ? store_.ReadAndRepair() : store_.Read();
    if (load.status == TableLoad::Status::kUnusable) {
        WarnScores(load.problem);
    } else if (load.status == TableLoad::Status::kBroken && !load.movedTo.empty()) {
        std::fprintf(stderr, "sinkaway: %s was broken (%s); moved aside as %s\n",
                     store_.TablePath().c_str(), load.problem.c_str(), load.movedTo.c_str());
    } else if (load.status == TableLoad::Status::kBroken) {
        WarnScores(store_.TablePath() + " is broken: " + load.problem);
    }
    return load.table;
}

void BestGamesWorker::AddGame(const ScoreEntry& game, std::string replayScript,
                              std::optional<WorldGame> world) {
    if (!write_)
        return;
    auto added = std::make_shared<AddResult>();
    auto touch = [this, game, script = std::move(replayScript), added,
                  world = std::move(world)]() mutable {
        *added = store_.Add(game, script);
        if (added->ok && added->rank > 0 && world) {
            world->replay = added->entry.replay;
            world->text = script;
            ChangeWorld([&](WorldQueue& queue) { MergeWorldGame(queue, std::move(*world)); });
        }
        if (!added->movedAside.empty()) {
            std::fprintf(stderr, "sinkaway: %s was broken; moved aside as %s\n",
                         store_.TablePath().c_str(), added->movedAside.c_str());
        }
        if (!added->ok)
            WarnScores(added->error);
    };
    Post(true, true, true, std::move(touch), [this, added, prove = Step()](uint64_t work) mutable {
        if (!added->ok)
            return true;
        if (!prove) {
            prove =
                ProveRows(added->table, [this, rank = added->rank](std::vector<BestGameRow> rows) {
                    Publish([&](News& n) {
                        n.rows = std::move(rows);
                        n.newBest = rank;
                    });
                });
        }
        return prove(work);
    });
}

void BestGamesWorker::LoadReplay(std::string path, MusicPlayer& music) {
    LoadReplayFrom(
        [path = std::move(path)]() -> std::unique_ptr<ReplayReading> {
            struct stat st;
            // Only the replay file itself: a link planted in the replay folder is not followed.
            if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
                std::fprintf(stderr, "sinkaway: no replay at %s\n", path.c_str());
                return nullptr;
            }
            return std::make_unique<ReplayReading>(path);
        },
        music);
}

void BestGamesWorker::LoadReplayText(std::string text, MusicPlayer& music) {
    LoadReplayFrom(
        [text = std::move(text)]() mutable {
            return std::make_unique<ReplayReading>(ReplayText{std::move(text), "world replay"});
        },
        music);
}

void BestGamesWorker::LoadReplayFrom(std::function<std::unique_ptr<ReplayReading>()> open,
                                     MusicPlayer& music) {
    // Opened under the claim; proved by the reader, then played through to the watched game, a
    // slice at a time.
    struct Loading {
        std::unique_ptr<ReplayReading> reading;
        std::unique_ptr<ReplayPlayer> player;
    };
    auto l = std::make_shared<Loading>();
    auto touch = [open = std::move(open), l] { l->reading = open(); };
    Post(false, false, true, std::move(touch), [this, &music, l](uint64_t work) {
        auto fail = [this] {
            Publish([](News& n) { n.replayFailed = true; });
            return true;
        };
        if (!l->reading && !l->player)
            return fail();
        if (!l->player) {
            if (!l->reading->Continue(work))
                return false;
            if (l->reading->status() != 0) {
                std::fprintf(stderr, "%s\n", l->reading->error().c_str());
                return fail();
            }
            l->player = std::make_unique<ReplayPlayer>(std::move(l->reading->replay()), music,
                                                       ReplayPlayer::CatchUpNow::kLater);
            l->reading.reset();
        }
        if (!l->player->CatchUp(work))
            return false;
        Publish([&](News& n) { n.replay = std::move(l->player); });
        return true;
    });
}

}  // namespace sinkaway
