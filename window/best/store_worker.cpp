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

void StoreWorker::Post(bool mustFinish, bool writes, std::function<void()> job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back({mustFinish, writes && write_, std::move(job)});
    }
    ready_.notify_all();
}

void StoreWorker::Run(Job& job) {
    job.run();
    if (job.writes && hooks_.wrote)
        hooks_.wrote();
}

bool StoreWorker::RunNext() {
    if (pace_ != Pace::kBetweenFrames)
        return false;
    Job job;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Closing: only the writes still matter.
        while (!jobs_.empty() && stopping_ && !jobs_.front().mustFinish) jobs_.pop_front();
        if (jobs_.empty())
            return false;
        job = std::move(jobs_.front());
        jobs_.pop_front();
    }
    Run(job);
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
        Run(job);
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

std::vector<BestGameRow> StoreWorker::Rows(const ScoreTable& table) {
    std::vector<BestGameRow> rows;
    for (const ScoreEntry& e : table) {
        const std::string key = e.replay + " " + std::to_string(e.score);
        auto known = std::find_if(proven_.begin(), proven_.end(),
                                  [&](const auto& p) { return p.first == key; });
        if (known == proven_.end()) {
            proven_.emplace_back(key, ReplayProvesScore(store_.folder(), e));
            known = proven_.end() - 1;
        }
        rows.push_back({static_cast<int>(rows.size()) + 1, e.score, e.played, known->second,
                        store_.folder() + "/" + e.replay});
    }
    return rows;
}

void StoreWorker::LoadSettings() {
    Post(false, false, [this] {
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
    Post(true, true, [this, settings] {
        std::string error;
        if (!sinkaway::SaveSettings(config_, settings, error) && !settingsWarned_) {
            std::fprintf(stderr, "sinkaway: settings will not be kept: %s\n", error.c_str());
            settingsWarned_ = true;
        }
    });
}

void StoreWorker::CheckTable() {
    Post(false, true, [this] { ReadTable(); });
}

void StoreWorker::LoadTable() {
    Post(false, true, [this] {
        std::vector<BestGameRow> rows = Rows(ReadTable());
        Publish([&](News& n) { n.rows = std::move(rows); });
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
    Post(true, true, [this, game, script = std::move(replayScript)] {
        const AddResult r = store_.Add(game, script);
        if (!r.movedAside.empty()) {
            std::fprintf(stderr, "sinkaway: %s was broken; moved aside as %s\n",
                         store_.TablePath().c_str(), r.movedAside.c_str());
        }
        if (!r.ok) {
            WarnScores(r.error);
            return;
        }
        std::vector<BestGameRow> rows = Rows(r.table);
        Publish([&](News& n) {
            n.rows = std::move(rows);
            n.newBest = r.rank;
        });
    });
}

void StoreWorker::LoadReplay(std::string path, MusicPlayer& music) {
    Post(false, false, [this, path = std::move(path), &music] {
        ReplayScript script;
        std::string error;
        struct stat st;
        // Only the replay file itself: a link planted in the replay folder is not followed.
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            std::fprintf(stderr, "sinkaway: no replay at %s\n", path.c_str());
            Publish([](News& n) { n.replayFailed = true; });
            return;
        }
        if (ReadReplay(path, script, error) != 0) {
            std::fprintf(stderr, "%s\n", error.c_str());
            Publish([](News& n) { n.replayFailed = true; });
            return;
        }
        auto player = std::make_unique<ReplayPlayer>(std::move(script), music);
        Publish([&](News& n) { n.replay = std::move(player); });
    });
}

}  // namespace sinkaway
