// A game ends when the game-over screen shows after it was in play.
#include "best_games_entries.h"

#include <cmath>

#include "score_store.h"

namespace sinkaway {

std::optional<FinishedGame> BestGamesEntries::TakeFinished(const Session& session,
                                                           const ScriptWriter& script) {
    const Form& form = session.game.form;
    const bool inPlay = InPlay(form);
    if (inPlay && !inPlay_)
        startedAt_ = session.now();
    const bool ended = inPlay_ && !inPlay && form.lblGameOver.visible;
    inPlay_ = inPlay;
    if (!ended)
        return std::nullopt;
    FinishedGame game;
    game.entry.score = static_cast<int64_t>(session.game.state.dblScore);
    game.entry.played = UtcNow();
    game.entry.seed = seed_;
    game.entry.seconds = std::round(static_cast<double>(session.now() - startedAt_) / 1e3) / 1e3;
    game.entry.version = GameVersion();
    game.replayScript = script.TextUpTo(session.now());
    return game;
}

}  // namespace sinkaway
