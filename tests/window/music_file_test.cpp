// The music file reader's decisions: what it reads, what it refuses before reading, and that no
// path makes it wait.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "music_file.h"

namespace sinkaway {
namespace {

namespace fs = std::filesystem;

class Scratch {
  public:
    Scratch() {
        std::string tmpl = (fs::temp_directory_path() / "sinkaway-music-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~Scratch() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return *this / name;
    }

  private:
    fs::path path_;
};

struct Case {
    const char* name;
    std::function<std::string(const Scratch&)> make;  // returns the path to read
    MusicFileStatus want;
    size_t bytes;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class MusicFileTest : public ::testing::TestWithParam<Case> {};

TEST_P(MusicFileTest, DecidesAtOnce) {
    const Case& c = GetParam();
    Scratch dir;
    const std::string path = c.make(dir);
    const auto start = std::chrono::steady_clock::now();
    const MusicFile got = ReadMusicFile(path, 1000);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(static_cast<int>(got.status), static_cast<int>(c.want));
    EXPECT_EQ(got.bytes.size(), c.bytes);
    EXPECT_LT(took, std::chrono::milliseconds(500));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MusicFileTest,
    ::testing::Values(
        Case{"SmallFile", [](auto& d) { return d.Write("a.wav", "RIFF1234WAVE"); },
             MusicFileStatus::kOk, 12},
        Case{"AtTheCap", [](auto& d) { return d.Write("a.wav", std::string(1000, 'x')); },
             MusicFileStatus::kOk, 1000},
        Case{"OverTheCap", [](auto& d) { return d.Write("a.wav", std::string(1001, 'x')); },
             MusicFileStatus::kTooBig, 0},
        // A sparse file of a terabyte: refused from its size alone, nothing is read.
        Case{"Terabyte",
             [](auto& d) {
                 const std::string p = d.Write("big.wav", "");
                 fs::resize_file(p, 1ULL << 40);
                 return p;
             },
             MusicFileStatus::kTooBig, 0},
        Case{"Empty", [](auto& d) { return d.Write("a.wav", ""); }, MusicFileStatus::kEmpty, 0},
        Case{"Missing", [](auto& d) { return d / "none.wav"; }, MusicFileStatus::kCannotOpen, 0},
        Case{"EmptyPath", [](auto&) { return std::string(); }, MusicFileStatus::kCannotOpen, 0},
        Case{"LongPath", [](auto&) { return std::string(100'000, 'a'); },
             MusicFileStatus::kCannotOpen, 0},
        Case{"Folder", [](auto& d) { return d / ""; }, MusicFileStatus::kNotRegular, 0},
        // Nobody writes: an ordinary open would wait for a writer forever.
        Case{"FifoWithoutWriter",
             [](auto& d) {
                 ::mkfifo((d / "fifo").c_str(), 0600);
                 return d / "fifo";
             },
             MusicFileStatus::kNotRegular, 0},
        Case{"DevZero", [](auto&) { return std::string("/dev/zero"); },
             MusicFileStatus::kNotRegular, 0},
        Case{"DevUrandom", [](auto&) { return std::string("/dev/urandom"); },
             MusicFileStatus::kNotRegular, 0},
        // Looks empty to stat, and reading it fails: never taken for music.
        Case{"ProcMem", [](auto&) { return std::string("/proc/self/mem"); },
             MusicFileStatus::kEmpty, 0}),
    [](const auto& info) { return info.param.name; });

TEST(MusicFile, StopsWhenToldTo) {
    Scratch dir;
    const std::string p = dir.Write("a.wav", std::string(4096, 'x'));
    const std::atomic<bool> stop{true};
    const MusicFile got = ReadMusicFile(p, kMusicFileCap, &stop);
    EXPECT_EQ(got.status, MusicFileStatus::kStopped);
    EXPECT_TRUE(got.bytes.empty());
}

// A RIFF WAVE file: an optional chunk first, then the format chunk, then a few samples.
std::vector<uint8_t> Wav(uint16_t channels, uint32_t rate, const std::string& before = "") {
    std::string b = "RIFF....WAVE" + before + "fmt ";
    auto le = [&b](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b += static_cast<char>(v >> (8 * i));
    };
    le(16, 4);
    le(1, 2);
    le(channels, 2);
    le(rate, 4);
    le(rate * channels * 2, 4);
    le(channels * 2, 2);
    le(16, 2);
    b += "data";
    le(8, 4);
    b += std::string(8, '\0');
    return {b.begin(), b.end()};
}

std::vector<uint8_t> Cut(std::vector<uint8_t> b, size_t n) {
    b.resize(b.size() - n);
    return b;
}

std::vector<uint8_t> Append(std::vector<uint8_t> b, const std::string& more) {
    b.insert(b.end(), more.begin(), more.end());
    return b;
}

TEST(PlausibleWav, TakesOnlyFormatsSdlCanConvert) {
    struct Row {
        const char* what;
        std::vector<uint8_t> bytes;
        bool ok;
    };
    const std::string odd = std::string("junk") + '\x03' + std::string(3, '\0') + "abc" + '\0';
    const Row rows[] = {
        {"stereo 44.1 kHz", Wav(2, 44100), true},
        {"mono 8 kHz", Wav(1, 8000), true},
        {"eight channels", Wav(8, 48000), true},
        {"after an odd-sized chunk", Wav(2, 44100, odd), true},
        {"no channels", Wav(0, 44100), false},
        {"nine channels", Wav(9, 44100), false},
        {"65535 channels", Wav(65535, 44100), false},
        {"rate 0", Wav(2, 0), false},
        {"rate 4 GHz", Wav(2, 0xFFFFFFFF), false},
        {"no format chunk", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, false},
        {"too short", {'R', 'I', 'F', 'F'}, false},
        {"not RIFF", {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'A', 'I', 'F', 'F'}, false},
        {"empty", {}, false},
        {"cut in the samples", Cut(Wav(2, 44100), 4), true},
        {"a sampler chunk claiming 4 GB",
         Append(Wav(1, 8000),
                "smpl\xff\xff\xff\xf0"
                "abcd"),
         false},
        {"a list claiming more than is there",
         Append(Wav(1, 8000), std::string("LIST\x10\0\0\0INFO", 12)), false},
        {"an unknown chunk claiming 4 GB", Append(Wav(1, 8000), "abcd\xff\xff\xff\xf0"), true},
    };
    for (const Row& r : rows) EXPECT_EQ(PlausibleWav(r.bytes), r.ok) << r.what;
    // Cut anywhere inside the format chunk: refused, and never read past the end.
    const std::vector<uint8_t> whole = Wav(2, 44100);
    for (size_t n = 12; n < 36; ++n)
        EXPECT_FALSE(PlausibleWav({whole.begin(), whole.begin() + static_cast<long>(n)})) << n;
}

TEST(DropUnusedChunks, LeavesNoListOrSamplerChunkForEitherWayOfWalking) {
    // An odd-sized chunk first: a reader that pads and one that does not see different chunks
    // after it, and both must find no LIST.
    const std::string list = std::string("LIST") + '\x08' + std::string(3, '\0') + "INFOINAM";
    const std::string odd = std::string("junk") + '\x01' + std::string(3, '\0') + "x";
    const std::string smpl = std::string("smpl") + std::string(4, '\0');
    std::vector<uint8_t> b = Wav(1, 8000, list + odd + "LIST" + std::string(4, '\0') + smpl);
    DropUnusedChunks(b);
    const std::string text(b.begin(), b.end());
    EXPECT_EQ(text.find("LIST"), std::string::npos) << text;
    EXPECT_EQ(text.find("smpl"), std::string::npos) << text;
    EXPECT_TRUE(PlausibleWav(b));
}

}  // namespace
}  // namespace sinkaway
