// Keys, tokens and hashes over libsodium.
#include "token.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

#include "script.h"

namespace sinkaway::server {

namespace {

void Init() {
    static const bool ready = sodium_init() >= 0;
    (void)ready;
}

std::string Mac(const std::string& key, std::string_view text) {
    Init();
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, reinterpret_cast<const unsigned char*>(key.data()),
                                key.size());
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(text.data()),
                                  text.size());
    unsigned char mac[crypto_auth_hmacsha256_BYTES];
    crypto_auth_hmacsha256_final(&state, mac);
    return std::string(reinterpret_cast<char*>(mac), sizeof mac);
}

std::vector<std::string_view> Split(std::string_view text, char by) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t at = text.find(by, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

std::string Claims(const SessionClaims& c) {
    return "1." + std::to_string(c.issued) + "." + (c.daily ? "1" : "0") + "." +
           std::to_string(c.seed);
}

}  // namespace

bool LoadKey(const std::string& path, std::string& key, std::string& error) {
    Init();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        unsigned char bytes[32];
        randombytes_buf(bytes, sizeof bytes);
        const std::string text =
            Hex(std::string_view(reinterpret_cast<char*>(bytes), sizeof bytes)) + "\n";
        const bool written =
            ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        if (!written) {
            error = "cannot write the key file " + path;
            return false;
        }
    } else if (errno != EEXIST) {
        error = "cannot make the key file " + path + ": " + std::strerror(errno);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        error = "cannot read the key file " + path;
        return false;
    }
    key = text.str();
    while (!key.empty() && (key.back() == '\n' || key.back() == '\r')) key.pop_back();
    if (key.size() < 32) {
        error = "the key file " + path + " holds fewer than 32 bytes";
        return false;
    }
    return true;
}

std::string MintToken(const std::string& key, const SessionClaims& claims) {
    const std::string text = Claims(claims);
    return text + "." + Hex(Mac(key, text));
}

bool ReadToken(const std::string& key, std::string_view token, SessionClaims& claims) {
    if (token.size() > 200)
        return false;
    const auto parts = Split(token, '.');
    if (parts.size() != 5 || parts[0] != "1" || (parts[2] != "0" && parts[2] != "1"))
        return false;
    uint64_t issued = 0, seed = 0;
    if (!ParseDecimal(parts[1], INT64_MAX, issued) || !ParseDecimal(parts[3], UINT64_MAX, seed))
        return false;
    SessionClaims read{
        .seed = seed, .issued = static_cast<int64_t>(issued), .daily = parts[2] == "1"};
    // The claims must be written exactly as this server writes them.
    const std::string text = Claims(read);
    if (token.substr(0, text.size()) != text || parts[4].size() != 64)
        return false;
    unsigned char mac[crypto_auth_hmacsha256_BYTES];
    size_t length = 0;
    if (sodium_hex2bin(mac, sizeof mac, parts[4].data(), parts[4].size(), nullptr, &length,
                       nullptr) != 0 ||
        length != sizeof mac) {
        return false;
    }
    const std::string expected = Mac(key, text);
    if (sodium_memcmp(mac, expected.data(), sizeof mac) != 0)
        return false;
    claims = read;
    return true;
}

uint64_t DaySeed(const std::string& key, int64_t day) {
    const std::string mac = Mac(key, "day." + std::to_string(day));
    uint64_t seed = 0;
    for (int i = 0; i < 8; ++i) seed = (seed << 8) | static_cast<unsigned char>(mac[i]);
    return seed;
}

std::string DayText(int64_t day) {
    const time_t t = static_cast<time_t>(day) * 86400;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
    return text;
}

std::string TimeText(int64_t unixSeconds) {
    const time_t t = static_cast<time_t>(unixSeconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

uint64_t RandomSeed() {
    Init();
    uint64_t seed = 0;
    randombytes_buf(&seed, sizeof seed);
    return seed;
}

std::string Sha256(std::string_view bytes) {
    Init();
    unsigned char hash[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(hash, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return std::string(reinterpret_cast<char*>(hash), sizeof hash);
}

std::string Hex(std::string_view bytes) {
    std::string out(bytes.size() * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                   bytes.size());
    out.pop_back();
    return out;
}

std::string SecretHash(std::string_view playerId, std::string_view secret) {
    return Hex(Sha256("sinkaway player " + std::string(playerId) + "\n" + std::string(secret)));
}

bool SameHash(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace sinkaway::server
