// The game window's behaviour: its controls, its variables and every event handler. The
// handlers live in one source file per rules area; main_tick.cpp strings the main tick together.
#pragma once

#include <cstdint>

#include "form.h"
#include "game_state.h"
#include "key_codes.h"
#include "rand.h"
#include "sound.h"

namespace sinkaway {

// Floor Top that marks a bar just brought back from below the playfield.
inline constexpr float kRecycleTop = 6301.0f;
// Width of the floor bar, the span a hole may take.
inline constexpr float kFloorSpan = 4725.0f;
inline constexpr float kFloorHeight = 135.0f;
// Past this, intPowerTicks stops counting instead of wrapping.
inline constexpr int16_t kPowerTicksLimit = 32767;

class Game {
  public:
    Game(FloatSource& random, MusicPlayer& music);

    // Window events.
    void Load(uint64_t seed);
    void NewGame();  // a click on imgNewGame or cmdNewGame
    void KeyDown(uint16_t keyCode);
    void KeyUp(uint16_t keyCode);

    // Timer ticks: OnTick runs the handler of the timer that fired. The scheduler fires only
    // timers that are on, and a handler runs its steps as they stand (the main tick's ten have no
    // guard), so a `tick` line of a script runs one whatever its timer's state.
    void OnTick(TimerId id);
    void MainTick();
    void GravityTick();
    void ScoreTick();
    void PowerTick();
    void GameOverTick();
    // Whether the game-over poller's tick does anything: only while the flag is up.
    bool GameOverPending() const;

    // The main tick's steps, in the order MainTick runs them.
    void SteerBall();
    void LimitTokenToWalls();
    void RideToken();
    void SpawnToken();
    void PickUpAndEndPowerUp();
    void DrawNewHole();
    void RaiseFloor();
    void ApplyDifficultyLadder();
    void CheckLanding();
    void RecycleFloor();
    void TestCeiling();

    void PlacePowerUp();

    Form form;
    GameState state;
    int64_t musicPlays = 0;  // how often a game has started the music

  private:
    int32_t Rand(int32_t low, int32_t high) { return sinkaway::Rand(random_, low, high); }

    FloatSource& random_;
    MusicPlayer& music_;
};

// "Score: " followed by the score's number text: a blank where a minus sign would stand, then the
// digits. Written into a caller's buffer so the score tick never allocates.
void FormatScoreText(double score, std::string& out);

}  // namespace sinkaway
