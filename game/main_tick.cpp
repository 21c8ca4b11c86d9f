// The main tick: ten steps in a fixed order, with no guard and no early exit.
#include "game.h"

namespace sinkaway {

void Game::MainTick() {
    SteerBall();              // 1. sideways move, walls, bottom boundary
    LimitTokenToWalls();      // 2. the token between the walls...
    RideToken();              //    ...and on the bar, before the bar rises
    SpawnToken();             // 3. a returning bar may bring a token
    PickUpAndEndPowerUp();    // 4. catch the token; a power-up starts or ends
    DrawNewHole();            // 5. a returning bar gets its new hole
    RaiseFloor();             // 6. the bar rises and the hole follows
    ApplyDifficultyLadder();  // 7. the score sets the pace and the colours
    CheckLanding();           // 8. gravity on or off
    RecycleFloor();           // 9. a bar out of the top comes back from below
    TestCeiling();            // 10. the ball at the ceiling ends the game
}

void Game::OnTick(TimerId id) {
    switch (id) {
        case TimerId::tmrMain:
            MainTick();
            break;
        case TimerId::tmrBall:
            GravityTick();
            break;
        case TimerId::tmrScore:
            ScoreTick();
            break;
        case TimerId::tmrPower:
            PowerTick();
            break;
        case TimerId::tmrGameOver:
            GameOverTick();
            break;
    }
}

}  // namespace sinkaway
