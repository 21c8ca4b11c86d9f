// The arrow keys and the first step of the main tick: the ball moves sideways and the walls and the
// bottom boundary hold it inside the playfield.
#include "game.h"
#include "numeric.h"

namespace sinkaway {

void Game::KeyDown(uint16_t keyCode) {
    if (keyCode == kKeyLeft) {
        state.intBallDX = Negate16(state.intSideSpeed);
    } else if (keyCode == kKeyRight) {
        state.intBallDX = state.intSideSpeed;
    }
}

// Any key-up stops the ball, even while the other arrow is still held.
void Game::KeyUp(uint16_t /*keyCode*/) {
    state.intBallDX = 0;
}

void Game::SteerBall() {
    Shape& ball = form.shpBall;
    ball.left = ball.left + static_cast<float>(state.intBallDX);

    // One chain: at most one limit acts per tick, and a ball touching a side wall is not held by
    // the bottom boundary (it can slip out of the playfield along the wall).
    const Shape& wallLeft = form.shpWallLeft;
    const float leftLimit = wallLeft.width + wallLeft.left;
    if (leftLimit >= ball.left) {
        ball.left = wallLeft.width + wallLeft.left;
        return;
    }
    const Shape& wallRight = form.shpWallRight;
    const float ballRight = ball.width + ball.left;
    if (ballRight >= wallRight.left) {
        ball.left = wallRight.left - ball.width;
        return;
    }
    const Shape& bottom = form.shpWallBottom;
    const float lowest = bottom.top - ball.height;
    if (lowest <= ball.top) {
        ball.top = bottom.top - ball.height;
        // Only until the landing test of this same tick decides gravity again.
        form.tmrBall().enabled = false;
    }
}

}  // namespace sinkaway
