// Writes 16-bit PCM WAV files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace music {

// Appends a little-endian whole number of the given byte count.
inline void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// Writes interleaved samples; false when the file cannot be written completely.
inline bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples,
                     std::uint32_t channels, std::uint32_t sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string bytes;
    bytes += "RIFF";
    putLe(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    putLe(bytes, 16, 4);                         // size of the format chunk
    putLe(bytes, 1, 2);                          // PCM
    putLe(bytes, channels, 2);                   // channels
    putLe(bytes, sampleRate, 4);                 // sample rate
    putLe(bytes, sampleRate * channels * 2, 4);  // bytes per second
    putLe(bytes, channels * 2, 2);               // bytes per frame
    putLe(bytes, 16, 2);                         // bits per sample
    bytes += "data";
    putLe(bytes, dataBytes, 4);
    const std::size_t header = bytes.size();
    bytes.resize(header + dataBytes);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto bits = static_cast<std::uint16_t>(samples[i]);
        bytes[header + 2 * i] = static_cast<char>(bits & 0xFFu);
        bytes[header + 2 * i + 1] = static_cast<char>(bits >> 8);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace music
