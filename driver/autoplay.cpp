// The autoplayer's one rule: aim for the middle of the hole.
#include "autoplay.h"

namespace sinkaway {

bool Autoplay::Step(Session& session) {
    const Form& form = session.game.form;
    if (!InPlay(form)) {
        // The title screen starts at once; a game over shows for a moment first.
        if (overSince_ < 0)
            overSince_ = session.now();
        if (form.lblGameOver.visible && session.now() - overSince_ < kGameOverPause)
            return false;
        overSince_ = -1;
        direction_ = 0;
        ++gamesStarted_;
        session.Click(form.imgNewGame.visible ? ClickTarget::imgNewGame : ClickTarget::cmdNewGame);
        return true;
    }
    const float ball = form.shpBall.left + form.shpBall.width / 2;
    const float hole = form.shpHole.left + form.shpHole.width / 2;
    const int want = hole - ball > kDeadZone ? 1 : (ball - hole > kDeadZone ? -1 : 0);
    if (want == direction_)
        return false;
    if (direction_ != 0)
        session.KeyUp(direction_ < 0 ? kKeyLeft : kKeyRight);
    if (want != 0)
        session.KeyDown(want < 0 ? kKeyLeft : kKeyRight);
    direction_ = want;
    return true;
}

}  // namespace sinkaway
