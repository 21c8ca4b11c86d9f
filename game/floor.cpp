// The floor bar and its hole: a new hole for a bar just back from below, the rise on every main
// tick, and the recycling of a bar that has left the top of the playfield.
#include "game.h"
#include "numeric.h"

namespace sinkaway {

// A Top of exactly 6301 is the sign that the bar was recycled at the end of the previous tick; it
// holds only until this tick's rise, so every recycled bar gets exactly one new hole.
void Game::DrawNewHole() {
    Shape& hole = form.shpHole;
    if (form.shpFloor.top == kRecycleTop) {
        hole.width = static_cast<float>(Rand(550, 800));
    }
    if (form.shpFloor.top == kRecycleTop) {
        const int32_t span = RoundToInt32(kFloorSpan - hole.width);
        hole.left = static_cast<float>(Rand(0, span));
    }
}

void Game::RaiseFloor() {
    form.shpFloor.top = form.shpFloor.top - static_cast<float>(state.intRiseStep);
    form.shpHole.top = form.shpFloor.top;
}

// Runs after the landing test, so the last landing test of a bar still sees it. The hole stays
// where it is until the next tick's rise brings it down to the recycled bar.
void Game::RecycleFloor() {
    Shape& floor = form.shpFloor;
    const float bottomEdge = floor.top + kFloorHeight;
    if (bottomEdge <= 0.0f) {
        floor.top = kRecycleTop;
    }
    if (floor.top == kRecycleTop) {
        state.blnOnFloor = kFalse;
        state.blnOverHole = kFalse;
        state.blnThroughHole = kFalse;
    }
}

}  // namespace sinkaway
