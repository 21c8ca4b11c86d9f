// Routing of the window's events to the game and to the timer scheduler.
#include "session.h"

namespace sinkaway {

void Session::Load(uint64_t seed) {
    game.Load(seed);
    scheduler_.SetNow(0);
    scheduler_.Sync(game.form);
}

void Session::Restart(uint64_t seed) {
    game.form = MakeDesignForm();
    game.state = GameState{};
    game.musicPlays = 0;
    scheduler_ = TimerScheduler{};
    Load(seed);
}

void Session::Click(ClickTarget target) {
    Form& form = game.form;
    switch (target) {
        case ClickTarget::imgNewGame:
            if (form.imgNewGame.visible)
                game.NewGame();
            break;
        case ClickTarget::cmdNewGame:
            if (form.cmdNewGame.visible)
                game.NewGame();
            break;
        case ClickTarget::chkBGM:
            if (form.chkBGM.visible)
                form.chkBGM.value = form.chkBGM.value == 1 ? 0 : 1;
            break;
        case ClickTarget::chkPower:
            if (form.chkPower.visible)
                form.chkPower.value = form.chkPower.value == 1 ? 0 : 1;
            break;
    }
    scheduler_.Sync(form);
}

void Session::KeyDown(uint16_t keyCode) {
    game.KeyDown(keyCode);
    scheduler_.Sync(game.form);
}

void Session::KeyUp(uint16_t keyCode) {
    game.KeyUp(keyCode);
    scheduler_.Sync(game.form);
}

void Session::Tick(TimerId id) {
    game.OnTick(id);
    scheduler_.Sync(game.form);
}

Micros Session::NextWake() const {
    return game.GameOverPending() ? scheduler_.NextDue() : scheduler_.NextDue(TimerId::tmrGameOver);
}

void Session::Advance(Micros span, TickObserver* observer) {
    const Micros until = scheduler_.now() + span;
    TimerId id;
    while (scheduler_.PopDue(until, id)) {
        game.OnTick(id);
        scheduler_.Sync(game.form);
        if (observer != nullptr) {
            observer->OnTimerTick(id, scheduler_.now());
        }
    }
    scheduler_.SetNow(until);
}

}  // namespace sinkaway
