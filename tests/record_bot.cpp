// Records a long game of the soak bot for the golden replays (make bot-replay): the first seed
// whose game goes past the whole ladder with power-ups caught, to a second of its game-over
// screen, written to the file named on the command line.
#include <cstdio>
#include <fstream>

#include "bot.h"

namespace sinkaway::testing {
namespace {

// Counts the tokens caught: a pickup sets the count to 1, and the main tick due with the first
// power tick still sees 1.
class PowerUpCounter final : public BotWatcher {
  public:
    explicit PowerUpCounter(const Game& game) : game_(game) {}
    void OnTimerTick(TimerId id, Micros) override {
        if (id != TimerId::tmrMain)
            return;
        if (game_.state.intPowerTicks == 1 && last_ != 1)
            ++powerUps;
        last_ = game_.state.intPowerTicks;
    }
    void OnInput(std::string_view, EventKind) override {}

    int64_t powerUps = 0;

  private:
    const Game& game_;
    int16_t last_ = 0;
};

int Record(const char* path) {
    for (uint64_t seed = 1; seed <= 500; ++seed) {
        SeededGenerator random;
        NullMusicPlayer music;
        Session session(random, music);
        session.Load(seed);
        PowerUpCounter counter(session.game);
        ScriptWriter script;
        script.Start(
            seed,
            "A long game of the soak bot (make bot-replay): past every step of the ladder,\n"
            "with power-ups caught, to a second of the game-over screen.");
        BotStyle style;
        style.lapseChance = 0.002;
        Bot bot(session, seed, style, &counter, &script);
        bot.PlayUntil(3'600'000'000, 1);
        // Past the whole ladder, with power-ups, but not so long that the replay test drags.
        if (bot.lastScore < 240 || bot.lastScore > 330 || counter.powerUps < 2)
            continue;
        if (!(std::ofstream(path, std::ios::binary) << script.text())) {
            std::fprintf(stderr, "record_bot: cannot write %s\n", path);
            return 1;
        }
        std::printf("recorded seed %llu: score %.0f, %lld power-ups, %lld ms\n",
                    static_cast<unsigned long long>(seed), bot.lastScore,
                    static_cast<long long>(counter.powerUps),
                    static_cast<long long>(session.now() / 1000));
        return 0;
    }
    std::fprintf(stderr, "record_bot: no seed gave a long enough game\n");
    return 1;
}

}  // namespace
}  // namespace sinkaway::testing

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: record_bot FILE\n");
        return 2;
    }
    return sinkaway::testing::Record(argv[1]);
}
