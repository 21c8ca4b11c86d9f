// The music file read with plain POSIX calls: open without blocking, check what it is, read it.
#include "music_file.h"

#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace sinkaway {

MusicFile ReadMusicFile(const std::string& path, int64_t cap, const std::atomic<bool>* stop) {
    MusicFile out;
    if (cap < 0)
        return out;
    FileRead file = ReadSmallFile(path, static_cast<size_t>(cap), false, stop);
    switch (file.status) {
        case FileRead::Status::kOk:
            out.status = file.bytes.empty() ? MusicFileStatus::kEmpty : MusicFileStatus::kOk;
            break;
        case FileRead::Status::kNotAFile:
            out.status = MusicFileStatus::kNotRegular;
            break;
        case FileRead::Status::kTooBig:
            out.status = MusicFileStatus::kTooBig;
            break;
        case FileRead::Status::kReadFailed:
            out.status = MusicFileStatus::kReadFailed;
            break;
        case FileRead::Status::kStopped:
            out.status = MusicFileStatus::kStopped;
            break;
        case FileRead::Status::kMissing:
        case FileRead::Status::kError:
            out.status = MusicFileStatus::kCannotOpen;
            break;
    }
    if (out.status == MusicFileStatus::kOk)
        out.bytes = std::move(file.bytes);
    return out;
}

namespace {

uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Walks the chunks after the RIFF header; `pad` rounds odd chunk sizes up, as the format says
// and some readers do not. False if a format chunk is unusable or a chunk read into memory claims
// more than the file holds; `found` tells if there was a format chunk.
bool FormatChunksSane(const std::vector<uint8_t>& b, bool pad, bool& found) {
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t size = Le32(&b[at + 4]);
        if (std::equal(&b[at], &b[at] + 4, "fmt ")) {
            if (size < 16 || at + 8 + 16 > b.size())
                return false;
            const uint8_t* f = &b[at + 8];
            const uint16_t channels = Le16(f + 2);
            const uint32_t rate = Le32(f + 4);
            if (channels < 1 || channels > 8 || rate < 1 || rate > 384000)
                return false;
            found = true;
        }
        const uint64_t next = at + 8 + uint64_t{size} + (pad ? (size & 1) : 0);
        if (next > b.size()) {
            // SDL2_mixer allocates these chunks whole, at the size they claim: four bytes of
            // header could ask for 4 GB. Only the samples may run past the end (a cut file).
            for (const char* held : {"fmt ", "fact", "smpl", "LIST"}) {
                if (std::equal(&b[at], &b[at] + 4, held) && at + 8 + uint64_t{size} > b.size())
                    return false;
            }
            break;
        }
        at = static_cast<size_t>(next);
    }
    return true;
}

// Renames every LIST and sampler chunk the walk meets to JUNK, which every reader skips.
void RenameUnused(std::vector<uint8_t>& b, bool pad) {
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t size = Le32(&b[at + 4]);
        if (std::equal(&b[at], &b[at] + 4, "LIST") || std::equal(&b[at], &b[at] + 4, "smpl"))
            std::copy_n("JUNK", 4, &b[at]);
        const uint64_t next = at + 8 + uint64_t{size} + (pad ? (size & 1) : 0);
        if (next > b.size())
            break;
        at = static_cast<size_t>(next);
    }
}

}  // namespace

void DropUnusedChunks(std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12)
        return;
    RenameUnused(bytes, true);
    RenameUnused(bytes, false);
}

bool PlausibleWav(const std::vector<uint8_t>& b) {
    if (b.size() < 12 || !std::equal(&b[0], &b[0] + 4, "RIFF") ||
        !std::equal(&b[8], &b[8] + 4, "WAVE"))
        return false;
    bool foundPadded = false, foundPlain = false;
    return FormatChunksSane(b, true, foundPadded) && FormatChunksSane(b, false, foundPlain) &&
           (foundPadded || foundPlain);
}

}  // namespace sinkaway
