// The best games in the window: the store worker started for a player's session, finished games
// handed to it, the saved boxes put back, the panel, and replays watched in place of the game.
#include <cstdio>

#include "game_window.h"
#include "xdg.h"

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

Settings BoxesOf(const Form& form) {
    return Settings{form.chkPower.value == 1, form.chkBGM.value == 1};
}

}  // namespace

bool GameWindow::StartBestGames(uint64_t seed, int& status) {
    best_.newBestLine = NewBestLine(session_.game.form);
    // Measuring runs and replays are nobody's games: they neither read nor write anything.
    bool keep = options_.replay.empty() && !options_.autoplay && options_.seconds <= 0 &&
                options_.frames <= 0;
#ifdef __EMSCRIPTEN__
    keep = false;  // the page keeps no files yet
#endif
    if (keep) {
        const Uint32 wake = SDL_RegisterEvents(1);
        best_.store =
            std::make_unique<StoreWorker>(DataFolder(), ConfigFolder(), !options_.noSave, [wake] {
                SDL_Event e{};
                e.type = wake;
                SDL_PushEvent(&e);
            });
        best_.store->LoadSettings();
        best_.store->CheckTable();
        best_.keeper.Start(seed);
        player_.KeepGames(best_.keeper);
    } else {
        best_.panel.SetNote("Not kept in this run");
    }
    if (options_.replay.empty())
        return true;
    ReplayScript script;
    std::string error;
    status = ReadReplayScript(options_.replay, script, error);
    if (status != 0) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    best_.replay = std::make_unique<ReplayPlayer>(std::move(script), music_);
    router_.Watching();
    return true;
}

const Form& GameWindow::ShownForm() const {
    return best_.replay ? best_.replay->session().game.form : session_.game.form;
}

void GameWindow::FollowGames() {
    if (!best_.store)
        return;
    const Form& form = session_.game.form;
    if (InPlay(form))
        best_.newBest = 0;
    if (std::optional<FinishedGame> game = best_.keeper.Poll(session_)) {
        best_.store->AddGame(game->entry, std::move(game->replayScript));
    }
    const Settings boxes = BoxesOf(form);
    if (!(boxes == best_.saved)) {
        best_.saved = boxes;
        best_.store->SaveSettings(boxes);
    }
}

void GameWindow::TakeStoreNews() {
    if (!best_.store)
        return;
    StoreWorker::News news = best_.store->Take();
    const Form& form = session_.game.form;
    if (news.settings && !best_.boxesTouched && form.chkPower.visible) {
        // Put back through the boxes' own clicks, so that the recording and the replays
        // start from the same boxes as the game.
        best_.saved = *news.settings;
        const Settings now = BoxesOf(form);
        if (now.powerUps != news.settings->powerUps)
            player_.Click(ClickTarget::chkPower);
        if (now.bgm != news.settings->bgm)
            player_.Click(ClickTarget::chkBGM);
        drawn_.dirty = true;
    }
    if (news.note) {
        best_.panel.SetNote(*news.note);
        drawn_.dirty = true;
    }
    if (news.rows) {
        best_.panel.SetRows(std::move(*news.rows));
        drawn_.dirty = true;
    }
    if (news.newBest > 0 && form.lblGameOver.visible && !InPlay(form)) {
        best_.newBest = news.newBest;
        best_.newBestLine.caption = "New best #" + std::to_string(news.newBest) + " - press H";
        drawn_.dirty = true;
    }
    if (news.replay && router_.mode() == InputRouter::Mode::kPanel) {
        best_.replay = std::move(news.replay);
        best_.replayEnded = false;
        router_.Watching();
        clock_.pacer.Start(NowMicros());
        drawn_.dirty = true;
    }
}

void GameWindow::ApplyBestGames(InputOutcome::Kind kind) {
    using Kind = InputOutcome::Kind;
    ReplayPlayer* replay = best_.replay.get();
    switch (kind) {
        case Kind::kPanelOpen:
            best_.panel.Open();
            if (best_.store)
                best_.store->LoadTable();
            break;
        case Kind::kPanelClose:
            best_.panel.Close();
            break;
        case Kind::kPanelUp:
            best_.panel.Up();
            break;
        case Kind::kPanelDown:
            best_.panel.Down();
            break;
        case Kind::kPanelWatch:
            if (best_.store && best_.panel.Selected() != nullptr)
                best_.store->LoadReplay(best_.panel.Selected()->replayPath, music_);
            break;
        case Kind::kReplayPause:
            if (replay != nullptr)
                replay->TogglePause();
            break;
        case Kind::kReplayFaster:
            if (replay != nullptr)
                replay->Faster();
            break;
        case Kind::kReplaySlower:
            if (replay != nullptr)
                replay->Slower();
            break;
        case Kind::kReplayEnd:
            EndReplay();
            break;
        default:
            break;
    }
}

void GameWindow::EndReplay() {
    best_.replay.reset();
    // Watching from the command line: the replay was all there was.
    if (!options_.replay.empty()) {
        running_ = false;
        return;
    }
    // The time spent watching was not the game's; the panel shows again as it was left.
    clock_.pacer.Start(NowMicros());
}

}  // namespace sinkaway
