// Gravity and the landing test: a ball reaching the bar away from the hole is put onto it and rides
// up with it; a ball within the hole drops through and never rests on that bar again.
#include "game.h"
#include "numeric.h"

namespace sinkaway {

void Game::GravityTick() {
    if (form.tmrBall().enabled) {
        form.shpBall.top = form.shpBall.top + static_cast<float>(state.intFallStep);
    }
}

void Game::CheckLanding() {
    Shape& ball = form.shpBall;
    const Shape& hole = form.shpHole;

    // Only horizontal: the hole's Top and Height play no part. Both bounds are inclusive.
    const bool fromLeft = ball.left >= hole.left;
    const float holeRight = hole.left + hole.width;
    const float ballRight = ball.left + ball.width;
    const bool toRight = holeRight >= ballRight;
    if (fromLeft && toRight) {
        state.blnOnFloor = kFalse;
        state.blnOverHole = kTrue;
    } else {
        state.blnOverHole = kFalse;
    }

    // Any depth below the bar's top counts as touching it.
    const float restingTop = form.shpFloor.top - ball.height;
    const int16_t touching = Flag(restingTop <= ball.top);
    const auto notThrough = static_cast<int16_t>(~state.blnThroughHole);
    const auto notOverHole = static_cast<int16_t>(~state.blnOverHole);
    if ((touching & notThrough & notOverHole) != 0) {
        ball.top = form.shpFloor.top - ball.height;
        state.blnOnFloor = kTrue;
    } else if (touching != 0) {
        state.blnThroughHole = kTrue;
    }

    // Written on every call: this decides gravity for the tick, whatever the bottom limit wrote.
    form.tmrBall().enabled = !(state.blnOnFloor != 0 && state.blnThroughHole == 0);
}

}  // namespace sinkaway
