// The best games' one mode, and what each command and piece of news does to it.
#include "best_games.h"

#include <utility>

namespace sinkaway {

namespace {

// In place of the panel's help line while a replay is proved and played through to its game,
// which takes moments on a desktop and, in a page, a few frames for the longest.
constexpr const char* kLoading = "Loading the replay...";

Settings BoxesOf(const Form& form) {
    Settings boxes;
    boxes.powerUps = form.chkPower.value == 1;
    boxes.bgm = form.chkBGM.value == 1;
    return boxes;
}

}  // namespace

void BestGames::StartKeeping(std::unique_ptr<BestGamesWorker> store, uint64_t seed) {
    store_ = std::move(store);
    store_->LoadSettings();
    store_->CheckTable();
    entries_.Start(seed);
}

void BestGames::WatchOnly(ReplayScript script) {
    replay_ = std::make_unique<ReplayPlayer>(std::move(script), music_);
    mode_ = Mode::kReplay;
    watchOnly_ = true;
}

bool BestGames::Handle(Command command, int slot) {
    switch (command) {
        case Command::kOpenPanel:
            if (mode_ != Mode::kGame)
                return false;
            mode_ = Mode::kPanel;
            panel_.Open();
            if (store_)
                store_->LoadTable();
            if (world_ && world_->shown())
                world_->RefreshRanks();
            return false;
        case Command::kClosePanel:
            if (mode_ == Mode::kPanel)
                mode_ = Mode::kGame;
            return false;
        case Command::kUp:
            if (mode_ == Mode::kPanel)
                panel_.Up();
            return false;
        case Command::kDown:
            if (mode_ == Mode::kPanel)
                panel_.Down();
            return false;
        case Command::kWatch:
            if (mode_ == Mode::kPanel && store_ && panel_.Selected() != nullptr &&
                panel_.tab() != BestGamesPanel::Tab::kMine) {
                // The world's replay is fetched, then proved here as a kept one is.
                panel_.SetProblem(kLoading);
                world_->FetchReplay(panel_.Selected()->worldId);
            } else if (mode_ == Mode::kPanel && store_ && panel_.Selected() != nullptr) {
                panel_.SetProblem(kLoading);
                store_->LoadReplay(panel_.Selected()->replayPath, music_);
            }
            return false;
        case Command::kPauseReplay:
            if (replay_)
                replay_->TogglePause();
            return false;
        case Command::kFaster:
            if (replay_)
                replay_->Faster();
            return false;
        case Command::kSlower:
            if (replay_)
                replay_->Slower();
            return false;
        case Command::kEndReplay:
            if (mode_ != Mode::kReplay)
                return false;
            replay_.reset();
            // Watching from the command line: the replay was all there was.
            if (watchOnly_)
                over_ = true;
            // The panel shows again as it was left.
            mode_ = Mode::kPanel;
            return true;
        case Command::kSave:
            if (mode_ == Mode::kPanel && files_.offer && panel_.Selected() != nullptr &&
                !files_.offer(*panel_.Selected()))
                panel_.SetProblem("Cannot save that replay");
            return false;
        case Command::kOpenFile:
            if (mode_ != Mode::kReplay && mode_ != Mode::kName && files_.pick)
                files_.pick();
            return false;
        case Command::kNextTable:
        case Command::kPreviousTable:
        case Command::kShowMine:
        case Command::kShowWorld:
        case Command::kShowToday:
            if (mode_ != Mode::kPanel || !world_)
                return false;
            if (command == Command::kNextTable || command == Command::kPreviousTable)
                panel_.Turn(command == Command::kNextTable ? 1 : -1);
            else
                panel_.ShowTab(static_cast<BestGamesPanel::Tab>(
                    static_cast<int>(command) - static_cast<int>(Command::kShowMine)));
            if (panel_.tab() == BestGamesPanel::Tab::kWorld)
                world_->LoadBoard(World::Board::kAll);
            else if (panel_.tab() == BestGamesPanel::Tab::kToday)
                world_->LoadBoard(World::Board::kToday);
            return false;
        case Command::kTodaysGame:
            return false;
        case Command::kOpenName:
            if (mode_ == Mode::kPanel)
                AskName(knownName_);
            return false;
        case Command::kNameUp:
        case Command::kNameDown:
        case Command::kNameLeft:
        case Command::kNameRight:
        case Command::kNameEnter:
        case Command::kNameEscape:
        case Command::kNameAbove:
        case Command::kNameLetter:
        case Command::kNameBelow:
            if (mode_ == Mode::kName)
                HandleName(command, slot);
            return false;
    }
    return false;
}

void BestGames::AskName(std::string current) {
    if (mode_ == Mode::kReplay || mode_ == Mode::kName)
        return;
    beforeName_ = mode_;
    mode_ = Mode::kName;
    // A replay still loading for the panel is not wanted any more: the panel's note goes with it.
    panel_.SetProblem("");
    nameEntry_.Open(std::move(current));
}

void BestGames::HandleName(Command command, int slot) {
    using Part = NameEntry::Part;
    switch (command) {
        case Command::kNameUp:
            nameEntry_.Up();
            break;
        case Command::kNameDown:
            nameEntry_.Down();
            break;
        case Command::kNameLeft:
            nameEntry_.Left();
            break;
        case Command::kNameRight:
            nameEntry_.Right();
            break;
        case Command::kNameEnter:
            if (std::optional<std::string> name = nameEntry_.Enter()) {
                knownName_ = *name;
                enteredName_ = std::move(name);
                NameChosen(knownName_);
            }
            break;
        case Command::kNameEscape:
            nameEntry_.Escape();
            break;
        case Command::kNameAbove:
            nameEntry_.Tap(slot, Part::kAbove);
            break;
        case Command::kNameLetter:
            nameEntry_.Tap(slot, Part::kLetter);
            break;
        case Command::kNameBelow:
            nameEntry_.Tap(slot, Part::kBelow);
            break;
        default:
            break;
    }
    if (!nameEntry_.open())
        mode_ = beforeName_;
}

std::optional<std::string> BestGames::TakeName() {
    return std::exchange(enteredName_, std::nullopt);
}

bool BestGames::WatchFile(std::string path, const Form& form) {
    if (!store_ || watchOnly_ || mode_ == Mode::kName || (mode_ == Mode::kGame && InPlay(form)))
        return false;
    // Over the panel, as a replay from its table is: leaving it shows the panel.
    const bool switched = Handle(Command::kEndReplay);
    Handle(Command::kOpenPanel);
    panel_.SetProblem(kLoading);
    store_->LoadReplay(std::move(path), music_);
    return switched;
}

void BestGames::SaveChanges(const Session& session, const ScriptWriter& script) {
    if (!store_)
        return;
    const Form& form = session.game.form;
    if (InPlay(form)) {
        newBest_ = 0;
        askedName_ = false;
    }
    if (std::optional<FinishedGame> game = entries_.TakeFinished(session, script)) {
        // A game of a session the server handed out goes to the world, should it make the
        // player's own table.
        std::optional<WorldGame> world;
        if (world_ && ticket_) {
            world.emplace();
            world->token = ticket_->token;
            world->daily = ticket_->daily;
        }
        store_->AddGame(game->entry, std::move(game->replayScript), std::move(world));
    }
    const Settings boxes = BoxesOf(form);
    if (boxes.powerUps != saved_.powerUps || boxes.bgm != saved_.bgm) {
        saved_.powerUps = boxes.powerUps;
        saved_.bgm = boxes.bgm;
        store_->SaveSettings(saved_);
    }
}

void BestGames::AwaitSettings(int ms) {
    if (store_)
        store_->AwaitSettings(ms);
}

BestGames::NewsEffects BestGames::TakeNews(const Form& form) {
    if (!store_)
        return {};
    return ApplyNews(store_->Take(), form);
}

BestGames::NewsEffects BestGames::ApplyNews(BestGamesWorker::News news, const Form& form) {
    NewsEffects effects;
    if (news.settings && !boxesTouched_ && form.chkPower.visible) {
        saved_ = *news.settings;
        effects.putBackBoxes = *news.settings;
        effects.redraw = true;
    }
    if (news.note) {
        panel_.SetNote(*news.note);
        effects.redraw = true;
    }
    if (news.rows) {
        panel_.SetRows(std::move(*news.rows));
        effects.redraw = true;
    }
    if (news.server)
        effects.server = std::move(news.server);
    if (world_ && news.player) {
        KnowName(news.player->name);
        world_->HearPlayer(std::move(*news.player));
    }
    if (world_ && news.world) {
        world_->HearQueue(std::move(*news.world));
        effects.redraw = true;
        // The first game to go asks for the player's name, on its game-over screen, once.
        if (world_->WantsName() && !askedName_ && mode_ == Mode::kGame &&
            form.lblGameOver.visible && !InPlay(form)) {
            askedName_ = true;
            AskName(knownName_);
        }
    }
    if (world_ && (news.rows || news.world))
        MarkMine();
    if (news.newBest > 0 && form.lblGameOver.visible && !InPlay(form)) {
        newBest_ = news.newBest;
        effects.newBest = true;
        effects.redraw = true;
    }
    // A replay that comes after the player closed the panel is not wanted any more.
    if (news.replay && mode_ == Mode::kPanel) {
        panel_.SetProblem("");
        replay_ = std::move(news.replay);
        mode_ = Mode::kReplay;
        effects.switched = true;
        effects.redraw = true;
    }
    if (news.replayFailed && mode_ == Mode::kPanel) {
        panel_.SetProblem("Cannot play that replay");
        effects.redraw = true;
    }
    return effects;
}

void BestGames::ConnectWorld(std::unique_ptr<World> world) {
    world_ = std::move(world);
    world_->Start();
    FollowWorld();
}

void BestGames::FollowWorld() {
    panel_.SetTabbed(world_->shown());
    // The player and the queue are read (and the player made up) only once there is a world to
    // send to: a page on a plain host keeps nothing new.
    if (world_->shown() && !worldRead_ && store_) {
        worldRead_ = true;
        store_->LoadWorldPlayer();
        store_->LoadWorld();
    }
}

void BestGames::MarkMine() {
    for (BestGameRow& row : panel_.mine()) {
        row.world.clear();
        row.worldReason.clear();
        const WorldGame* game = world_->StatusOf(row.replayPath);
        if (game == nullptr)
            continue;
        switch (game->status) {
            case WorldGame::Status::kQueued:
                row.world = "queued";
                break;
            case WorldGame::Status::kPending:
                row.world = "pending";
                break;
            case WorldGame::Status::kVerified:
                row.world = "world #" + std::to_string(game->rank);
                break;
            case WorldGame::Status::kRefused:
                row.world = "refused";
                row.worldReason = "Refused: " + game->reason;
                break;
        }
    }
}

BestGames::NewsEffects BestGames::RunWorld() {
    NewsEffects effects;
    if (!world_)
        return effects;
    World::Changes changes = world_->Run();
    effects.redraw = changes.redraw;
    effects.tickets = changes.tickets;
    if (changes.redraw) {
        FollowWorld();
        MarkMine();
        for (const auto& [tab, board] :
             {std::pair{BestGamesPanel::Tab::kWorld, World::Board::kAll},
              std::pair{BestGamesPanel::Tab::kToday, World::Board::kToday}}) {
            const World::BoardView& view = world_->board(board);
            std::vector<BestGameRow> rows;
            for (const WorldRow& r : view.rows) {
                BestGameRow& row = rows.emplace_back();
                row.rank = r.rank;
                row.score = r.score;
                row.played = r.date;
                row.verified = true;  // the server played it again itself
                row.name = r.name;
                row.worldId = r.id;
            }
            if (view.loaded)
                panel_.SetRows(tab, std::move(rows));
            panel_.SetNote(tab, view.note);
        }
    }
    // A replay fetched after the player left the panel is not wanted any more.
    if (changes.replay && mode_ == Mode::kPanel && store_)
        store_->LoadReplayText(std::move(*changes.replay), music_);
    if (!changes.replayProblem.empty() && mode_ == Mode::kPanel) {
        panel_.SetProblem(changes.replayProblem);
        effects.redraw = true;
    }
    return effects;
}

}  // namespace sinkaway
