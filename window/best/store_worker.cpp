// The worker's jobs: one at a time, in the order asked, on its thread or between frames; what it
// learns goes into the news, and what goes wrong goes to standard error, once for each kind of
// trouble.
#include "store_worker.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "listing.h"

namespace sinkaway {

StoreWorker::StoreWorker(StoreFolder data, StoreFolder config, bool write, Hooks hooks, Pace pace)
    : store_(std::move(data)),
      config_(std::move(config)),
      write_(write),
      pace_(pace),
      hooks_(std::move(hooks)) {
    if (pace_ == Pace::kOwnThread)
        thread_ = std::thread(&StoreWorker::Loop, this);
}

StoreWorker::~StoreWorker() {
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

void StoreWorker::Post(bool mustFinish, bool writes, bool fresh, Step step) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back({mustFinish, writes && write_, fresh, false, std::move(step)});
    }
    ready_.notify_all();
}

void StoreWorker::Post(bool mustFinish, bool writes, bool fresh, std::function<void()> job) {
    Post(mustFinish, writes, fresh, [job = std::move(job)](uint64_t) {
        job();
        return true;
    });
}

bool StoreWorker::busy() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !jobs_.empty();
}

bool StoreWorker::RunNext() {
    if (pace_ != Pace::kBetweenFrames)
        return false;
    // Between frames the jobs run on this thread alone: the front job stays in the queue while
    // it is under way, and nobody else takes it.
    Job* job;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Closing: only the writes still matter.
        while (!jobs_.empty() && stopping_ && !jobs_.front().mustFinish && !jobs_.front().claimed)
            jobs_.pop_front();
        if (jobs_.empty())
            return false;
        job = &jobs_.front();
    }
    if (job->fresh && hooks_.claim && !job->claimed) {
        if (!hooks_.claim())
            return false;
        job->claimed = true;
    }
    // Slices of work until the frame's share of time is spent: a few milliseconds, whatever the
    // replay, so that the frames go on.
    constexpr uint64_t kSliceWork = 20'000;
    constexpr auto kFrameShare = std::chrono::milliseconds(8);
    const auto until = std::chrono::steady_clock::now() + kFrameShare;
    bool done;
    do {
        done = job->step(kSliceWork);
    } while (!done && std::chrono::steady_clock::now() < until);
    if (!done)
        return true;
    if (job->claimed && hooks_.release)
        hooks_.release(job->writes);
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.pop_front();
    return true;
}

void StoreWorker::Loop() {
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
        while (!job.step(kAll)) {
        }
    }
}

void StoreWorker::Publish(const std::function<void(News&)>& fill) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fill(news_);
    }
    if (hooks_.wake)
        hooks_.wake();
}

StoreWorker::News StoreWorker::Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    News news = std::move(news_);
    news_ = News{};
    return news;
}

void StoreWorker::WarnScores(const std::string& why) {
    if (!scoresWarned_)
        std::fprintf(stderr, "sinkaway: best games will not be kept: %s\n", why.c_str());
    scoresWarned_ = true;
    Publish([&](News& n) { n.note = "Not kept: " + why; });
}

StoreWorker::Step StoreWorker::ProveRows(ScoreTable table,
                                         std::function<void(std::vector<BestGameRow>)> done) {
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
            p->rows.push_back({static_cast<int>(p->rows.size()) + 1, e.score, e.played,
                               known->second, store_.folder() + "/" + e.replay});
        }
        done(std::move(p->rows));
        return true;
    };
}

void StoreWorker::LoadSettings() {
    // The settings the page's storage held when it opened: no other copy's need waiting for.
    Post(false, false, false, [this] {
        const SettingsLoad load = sinkaway::LoadSettings(config_);
        if (!load.problem.empty())
            std::fprintf(stderr, "sinkaway: %s; the boxes start ticked\n", load.problem.c_str());
        Publish([&](News& n) {
            if (load.found)
                n.settings = load.settings;
            settingsRead_ = true;
        });
        ready_.notify_all();
    });
}

void StoreWorker::AwaitSettings(int ms) {
    if (pace_ == Pace::kBetweenFrames) {
        // Nobody else runs the jobs: the settings', asked for first, run now.
        while (!settingsRead_ && RunNext()) {
        }
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return settingsRead_; });
}

void StoreWorker::SaveSettings(const Settings& settings) {
    if (!write_)
        return;
    Post(true, true, true, [this, settings] {
        std::string error;
        if (!sinkaway::SaveSettings(config_, settings, error) && !settingsWarned_) {
            std::fprintf(stderr, "sinkaway: settings will not be kept: %s\n", error.c_str());
            settingsWarned_ = true;
        }
    });
}

void StoreWorker::CheckTable() {
    Post(false, true, true, [this] { ReadTable(); });
}

void StoreWorker::LoadTable() {
    // Read now, proved a slice at a time: what another copy wrote meanwhile shows next time.
    std::shared_ptr<Step> prove = std::make_shared<Step>();
    Post(false, true, true, [this, prove](uint64_t work) {
        if (!*prove) {
            *prove = ProveRows(ReadTable(), [this](std::vector<BestGameRow> rows) {
                Publish([&](News& n) { n.rows = std::move(rows); });
            });
        }
        return (*prove)(work);
    });
}

ScoreTable StoreWorker::ReadTable() {
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

void StoreWorker::AddGame(const ScoreEntry& game, std::string replayScript) {
    if (!write_)
        return;
    std::shared_ptr<Step> prove = std::make_shared<Step>();
    Post(true, true, true, [this, game, script = std::move(replayScript), prove](uint64_t work) {
        if (!*prove) {
            const AddResult r = store_.Add(game, script);
            if (!r.movedAside.empty()) {
                std::fprintf(stderr, "sinkaway: %s was broken; moved aside as %s\n",
                             store_.TablePath().c_str(), r.movedAside.c_str());
            }
            if (!r.ok) {
                WarnScores(r.error);
                return true;
            }
            *prove = ProveRows(r.table, [this, rank = r.rank](std::vector<BestGameRow> rows) {
                Publish([&](News& n) {
                    n.rows = std::move(rows);
                    n.newBest = rank;
                });
            });
        }
        return (*prove)(work);
    });
}

void StoreWorker::LoadReplay(std::string path, MusicPlayer& music) {
    // Proved by the reader, then played through to the watched game, a slice at a time.
    struct Loading {
        std::unique_ptr<ReplayReading> reading;
        std::unique_ptr<ReplayPlayer> player;
    };
    auto l = std::make_shared<Loading>();
    Post(false, false, true, [this, path = std::move(path), &music, l](uint64_t work) {
        auto fail = [this] {
            Publish([](News& n) { n.replayFailed = true; });
            return true;
        };
        if (!l->reading) {
            struct stat st;
            // Only the replay file itself: a link planted in the replay folder is not followed.
            if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
                std::fprintf(stderr, "sinkaway: no replay at %s\n", path.c_str());
                return fail();
            }
            l->reading = std::make_unique<ReplayReading>(path);
        }
        if (!l->player) {
            if (!l->reading->Continue(work))
                return false;
            if (l->reading->status() != 0) {
                std::fprintf(stderr, "%s\n", l->reading->error().c_str());
                return fail();
            }
            l->player = std::make_unique<ReplayPlayer>(std::move(l->reading->replay()), music,
                                                       ReplayPlayer::CatchUpNow::kLater);
        }
        if (!l->player->CatchUp(work))
            return false;
        Publish([&](News& n) { n.replay = std::move(l->player); });
        return true;
    });
}

}  // namespace sinkaway
