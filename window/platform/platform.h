// What differs between the desktop and the page, in one place: desktop.cpp and web.cpp each give
// every function below, and CMake builds one of them. The rest of the window is the same on both.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "best_games.h"
#include "best_games_worker.h"
#include "fonts.h"
#include "http_client.h"

namespace sinkaway::platform {

// ---- Threads ----
// Whether slow start-up work (the font lookup, the music) may go to a thread of its own. The page
// has one thread: there it is done in line.
bool HasThreads();

// ---- The loop ----
// Whether the platform calls the window's steps itself, once a display frame (the page), rather
// than the window looping and sleeping between them (the desktop).
bool CallsEachFrame();
// The page: `step` runs at each display frame from now on, and this never returns.
void CallEachFrame(void (*step)(void* self), void* self);
// The page: no more steps after this one.
void StopCallingEachFrame();

// ---- The display and the window ----
// Whether a window needs a display named in the environment (DISPLAY, WAYLAND_DISPLAY); a page
// always has its canvas.
bool NeedsDisplayVariable();
// Whether a window hidden (a browser tab put in the background) pauses the game as a window that
// lost the focus does.
bool HiddenWindowPauses();

// ---- Fonts ----
// Starts the lookup of font files (fontconfig on the desktop); false with a message.
bool StartFontLookup(std::string& error);
void StopFontLookup();
// The file of a family at a weight: fontconfig's answer on the desktop, the faces it ships in the
// page. Only a face of that very family counts, unless the family is generic.
bool FindFontFile(const char* family, int weight, FontFile& out);

// ---- Music ----
// The track as the game ships it: a WAV beside the desktop's program, an Ogg Vorbis packed with
// the page.
const char* MusicFileName();
// Turns the bytes of that file into SDL2_mixer music, or nullptr; the bytes outlive the music.
Mix_Music* DecodeMusic(std::vector<uint8_t>& bytes);

// ---- The best games ----
// Where the store's jobs run and what surrounds them (the page's storage, shared by its tabs), and
// what the page offers besides (downloads and a file picker, whose files `watch` plays).
struct BestGamesPlace {
    BestGamesWorker::Pace pace = BestGamesWorker::Pace::kOwnThread;
    BestGamesWorker::Hooks hooks;
    BestGames::ReplayFiles files;
};
BestGamesPlace PlaceBestGames(std::function<void(const std::string& path)> watch);

// ---- The world's boards ----
// The client that reaches them: libcurl on a thread of its own on the desktop, fetch in the page.
std::unique_ptr<HttpClient> MakeHttpClient();
// The leaderboard a copy has without being told: the page's is the origin that served it (""),
// should it answer; the desktop has none unless the player sets one.
std::optional<std::string> OwnLeaderboard();

}  // namespace sinkaway::platform
