// The timers on the virtual clock: periods, firing order, phase, and what they mean for a game
// played through the same event functions the headless driver uses.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

constexpr Micros kSecond = 1'000'000;

struct Fired {
    TimerId id;
    Micros at;
};

// Pops every timer due up to `until`, without handlers: the form alone decides.
std::vector<Fired> RunUntil(TimerScheduler& scheduler, const Form& form, Micros until) {
    std::vector<Fired> fired;
    TimerId id;
    while (scheduler.PopDue(until, id)) {
        fired.push_back({id, scheduler.now()});
        scheduler.Sync(form);
    }
    return fired;
}

Form WithTimers(std::initializer_list<TimerId> enabled) {
    Form form = MakeDesignForm();
    for (TimerId id : kAllTimers) {
        form.timer(id).enabled = false;
    }
    for (TimerId id : enabled) {
        form.timer(id).enabled = true;
    }
    return form;
}

TEST(SchedulerTest, OneMillisecondTimersTick64TimesASecondAndTheScoreEvery300ms) {
    const Form form = WithTimers({TimerId::tmrMain, TimerId::tmrScore});
    TimerScheduler scheduler;
    scheduler.Sync(form);
    std::map<TimerId, std::vector<Micros>> at;
    for (const Fired& f : RunUntil(scheduler, form, 10 * kSecond)) {
        at[f.id].push_back(f.at);
    }
    ASSERT_EQ(at[TimerId::tmrMain].size(), 640u);
    ASSERT_EQ(at[TimerId::tmrScore].size(), 33u);
    EXPECT_EQ(at.size(), 2u) << "disabled timers never fire";
    for (size_t i = 0; i < 640; ++i) {
        ASSERT_EQ(at[TimerId::tmrMain][i], static_cast<Micros>(i + 1) * 15625);
    }
    for (size_t i = 0; i < 33; ++i) {
        ASSERT_EQ(at[TimerId::tmrScore][i], static_cast<Micros>(i + 1) * 300'000);
    }
}

TEST(SchedulerTest, TimersDueTogetherFireInAFixedOrder) {
    // 1.5 s is the first instant that is a whole number of both periods.
    const Form form = WithTimers({TimerId::tmrGameOver, TimerId::tmrPower, TimerId::tmrMain,
                                  TimerId::tmrBall, TimerId::tmrScore});
    TimerScheduler scheduler;
    scheduler.Sync(form);
    std::vector<TimerId> order;
    for (const Fired& f : RunUntil(scheduler, form, 3 * kSecond / 2)) {
        if (f.at == 3 * kSecond / 2) {
            order.push_back(f.id);
        }
    }
    const std::vector<TimerId> expected = {TimerId::tmrScore, TimerId::tmrBall, TimerId::tmrMain,
                                           TimerId::tmrPower, TimerId::tmrGameOver};
    EXPECT_EQ(order, expected);
}

TEST(SchedulerTest, ATimerKeepsItsPhaseUnlessItWasSeenDisabled) {
    struct Case {
        const char* what;
        bool seenDisabled;  // the scheduler looked while the timer was off
        Micros nextDue;
    };
    const Case cases[] = {
        {"enabled again while enabled", false, 2 * kPeriod},
        {"disabled and enabled inside one handler", false, 2 * kPeriod},
        {"disabled at one event, enabled at the next", true, kPeriod + 4000 + kPeriod},
    };
    for (const Case& c : cases) {
        Form form = WithTimers({TimerId::tmrBall});
        TimerScheduler scheduler;
        scheduler.Sync(form);
        RunUntil(scheduler, form, kPeriod);
        scheduler.SetNow(kPeriod + 4000);  // an event between two ticks
        form.tmrBall().enabled = false;
        if (c.seenDisabled) {
            scheduler.Sync(form);
        }
        form.tmrBall().enabled = true;
        scheduler.Sync(form);
        EXPECT_EQ(scheduler.NextDue(), c.nextDue) << c.what;
    }
}

TEST(SchedulerTest, ATimerDisabledBeforeItsTickNeverFires) {
    Form form = WithTimers({TimerId::tmrPower});
    TimerScheduler scheduler;
    scheduler.Sync(form);
    scheduler.SetNow(kPeriod - 1);
    form.tmrPower().enabled = false;
    scheduler.Sync(form);
    EXPECT_TRUE(RunUntil(scheduler, form, 10 * kSecond).empty());
    EXPECT_EQ(scheduler.NextDue(), -1);
}

class BallWatch final : public TickObserver {
  public:
    explicit BallWatch(const Game& game) : game_(game) {}
    void OnTimerTick(TimerId id, Micros) override {
        if (id == TimerId::tmrBall || id == TimerId::tmrMain) {
            ticks.push_back({id, game_.form.shpBall.top});
        }
    }
    std::vector<std::pair<TimerId, float>> ticks;

  private:
    const Game& game_;
};

// The bottom limit switches gravity off and the landing test on again within one main tick; the
// timer keeps its phase, so the gravity tick comes every period, just before the main tick.
TEST(SchedulerTest, ABallOnTheBottomBoundaryGetsAGravityTickEveryPeriod) {
    Rig rig;
    rig.NewGame();
    rig.form.shpFloor.top = 1000;
    rig.form.shpBall.left = 2000;
    rig.form.shpBall.top = 5480;
    rig.state.blnThroughHole = kTrue;
    BallWatch watch(rig.game);
    rig.session.Advance(20 * kPeriod, &watch);
    ASSERT_EQ(watch.ticks.size(), 40u);
    for (size_t i = 0; i < watch.ticks.size(); i += 2) {
        EXPECT_EQ(watch.ticks[i].first, TimerId::tmrBall) << i;
        EXPECT_EQ(watch.ticks[i].second, 5535.0f) << i;
        EXPECT_EQ(watch.ticks[i + 1].first, TimerId::tmrMain) << i;
        EXPECT_EQ(watch.ticks[i + 1].second, 5480.0f) << i;
    }
}

struct Outcome {
    GameState state;
    Form form;
    Micros endedAt;
};

// Steers the ball into the first hole and lets the game run until the game-over screen shows.
Outcome PlayAGame(uint64_t seed) {
    SeededGenerator random;
    CountingMusic music;
    Session session(random, music);
    session.Load(seed);
    session.Click(ClickTarget::imgNewGame);
    session.KeyDown(kKeyRight);
    session.Advance(300'000);
    session.KeyUp(kKeyRight);
    while (!session.game.form.lblGameOver.visible && session.now() < 600 * kSecond) {
        session.Advance(100'000);
    }
    return {session.game.state, session.game.form, session.now()};
}

TEST(SchedulerTest, AGameWithAFixedSeedPlaysOutTheSameEveryTime) {
    const Outcome first = PlayAGame(20261208);
    const Outcome second = PlayAGame(20261208);
    ASSERT_TRUE(first.form.lblGameOver.visible) << "the game reached its end";
    EXPECT_FALSE(first.form.timer(TimerId::tmrMain).enabled);
    EXPECT_EQ(first.state.blnGameOver, kTrue);
    EXPECT_EQ(first.endedAt, second.endedAt);
    EXPECT_GT(first.endedAt, 78 * kPeriod) << "the ball dropped through the first bar's hole";
    EXPECT_EQ(first.state, second.state);
    EXPECT_TRUE(SameForm(first.form, second.form));
}

}  // namespace
}  // namespace sinkaway::testing
