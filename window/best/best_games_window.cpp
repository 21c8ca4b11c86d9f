// The best games' SDL-side glue: the worker started for a player's session, its news carried out,
// and the commands that switch between the game and a replay restarting the clock.
#include "best_games_window.h"

#include <cstdio>

#include "platform.h"
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

}  // namespace

bool BestGamesWindow::Start(const WindowOptions& options, uint64_t seed, const Form& form,
                            PlayerEvents& player, std::function<void()> wake,
                            std::function<void(const std::string&)> watch, int& status) {
    newBestLine_ = NewBestLine(form);
    // Measuring runs and replays are nobody's games: they neither read nor write anything.
    bool keep =
        options.replay.empty() && !options.autoplay && options.seconds <= 0 && options.frames <= 0;
    if (keep) {
        platform::BestGamesPlace place = platform::PlaceBestGames(std::move(watch));
        wake_ = wake;
        place.hooks.wake = std::move(wake);
        if (place.files.offer)
            games_.OfferFiles(std::move(place.files));
        games_.StartKeeping(
            std::make_unique<BestGamesWorker>(DataFolder(), ConfigFolder(), !options.noSave,
                                              std::move(place.hooks), place.pace),
            seed);
        player.RecordEntries(games_.entries());
        // Measuring runs, a visit that keeps nothing, a seed of the player's and a recording
        // are unranked: they never reach the world.
        worldAllowed_ = !options.noSave && !options.seed && options.record.empty();
        if (worldAllowed_ && !options.server.empty())
            ConnectWorld(options.server);
        else if (std::optional<std::string> own = platform::OwnLeaderboard(); worldAllowed_ && own)
            ConnectWorld(*own);
    } else {
        games_.KeepNothing();
    }
    if (options.replay.empty())
        return true;
    ReplayScript script;
    std::string error;
    status = ReadReplay(options.replay, script, error);
    if (status != 0) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    games_.WatchOnly(std::move(script));
    return true;
}

const Form& BestGamesWindow::ShownForm(const Form& game) const {
    return games_.replay() != nullptr ? games_.replay()->session().game.form : game;
}

BestGamesWindow::Effects BestGamesWindow::TakeNews(const Form& form, PlayerEvents& player) {
    const BestGames::NewsEffects news = games_.TakeNews(form);
    if (news.putBackBoxes) {
        // Put back through the boxes' own clicks, so that the recording and the replays
        // start from the same boxes as the game.
        if ((form.chkPower.value == 1) != news.putBackBoxes->powerUps)
            player.Click(ClickTarget::chkPower);
        if ((form.chkBGM.value == 1) != news.putBackBoxes->bgm)
            player.Click(ClickTarget::chkBGM);
    }
    if (news.newBest)
        newBestLine_.caption = "New best #" + std::to_string(games_.newBest()) + " - press H";
    if (news.switched)
        replayEnded_ = false;
    if (news.server && !news.server->empty() && worldAllowed_ && games_.world() == nullptr)
        ConnectWorld(*news.server);
    return {.restartClock = news.switched, .redraw = news.redraw};
}

void BestGamesWindow::ConnectWorld(std::string server) {
    const bool told = !server.empty();
    games_.ConnectWorld(std::make_unique<World>(
        platform::MakeHttpClient(), std::move(server), told,
        World::Hooks{.wake = wake_,
                     .keep = [this](WorldGame game) { games_.KeepWorld(std::move(game)); }}));
}

BestGamesWindow::Effects BestGamesWindow::RunWorld() {
    const BestGames::NewsEffects news = games_.RunWorld();
    return {.redraw = news.redraw, .tickets = news.tickets};
}

int64_t BestGamesWindow::MillisToWorld() const {
    return games_.world() != nullptr ? games_.world()->MillisToNext() : -1;
}

BestGamesWindow::Effects BestGamesWindow::WatchFile(const std::string& path, const Form& form) {
    return {.restartClock = games_.WatchFile(path, form), .redraw = true};
}

BestGamesWindow::Effects BestGamesWindow::Handle(BestGames::Command command, int slot) {
    // The time spent on the other session was not this one's.
    const bool switched = games_.Handle(command, slot);
    return {.restartClock = switched,
            .redraw = command != BestGames::Command::kTodaysGame ? false : true,
            .quit = games_.over(),
            .todaysGame = command == BestGames::Command::kTodaysGame};
}

bool BestGamesWindow::ReplayEndChanged() {
    const ReplayPlayer* replay = games_.replay();
    if (replay == nullptr || replay->ended() == replayEnded_)
        return false;
    replayEnded_ = replay->ended();
    return true;
}

void BestGamesWindow::AddOverlay(const Form& shown, Overlay& overlay) {
    if (const ReplayPlayer* replay = games_.replay()) {
        overlay.paused = replay->paused();
        replayTag_ = replay->Tag();
        overlay.replayTag = &replayTag_;
    } else if (games_.newBest() > 0 && shown.lblGameOver.visible) {
        overlay.newBest = &newBestLine_;
    }
    overlay.bestGamesButton = games_.ShowsButton(shown);
    overlay.todayButton = games_.OffersToday(shown);
    // The title screen says when this session will not reach the world: the server did not
    // hand one out within a second.
    if (const World* world = games_.world();
        world != nullptr && world->shown() && games_.replay() == nullptr && !games_.ticket() &&
        shown.lblSinkaway.visible && games_.mode() == BestGames::Mode::kGame &&
        world->MillisSinceStart() >= 1000)
        overlay.worldNote = world->reached() ? "Unranked" : "Unranked: no connection";
    if (games_.mode() == BestGames::Mode::kPanel) {
        overlay.panel = &games_.panel();
        overlay.panelFiles = games_.offersFiles();
    }
    if (games_.mode() == BestGames::Mode::kName)
        overlay.nameEntry = &games_.nameEntry();
}

void BestGamesWindow::AddTouch(const Form& game, TwipPoint p, int x, int y, const PixelRect& tag,
                               Touch& touch) const {
    // The line shows under the same condition as it is drawn.
    touch.onNewBest = games_.replay() == nullptr && games_.newBest() > 0 &&
                      game.lblGameOver.visible && Contains(newBestLine_, p);
    touch.onBestGames = games_.ShowsButton(game) && PanelLayout::OnBestGames(p.x, p.y);
    if (games_.replay() != nullptr) {
        // The tag as last drawn, with room around it for a fingertip.
        const int room = tag.h() / 2;
        touch.onReplayTag = !tag.empty() && x >= tag.x0 - room && x < tag.x1 + room &&
                            y >= tag.y0 - room && y < tag.y1 + room;
    }
    if (games_.mode() == BestGames::Mode::kPanel) {
        touch.inPanel = PanelLayout::Contains(p.x, p.y);
        touch.panelRow = PanelLayout::RowAt(p.x, p.y);
        const bool tabbed = games_.panel().tabbed();
        touch.onSave = games_.offersFiles() && PanelLayout::OnSave(p.x, p.y, tabbed);
        touch.onOpen = games_.offersFiles() && PanelLayout::OnOpen(p.x, p.y, tabbed);
        touch.panelTab = games_.panel().tabbed() ? PanelLayout::TabAt(p.x, p.y) : -1;
    }
    touch.onToday = games_.OffersToday(game) && PanelLayout::OnToday(p.x, p.y);
    if (games_.mode() == BestGames::Mode::kName) {
        touch.inName = NameEntryLayout::Contains(p.x, p.y);
        touch.nameSlot = NameEntryLayout::SlotAt(p.x, p.y);
        touch.namePart = NameEntryLayout::PartAt(p.y);
        touch.onNameOk = NameEntryLayout::OnOk(p.x, p.y);
    }
}

}  // namespace sinkaway
