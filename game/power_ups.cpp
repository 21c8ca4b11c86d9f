// Power-up tokens: they ride the bar, are placed on a returning bar with a chance of one in two,
// and when the ball covers one it turns blue and gets faster for 400 power ticks.
#include "game.h"
#include "numeric.h"

namespace sinkaway {

namespace {
constexpr float kTokenLift = 100.0f;  // gap between the token's lower edge and the bar
constexpr int16_t kPowerTicksToEnd = 400;
}  // namespace

// The ball's side limits, applied to the token whether or not it is visible.
void Game::LimitTokenToWalls() {
    Shape& token = form.shpPower;
    const Shape& wallLeft = form.shpWallLeft;
    const Shape& wallRight = form.shpWallRight;
    if (token.left <= wallLeft.left + wallLeft.width) {
        token.left = wallLeft.width + wallLeft.left;
    } else if (token.left + token.width >= wallRight.left) {
        token.left = wallRight.left - token.width;
    }
}

// Uses the bar's Top from before this tick's rise, so on screen the token trails the bar by one
// rise step.
void Game::RideToken() {
    Shape& token = form.shpPower;
    token.top = form.shpFloor.top - (token.height + kTokenLift);
}

// Runs before the returning bar gets its new hole, so the token is placed against the previous
// pass's hole and may end up over the new one.
void Game::SpawnToken() {
    int32_t chance = 0;
    if (form.chkPower.value != 1) {
        return;
    }
    if (form.shpFloor.top == kRecycleTop) {
        chance = Rand(0, 1);
    }
    if (chance == 1) {
        PlacePowerUp();
    }
}

// Ranges may come out empty or reversed near the walls; Rand still answers and the wall limits of
// the next tick move the token back inside.
void Game::PlacePowerUp() {
    Shape& token = form.shpPower;
    const Shape& hole = form.shpHole;
    const int32_t side = Rand(1, 2);
    if (side == 1) {
        token.left = static_cast<float>(Rand(1, RoundToInt32(hole.left)));
    }
    if (side == 2) {
        const float holeRight = hole.left + hole.width;
        const int32_t from = RoundToInt32(holeRight);
        const int32_t to = RoundToInt32(kFloorSpan - token.width);
        token.left = static_cast<float>(Rand(from, to));
    }
    token.visible = true;
}

void Game::PickUpAndEndPowerUp() {
    Shape& token = form.shpPower;
    Shape& ball = form.shpBall;

    // The token's top edge within the ball's height, its width wholly within the ball's.
    const float ballBottom = ball.top + ball.height;
    const float tokenRight = token.left + token.width;
    const float ballRight = ball.left + ball.width;
    const bool caught = token.visible && token.top >= ball.top && token.top <= ballBottom &&
                        token.left >= ball.left && tokenRight <= ballRight;
    if (caught) {
        token.visible = false;
        form.tmrPower().enabled = true;
        state.intPowerTicks = 1;
    }

    if (form.tmrPower().enabled) {
        ball.fillColor = colors::kBlue;
        ball.borderColor = colors::kGrey;
        state.intFallStep = 75;
        state.intSideSpeed = 125;
    }

    // Ends at 50, not the 55 of a new game: after a power-up the ball falls a little slower.
    if (state.intPowerTicks >= kPowerTicksToEnd) {
        form.tmrPower().enabled = false;
        ball.borderColor = colors::kRed;
        ball.fillColor = colors::kBlack;
        state.intPowerTicks = 0;
        state.intFallStep = 50;
        state.intSideSpeed = 100;
    }
}

// A game that ends during a power-up leaves this timer running on the game-over screen; the count
// stops at the top of its 16-bit range instead of wrapping.
void Game::PowerTick() {
    if (!form.tmrPower().enabled) {
        return;
    }
    if (state.intPowerTicks < kPowerTicksLimit) {
        state.intPowerTicks = static_cast<int16_t>(state.intPowerTicks + 1);
    }
}

}  // namespace sinkaway
