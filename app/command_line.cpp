// The command line, parsed with CLI11.
#include "command_line.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <iostream>

#include "script.h"
#include "settings.h"

namespace sinkaway {

int ParseOptions(int argc, char** argv, Options& o) {
    CLI::App app{
        "Sinkaway: steer the ball through the hole before the rising bar carries it into "
        "the ceiling.",
        "sinkaway"};
    app.set_version_flag("--version", std::string("sinkaway ") + SINKAWAY_VERSION);
    app.footer(
        "In the window: Left and Right steer, Enter starts a game, P pauses, F11 fullscreen.\n"
        "H (pad: Back or Y) on the title and game-over screens opens the best games: Up and Down\n"
        "choose, Enter watches the replay, H or Escape closes. The best games and the two boxes\n"
        "are kept in $XDG_DATA_HOME/sinkaway and $XDG_CONFIG_HOME/sinkaway.");
    app.add_flag("--headless", o.headless, "Run without a window, driven by a script");
    app.add_option("--script", o.script, "Headless: the script of input events ('-' for stdin)");
    app.add_option("--trace", o.trace, "Headless: write one JSON line per event ('-' for stdout)");
    // Taken as text: CLI11 would read "-1" as 2^64-1, a number too big as 2^64-1, and "010" as
    // octal, each silently giving another game than the one asked for.
    std::string seedText;
    CLI::Option* seed = app.add_option(
        "--seed", seedText, "Seed the random generator with this unsigned 64-bit number");
    app.add_option("--screenshot", o.screenshot,
                   "Headless: save the client area as a PNG at the end");
    app.add_option("--scale", o.scale, "Window: pixels per 15 twips (default: fits the display)")
        ->check(CLI::Range(1, 16));
    app.add_option("--music", o.music, "Window: the WAV file to play when a game starts");
    app.add_flag("--stats", o.stats,
                 "Window: print frame pace, ticks, CPU time, memory and start-up time, at exit");
    app.add_option("--seconds", o.seconds, "Window: end after this many seconds of real time")
        ->check(CLI::Range(0.001, 1e7));
    app.add_option("--frames", o.frames, "Window: end after this many presented frames")
        ->check(CLI::Range(int64_t{1}, int64_t{1} << 40));
    app.add_flag("--autoplay", o.autoplay,
                 "Window: start a game at once and steer towards the hole, game after game");
    app.add_option("--record", o.record,
                   "Window: write the session as a script that --headless --script replays");
    app.add_flag("--fullscreen", o.fullscreen, "Window: start fullscreen (F11 toggles)");
    app.add_flag("--no-save", o.noSave, "Window: keep no best games and no settings this time");
    app.add_option("--replay", o.replay,
                   "Window: watch a recorded game (Space/P pause, Right/+ faster, Left/- slower, "
                   "Escape ends)");
    app.add_option("--server", o.server,
                   "Window: send best games to the world's boards at this address "
                   "(http://host:port; default: the settings' Server)");
    app.add_option("--verify", o.verify,
                   "Replay a recorded game headless and print 'score N' as the last line");
    app.add_flag("--scores", o.scores,
                 "Print the best games: rank, score, date, whether the replay proves the score");
    try {
        app.parse(argc, argv);
        if (o.headless && o.script.empty()) {
            throw CLI::RequiredError("--script (with --headless)");
        }
        if (!o.headless && (!o.script.empty() || !o.trace.empty())) {
            throw CLI::ValidationError("--script and --trace", "only with --headless");
        }
        if (o.headless &&
            (!o.record.empty() || o.fullscreen || o.autoplay || o.seconds > 0 || o.frames > 0)) {
            throw CLI::ValidationError("--record, --fullscreen, --autoplay, --seconds and --frames",
                                       "only in a window");
        }
        // They only look: a seed or a window option beside them would be silently ignored.
        if ((!o.verify.empty() || o.scores) && app.count_all() != app.count() + 1) {
            throw CLI::ValidationError("--verify and --scores", "each goes alone");
        }
        if (!o.replay.empty() &&
            (o.headless || o.autoplay || !o.record.empty() || seed->count() > 0)) {
            throw CLI::ValidationError("--replay",
                                       "plays the game as recorded: not with --headless, "
                                       "--autoplay, --record or --seed");
        }
        if (o.noSave && o.headless) {
            throw CLI::ValidationError("--no-save", "only in a window (headless runs never save)");
        }
        if (!o.server.empty() && !IsServerAddress(o.server)) {
            throw CLI::ValidationError("--server", "an address such as http://127.0.0.1:8080");
        }
        // Measuring runs, replays and runs that keep nothing never reach a server.
        if (!o.server.empty() &&
            (o.headless || o.autoplay || o.seconds > 0 || o.frames > 0 || o.noSave ||
             !o.replay.empty() || !o.record.empty() || seed->count() > 0)) {
            throw CLI::ValidationError(
                "--server",
                "not with --headless, --autoplay, --seconds, --frames, --no-save, "
                "--replay, --record or --seed: those runs never reach a server");
        }
        if (seed->count() > 0) {
            uint64_t value = 0;
            if (!ParseDecimal(seedText, UINT64_MAX, value)) {
                throw CLI::ValidationError("--seed",
                                           "a whole number from 0 to 18446744073709551615");
            }
            o.seed = value;
        }
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // One line, like every other failure of the program.
        std::cerr << "sinkaway: " << e.what() << " (see sinkaway --help)\n";
        return 2;
    }
    return -1;
}

}  // namespace sinkaway
