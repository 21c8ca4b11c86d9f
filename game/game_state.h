// The variables every handler of the game window shares. One plain, copyable struct.
#pragma once

#include <cstdint>

namespace sinkaway {

// Whole numbers are 16-bit like the window's Integer variables; flags hold 0 or -1.
struct GameState {
    int16_t intBallDX = 0;     // twips added to the ball's Left on every main tick
    int16_t intFallStep = 0;   // twips the ball drops per gravity tick
    int16_t intSideSpeed = 0;  // magnitude the arrow keys give to intBallDX
    int16_t intRiseStep = 0;   // twips the floor rises per main tick
    int16_t blnGameOver = 0;   // the ball has reached the ceiling
    int16_t intBallLeft0 = 0;  // ball's start position, taken at load
    int16_t intBallTop0 = 0;
    int16_t intFloorTop0 = 0;  // start Top of both floor and hole after a game over
    double dblScore = 0;
    int16_t blnOnFloor = 0;
    int16_t blnOverHole = 0;
    int16_t blnThroughHole = 0;
    int16_t intPowerTicks = 0;  // power ticks since the token was picked up

    bool operator==(const GameState&) const = default;
};

// Calls fn(name, value) for every variable, in the order above: the one list that the trace and
// the tests walk.
template <typename S, typename Fn>
void ForEachVariable(S& s, Fn&& fn) {
    fn("intBallDX", s.intBallDX);
    fn("intFallStep", s.intFallStep);
    fn("intSideSpeed", s.intSideSpeed);
    fn("intRiseStep", s.intRiseStep);
    fn("blnGameOver", s.blnGameOver);
    fn("intBallLeft0", s.intBallLeft0);
    fn("intBallTop0", s.intBallTop0);
    fn("intFloorTop0", s.intFloorTop0);
    fn("dblScore", s.dblScore);
    fn("blnOnFloor", s.blnOnFloor);
    fn("blnOverHole", s.blnOverHole);
    fn("blnThroughHole", s.blnThroughHole);
    fn("intPowerTicks", s.intPowerTicks);
}

}  // namespace sinkaway
