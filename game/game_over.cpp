// The ceiling test that ends a game, and the game-over poller that shows the game-over screen.
#include "game.h"
#include "numeric.h"

namespace sinkaway {

void Game::TestCeiling() {
    const Shape& ceiling = form.shpWallTop;
    const float ceilingBottom = ceiling.top + ceiling.height;
    if (ceilingBottom >= form.shpBall.top) {
        state.blnGameOver = kTrue;
    }
}

bool Game::GameOverPending() const {
    return state.blnGameOver == kTrue;
}

// Runs for the whole life of the window and repeats its work on every tick while the flag is up;
// only the hidden hole's random redraw differs from tick to tick.
void Game::GameOverTick() {
    if (!GameOverPending()) {
        return;
    }
    form.imgNewGame.visible = true;
    form.cmdNewGame.visible = true;

    // The power-up timer is left running: a power-up in progress keeps counting.
    form.tmrMain().enabled = false;
    form.tmrBall().enabled = false;
    form.tmrScore().enabled = false;

    form.shpBall.left = state.intBallLeft0;
    form.shpBall.top = state.intBallTop0;
    form.shpFloor.top = state.intFloorTop0;
    form.shpHole.top = state.intFloorTop0;

    form.shpBall.visible = false;
    form.shpHole.visible = false;
    form.shpFloor.visible = false;
    form.lblScore.visible = false;

    form.lblGameOver.visible = true;
    form.lblGameOverScore.visible = true;
    form.lblGameOver.caption = "***Game Over***";
    FormatScoreText(state.dblScore, form.lblGameOverScore.caption);

    form.shpHole.width = static_cast<float>(Rand(400, 800));
    const int32_t span = RoundToInt32(kFloorSpan - form.shpHole.width);
    form.shpHole.left = static_cast<float>(Rand(0, span));

    form.lblVantrel.visible = true;
    if (form.chkBGM.value == 1) {
        form.lblVantrel.caption = kMusicCredit;
    }

    form.shpPower.visible = false;

    // The game-over texts wear the colour of the stage the player reached.
    form.lblGameOver.foreColor = form.shpFloor.fillColor;
    form.lblGameOverScore.foreColor = form.shpFloor.fillColor;
}

}  // namespace sinkaway
