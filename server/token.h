// The server's secrets and hashes: the key that signs session tokens, the tokens themselves, the
// day's seed, a replay's SHA-256 and the hash kept of a player's secret. All with libsodium.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sinkaway::server {

// The HMAC key: the whole content of the key file. A missing file is made with 32 random bytes
// (in hex), readable by its owner only. False with a message when it cannot be read or made, or
// when it holds fewer than 32 bytes.
bool LoadKey(const std::string& path, std::string& key, std::string& error);

// What a session's token says. `issued` is in Unix seconds.
struct SessionClaims {
    uint64_t seed = 0;
    int64_t issued = 0;
    bool daily = false;

    bool operator==(const SessionClaims&) const = default;
};

// "1.ISSUED.DAILY.SEED.MAC": the claims in plain words and their HMAC-SHA-256 in hex.
std::string MintToken(const std::string& key, const SessionClaims& claims);
// False for anything this key did not sign.
bool ReadToken(const std::string& key, std::string_view token, SessionClaims& claims);

// The seed of a UTC day (days since 1970-01-01): the same for every server sharing the key.
uint64_t DaySeed(const std::string& key, int64_t day);
inline int64_t DayOf(int64_t unixSeconds) {
    return unixSeconds >= 0 ? unixSeconds / 86400 : (unixSeconds - 86399) / 86400;
}
// "2026-12-08".
std::string DayText(int64_t day);
// "2026-12-08T22:30:00Z".
std::string TimeText(int64_t unixSeconds);

uint64_t RandomSeed();
std::string Sha256(std::string_view bytes);  // 32 raw bytes
std::string Hex(std::string_view bytes);
// What is kept of a player's secret: a hash of it, salted with the player's id. The secret is
// made up by the client from 16 to 64 random characters, so a fast hash suffices.
std::string SecretHash(std::string_view playerId, std::string_view secret);
// Compares in constant time.
bool SameHash(std::string_view a, std::string_view b);

}  // namespace sinkaway::server
