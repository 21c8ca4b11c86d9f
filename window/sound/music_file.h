// Reading the music file into memory, safely: only a regular file of sane size is read, and
// opening never waits (a FIFO with no writer, a device), so a hostile path costs no time.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sinkaway {

// Ten minutes of CD-quality stereo is about 100 MB; the game's track is far shorter. Anything
// larger is refused before a byte is read, so no file can take the memory or the time.
inline constexpr int64_t kMusicFileCap = 64LL * 1024 * 1024;

enum class MusicFileStatus {
    kOk,
    kCannotOpen,
    kNotRegular,
    kEmpty,
    kTooBig,
    kReadFailed,
    kStopped
};

struct MusicFile {
    MusicFileStatus status = MusicFileStatus::kCannotOpen;
    std::vector<uint8_t> bytes;
};

// Reads the whole file at `path` if it is a regular file of 1 to `cap` bytes. `stop` is checked
// between chunks, so a reader on another thread can be told to give up.
MusicFile ReadMusicFile(const std::string& path, int64_t cap = kMusicFileCap,
                        const std::atomic<bool>* stop = nullptr);

// Whether the bytes are a RIFF WAVE file whose format chunk gives 1 to 8 channels and a sample
// rate SDL can convert from, and whose chunks other than the samples fit in the file. SDL (2.26)
// divides by the channel count while it sets up the conversion, so a file claiming none would stop
// the game with a floating-point exception.
bool PlausibleWav(const std::vector<uint8_t>& bytes);

// Turns the file's LIST chunks (title, artist and the like) and sampler chunks (loop points)
// into chunks every reader skips. SDL2_mixer (2.6) reads the texts of a list as if each ended in
// a NUL and the loops of a sampler chunk as many as it claims, running past the end of its buffer
// either way. The game shows no titles, and its music plays once: loop points would make it
// play forever.
void DropUnusedChunks(std::vector<uint8_t>& bytes);

}  // namespace sinkaway
