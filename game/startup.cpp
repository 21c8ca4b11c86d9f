// The load event and the new game: the title screen or the game-over screen turns into a game.
#include "game.h"
#include "numeric.h"

namespace sinkaway {

Game::Game(FloatSource& random, MusicPlayer& music)
    : form(MakeDesignForm()), random_(random), music_(music) {}

void Game::Load(uint64_t seed) {
    state.intBallLeft0 = RoundToInt16(form.shpBall.left);
    state.intBallTop0 = RoundToInt16(form.shpBall.top);
    // Floor and hole both restart at the hole's design Top after a game over.
    state.intFloorTop0 = RoundToInt16(form.shpHole.top);
    form.lblGameOver.visible = false;
    form.lblGameOverScore.visible = false;
    random_.Seed(seed);
}

void Game::NewGame() {
    form.imgNewGame.visible = false;
    form.shpBall.visible = true;
    form.shpFloor.visible = true;
    form.shpHole.visible = true;
    form.lblScore.visible = true;

    state.blnOnFloor = kFalse;
    state.blnOverHole = kFalse;
    state.blnThroughHole = kFalse;

    form.cmdNewGame.visible = false;
    state.blnGameOver = kFalse;

    form.lblGameOver.visible = false;
    form.lblGameOverScore.visible = false;
    form.lblSinkaway.visible = false;
    form.lblVantrel.visible = false;
    form.chkBGM.visible = false;
    form.chkPower.visible = false;

    // Undo what the difficulty ladder and a power-up changed in the previous game.
    form.shpFloor.fillColor = colors::kGreen;
    form.backColor = colors::kBlack;
    form.shpHole.fillColor = colors::kBlack;
    form.lblScore.foreColor = colors::kLightCyan;
    form.shpBall.backColor = colors::kBlack;
    form.shpBall.borderColor = colors::kRed;
    form.shpBall.fillColor = colors::kBlack;

    form.tmrBall().enabled = true;
    form.tmrScore().enabled = true;
    form.tmrMain().enabled = true;
    form.tmrPower().enabled = false;

    state.dblScore = 0;
    state.intPowerTicks = 0;
    state.intFallStep = 55;
    state.intRiseStep = 50;
    state.intSideSpeed = 100;

    if (form.chkBGM.value == 1) {
        ++musicPlays;
        music_.PlayAsync();
    }
}

}  // namespace sinkaway
