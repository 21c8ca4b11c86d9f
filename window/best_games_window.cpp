// The best games' SDL side: the store worker started for a player's session with a way to wake the
// loop, its news carried out (the saved boxes put back, the new-best line), and the commands that
// switch between the game and a replay restarting the clock.
#include <cstdio>

#include "game_window.h"
#include "xdg.h"

#include "platform.h"

namespace sinkaway {

namespace {

// The line under the final score, centred in the band between the score and the start image, in
// the credit line's font and colour.
Label NewBestLine(const Form& form) {
    Label line = form.lblVantrel;
    const float bandTop = form.lblGameOverScore.top + form.lblGameOverScore.height;
    line.left = form.lblGameOverScore.left;
    line.width = form.lblGameOverScore.width;
    line.top = bandTop + (form.imgNewGame.top - bandTop - line.height) / 2;
    line.align = Align::kCenter;
    line.visible = true;
    return line;
}

}  // namespace

bool GameWindow::StartBestGames(uint64_t seed, int& status) {
    drawn_.newBestLine = NewBestLine(session_.game.form);
    // Measuring runs and replays are nobody's games: they neither read nor write anything.
    bool keep = options_.replay.empty() && !options_.autoplay && options_.seconds <= 0 &&
                options_.frames <= 0;
    if (keep) {
        platform::BestGamesPlace place =
            platform::PlaceBestGames([this](const std::string& path) { WatchFile(path); });
        place.hooks.wake = [this] { wait_.Wake(); };
        if (place.files.offer)
            best_.OfferFiles(std::move(place.files));
        best_.StartKeeping(
            std::make_unique<BestGamesWorker>(DataFolder(), ConfigFolder(), !options_.noSave,
                                              std::move(place.hooks), place.pace),
            seed);
        player_.RecordEntries(best_.entries());
    } else {
        best_.KeepNothing();
    }
    if (options_.replay.empty())
        return true;
    ReplayScript script;
    std::string error;
    status = ReadReplay(options_.replay, script, error);
    if (status != 0) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    best_.WatchOnly(std::move(script));
    return true;
}

const Form& GameWindow::ShownForm() const {
    return best_.replay() != nullptr ? best_.replay()->session().game.form : session_.game.form;
}

void GameWindow::TakeStoreNews() {
    const BestGames::NewsEffects effects = best_.TakeNews(session_.game.form);
    if (effects.putBackBoxes) {
        // Put back through the boxes' own clicks, so that the recording and the replays
        // start from the same boxes as the game.
        const Form& form = session_.game.form;
        if ((form.chkPower.value == 1) != effects.putBackBoxes->powerUps)
            player_.Click(ClickTarget::chkPower);
        if ((form.chkBGM.value == 1) != effects.putBackBoxes->bgm)
            player_.Click(ClickTarget::chkBGM);
    }
    if (effects.newBest)
        drawn_.newBestLine.caption = "New best #" + std::to_string(best_.newBest()) + " - press H";
    if (effects.switched) {
        drawn_.replayEnded = false;
        clock_.pacer.Start(NowMicros());
    }
    if (effects.redraw)
        drawn_.dirty = true;
}

void GameWindow::WatchFile(const std::string& path) {
    if (best_.WatchFile(path, session_.game.form))
        clock_.pacer.Start(NowMicros());
    drawn_.dirty = true;
}

void GameWindow::DoBestGames(BestGames::Command command) {
    // The time spent on the other session was not this one's.
    if (best_.Handle(command))
        clock_.pacer.Start(NowMicros());
    if (best_.over())
        running_ = false;
}

}  // namespace sinkaway
