// A player of our own for soak runs and recorded games. It looks at the ball, the bar's hole and
// the token the way a player sees them, presses the arrow keys no faster than a hand can, has
// lapses that end its games, and lingers on the game-over screen now and then.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "invariants.h"
#include "script_writer.h"
#include "session.h"
#include "vocabulary.h"

namespace sinkaway::testing {

// Hears every tick (TickObserver) and every input the bot makes.
class BotWatcher : public TickObserver {
  public:
    virtual void OnInput(std::string_view event, EventKind kind) = 0;
    virtual bool failed() const { return false; }  // the bot stops once this holds
};

// How one bot behaves for a whole run, from the title screen on.
struct BotStyle {
    bool powerUpsOff = false;   // untick chkPower on the title screen
    bool musicOff = false;      // untick chkBGM
    double lapseChance = 0.01;  // per look during play: stop steering for a while
};

class Bot {
  public:
    // Plays on a loaded session. Every input also goes to `script`, if given, with the time
    // between.
    Bot(Session& session, uint64_t seed, BotStyle style, BotWatcher* watcher = nullptr,
        ScriptWriter* script = nullptr)
        : session_(session), rng_(seed), style_(style), watcher_(watcher), script_(script) {}

    // Looks and acts until the virtual clock reaches `until`, or until `gamesToPlay` games have
    // ended (0: no limit), a second into the last game-over screen.
    void PlayUntil(Micros until, int64_t gamesToPlay = 0) {
        until_ = until;
        gamesToPlay_ = gamesToPlay;
        while (session_.now() < until_ && !(watcher_ && watcher_->failed()) &&
               (gamesToPlay == 0 || games < gamesToPlay)) {
            Look();
        }
        if (script_ != nullptr)
            script_->AdvanceTo(session_.now());
    }

    int64_t games = 0;  // games that reached the game-over screen
    double bestScore = 0;
    double lastScore = 0;

  private:
    static constexpr float kBallWidth = 300;
    static constexpr float kLeftmost = 80, kRightmost = 4260;  // the ball's Left between the walls

    int64_t Between(int64_t low, int64_t high) {
        return low + static_cast<int64_t>(rng_() % static_cast<uint64_t>(high - low + 1));
    }
    bool Chance(double p) { return static_cast<double>(rng_() >> 11) * 0x1.0p-53 < p; }

    // Lets virtual time pass in whole milliseconds, as a recorded script can.
    void Wait(int64_t ms) {
        const Micros left = (until_ - session_.now()) / 1000;
        ms = std::max<int64_t>(1, std::min<int64_t>(ms, left));
        PlayEvent(session_, {.verb = Verb::kAdvance, .number = static_cast<uint64_t>(ms)},
                  watcher_);
    }
    void Input(const ScriptEvent& event, EventKind kind) {
        PlayEvent(session_, event);
        if (script_ != nullptr)
            script_->Event(session_.now(), event);
        if (watcher_ != nullptr)
            watcher_->OnInput(EventText(event), kind);
    }
    void Click(ClickTarget target) {
        Input({.verb = Verb::kClick, .target = target}, EventKind::kClick);
    }
    void KeyDown(uint16_t key) {
        Input({.verb = Verb::kKeyDown, .keyCode = key}, EventKind::kOther);
    }
    void KeyUp(uint16_t key) { Input({.verb = Verb::kKeyUp, .keyCode = key}, EventKind::kOther); }
    void Release() {
        if (held_ != 0)
            KeyUp(held_);
        held_ = 0;
    }
    void StartGame() {
        if (Chance(0.5)) {
            Click(ClickTarget::imgNewGame);
        } else {
            Click(ClickTarget::cmdNewGame);
        }
    }

    void Look() {
        const Form& f = session_.game.form;
        if (f.lblSinkaway.visible) {
            TitleScreen();
        } else if (f.imgNewGame.visible) {
            GameOverScreen();
        } else {
            Play();
        }
    }

    void TitleScreen() {
        Wait(Between(300, 1500));
        // Two extra clicks on a box leave it as it was, as a player changing their mind does.
        if (style_.powerUpsOff || Chance(0.1)) {
            Click(ClickTarget::chkPower);
            Wait(Between(200, 800));
            if (!style_.powerUpsOff)
                Click(ClickTarget::chkPower);
        }
        if (style_.musicOff) {
            Click(ClickTarget::chkBGM);
            Wait(Between(200, 800));
        }
        StartGame();
        Wait(Between(50, 120));
    }

    void GameOverScreen() {
        const GameState& s = session_.game.state;
        if (playing_) {
            ++games;
            lastScore = s.dblScore;
            bestScore = std::max(bestScore, s.dblScore);
            playing_ = false;
            if (gamesToPlay_ != 0 && games >= gamesToPlay_) {
                Wait(1000);
                return;
            }
        }
        if (Chance(0.7))
            Release();  // else the held key carries into the next game
        // Mostly a short look at the score; sometimes a coffee break, long enough for a power-up
        // count left running to reach the top of its range.
        const int64_t r = Between(0, 99);
        const int64_t ms = r < 3    ? Between(520'000, 900'000)
                           : r < 25 ? Between(3'000, 20'000)
                                    : Between(400, 3'000);
        Wait(ms);
        if (session_.now() < until_)
            StartGame();
        Wait(Between(50, 120));
    }

    // Where the ball's Left should go, and how far from it still counts as there.
    void ChooseTarget(float& target, float& tolerance) const {
        const Form& f = session_.game.form;
        const GameState& s = session_.game.state;
        const Shape& ball = f.shpBall;
        const Shape& hole = f.shpHole;
        const Shape& token = f.shpPower;
        const bool through = s.blnThroughHole != 0;
        const bool resting = s.blnOnFloor != 0 && !through;

        // Within the hole means Left from the hole's Left to its right edge less the ball.
        const float low = std::max(kLeftmost, hole.left);
        const float high = std::min(kRightmost, hole.left + hole.width - kBallWidth);
        target = (low + high) / 2;
        tolerance = std::max(0.0f, (high - low) / 2);
        if (through) {
            target = 2080;  // wait in the middle for the next bar's hole
            tolerance = 150;
        }

        // A token at the ball's height or coming up to it; riding a bar, only if the bar leaves
        // time for the detour before the ceiling.
        if (!token.visible || token.top < ball.top - 1)
            return;
        const float tokenTarget = std::clamp(token.left - 50, kLeftmost, kRightmost);
        if (resting) {
            const float side = std::max<float>(s.intSideSpeed, 1);
            const float ticksLeft =
                (f.shpFloor.top - kBallWidth - 80) / std::max<float>(s.intRiseStep, 1);
            const float needed = std::abs(ball.left - tokenTarget) / side +
                                 std::abs(tokenTarget - target) / side + 10;
            if (needed > ticksLeft)
                return;
        }
        target = tokenTarget;
        tolerance = 40;
    }

    void Play() {
        playing_ = true;
        if (lapseLeftMs_ > 0) {
            const int64_t ms = std::min<int64_t>(lapseLeftMs_, Between(50, 120));
            lapseLeftMs_ -= ms;
            Wait(ms);
            return;
        }
        if (Chance(style_.lapseChance)) {
            lapseLeftMs_ = Between(300, 2500);
            if (Chance(0.5))
                Release();  // else the ball keeps going the way it went
            return;
        }
        if (Chance(0.002)) {
            // A stray key: its key-down changes nothing, its key-up stops the ball.
            const uint16_t key = static_cast<uint16_t>(Between(0, 1) ? 32 : 16);
            KeyDown(key);
            Wait(Between(50, 150));
            KeyUp(key);
            held_ = 0;
        }

        float target = 0, tolerance = 0;
        ChooseTarget(target, tolerance);
        const float left = session_.game.form.shpBall.left;
        uint16_t want = 0;
        if (left < target - tolerance)
            want = kKeyRight;
        if (left > target + tolerance)
            want = kKeyLeft;
        if (want != held_) {
            Release();
            if (want != 0)
                KeyDown(want);
            held_ = want;
        } else if (want != 0 && Chance(0.3)) {
            KeyDown(want);  // the keyboard's auto-repeat, which picks up a new side speed
        }
        Wait(Between(50, 110));
    }

    Session& session_;
    std::mt19937_64 rng_;
    BotStyle style_;
    BotWatcher* watcher_;
    ScriptWriter* script_;
    Micros until_ = 0;
    int64_t gamesToPlay_ = 0;
    int64_t lapseLeftMs_ = 0;
    uint16_t held_ = 0;
    bool playing_ = false;
};

}  // namespace sinkaway::testing
